// program_open FILE [RUNS]: the main window (shown, off the screen) opening
// FILE as the Open dialog hands it over: the time from the hand-over until
// the object list is painted with its entries, until the events the open
// queued have run as well (the damaged entries marked, which reads every
// table), and then the time a click on a table takes to show its fields.
// The first open is given apart (nothing of the file in the process yet),
// then the median of the others. The program runs with a program folder and
// registry of its own, and message boxes answered by a script.
#include <QApplication>
#include <QEvent>
#include <QListWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "STXGLOB.h"
#include "frmStrux.h"
#include "vb/app.h"
#include "vb/scripted_ui.h"
#include "viewer/engine_iface.h"

namespace {

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Notes when the object list is first painted with entries in it: the
// moment the user sees the list.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QListWidget& list) : list_(list) { list.viewport()->installEventFilter(this); }
    void arm(std::chrono::steady_clock::time_point start) {
        start_ = start;
        painted_ = -1;
    }
    double painted() const { return painted_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && painted_ < 0 && list_.count() > 0)
            painted_ = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_).count();
        return QObject::eventFilter(watched, event);
    }

private:
    QListWidget& list_;
    std::chrono::steady_clock::time_point start_;
    double painted_ = -1;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: program_open FILE [RUNS]\n");
        return 2;
    }
    const std::string file = std::filesystem::absolute(argv[1]).string();
    const int runs = argc > 2 ? std::max(2, std::atoi(argv[2])) : 11;
    if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    char folderTemplate[] = "/tmp/program-open-XXXXXX";
    if (!::mkdtemp(folderTemplate)) return 2;
    const std::filesystem::path folder = folderTemplate;
    std::filesystem::create_directories(folder / "registry");
    ::setenv("STRUX32_REGISTRY_PREFIX", (folder / "registry").c_str(), 1);

    QApplication app(argc, argv);
    vb::ScopedScriptedUi ui;
    vb::App().setPathOverride(folder.string());
    dbeEngine = &viewer::jetEngine();
    int status = 0;
    {
        frmStrux window;
        window.Form_Load();
        window.show();
        window.picFirst_GotFocus();
        QApplication::processEvents();
        auto* tables = window.findChild<QListWidget*>("lstTables");
        FirstPaint firstPaint(*tables);
        auto* fields = window.findChild<QListWidget*>("lstFields");
        std::vector<double> lists, opens, clicks;
        int listed = 0;
        for (int run = 0; run < runs; ++run) {
            ui->fileDialogAnswers.push_back(file);
            const auto start = std::chrono::steady_clock::now();
            firstPaint.arm(start);
            window.cmdOpen_Click();
            QApplication::processEvents();
            opens.push_back(millisecondsSince(start));
            lists.push_back(firstPaint.painted() < 0 ? opens.back() : firstPaint.painted());
            listed = tables->count();
            if (listed < 2) break;
            // The list opens on its first entry: the click goes to the second.
            const auto clicked = std::chrono::steady_clock::now();
            tables->setCurrentRow(1);
            QApplication::processEvents();
            clicks.push_back(millisecondsSince(clicked));
        }
        if (opens.size() < 2 || fields->count() == 0) {
            std::fprintf(stderr, "program_open: %s did not list (%d entries)\n", file.c_str(), listed);
            status = 1;
        } else {
            std::printf("%s: %d entries, %d runs\n"
                        "  list on the screen: first %6.1f ms, then median %6.1f ms\n"
                        "  and entries marked: first %6.1f ms, then median %6.1f ms\n"
                        "  click on a table:   median %.2f ms\n",
                        file.c_str(), listed, runs, lists.front(), median({lists.begin() + 1, lists.end()}),
                        opens.front(), median({opens.begin() + 1, opens.end()}), median(clicks));
        }
    }
    dbCurrent.reset();
    dbSettings.reset();
    std::filesystem::remove_all(folder);
    return status;
}
