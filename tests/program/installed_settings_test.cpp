// An installed program opens STX32.MDB from the user's data folder, copied
// there from the delivered file on first use; each user has their own.
#include <QPushButton>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "STXGLOB.h"
#include "frmStrux.h"
#include "program_fixture.h"
#include "support/files.h"
#include "vb/app.h"
#include "vb/scripted_ui.h"

using namespace programtest;

namespace {

namespace fs = std::filesystem;

using testsupport::readFile;
using testsupport::ScopedEnv;

class InstalledSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetGlobals();
        bin = fs::path(tree.path()) / "usr" / "bin";
        delivered = fs::path(tree.path()) / "usr" / "share" / "strux32";
        fs::create_directories(bin);
        fs::create_directories(delivered);
        std::ofstream(delivered / "STX32.MDB", std::ios::binary) << "the delivered settings database";
        vb::App().setInstanceLockName("strux32-installed-test-" + std::to_string(::getpid()));
        vb::App().setPathOverride(bin.string());
        ::setenv("STRUX32_REGISTRY_PREFIX", registryFolder.path().c_str(), 1);
        dbeEngine = &engine;
        splashPause = [](int) {};
    }
    void TearDown() override {
        resetGlobals();
        dbeEngine = nullptr;
        vb::App().setPathOverride("");
        ::unsetenv("STRUX32_REGISTRY_PREFIX");
    }

    // Starts the program as `user` would, with their data folder, and
    // answers the settings database it opened.
    std::string startAs(const std::string& user) {
        ScopedEnv dataHome("XDG_DATA_HOME", (fs::path(tree.path()) / user).string());
        const std::size_t before = engine.opens.size();
        frmStrux window;
        window.Form_Load();
        window.picFirst_GotFocus();
        EXPECT_TRUE(window.findChild<QPushButton*>("cmdDefaults")->isEnabled()) << user;
        EXPECT_EQ(bSettingsOpen, -1) << user;
        resetGlobals();
        return engine.opens.size() > before ? engine.opens.at(before).name : std::string();
    }

    TempFolder tree;
    TempFolder registryFolder;
    fs::path bin;
    fs::path delivered;
    MemoryEngine engine;
    vb::ScopedScriptedUi ui;
};

TEST_F(InstalledSettingsTest, EachUserOpensACopyOfTheirOwn) {
    const fs::path ann = fs::path(tree.path()) / "ann" / "strux32" / "STX32.MDB";
    const fs::path bob = fs::path(tree.path()) / "bob" / "strux32" / "STX32.MDB";
    auto settings = std::make_shared<MemoryDatabase>();
    settings->rows["STX32Init"] = {{"TabSetting", "PrintSetting"}, {}};
    engine.databases[ann.string()] = settings;
    engine.databases[bob.string()] = settings;

    EXPECT_EQ(startAs("ann"), ann.string());
    EXPECT_EQ(readFile(ann), "the delivered settings database");
    EXPECT_EQ(startAs("bob"), bob.string());
    EXPECT_EQ(readFile(bob), "the delivered settings database");

    // Ann's settings, once written, stay hers at the next start.
    std::ofstream(ann, std::ios::binary | std::ios::trunc) << "ann's settings";
    EXPECT_EQ(startAs("ann"), ann.string());
    EXPECT_EQ(readFile(ann), "ann's settings");
    EXPECT_EQ(readFile(bob), "the delivered settings database");
    EXPECT_EQ(readFile(delivered / "STX32.MDB"), "the delivered settings database");
    EXPECT_TRUE(fs::is_empty(bin)) << "nothing is written beside the installed program";
}

}  // namespace
