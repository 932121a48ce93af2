// Renders the main window with Northwind open into the PNG named by
// STRUX_SCREENSHOT (run under Xvfb with QT_QPA_PLATFORM=xcb for real fonts);
// skipped otherwise. STRUX_SCREENSHOT_DATABASE names a copy of Northwind in
// a neutral folder, so that the picture shows no build machine's path.
// docs/images/take-pictures.sh takes the README's pictures through here.
#include <QApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <cstdlib>
#include <gtest/gtest.h>

#include "main_window_fixture.h"
#include "support/corpus.h"
#include "vb/screen.h"

using namespace programtest;

namespace {

using Screenshot = MainWindowFixture;

TEST_F(Screenshot, MainWindowWithNorthwind) {
    const char* output = std::getenv("STRUX_SCREENSHOT");
    if (!output || !*output) GTEST_SKIP() << "STRUX_SCREENSHOT names no output file";
    STRUX_REQUIRE_CORPUS();
    splashPause = [](int) {};
    prepare(viewer::jetEngine());
    startUp();
    const char* pictured = std::getenv("STRUX_SCREENSHOT_DATABASE");
    open(pictured && *pictured ? std::string(pictured) : testsupport::corpusFile("real/nwind-jet3.mdb").string());
    select("lstTables", "Tbl: Order Details");
    select("lstIndexes", "PrimaryKey");
    window->show();
    // The longest hint, to show that the hint bar holds it.
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(control<QWidget>("Image1"), &move);
    vb::Screen().setMousePointer(0);
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
    EXPECT_TRUE(window->grab().save(output, "PNG"));
    window->close();
}

}  // namespace
