// The desktop's own file dialog, as the Open button shows it: the request's
// filters, the files it hides left out of the list, room for long names.
#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHeaderView>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

#include "support/files.h"
#include "support/temp_folder.h"
#include "vb/interaction.h"

namespace {

// The names the dialog's list shows, once its folder has been read.
QStringList listedNames(QFileDialog& dialog, int atLeast) {
    auto* view = dialog.findChild<QTreeView*>("treeView");
    QStringList names;
    QElapsedTimer waited;
    waited.start();
    while (view && waited.elapsed() < 5000) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        names.clear();
        const QModelIndex root = view->rootIndex();
        for (int row = 0; row < view->model()->rowCount(root); ++row)
            names << view->model()->index(row, 0, root).data().toString();
        if (names.size() >= atLeast) break;
    }
    names.sort();
    return names;
}

TEST(FileDialog, OffersTheFiltersAndHidesWhatTheRequestHides) {
    testsupport::TempFolder folder;
    for (const char* name : {"Sales.mdb", "NWIND.MDB", "Back.accdb", "STX32.MDB", "notes.txt"})
        testsupport::writeFile(folder.file(name), "");
    vb::FileDialogRequest request;
    request.title = "Open";
    request.filter = "Databases (*.mdb);;Access databases (*.mdb *.accdb);;All files (*)";
    request.initialDir = folder.path();
    request.hiddenFiles = {folder.file("STX32.MDB")};

    bool inspected = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || inspected) return;
        inspected = true;
        EXPECT_EQ(dialog->windowTitle(), "Open");
        EXPECT_EQ(dialog->nameFilters(), (QStringList{"Databases (*.mdb)", "Access databases (*.mdb *.accdb)",
                                                      "All files (*)"}));
        // Files from Windows often carry upper-case names.
        EXPECT_EQ(listedNames(*dialog, 2), (QStringList{"NWIND.MDB", "Sales.mdb"}));
        dialog->selectNameFilter("Access databases (*.mdb *.accdb)");
        EXPECT_EQ(listedNames(*dialog, 3), (QStringList{"Back.accdb", "NWIND.MDB", "Sales.mdb"}));
        auto* view = dialog->findChild<QTreeView*>("treeView");
        ASSERT_NE(view, nullptr);
        EXPECT_GE(view->header()->sectionSize(0), 340);
        dialog->reject();
    });
    poll.start(20);
    EXPECT_EQ(vb::ui().openFileDialog(request), std::nullopt);
    EXPECT_TRUE(inspected);
}

}  // namespace
