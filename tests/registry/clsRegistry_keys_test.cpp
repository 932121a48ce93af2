// CreateKey: how the key path is built, when it fails, and the messages it
// shows only while ShowMessages is on.
#include <gtest/gtest.h>

#include "registry_test_support.h"
#include "vb/scripted_ui.h"

namespace {

using registry_test::kMachine;
using registry_test::kUser;

bool KeyExists(win32::HKEY root, const std::string& path) {
    win32::HKEY key = 0;
    if (win32::RegOpenKeyExA(root, path.c_str(), 0, win32::KEY_READ, &key) != win32::ERROR_SUCCESS) return false;
    win32::RegCloseKey(key);
    return true;
}

TEST(clsRegistryCreateKey, BuildsTopCompanyAndSubKeyBelowTheRoot) {
    registry_test::TempPrefix prefix;
    const auto registry = cvRegistry::CreateObject();
    registry->RootKey(vb::Variant(kUser));
    registry->TopKey("SOFTWARE");
    ASSERT_TRUE(registry->CreateKey("Corvane", "Strux32\\3.20\\Printing\\Print Init"));
    EXPECT_TRUE(registry->KeyOpen());
    EXPECT_EQ(registry->CompanyKey(), "Corvane\\Strux32\\3.20\\Printing\\Print Init");
    EXPECT_TRUE(KeyExists(win32::HKEY_CURRENT_USER, "SOFTWARE\\Corvane\\Strux32\\3.20\\Printing\\Print Init"));
    EXPECT_FALSE(KeyExists(win32::HKEY_LOCAL_MACHINE, "SOFTWARE"));
}

TEST(clsRegistryCreateKey, CompanyArgumentIsTrimmed) {
    registry_test::TempPrefix prefix;
    const auto registry = cvRegistry::CreateObject();
    registry->TopKey("SOFTWARE");
    ASSERT_TRUE(registry->CreateKey("   Corvane  "));
    EXPECT_EQ(registry->CompanyKey(), "Corvane");
    EXPECT_TRUE(KeyExists(win32::HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane"));
    EXPECT_FALSE(KeyExists(win32::HKEY_LOCAL_MACHINE, "SOFTWARE\\   Corvane  "));
}

TEST(clsRegistryCreateKey, BlankCompanyArgumentTakesTheCompanyKeyAlreadySet) {
    registry_test::TempPrefix prefix;
    const auto registry = cvRegistry::CreateObject();
    registry->TopKey("SOFTWARE");
    registry->CompanyKey("Corvane");
    ASSERT_TRUE(registry->CreateKey("   ", "Settings"));
    EXPECT_EQ(registry->CompanyKey(), "Corvane\\Settings");
    EXPECT_TRUE(KeyExists(win32::HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane\\Settings"));
    // Each CreateKey adds to what is there: the company key grows.
    ASSERT_TRUE(registry->CloseKey());
    ASSERT_TRUE(registry->CreateKey("", "Deeper"));
    EXPECT_EQ(registry->CompanyKey(), "Corvane\\Settings\\Deeper");
}

TEST(clsRegistryCreateKey, MissingPathPartsFailQuietlyWithoutMessages) {
    registry_test::TempPrefix prefix;
    vb::ScopedScriptedUi ui;
    const auto registry = cvRegistry::CreateObject();
    EXPECT_FALSE(registry->CreateKey("Corvane")) << "no top key";
    EXPECT_EQ(registry->CompanyKey(), "") << "nothing changes";
    registry->TopKey("SOFTWARE");
    EXPECT_FALSE(registry->CreateKey("  ", "Sub")) << "no company key";
    EXPECT_FALSE(registry->KeyOpen());
    EXPECT_TRUE(ui->messageBoxes().empty());
}

TEST(clsRegistryCreateKey, MissingPathPartsAreShownWhenMessagesAreOn) {
    registry_test::TempPrefix prefix;
    vb::ScopedScriptedUi ui;
    const auto registry = cvRegistry::CreateObject();
    registry->ShowMessages(true);
    EXPECT_FALSE(registry->CreateKey("Corvane"));
    registry->RootKey(vb::Variant(std::int32_t{0x12345}));
    EXPECT_FALSE(registry->CreateKey("Corvane"));
    registry->TopKey("Software");
    EXPECT_FALSE(registry->CreateKey(""));

    const auto shown = ui->messageBoxes();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].prompt, "Sub key of HKEY_LOCAL_MACHINE has not been set");
    EXPECT_EQ(shown[0].style, 16);
    EXPECT_EQ(shown[0].title, "Registry access error");
    EXPECT_EQ(shown[1].prompt, "Sub key of  has not been set") << "an unknown root has no name";
    EXPECT_EQ(shown[2].prompt, "Company key of SOFTWARE has not been set");
    EXPECT_EQ(shown[2].style, 16);
    EXPECT_EQ(shown[2].title, "Registry access error");
}

TEST(clsRegistryCreateKey, WithoutAutoCreateOnlyExistingKeysOpen) {
    registry_test::TempPrefix prefix;
    const auto registry = cvRegistry::CreateObject();
    registry->AutoCreate(false);
    registry->TopKey("SOFTWARE");
    EXPECT_FALSE(registry->CreateKey("Corvane"));
    EXPECT_FALSE(registry->KeyOpen());
    EXPECT_EQ(registry->QueryOpenKey(), vb::Variant(std::int32_t{0}));
    EXPECT_FALSE(KeyExists(win32::HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane"));

    registry_test::StoreRaw(win32::HKEY_LOCAL_MACHINE, "software\\corvane", "x", win32::REG_SZ, std::string("1\0", 2));
    EXPECT_TRUE(registry->CreateKey("Corvane")) << "an existing key opens, whatever its case";
    EXPECT_TRUE(registry->KeyOpen());
}

TEST(clsRegistryCreateKey, RootsThatAreNotAvailableFail) {
    registry_test::TempPrefix prefix;
    const auto registry = cvRegistry::CreateObject();
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

TEST(clsRegistryCreateKey, KeyLeftOpenIsReplacedByTheNextOne) {
    registry_test::TempPrefix prefix;
    const auto registry = registry_test::ObjectOnKey("SOFTWARE", "First");
    const vb::Variant firstHandle = registry->QueryOpenKey();
    ASSERT_TRUE(registry->CreateKey("Second"));
    EXPECT_NE(registry->QueryOpenKey(), firstHandle);
    EXPECT_EQ(registry->SetValue(vb::Variant("n"), vb::Variant("v")), 0);
    EXPECT_TRUE(registry_test::ReadStored(win32::HKEY_LOCAL_MACHINE, "SOFTWARE\\Second", "n"));
    EXPECT_FALSE(registry_test::ReadStored(win32::HKEY_LOCAL_MACHINE, "SOFTWARE\\First", "n"));
}

}  // namespace
