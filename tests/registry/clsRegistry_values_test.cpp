// SetValue and GetNamedValue: what is stored, what comes back, the results
// and messages of the kinds and sizes the class refuses.
#include "registry_test_support.h"

namespace {

using namespace registry_test;

constexpr const char* kPath = "SOFTWARE\\Corvane\\Values";

std::string Dword(std::int32_t n) { return std::string(reinterpret_cast<const char*>(&n), 4); }

using ValuesTest = RegistryTest;

TEST_F(ValuesTest, TextIsStoredAsRegSzWithItsZeroAndTheKeyIsClosed) {
    onKey("SOFTWARE", "Corvane", "Values");
    EXPECT_EQ(registry->SetValue(vb::Variant("x"), vb::Variant("abc")), 0);
    EXPECT_FALSE(registry->KeyOpen());
    win32::DWORD type = 0;
    EXPECT_EQ(ReadStored(win32::HKEY_LOCAL_MACHINE, kPath, "x", &type), std::string("abc\0", 4));
    EXPECT_EQ(type, win32::REG_SZ);
    // The next write reopens the same key by itself.
    EXPECT_EQ(registry->SetValue(vb::Variant("y"), vb::Variant("")), 0);
    EXPECT_EQ(registry->GetNamedValue("x"), vb::Variant("abc"));
    EXPECT_EQ(registry->GetNamedValue("y"), vb::Variant(""));
    EXPECT_FALSE(registry->KeyOpen());
}

TEST_F(ValuesTest, WholeNumbersAreStoredAsRegDword) {
    onKey("SOFTWARE", "Corvane", "Values");
    EXPECT_EQ(registry->SetValue(vb::Variant("negative"), vb::Variant(std::int16_t{-2})), 0);
    EXPECT_EQ(registry->SetValue(vb::Variant("long"), vb::Variant(std::int32_t{-2147483647 - 1})), 0);
    // A number as the value's name is its text.
    EXPECT_EQ(registry->SetValue(vb::Variant(std::int16_t{7}), vb::Variant(std::int32_t{70000})), 0);
    win32::DWORD type = 0;
    EXPECT_EQ(ReadStored(win32::HKEY_LOCAL_MACHINE, kPath, "negative", &type), Dword(-2))
        << "an Integer widens with its sign";
    EXPECT_EQ(type, win32::REG_DWORD);
    EXPECT_EQ(ReadStored(win32::HKEY_LOCAL_MACHINE, kPath, "7"), Dword(70000));
    EXPECT_EQ(registry->GetNamedValue("LONG"), vb::Variant(std::int32_t{-2147483647 - 1}));
}

TEST_F(ValuesTest, KindsThatCannotBeStoredGive1010AndStoreNothing) {
    onKey("SOFTWARE", "Corvane", "Values");
    for (const vb::Variant& value : {vb::Variant(1.5), vb::Variant(std::uint8_t{1}), vb::Variant::Currency(1),
                                     vb::Variant::Date(1), vb::Variant()}) {
        EXPECT_EQ(registry->SetValue(vb::Variant("v"), value), 1010) << value.TypeName();
        EXPECT_FALSE(registry->KeyOpen()) << "the key is closed after a refusal too";
    }
    EXPECT_FALSE(ReadStored(win32::HKEY_LOCAL_MACHINE, kPath, "v"));
    EXPECT_TRUE(shown().empty()) << "no messages while ShowMessages is off";

    registry->ShowMessages(true);
    for (const vb::Variant& value : {vb::Variant(true), vb::Variant::ByteArray({1}), vb::Variant::Null()})
        EXPECT_EQ(registry->SetValue(vb::Variant("v"), value), 1010);
    EXPECT_EQ(shown(), (Boxes{{"The cvRegistry DLL does not support variables of type 11", 48, "Error"},
                              {"The cvRegistry DLL does not support variables of type 8209", 48, "Error"},
                              {"The value is uninitialised or contains no data.", 48, "DLL Error"}}));
}

TEST_F(ValuesTest, WithoutAKeyWritesGive1010AndReadsNull) {
    EXPECT_EQ(registry->SetValue(vb::Variant("x"), vb::Variant("abc")), 1010) << "no top or company key";
    EXPECT_TRUE(registry->GetNamedValue("x").isNull());
    registry->TopKey("SOFTWARE");
    registry->CompanyKey("Corvane");
    registry->RootKey(vb::Variant(static_cast<std::int32_t>(win32::HKEY_USERS)));
    EXPECT_EQ(registry->SetValue(vb::Variant("x"), vb::Variant("abc")), 1010) << "a root that is not available";
    registry->RootKey(vb::Variant(kMachine));
    EXPECT_EQ(registry->SetValue(vb::Variant("x"), vb::Variant("abc")), 0) << "path parts set directly suffice";
    EXPECT_EQ(registry->SetValue(vb::Variant::Null(), vb::Variant("abc")), win32::ERROR_INVALID_PARAMETER)
        << "a name with no text";
    registry->AutoCreate(false);
    registry->CompanyKey("Nobody");
    EXPECT_TRUE(registry->GetNamedValue("x").isNull()) << "a key that does not exist";
    EXPECT_FALSE(registry->KeyOpen());
}

// Reads into a buffer of fixed size: what does not fit gives Null, never an overrun.
TEST_F(ValuesTest, ValuesLargerThanTheBufferGiveNull) {
    StoreRaw(win32::HKEY_LOCAL_MACHINE, kPath, "wide", win32::REG_DWORD, std::string(8, '\x11'));
    StoreRaw(win32::HKEY_LOCAL_MACHINE, kPath, "short", win32::REG_DWORD, "\x2a");
    onKey("SOFTWARE", "Corvane", "Values");
    const std::string fits(2047, 'a');
    ASSERT_EQ(registry->SetValue(vb::Variant("fits"), vb::Variant(fits)), 0);
    ASSERT_EQ(registry->SetValue(vb::Variant("too long"), vb::Variant(std::string(2048, 'b'))), 0);
    EXPECT_EQ(registry->GetNamedValue("fits"), vb::Variant(fits));
    EXPECT_TRUE(registry->GetNamedValue("too long").isNull());
    EXPECT_EQ(registry->GetNamedValue("short"), vb::Variant(std::int32_t{42}));
    EXPECT_TRUE(shown().empty());

    registry->ShowMessages(true);
    EXPECT_TRUE(registry->GetNamedValue("too long").isNull());
    EXPECT_TRUE(registry->GetNamedValue("wide").isNull());
    EXPECT_EQ(shown(),
              (Boxes{{"The buffer was too small to hold all the data. The required size was 2049", 48,
                      "API Error 234 returned"},
                     {"The buffer was too small to hold all the data. The required size was 8", 48, "API Error 234"}}));
}

TEST_F(ValuesTest, MissingAndUnreadableValuesGiveEmpty) {
    StoreRaw(win32::HKEY_LOCAL_MACHINE, kPath, "binary", win32::REG_BINARY, "\x01\x02");
    StoreRaw(win32::HKEY_LOCAL_MACHINE, kPath, "none", win32::REG_NONE, "");
    onKey("SOFTWARE", "Corvane", "Values");
    for (const char* name : {"missing", "binary", "none"}) EXPECT_TRUE(registry->GetNamedValue(name).isEmpty()) << name;
    EXPECT_TRUE(shown().empty());

    registry->ShowMessages(true);
    EXPECT_TRUE(registry->GetNamedValue("missing").isEmpty());
    EXPECT_TRUE(registry->GetNamedValue("none").isEmpty()) << "found, so nothing to report";
    EXPECT_EQ(shown(), (Boxes{{"The name value was not found", 48, "API Error 2 returned"}}));
}

TEST_F(ValuesTest, TextTravelsInTheCodePage) {
    onKey("SOFTWARE", "Corvane", "Caf\xC3\xA9");
    ASSERT_EQ(registry->SetValue(vb::Variant("Pr\xC3\xA9" "f\xC3\xA9r\xC3\xA9"), vb::Variant("5 \xE2\x82\xAC")), 0);
    EXPECT_EQ(ReadStored(win32::HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane\\Caf\xE9", "PR\xC9" "F\xC9R\xC9"),
              std::string("5 \x80\0", 4))
        << "one byte per character";
    EXPECT_EQ(registry->GetNamedValue("pr\xC3\xA9" "f\xC3\xA9r\xC3\xA9"), vb::Variant("5 \xE2\x82\xAC"));
    // Text without its zero, written by another program, loses no character.
    StoreRaw(win32::HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane\\Caf\xE9", "bare", win32::REG_SZ, "xyz");
    EXPECT_EQ(registry->GetNamedValue("bare"), vb::Variant("xyz"));
}

}  // namespace
