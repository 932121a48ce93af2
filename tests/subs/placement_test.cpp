#include "subs_fixture.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

using subs_test::SubsTest;

namespace {

QRect screenGeometry() { return QGuiApplication::primaryScreen()->geometry(); }

}  // namespace

TEST_F(SubsTest, CentreFormPlacesTheWindowInTheMiddleOfTheScreen) {
    QWidget window;
    window.resize(301, 155);
    window.show();
    subs->cvCentreForm(&window);
    const QRect screen = screenGeometry();
    const QRect frame = window.frameGeometry();
    EXPECT_EQ(frame.size().width(), 301 + (frame.width() - window.width()));  // size kept
    EXPECT_EQ(window.size(), QSize(301, 155));
    EXPECT_EQ(frame.left(), screen.left() + (screen.width() - frame.width()) / 2);
    EXPECT_EQ(frame.top(), screen.top() + (screen.height() - frame.height()) / 2);
}

TEST_F(SubsTest, CentreToParentUsesOffsetsInTheParentsClientArea) {
    QWidget parent;
    parent.resize(400, 300);
    auto* child = new QWidget(&parent);
    child->setGeometry(5, 5, 101, 51);
    parent.show();
    subs->cvCentreToParent(child, &parent);
    // The parent's rectangle is its outer one, frame included.
    const QSize outer = parent.frameGeometry().size();
    EXPECT_EQ(child->geometry(), QRect((outer.width() - 101) / 2, (outer.height() - 51) / 2, 101, 51));
}

TEST_F(SubsTest, CentreToParentOfAWindowLargerThanItsParentCentresOnTheScreen) {
    QWidget parent;
    parent.resize(200, 400);
    QWidget window;
    window.resize(300, 100);  // wider than the parent
    parent.show();
    window.show();
    window.move(0, 0);
    subs->cvCentreToParent(&window, &parent);
    const QRect screen = screenGeometry();
    EXPECT_EQ(window.frameGeometry().left(), screen.left() + (screen.width() - window.frameGeometry().width()) / 2);
    EXPECT_EQ(window.frameGeometry().top(), screen.top() + (screen.height() - window.frameGeometry().height()) / 2);
}

TEST_F(SubsTest, PlacementWithoutAWindowDoesNothing) {
    QWidget parent;
    parent.resize(200, 200);
    const QRect before = parent.geometry();
    subs->cvCentreForm(nullptr);
    subs->cvCentreToParent(nullptr, nullptr);
    subs->cvCentreToParent(nullptr, &parent);
    subs->cvCentreToParent(&parent, nullptr);  // no parent: centred on the screen
    EXPECT_EQ(parent.size(), before.size());
}
