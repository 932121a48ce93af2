// Renders the main window with Northwind open into the PNG named by
// STRUX_SCREENSHOT (run under Xvfb with QT_QPA_PLATFORM=xcb for real fonts);
// skipped otherwise. The README's picture comes from here.
#include <QApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QPixmap>
#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

#include "STXGLOB.h"
#include "frmStrux.h"
#include "program_fixture.h"
#include "support/corpus.h"
#include "vb/app.h"
#include "vb/scripted_ui.h"
#include "vb/screen.h"

using namespace programtest;

TEST(Screenshot, MainWindowWithNorthwind) {
    const char* output = std::getenv("STRUX_SCREENSHOT");
    if (!output || !*output) GTEST_SKIP() << "STRUX_SCREENSHOT names no output file";
    STRUX_REQUIRE_CORPUS();
    resetGlobals();
    TempFolder programFolder, registryFolder;
    vb::App().setInstanceLockName("strux32-screenshot-" + std::to_string(::getpid()));
    vb::App().setPathOverride(programFolder.path());
    ::setenv("STRUX32_REGISTRY_PREFIX", registryFolder.path().c_str(), 1);
    dbeEngine = &viewer::jetEngine();
    splashPause = [](int) {};
    vb::ScopedScriptedUi ui;
    {
        frmStrux window;
        window.Form_Load();
        window.picFirst_GotFocus();
        ui->fileDialogAnswers.push_back(testsupport::corpusFile("real/nwind-jet3.mdb").string());
        window.cmdOpen_Click();
        auto* tables = window.findChild<QListWidget*>("lstTables");
        tables->setCurrentRow(3);  // Order Details
        window.findChild<QListWidget*>("lstIndexes")->setCurrentRow(
            window.findChild<QListWidget*>("lstIndexes")->findItems("PrimaryKey", Qt::MatchExactly).front()->listWidget()->row(
                window.findChild<QListWidget*>("lstIndexes")->findItems("PrimaryKey", Qt::MatchExactly).front()));
        window.show();
        // The longest hint, to show that the hint bar holds it.
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(window.findChild<QWidget*>("Image1"), &move);
        vb::Screen().setMousePointer(0);
        for (int i = 0; i < 20; ++i) QApplication::processEvents();
        EXPECT_TRUE(window.grab().save(output, "PNG"));
        window.close();
    }
    resetGlobals();
    dbeEngine = nullptr;
    vb::App().setPathOverride("");
    ::unsetenv("STRUX32_REGISTRY_PREFIX");
}
