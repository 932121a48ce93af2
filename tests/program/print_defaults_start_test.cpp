// The print defaults dialog from the main window: "&Defaults" opens it on
// the settings database read at start-up, and a choice stored there as the
// start-up default drives the next start's print request.
#include <QComboBox>
#include <QPushButton>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "STXGLOB.h"
#include "frmStrux.h"
#include "main_window_fixture.h"
#include "printing/frmModal.h"
#include "printing/frmStrux_print.h"
#include "settings_support.h"
#include "vb/app.h"
#include "vb/scripted_ui.h"

using namespace settingstest;

namespace {

namespace fs = std::filesystem;

class DefaultsFromMainWindowTest : public programtest::MainWindowFixture {
protected:
    void SetUp() override {
        splashPause = [](int) {};
        engine.databases[dbPath] = programtest::sampleDatabase();
        printing::setProgramPrinters(testPrinters());
        makeSettingsDatabase(programFolder.file("STX32.MDB"));
    }
    void TearDown() override {
        printing::setModalRunner({});
        stop();
        MainWindowFixture::TearDown();
        printing::setProgramPrinters(nullptr);
    }

    void start() {
        prepare(engine);
        startUp();
    }
    // The program ends: its window goes and the settings database is released.
    void stop() {
        window.reset();
        rsStoredSettings.reset();
        rsPrintInit.reset();
        if (dbSettings) dbSettings->Close();
        programtest::resetGlobals();
        bUseTabSetting = bUsePrintInit = bAutoPrint = bNoFormFile = 0;
    }
    QPushButton* cmdDefaults() { return control<QPushButton>("cmdDefaults"); }

    programtest::TempFolder data;
    std::string dbPath = data.file("Sample.mdb");
    programtest::MemoryEngine engine;
};

TEST_F(DefaultsFromMainWindowTest, AStartUpDefaultStoredInTheDialogRunsTheNextPrint) {
    start();
    ASSERT_EQ(bSettingsOpen, -1);
    ASSERT_TRUE(cmdDefaults()->isEnabled());
    int shown = 0;
    printing::setModalRunner([&](QDialog& dialog) {
        ++shown;
        EXPECT_EQ(dialog.windowTitle().toStdString(), "Print Defaults");
        auto* combo = dialog.findChild<QComboBox*>("cboPrintInit");
        const int index = combo->findText("AutoStruct - Stand Alone");
        combo->setCurrentIndex(index);
        emit combo->activated(index);
        dialog.findChild<QPushButton*>("cmdStrDef")->click();
        dialog.findChild<QPushButton*>("cmdOK")->click();
        EXPECT_TRUE(dialog.isHidden());
    });
    cmdDefaults()->click();
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(window->wakeUpTimerEnabled());
    EXPECT_EQ(sPrintSetting, "AutoStruct - Stand Alone");
    stop();

    start();
    EXPECT_EQ(sPrintSetting, "AutoStruct - Stand Alone");
    open(dbPath);
    ASSERT_EQ(bDbOpen, -1);
    printing::setModalRunner([](QDialog& dialog) {
        ADD_FAILURE() << "an automatic setting asked with " << dialog.windowTitle().toStdString();
        dialog.close();
    });
    window->cmdPrint_Click();
    EXPECT_TRUE(fs::exists(data.file("Sample.bas")));
}

}  // namespace
