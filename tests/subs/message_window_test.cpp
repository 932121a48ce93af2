#include "subs_fixture.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "support/error_number.h"
#include "vb/vb_error.h"

using subs_test::SubsTest;

namespace {

std::vector<QWidget*> messageWindows() {
    std::vector<QWidget*> found;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == "frmMessage") found.push_back(window);
    return found;
}

QWidget* messageWindow() {
    auto found = messageWindows();
    return found.size() == 1 ? found[0] : nullptr;
}

}  // namespace

// Runs first in this file: hiding a window that was never shown creates none.
TEST_F(SubsTest, HidingBeforeAnyMessageCreatesNoWindow) {
    const auto before = messageWindows().size();
    subs->cvShowMessage("-1");
    EXPECT_EQ(messageWindows().size(), before);
    for (QWidget* window : messageWindows()) EXPECT_FALSE(window->isVisible());
}

TEST_F(SubsTest, ShowMessageShowsTheCentredStatusWindowWithTheText) {
    subs->cvShowMessage("Creating stand alone style code.........");
    QWidget* window = messageWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    auto* label = window->findChild<QLabel*>("lblMessage");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Creating stand alone style code.........");
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(192, 192, 192));

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect frame = window->frameGeometry();
    EXPECT_EQ(frame.left(), screen.left() + (screen.width() - frame.width()) / 2);
    EXPECT_EQ(frame.top(), screen.top() + (screen.height() - frame.height()) / 2);

    // The label sits in the middle of its picture box, however many lines it has.
    auto* area = window->findChild<QFrame*>("picLabelArea");
    ASSERT_NE(area, nullptr);
    auto expectCentred = [&] {
        const QRect inside = area->contentsRect();
        EXPECT_EQ(label->y(), inside.top() + (inside.height() - label->height()) / 2);
        EXPECT_GE(label->y(), inside.top());
        EXPECT_LE(label->y() + label->height(), inside.bottom() + 1);
    };
    expectCentred();
    const int oneLineHeight = label->height();
    subs->cvShowMessage(std::string(200, 'x') + " " + std::string(30, 'y') + " and more words to wrap over lines");
    EXPECT_GT(label->height(), oneLineHeight);
    expectCentred();
    EXPECT_EQ(messageWindows().size(), 1u);  // the same window, again

    subs->cvShowMessage("-1");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(messageWindow(), window);  // hidden, still loaded
}

TEST_F(SubsTest, ShowMessageTakesAnyVariantAndMinusOneAsNumberHides) {
    subs->cvShowMessage(vb::Variant(int32_t{42}));
    QWidget* window = messageWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->findChild<QLabel*>("lblMessage")->text(), "42");
    subs->cvShowMessage(vb::Variant(int16_t{-1}));
    EXPECT_FALSE(window->isVisible());

    subs->cvShowMessage(vb::Variant(" -1"));  // text other than "-1" is shown as it is
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->findChild<QLabel*>("lblMessage")->text(), " -1");
    subs->cvShowMessage(vb::Variant(-1.0));
    EXPECT_FALSE(window->isVisible());
}

TEST_F(SubsTest, ShowMessageOfNullFailsWithInvalidUseOfNull) {
    subs->cvShowMessage("before");
    EXPECT_EQ(testsupport::errorNumber<vb::RuntimeError>([&] { subs->cvShowMessage(vb::Variant::Null()); }),
              vb::vbErrInvalidUseOfNull);
    EXPECT_EQ(messageWindow()->findChild<QLabel*>("lblMessage")->text(), "before");
    subs->cvShowMessage("-1");
}
