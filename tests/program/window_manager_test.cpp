// The windows under a real X server with a window manager, where sizes and
// places are the window manager's to grant: the main window comes back at
// the size and place it was left at, the help window where it was hidden,
// the progress window and the print defaults dialog keep their sizes while
// their contents change. run_under_x11.sh starts Xvfb and a window manager
// and runs these; anywhere else they skip, saying so.
//
// With STRUX_SCREENSHOT_DIR set they also write two pictures of every
// window, at its first size and grown (windows-default.png, windows-large.png),
// with the database STRUX_SCREENSHOT_DATABASE names open when it is set
// (docs/images/take-pictures.sh puts it in a neutral folder).
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "STXGLOB.h"
#include "frmMessage.h"
#include "frmPass.h"
#include "main_window_fixture.h"
#include "printing/frmPrinting.h"
#include "printing/frmPrtMode.h"
#include "printing/frmPrtMode2.h"
#include "printing/frmSelect.h"
#include "printing/frmStrux_print.h"
#include "settings/frmPtrDefs.h"
#include "settings_support.h"
#include "viewer/frmAbout.h"
#include "viewer/frmCreationCons.h"
#include "viewer/frmFront.h"
#include "viewer/frmHelp.h"
#include "viewer/frmHelp2.h"

using namespace programtest;

namespace {

// Lets the window manager and the X server catch up.
void settle(int milliseconds = 400) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
}

bool underWindowManager() {
    return QGuiApplication::platformName() == "xcb" && !qEnvironmentVariableIsEmpty("STRUX_WINDOW_MANAGER");
}

// Every widget of `window` lies inside it (nothing clipped at its edges).
void expectNothingClipped(QWidget& window, const std::string& what) {
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (!child->isVisibleTo(&window) || child->parentWidget() != &window) continue;
        if (child->objectName() == "picFirst") continue;  // outside by design
        EXPECT_TRUE(window.rect().contains(child->geometry()))
            << what << ": " << child->objectName().toStdString() << " at " << child->geometry().x() << ","
            << child->geometry().y() << " " << child->width() << "x" << child->height() << " in " << window.width()
            << "x" << window.height();
    }
}

class UnderWindowManager : public MainWindowFixture {
protected:
    void SetUp() override {
        if (!underWindowManager())
            GTEST_SKIP() << "needs an X server with a window manager (tests/program/run_under_x11.sh)";
        splashPause = [](int) {};
        prepare(viewer::jetEngine());
        startUp();
        const char* pictured = std::getenv("STRUX_SCREENSHOT_DATABASE");
        open(pictured && *pictured ? pictured : std::string(STRUX_BINARY_DIR) + "/bin/OrderEntry.mdb");
        ASSERT_EQ(bDbOpen, -1);
    }
};

TEST_F(UnderWindowManager, MainWindowComesBackAtItsSizeAndPlace) {
    window->show();
    settle();
    EXPECT_EQ(window->size(), window->minimumSize());
    window->resize(900, 640);
    window->move(120, 90);
    settle();
    const QRect left = window->geometry();
    EXPECT_EQ(left.size(), QSize(900, 640));
    expectNothingClipped(*window, "main window");
    window->close();
    settle(100);

    window = std::make_unique<frmStrux>();
    window->Form_Load();
    window->show();
    settle();
    EXPECT_EQ(window->geometry(), left);
}

TEST_F(UnderWindowManager, HelpWindowComesBackWhereItWasHidden) {
    window->cmdHelp_Click();
    frmHelp* help = window->helpWindow();
    settle();
    help->move(260, 170);
    settle();
    const QPoint place = help->pos();
    help->hide();
    settle(100);
    window->cmdHelp_Click();
    settle();
    EXPECT_EQ(help->pos(), place);
}

TEST_F(UnderWindowManager, ProgressWindowKeepsItsSizeForLongNames) {
    frmPrinting progress(window.get());
    progress.showDetail("'Orders'");
    settle();
    const QSize first = progress.size();
    progress.showDetail("'" + std::string(120, 'W') + "'");
    settle();
    EXPECT_EQ(progress.size(), first);
    EXPECT_TRUE(progress.rect().contains(progress.cmdCancelPrint->geometry()));
    progress.Unload();
}

TEST_F(UnderWindowManager, PrintDefaultsKeepsItsSizeAndButtonsAcrossTabsAndWarnings) {
    TempFolder settingsFolder;
    const std::string path = settingsFolder.file("STX32.MDB");
    settingstest::makeSettingsDatabase(path);
    dbSettings = viewer::jetEngine().OpenDatabase(path, true, false);
    bSettingsOpen = -1;
    {
        frmPtrDefs dialog(window.get());
        dialog.Form_Load();
        dialog.show();
        settle();
        const QSize first = dialog.size();
        auto* ok = dialog.findChild<QPushButton*>("cmdOK");
        const QPoint okAt = ok->mapTo(&dialog, QPoint());
        for (int tab = 1; tab <= 4; ++tab) {
            dialog.selectTab(tab);
            settle(150);
            EXPECT_EQ(dialog.size(), first) << "tab " << tab;
            expectNothingClipped(dialog, "print defaults tab " + std::to_string(tab));
        }
        dialog.selectTab(3);
        dialog.findChild<QLineEdit*>("txtMargin0")->setText("12");
        settle(150);
        ASSERT_TRUE(dialog.findChild<QLabel*>("lblSaveWarning")->isVisible());
        EXPECT_EQ(ok->mapTo(&dialog, QPoint()), okAt);
        EXPECT_EQ(dialog.size(), first);
        dialog.Form_Unload();
        dialog.hide();
    }
    dbSettings->Close();
    dbSettings.reset();
}

// ---- pictures -----------------------------------------------------------------

// Draws the windows side by side, in rows, with their captions above them.
QImage sheet(const std::vector<std::pair<QString, QPixmap>>& shots, int width) {
    const int gap = 12, caption = 18;
    int x = gap, y = gap, rowHeight = 0;
    std::vector<QPoint> places;
    for (const auto& shot : shots) {
        const QSize size = shot.second.deviceIndependentSize().toSize();
        if (x + size.width() + gap > width && x > gap) {
            x = gap;
            y += rowHeight + caption + gap;
            rowHeight = 0;
        }
        places.push_back({x, y});
        x += size.width() + gap;
        rowHeight = std::max(rowHeight, size.height());
    }
    QImage image(width, y + rowHeight + caption + gap, QImage::Format_RGB32);
    image.fill(QColor(224, 224, 224));
    QPainter painter(&image);
    for (std::size_t i = 0; i < shots.size(); ++i) {
        painter.drawText(places[i] + QPoint(0, 13), shots[i].first);
        painter.drawPixmap(places[i] + QPoint(0, caption), shots[i].second);
    }
    return image;
}

TEST_F(UnderWindowManager, PicturesOfEveryWindow) {
    const char* folder = std::getenv("STRUX_SCREENSHOT_DIR");
    if (!folder || !*folder) GTEST_SKIP() << "STRUX_SCREENSHOT_DIR names no folder for the pictures";
    TempFolder settingsFolder;
    settingstest::makeSettingsDatabase(settingsFolder.file("STX32.MDB"));
    dbSettings = viewer::jetEngine().OpenDatabase(settingsFolder.file("STX32.MDB"), true, false);
    bSettingsOpen = -1;

    for (const bool large : {false, true}) {
        std::vector<std::pair<QString, QPixmap>> shots;
        std::map<QWidget*, QSize> firstSizes;  // a dialog shot once per tab grows once
        auto shoot = [&](QWidget& w, const QString& title) {
            w.show();
            settle(250);
            if (large) {
                const QSize first = firstSizes.emplace(&w, w.size()).first->second;
                w.resize(QSize(first.width() * 3 / 2, first.height() * 3 / 2).boundedTo(w.maximumSize()));
                settle(250);
            }
            expectNothingClipped(w, title.toStdString() + (large ? " (large)" : ""));
            shots.push_back({title, w.grab()});
            w.hide();
        };
        window->show();
        select("lstTables", "Tbl: Orders");
        select("lstIndexes", "PrimaryKey");
        shoot(*window, "frmStrux");
        {
            frmPtrDefs dialog(window.get());
            dialog.Form_Load();
            for (int tab = 1; tab <= 4; ++tab) {
                dialog.selectTab(tab);
                shoot(dialog, QString("frmPtrDefs, tab %1").arg(tab));
            }
            dialog.Form_Unload();
        }
        {
            frmPrinting progress(window.get());
            progress.showDetail("'Order Lines'");
            progress.showPage("Page  2");
            frmSelect select(&progress, window.get());
            select.Form_Load([&] {
                std::vector<std::string> entries;
                for (int i = 0; i < list("lstTables")->count(); ++i)
                    entries.push_back(list("lstTables")->item(i)->text().toStdString());
                return entries;
            }());
            shoot(select, "frmSelect");
            shoot(progress, "frmPrinting");
            progress.Unload();
        }
        frmPrtMode mode(window.get());
        shoot(mode, "frmPrtMode");
        frmPrtMode2 style(window.get());
        shoot(style, "frmPrtMode2");
        window->cmdHelp_Click();
        shoot(*window->helpWindow(), "frmHelp");
        frmHelp2 help2(window.get());
        shoot(help2, "frmHelp2");
        frmAbout about(window.get());
        about.Form_Load();
        shoot(about, "frmAbout");
        frmCreationCons creation(window.get());
        creation.Form_Load();
        shoot(creation, "frmCreationCons");
        frmFront front;
        front.Form_Load();
        shoot(front, "frmFront");
        subs::frmMessage message;
        shoot(message, "frmMessage");
        subs::frmPass pass(window.get());
        shoot(pass, "frmPass");
        const QString file = QString("%1/windows-%2.png").arg(folder, large ? "large" : "default");
        EXPECT_TRUE(sheet(shots, large ? 2200 : 1500).save(file, "PNG", 9)) << file.toStdString();
        window->hide();
    }
    dbSettings->Close();
    dbSettings.reset();
}

}  // namespace
