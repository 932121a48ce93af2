// The small windows: database properties, about box, splash.
#include <QLabel>
#include <gtest/gtest.h>

#include "STXGLOB.h"
#include "program_fixture.h"
#include "registry/win32_registry.h"
#include "vb/scripted_ui.h"
#include "viewer/frmAbout.h"
#include "viewer/frmCreationCons.h"
#include "viewer/frmFront.h"

using namespace programtest;

namespace {

std::string labelText(QWidget* window, const char* name) {
    auto* label = window->findChild<QLabel*>(name);
    EXPECT_NE(label, nullptr) << name;
    return label ? label->text().toStdString() : std::string();
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { resetGlobals(); }
    void TearDown() override { resetGlobals(); }
    vb::ScopedScriptedUi ui;
};

TEST_F(DialogTest, CreationConsiderationsShowTheOpenDatabase) {
    auto db = std::make_shared<MemoryDatabase>();
    db->collatingOrder = 1053;
    db->updatable = false;
    dbCurrent = db;
    frmCreationCons dialog;
    dialog.Form_Load();
    EXPECT_EQ(dialog.windowTitle(), "Database Creation Considerations");
    // The text's lines are the properties text's, with the label's line ends.
    EXPECT_EQ(labelText(&dialog, "lblDBProps"),
              "The properties of the current database are:\n\n   Collating Order: 1053 - dbSortSwedFin\n" +
                  std::string(20, ' ') + "Swedish Or Finnish\n   Transactions:    True\n   Updatable:       False\n");

    // A property that cannot be read leaves only its own line out.
    db->transactionsUnreadable = true;
    dialog.Form_Load();
    EXPECT_EQ(labelText(&dialog, "lblDBProps").find("Transactions"), std::string::npos);
    EXPECT_NE(labelText(&dialog, "lblDBProps").find("Updatable:       False"), std::string::npos);

    dbCurrent.reset();
    dialog.Form_Load();
    EXPECT_EQ(labelText(&dialog, "lblDBProps"), "The properties of the current database are:\n\n\n");
}

TEST_F(DialogTest, AboutBoxAndSplashShowTheVersion) {
    frmAbout about;
    about.Form_Load();
    EXPECT_EQ(about.windowTitle(), "About Strux32");
    EXPECT_EQ(labelText(&about, "lblVersion"), "Version 3.2.0");
    EXPECT_EQ(labelText(&about, "lblTitle"), "Application title: Strux32");
    frmFront splash;
    splash.Form_Load();
    EXPECT_EQ(labelText(&splash, "lblVersion"), "Version 3.2.0");
    EXPECT_EQ(labelText(&splash, "lblProduct"), "Strux32");
}

class SysInfoRegistryTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        ::setenv("STRUX32_REGISTRY_PREFIX", prefix.path().c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("STRUX32_REGISTRY_PREFIX");
        DialogTest::TearDown();
    }
    void put(const std::string& key, const std::string& name, win32::DWORD type, const std::vector<win32::BYTE>& data) {
        win32::HKEY handle = 0;
        ASSERT_EQ(win32::RegCreateKeyExA(win32::HKEY_LOCAL_MACHINE, key.c_str(), 0, "", 0, win32::KEY_ALL_ACCESS,
                                         nullptr, &handle, nullptr),
                  win32::ERROR_SUCCESS);
        ASSERT_EQ(win32::RegSetValueExA(handle, name.c_str(), 0, type, data.data(), static_cast<win32::DWORD>(data.size())),
                  win32::ERROR_SUCCESS);
        win32::RegCloseKey(handle);
    }
    static std::vector<win32::BYTE> text(const std::string& s) {
        std::vector<win32::BYTE> bytes(s.begin(), s.end());
        bytes.push_back(0);
        return bytes;
    }
    TempFolder prefix;
    frmAbout about;
};

TEST_F(SysInfoRegistryTest, GetKeyValueReadsTextAndNumbers) {
    put("SOFTWARE\\Test", "Name", win32::REG_SZ, text("a value"));
    put("SOFTWARE\\Test", "Count", win32::REG_DWORD, {0xFE, 0xFF, 0xFF, 0xFF});
    std::string value = "old";
    EXPECT_TRUE(about.GetKeyValue(win32::HKEY_LOCAL_MACHINE, "SOFTWARE\\Test", "Name", value));
    EXPECT_EQ(value, "a value");
    EXPECT_TRUE(about.GetKeyValue(win32::HKEY_LOCAL_MACHINE, "SOFTWARE\\Test", "Count", value));
    EXPECT_EQ(value, "-2");
    EXPECT_FALSE(about.GetKeyValue(win32::HKEY_LOCAL_MACHINE, "SOFTWARE\\Test", "Missing", value));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(about.GetKeyValue(win32::HKEY_LOCAL_MACHINE, "SOFTWARE\\Nowhere", "Name", value));
}

TEST_F(SysInfoRegistryTest, NoSystemInformationProgramIsSaid) {
    about.StartSysInfo();
    ASSERT_EQ(ui->messageBoxes().size(), 1u);
    EXPECT_EQ(ui->messageBoxes()[0].prompt, "System Information Is Unavailable At This Time");
    EXPECT_EQ(ui->messageBoxes()[0].style, 0);

    // The folder is registered but holds no program.
    put("SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", win32::REG_SZ, text(prefix.path()));
    about.StartSysInfo();
    EXPECT_EQ(ui->messageBoxes().size(), 2u);
}

TEST_F(SysInfoRegistryTest, RegisteredProgramIsStarted) {
    put("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", win32::REG_SZ, text("/bin/true"));
    about.StartSysInfo();
    EXPECT_TRUE(ui->messageBoxes().empty());
}

}  // namespace
