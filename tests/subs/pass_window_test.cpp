#include "subs_fixture.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>

using subs_test::SubsTest;

namespace {

// Runs `step` on frmPass once it is up as the modal window, while the test's
// cvShowPass call waits in it. A guard closes the window after a few seconds
// so that a broken window fails the test instead of hanging it.
void whilePassWindowIsUp(const std::function<void(QDialog*)>& step) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, step] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != "frmPass") return;
        poll->stop();
        poll->deleteLater();
        step(dialog);
    });
    poll->start();
    QTimer::singleShot(5000, [] {
        if (QWidget* stuck = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "frmPass was still open";
            stuck->close();
        }
    });
}

QLineEdit* field(QDialog* dialog, const char* name) { return dialog->findChild<QLineEdit*>(name); }

void tick(QDialog* dialog) { ASSERT_TRUE(QMetaObject::invokeMethod(dialog, "Timer1_Timer")); }

}  // namespace

TEST_F(SubsTest, PassWindowGivesTrimmedNameAndPassword) {
    whilePassWindowIsUp([](QDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "        Password Entry");
        EXPECT_EQ(field(dialog, "txtPWord")->echoMode(), QLineEdit::Password);
        EXPECT_FALSE(dialog->findChild<QTimer*>("Timer1")->isActive());  // 0: no time-out
        field(dialog, "txtName")->setText("  ann  ");
        field(dialog, "txtPWord")->setText(" s3cret ");
        dialog->findChild<QPushButton*>("cmdOK")->click();
    });
    EXPECT_EQ(subs->cvShowPass(), "{ann}{s3cret}");
}

TEST_F(SubsTest, PassWindowStaysOpenWithoutAName) {
    whilePassWindowIsUp([](QDialog* dialog) {
        field(dialog, "txtName")->setText("   ");
        field(dialog, "txtPWord")->setText("pw");
        auto* ok = dialog->findChild<QPushButton*>("cmdOK");
        ok->click();
        EXPECT_TRUE(dialog->isVisible());
        field(dialog, "txtName")->setText("bob");
        ok->click();
    });
    EXPECT_EQ(subs->cvShowPass(0), "{bob}{pw}");
}

TEST_F(SubsTest, PassWindowTimesOutAfterLimitPlusOneTicks) {
    whilePassWindowIsUp([](QDialog* dialog) {
        auto* timer = dialog->findChild<QTimer*>("Timer1");
        ASSERT_NE(timer, nullptr);
        EXPECT_TRUE(timer->isActive());
        EXPECT_EQ(timer->interval(), 10000);
        field(dialog, "txtName")->setText("carol");
        field(dialog, "txtPWord")->setText("half-typed");
        tick(dialog);
        tick(dialog);
        EXPECT_TRUE(dialog->isVisible()) << "closed after 20 s of a 30 s limit";
        tick(dialog);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_TRUE(field(dialog, "txtPWord")->text().isEmpty());
    });
    EXPECT_EQ(subs->cvShowPass(2), "!TIMEOUT!");
}

TEST_F(SubsTest, PassWindowOkBeforeTheTimeOutWins) {
    whilePassWindowIsUp([](QDialog* dialog) {
        tick(dialog);
        field(dialog, "txtName")->setText("dave");
        dialog->findChild<QPushButton*>("cmdOK")->click();
        EXPECT_FALSE(dialog->findChild<QTimer*>("Timer1")->isActive());
    });
    EXPECT_EQ(subs->cvShowPass(1), "{dave}{}");
}

TEST_F(SubsTest, PassWindowClosedWithoutAnswerGivesEmptyText) {
    whilePassWindowIsUp([](QDialog* dialog) {
        field(dialog, "txtName")->setText("eve");
        dialog->reject();  // Escape or the close box
    });
    EXPECT_EQ(subs->cvShowPass(3), "");
}
