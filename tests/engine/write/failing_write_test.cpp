// Writes refused before anything is written: a folder without write access,
// and a commit while another opener has the file. Writes that fail part-way
// through a commit are tested write by write in crash_safety_test.cpp.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "dao/database_impl.h"
#include "jet/dao.h"
#include "engine/write/write_support.h"

namespace {

using writetest::TempFolder;
using writetest::appendTable;
using writetest::errorOf;

TEST(FailingWrites, NewDatabaseInAFolderWithoutWriteAccessLeavesNothing) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes to any folder";
    TempFolder folder;
    ::chmod(folder.path().c_str(), 0500);
    EXPECT_EQ(errorOf([&] { jet::DBEngine().CreateDatabase(folder.file("x.mdb"), jet::dbLangGeneral); }), 3051);
    ::chmod(folder.path().c_str(), 0700);
    EXPECT_TRUE(folder.names().empty());
}

// A second opener caches pages: while it has the file open, writes are
// refused (3218) and change nothing; once it closes, they go through.
TEST(SharedWrites, AnotherOpenerBlocksWritesUntilItCloses) {
    TempFolder folder;
    const std::string path = folder.file("shared.mdb");
    jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral);
    auto writer = jet::DBEngine().OpenDatabase(path);
    auto reader = jet::DBEngine().OpenDatabase(path);
    const auto before = writetest::readFile(path);
    EXPECT_EQ(errorOf([&] { appendTable(*writer, "Blocked"); }), 3218);
    EXPECT_EQ(writetest::readFile(path), before);
    // The refused writer still has the file open: no one gets it exclusively.
    reader.reset();
    EXPECT_EQ(errorOf([&] { jet::DBEngine().OpenDatabase(path, true); }), jet::kErrFileInUse);
    appendTable(*writer, "Allowed");
    writer.reset();
    auto reopened = jet::DBEngine().OpenDatabase(path);
    EXPECT_NE(reopened->TableDefs().find("Allowed"), nullptr);
    EXPECT_EQ(reopened->TableDefs().find("Blocked"), nullptr);
}

}  // namespace
