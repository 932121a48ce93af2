// program_open FILE [RUNS]: the main window opening FILE as the Open dialog
// hands it over, in-process and off the screen: the time from the hand-over
// until the object list is filled, and until the events it queued have run
// as well (the damaged entries marked, which reads every table), then the time a click on the first table takes
// to show its fields. The first open is given apart (nothing of the file in
// the system's cache or the process yet), then the median of the others.
// The program runs with a program folder and registry of its own, and
// message boxes answered by a script.
#include <QApplication>
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
        window.picFirst_GotFocus();
        QApplication::processEvents();
        auto* tables = window.findChild<QListWidget*>("lstTables");
        auto* fields = window.findChild<QListWidget*>("lstFields");
        std::vector<double> lists, opens, clicks;
        int listed = 0;
        for (int run = 0; run < runs; ++run) {
            ui->fileDialogAnswers.push_back(file);
            const auto start = std::chrono::steady_clock::now();
            window.cmdOpen_Click();
            lists.push_back(millisecondsSince(start));
            QApplication::processEvents();
            opens.push_back(millisecondsSince(start));
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
                        "  list filled:        first %6.1f ms, then median %6.1f ms\n"
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
