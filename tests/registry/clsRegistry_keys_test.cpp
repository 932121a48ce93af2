// A clsRegistry's own state, and CreateKey: how the key path is built, when
// it fails, and the messages it shows only while ShowMessages is on.
#include "registry_test_support.h"

namespace {

using namespace registry_test;

bool KeyExists(win32::HKEY root, const std::string& path) {
    win32::HKEY key = 0;
    if (win32::RegOpenKeyExA(root, path.c_str(), 0, win32::KEY_READ, &key) != win32::ERROR_SUCCESS) return false;
    win32::RegCloseKey(key);
    return true;
}

using KeysTest = RegistryTest;

TEST_F(KeysTest, NewObjectStartsOnTheMachineRootAndKeepsWhatIsSet) {
    EXPECT_TRUE(registry->AutoCreate());
    EXPECT_EQ(registry->RootKey(), vb::Variant(kMachine));
    EXPECT_EQ(registry->RootKey().VarType(), vb::vbLong);
    EXPECT_FALSE(registry->ShowMessages());
    EXPECT_EQ(registry->QueryOpenKey(), vb::Variant(std::int32_t{0}));
    EXPECT_TRUE(registry->CloseKey()) << "closing with no key open";

    registry->TopKey("  SOFTWARE ");
    registry->CompanyKey("\tCorvane  ");  // only blanks are trimmed, as VB's Trim does
    registry->RootKey(vb::Variant("any text"));
    EXPECT_EQ(registry->TopKey(), "SOFTWARE");
    EXPECT_EQ(registry->CompanyKey(), "\tCorvane");
    EXPECT_EQ(registry->RootKey(), vb::Variant("any text")) << "any root value is kept unchanged";
    // The two read-only properties accept a value and ignore it.
    registry->KeyOpen(vb::Variant(true));
    registry->QueryOpenKey(vb::Variant(std::int32_t{1234}));
    EXPECT_FALSE(registry->KeyOpen());
    EXPECT_EQ(registry->QueryOpenKey(), vb::Variant(std::int32_t{0}));
}

TEST_F(KeysTest, BuildsTopCompanyAndSubKeyBelowTheRootAndShowsItsHandleUntilClosed) {
    registry->RootKey(vb::Variant(kUser));
    registry->TopKey("SOFTWARE");
    ASSERT_TRUE(registry->CreateKey("   Corvane  ", "Strux32\\3.20\\Printing\\Print Init"));
    EXPECT_TRUE(registry->KeyOpen());
    EXPECT_EQ(registry->QueryOpenKey().VarType(), vb::vbLong);
    EXPECT_NE(registry->QueryOpenKey().toLong(), 0);
    EXPECT_EQ(registry->CompanyKey(), "Corvane\\Strux32\\3.20\\Printing\\Print Init");
    EXPECT_TRUE(KeyExists(win32::HKEY_CURRENT_USER, "SOFTWARE\\Corvane\\Strux32\\3.20\\Printing\\Print Init"));
    EXPECT_FALSE(KeyExists(win32::HKEY_LOCAL_MACHINE, "SOFTWARE"));
    EXPECT_TRUE(registry->CloseKey());
    EXPECT_EQ(registry->QueryOpenKey(), vb::Variant(std::int32_t{0}));
    EXPECT_EQ(registry->CompanyKey(), "Corvane\\Strux32\\3.20\\Printing\\Print Init") << "closing keeps the path";
}

TEST_F(KeysTest, BlankCompanyArgumentTakesTheCompanyKeyAlreadySet) {
    registry->TopKey("SOFTWARE");
    registry->CompanyKey("Corvane");
    ASSERT_TRUE(registry->CreateKey("   ", "Settings"));
    EXPECT_TRUE(KeyExists(win32::HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane\\Settings"));
    // Each CreateKey adds to what is there: the company key grows.
    ASSERT_TRUE(registry->CloseKey());
    ASSERT_TRUE(registry->CreateKey("", "Deeper"));
    EXPECT_EQ(registry->CompanyKey(), "Corvane\\Settings\\Deeper");
}

TEST_F(KeysTest, MissingPathPartsFailAndAreShownOnlyWhenMessagesAreOn) {
    EXPECT_FALSE(registry->CreateKey("Corvane")) << "no top key";
    EXPECT_EQ(registry->CompanyKey(), "") << "nothing changes";
    registry->TopKey("SOFTWARE");
    EXPECT_FALSE(registry->CreateKey("  ", "Sub")) << "no company key";
    EXPECT_FALSE(registry->KeyOpen());
    EXPECT_TRUE(shown().empty());

    registry->ShowMessages(true);
    registry->TopKey("");
    EXPECT_FALSE(registry->CreateKey("Corvane"));
    registry->RootKey(vb::Variant(std::int32_t{0x12345}));
    EXPECT_FALSE(registry->CreateKey("Corvane"));
    registry->TopKey("Software");
    EXPECT_FALSE(registry->CreateKey(""));
    // An unknown root has no name.
    EXPECT_EQ(shown(), (Boxes{{"Sub key of HKEY_LOCAL_MACHINE has not been set", 16, "Registry access error"},
                              {"Sub key of  has not been set", 16, "Registry access error"},
                              {"Company key of SOFTWARE has not been set", 16, "Registry access error"}}));
}

TEST_F(KeysTest, WithoutAutoCreateOnlyExistingKeysOpen) {
    registry->AutoCreate(false);
    registry->TopKey("SOFTWARE");
    EXPECT_FALSE(registry->CreateKey("Corvane"));
    EXPECT_FALSE(registry->KeyOpen());
    EXPECT_FALSE(KeyExists(win32::HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane"));
    StoreRaw(win32::HKEY_LOCAL_MACHINE, "software\\corvane", "x", win32::REG_SZ, std::string("1\0", 2));
    EXPECT_TRUE(registry->CreateKey("Corvane")) << "an existing key opens, whatever its case";
}

TEST_F(KeysTest, RootsThatAreNotAvailableFail) {
    registry->TopKey("SOFTWARE");
    for (const vb::Variant& root :
         {vb::Variant(static_cast<std::int32_t>(win32::HKEY_CLASSES_ROOT)), vb::Variant(std::int32_t{0}),
          vb::Variant("not a number"), vb::Variant::Null(), vb::Variant(2.5)}) {
        registry->RootKey(root);
        EXPECT_FALSE(registry->CreateKey("Corvane")) << root.TypeName();
        EXPECT_FALSE(registry->KeyOpen());
    }
    // The root as a plain number works as well as the Long of the same bits.
    registry->RootKey(vb::Variant(2147483650.0));
    EXPECT_TRUE(registry->CreateKey("Corvane"));
}

TEST_F(KeysTest, KeyLeftOpenIsReplacedByTheNextOne) {
    onKey("SOFTWARE", "First");
    const vb::Variant firstHandle = registry->QueryOpenKey();
    ASSERT_TRUE(registry->CreateKey("Second"));
    EXPECT_NE(registry->QueryOpenKey(), firstHandle);
    EXPECT_EQ(registry->SetValue(vb::Variant("n"), vb::Variant("v")), 0);
    EXPECT_TRUE(ReadStored(win32::HKEY_LOCAL_MACHINE, "SOFTWARE\\Second", "n"));
    EXPECT_FALSE(ReadStored(win32::HKEY_LOCAL_MACHINE, "SOFTWARE\\First", "n"));
}

}  // namespace
