// An installed program opens STX32.MDB from the user's data folder, copied
// there from the delivered file on first use: each user reads the start-up
// choice from their own copy, and what they store lands in that copy alone.
#include <QPushButton>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "STXGLOB.h"
#include "frmStrux.h"
#include "jet/dao.h"
#include "program_fixture.h"
#include "support/files.h"
#include "vb/app.h"
#include "vb/scripted_ui.h"

using namespace programtest;

namespace {

namespace fs = std::filesystem;

using testsupport::readFile;
using testsupport::ScopedEnv;

class DeliveredSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path built = fs::path(STRUX_BINARY_DIR) / "bin" / "STX32.MDB";
        ASSERT_TRUE(fs::exists(built)) << built << " was not made by the build";
        resetGlobals();
        bin = tree.path() / "usr" / "bin";
        delivered = tree.path() / "usr" / "share" / "strux32";
        fs::create_directories(bin);
        fs::create_directories(delivered);
        fs::copy_file(built, delivered / "STX32.MDB");
        fs::permissions(bin, fs::perms::owner_read | fs::perms::owner_exec);
        deliveredBytes = readFile(delivered / "STX32.MDB");
        vb::App().setInstanceLockName("strux32-delivered-settings-test-" + std::to_string(::getpid()));
        vb::App().setPathOverride(bin.string());
        ::setenv("STRUX32_REGISTRY_PREFIX", registryFolder.path().c_str(), 1);
        dbeEngine = &viewer::jetEngine();
        splashPause = [](int) {};
    }
    void TearDown() override {
        closeSettings();
        EXPECT_FALSE(fs::exists(home.path() / ".local")) << "a start found no XDG_DATA_HOME and used HOME";
        dbeEngine = nullptr;
        vb::App().setPathOverride("");
        ::unsetenv("STRUX32_REGISTRY_PREFIX");
    }

    // Starts the program as `user`; the settings database stays open, as
    // for the rest of a run.
    void startAs(const std::string& user) {
        closeSettings();
        ScopedEnv dataHome("XDG_DATA_HOME", (tree.path() / user).string());
        frmStrux window;
        window.Form_Load();
        window.picFirst_GotFocus();
        EXPECT_TRUE(window.findChild<QPushButton*>("cmdDefaults")->isEnabled()) << user;
        EXPECT_EQ(bSettingsOpen, -1) << user;
    }

    void closeSettings() {
        if (dbSettings) dbSettings->Close();
        resetGlobals();
    }

    fs::path settingsOf(const std::string& user) { return tree.path() / user / "strux32" / "STX32.MDB"; }

    TempFolder tree;
    TempFolder registryFolder;
    // Where a start that missed its XDG_DATA_HOME would write.
    TempFolder home;
    ScopedEnv homeVariable{"HOME", home.path().string()};
    fs::path bin, delivered;
    std::string deliveredBytes;
    vb::ScopedScriptedUi ui;
};

TEST_F(DeliveredSettingsTest, EachUserReadsAndWritesACopyOfTheirOwn) {
    startAs("ann");
    EXPECT_EQ(sTabSetting, "Default");
    EXPECT_EQ(sPrintSetting, "Default");
    EXPECT_EQ(readFile(settingsOf("ann")), deliveredBytes) << "ann starts from the delivered settings";

    // Ann stores a choice of her own for the next start, through the one
    // open settings database.
    auto init = dbSettings->OpenRecordset("STX32Init", jet::dbOpenTable);
    init->MoveFirst();
    init->Edit();
    init->SetValue("TabSetting", std::string("HPLJ4 - Times NR"));
    init->SetValue("PrintSetting", std::string("AutoPrint"));
    init->Update();
    init->Close();
    closeSettings();
    EXPECT_NE(readFile(settingsOf("ann")), deliveredBytes);

    startAs("bob");
    EXPECT_EQ(sTabSetting, "Default") << "bob sees ann's choice";
    EXPECT_EQ(sPrintSetting, "Default");

    startAs("ann");
    EXPECT_EQ(sTabSetting, "HPLJ4 - Times NR");
    EXPECT_EQ(sPrintSetting, "AutoPrint");
    closeSettings();

    EXPECT_EQ(readFile(delivered / "STX32.MDB"), deliveredBytes) << "the delivered file was written";
    EXPECT_TRUE(fs::is_empty(bin)) << "nothing is written beside the installed program";
}

TEST_F(DeliveredSettingsTest, ASecondRunningCopyFindsTheSettingsInUse) {
    startAs("ann");
    auto first = dbSettings;
    dbSettings.reset();
    // The same user again while the first run holds the file: the second
    // run goes on without settings, as with a missing database.
    ScopedEnv dataHome("XDG_DATA_HOME", (tree.path() / "ann").string());
    frmStrux window;
    window.Form_Load();
    window.picFirst_GotFocus();
    EXPECT_FALSE(window.findChild<QPushButton*>("cmdDefaults")->isEnabled());
    EXPECT_EQ(sTabSetting, "!");
    first->Close();
}

TEST_F(DeliveredSettingsTest, TheOpenDialogOfAnInstalledCopyStartsAtTheSample) {
    fs::create_directories(delivered / "samples");
    startAs("ann");
    frmStrux window;
    window.Form_Load();
    window.cmdOpen_Click();
    ASSERT_EQ(ui->fileDialogs.size(), 1u);
    EXPECT_EQ(fs::path(ui->fileDialogs[0].initialDir), delivered / "samples");
}

}  // namespace
