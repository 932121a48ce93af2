// SetValue and GetNamedValue: what is stored, what comes back, the results
// and messages of the kinds and sizes the class refuses.
#include <gtest/gtest.h>

#include "registry_test_support.h"
#include "vb/scripted_ui.h"

namespace {

using registry_test::ObjectOnKey;
using registry_test::ReadStored;

constexpr const char* kPath = "SOFTWARE\\Corvane\\Values";

std::string Dword(std::int32_t n) { return std::string(reinterpret_cast<const char*>(&n), 4); }

TEST(clsRegistryValues, TextIsStoredAsRegSzWithItsZeroAndTheKeyIsClosed) {
    registry_test::TempPrefix prefix;
    const auto registry = ObjectOnKey("SOFTWARE", "Corvane", "Values");
    ASSERT_TRUE(registry->KeyOpen());
    EXPECT_EQ(registry->SetValue(vb::Variant("x"), vb::Variant("abc")), 0);
    EXPECT_FALSE(registry->KeyOpen());
    EXPECT_EQ(registry->QueryOpenKey(), vb::Variant(std::int32_t{0}));

    const auto stored = ReadStored(win32::HKEY_LOCAL_MACHINE, kPath, "x");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, win32::REG_SZ);
    EXPECT_EQ(stored->bytes, std::string("abc\0", 4));

    // The next write reopens the same key by itself.
    EXPECT_EQ(registry->SetValue(vb::Variant("y"), vb::Variant("")), 0);
    EXPECT_EQ(ReadStored(win32::HKEY_LOCAL_MACHINE, kPath, "y")->bytes, std::string(1, '\0'));
    EXPECT_EQ(registry->GetNamedValue("x"), vb::Variant("abc"));
    EXPECT_EQ(registry->GetNamedValue("y"), vb::Variant(""));
    EXPECT_FALSE(registry->KeyOpen());
}

TEST(clsRegistryValues, WholeNumbersAreStoredAsRegDword) {
    registry_test::TempPrefix prefix;
    const auto registry = ObjectOnKey("SOFTWARE", "Corvane", "Values");
    EXPECT_EQ(registry->SetValue(vb::Variant("five"), vb::Variant(std::int16_t{5})), 0);
    EXPECT_EQ(registry->SetValue(vb::Variant("negative"), vb::Variant(std::int16_t{-2})), 0);
    EXPECT_EQ(registry->SetValue(vb::Variant("long"), vb::Variant(std::int32_t{-2147483647 - 1})), 0);
    // A number as the value's name is its text.
    EXPECT_EQ(registry->SetValue(vb::Variant(std::int16_t{7}), vb::Variant(std::int32_t{70000})), 0);

    const auto five = ReadStored(win32::HKEY_LOCAL_MACHINE, kPath, "five");
    ASSERT_TRUE(five);
    EXPECT_EQ(five->type, win32::REG_DWORD);
    EXPECT_EQ(five->bytes, Dword(5));
    EXPECT_EQ(ReadStored(win32::HKEY_LOCAL_MACHINE, kPath, "negative")->bytes, Dword(-2))
        << "an Integer widens with its sign";
    EXPECT_EQ(ReadStored(win32::HKEY_LOCAL_MACHINE, kPath, "7")->bytes, Dword(70000));

    EXPECT_EQ(registry->GetNamedValue("five"), vb::Variant(std::int32_t{5}));
    EXPECT_EQ(registry->GetNamedValue("LONG"), vb::Variant(std::int32_t{-2147483647 - 1}));
}

TEST(clsRegistryValues, KindsThatCannotBeStoredGive1010AndStoreNothing) {
    registry_test::TempPrefix prefix;
    vb::ScopedScriptedUi ui;
    const auto registry = ObjectOnKey("SOFTWARE", "Corvane", "Values");
    const vb::Variant refused[] = {vb::Variant(true),          vb::Variant(1.5),        vb::Variant(1.5f),
                                   vb::Variant(std::uint8_t{1}), vb::Variant::Currency(1), vb::Variant::Date(1),
                                   vb::Variant(),              vb::Variant::Null(),     vb::Variant::ByteArray({1})};
    for (const vb::Variant& value : refused) {
        EXPECT_EQ(registry->SetValue(vb::Variant("v"), value), 1010) << value.TypeName();
        EXPECT_FALSE(registry->KeyOpen()) << "the key is closed after a refusal too";
    }
    EXPECT_FALSE(ReadStored(win32::HKEY_LOCAL_MACHINE, kPath, "v"));
    EXPECT_TRUE(ui->messageBoxes().empty()) << "no messages while ShowMessages is off";

    registry->ShowMessages(true);
    EXPECT_EQ(registry->SetValue(vb::Variant("v"), vb::Variant(true)), 1010);
    EXPECT_EQ(registry->SetValue(vb::Variant("v"), vb::Variant::ByteArray({1})), 1010);
    EXPECT_EQ(registry->SetValue(vb::Variant("v"), vb::Variant::Null()), 1010);
    const auto shown = ui->messageBoxes();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].prompt, "The cvRegistry DLL does not support variables of type 11");
    EXPECT_EQ(shown[0].style, 48);
    EXPECT_EQ(shown[0].title, "Error");
    EXPECT_EQ(shown[1].prompt, "The cvRegistry DLL does not support variables of type 8209");
    EXPECT_EQ(shown[2].prompt, "The value is uninitialised or contains no data.");
    EXPECT_EQ(shown[2].style, 48);
    EXPECT_EQ(shown[2].title, "DLL Error");
}

TEST(clsRegistryValues, WritingWithoutAKeyGives1010) {
    registry_test::TempPrefix prefix;
    const auto registry = cvRegistry::CreateObject();
    EXPECT_EQ(registry->SetValue(vb::Variant("x"), vb::Variant("abc")), 1010) << "no top or company key";
    registry->TopKey("SOFTWARE");
    registry->CompanyKey("Corvane");
    registry->RootKey(vb::Variant(static_cast<std::int32_t>(win32::HKEY_USERS)));
    EXPECT_EQ(registry->SetValue(vb::Variant("x"), vb::Variant("abc")), 1010) << "a root that is not available";
    EXPECT_TRUE(registry->GetNamedValue("x").isNull());
    registry->RootKey(vb::Variant(registry_test::kMachine));
    EXPECT_EQ(registry->SetValue(vb::Variant("x"), vb::Variant("abc")), 0) << "path parts set directly suffice";
    EXPECT_EQ(registry->SetValue(vb::Variant::Null(), vb::Variant("abc")), win32::ERROR_INVALID_PARAMETER)
        << "a name with no text";
    EXPECT_FALSE(registry->KeyOpen());
}

TEST(clsRegistryValues, TextOf2047CharactersReadsBackAnd2048GivesNull) {
    registry_test::TempPrefix prefix;
    vb::ScopedScriptedUi ui;
    const auto registry = ObjectOnKey("SOFTWARE", "Corvane", "Values");
    const std::string fits(2047, 'a');
    const std::string tooLong(2048, 'b');
    ASSERT_EQ(registry->SetValue(vb::Variant("fits"), vb::Variant(fits)), 0);
    ASSERT_EQ(registry->SetValue(vb::Variant("too long"), vb::Variant(tooLong)), 0);
    EXPECT_EQ(registry->GetNamedValue("fits"), vb::Variant(fits));
    EXPECT_TRUE(registry->GetNamedValue("too long").isNull());
    EXPECT_FALSE(registry->KeyOpen());
    EXPECT_TRUE(ui->messageBoxes().empty());

    registry->ShowMessages(true);
    EXPECT_TRUE(registry->GetNamedValue("too long").isNull());
    ASSERT_EQ(ui->messageBoxes().size(), 1u);
    EXPECT_EQ(ui->messageBoxes()[0].prompt,
              "The buffer was too small to hold all the data. The required size was 2049");
    EXPECT_EQ(ui->messageBoxes()[0].style, 48);
    EXPECT_EQ(ui->messageBoxes()[0].title, "API Error 234 returned");
}

TEST(clsRegistryValues, MissingAndUnreadableValuesGiveEmpty) {
    registry_test::TempPrefix prefix;
    vb::ScopedScriptedUi ui;
    registry_test::StoreRaw(win32::HKEY_LOCAL_MACHINE, kPath, "binary", win32::REG_BINARY, "\x01\x02");
    registry_test::StoreRaw(win32::HKEY_LOCAL_MACHINE, kPath, "none", win32::REG_NONE, "");
    const auto registry = ObjectOnKey("SOFTWARE", "Corvane", "Values");
    EXPECT_TRUE(registry->GetNamedValue("missing").isEmpty());
    EXPECT_TRUE(registry->GetNamedValue("binary").isEmpty());
    EXPECT_TRUE(registry->GetNamedValue("none").isEmpty());
    EXPECT_TRUE(ui->messageBoxes().empty());

    registry->ShowMessages(true);
    EXPECT_TRUE(registry->GetNamedValue("missing").isEmpty());
    EXPECT_TRUE(registry->GetNamedValue("none").isEmpty()) << "found, so nothing to report";
    ASSERT_EQ(ui->messageBoxes().size(), 1u);
    EXPECT_EQ(ui->messageBoxes()[0].prompt, "The name value was not found");
    EXPECT_EQ(ui->messageBoxes()[0].style, 48);
    EXPECT_EQ(ui->messageBoxes()[0].title, "API Error 2 returned");
}

TEST(clsRegistryValues, ReadingWithoutAKeyGivesNull) {
    registry_test::TempPrefix prefix;
    const auto registry = cvRegistry::CreateObject();
    EXPECT_TRUE(registry->GetNamedValue("x").isNull()) << "no top key";
    registry->AutoCreate(false);
    registry->TopKey("SOFTWARE");
    registry->CompanyKey("Nobody");
    EXPECT_TRUE(registry->GetNamedValue("x").isNull()) << "a key that does not exist";
    EXPECT_FALSE(registry->KeyOpen());
}

TEST(clsRegistryValues, NumberValueLongerThanFourBytesGivesNullInsteadOfOverrunning) {
    registry_test::TempPrefix prefix;
    vb::ScopedScriptedUi ui;
    registry_test::StoreRaw(win32::HKEY_LOCAL_MACHINE, kPath, "wide", win32::REG_DWORD, std::string(8, '\x11'));
    registry_test::StoreRaw(win32::HKEY_LOCAL_MACHINE, kPath, "short", win32::REG_DWORD, "\x2a");
    const auto registry = ObjectOnKey("SOFTWARE", "Corvane", "Values");
    registry->ShowMessages(true);
    EXPECT_TRUE(registry->GetNamedValue("wide").isNull());
    EXPECT_EQ(registry->GetNamedValue("short"), vb::Variant(std::int32_t{42}));
    ASSERT_EQ(ui->messageBoxes().size(), 1u);
    EXPECT_EQ(ui->messageBoxes()[0].prompt, "The buffer was too small to hold all the data. The required size was 8");
    EXPECT_EQ(ui->messageBoxes()[0].title, "API Error 234");
}

TEST(clsRegistryValues, TextTravelsInTheCodePage) {
    registry_test::TempPrefix prefix;
    const auto registry = ObjectOnKey("SOFTWARE", "Corvane", "Caf\xC3\xA9");
    ASSERT_EQ(registry->SetValue(vb::Variant("Pr\xC3\xA9" "f\xC3\xA9r\xC3\xA9"), vb::Variant("5 \xE2\x82\xAC")), 0);
    const auto stored = ReadStored(win32::HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane\\Caf\xE9", "PR\xC9" "F\xC9R\xC9");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->bytes, std::string("5 \x80\0", 4)) << "one byte per character";
    EXPECT_EQ(registry->GetNamedValue("pr\xC3\xA9" "f\xC3\xA9r\xC3\xA9"), vb::Variant("5 \xE2\x82\xAC"));
    // Text without its zero, written by another program, loses no character.
    registry_test::StoreRaw(win32::HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane\\Caf\xE9", "bare", win32::REG_SZ, "xyz");
    EXPECT_EQ(registry->GetNamedValue("bare"), vb::Variant("xyz"));
}

}  // namespace
