#include "vb/screen.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <QTimer>

#include "support/error_number.h"
#include "vb/vb_error.h"

TEST(Screen, HourglassIsAnOverrideCursorThatZeroRemovesWhole) {
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    vb::Screen().setMousePointer(vb::vbHourglass);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    EXPECT_EQ(vb::Screen().MousePointer(), 11);
    // Set twice, as nested busy work does: one 0 still restores.
    vb::Screen().setMousePointer(vb::vbHourglass);
    vb::Screen().setMousePointer(vb::vbIbeam);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::IBeamCursor);
    vb::Screen().setMousePointer(vb::vbDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    vb::Screen().setMousePointer(vb::vbDefault);  // again: nothing to restore, no harm
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(vb::Screen().MousePointer(), 0);
}

TEST(Screen, PointerValuesOutsideVbsRangeAreRefused) {
    for (int bad : {-1, 16, 99})
        EXPECT_EQ(testsupport::errorNumber<vb::RuntimeError>([&] { vb::Screen().setMousePointer(bad); }), 380) << bad;
    EXPECT_EQ(vb::Screen().MousePointer(), 0);
}

TEST(Screen, DoEventsRunsWhatIsWaiting) {
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    vb::DoEvents();
    EXPECT_TRUE(ran);
}
