// What a commit refuses before it writes anything, and the order in which
// it makes its pages lasting.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/storage/fixture_builder.h"
#include "io/page_file.h"
#include "io/rollback_journal.h"
#include "jet/error.h"
#include "support/error_number.h"
#include "write/page_store.h"
#include "engine/write/write_support.h"

// Every fsync of the test program, with whether the file's journal was
// still there: a database synced only after its journal is gone can lose a
// commit that a crash cut short.
std::vector<std::pair<std::string, bool>> synced;
extern "C" int fsync(int fd) {
    std::error_code ignored;
    const auto path = std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), ignored).string();
    synced.emplace_back(path, std::filesystem::exists(jet::io::journalPath(path)));
    static const auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"));
    return real(fd);
}

namespace {

// Counts what reaches it; nothing should.
struct CountingSink : jet::write::PageSink {
    void writePage(std::uint32_t, std::span<const std::uint8_t>) override { ++writes; }
    void flush() override {}
    void saveUndo(std::span<const std::uint32_t>) override { ++writes; }
    int writes = 0;
};

long commitError(jet::io::PageFile& file, CountingSink& sink) {
    jet::write::PageStore store(file);
    store.modify(1)[100] ^= 0xFF;
    return testsupport::errorNumber<jet::Error>([&] { store.commit(sink); });
}

TEST(PageStoreCommit, APageEncodedFileIsReadOnly) {
    // Pages held in the clear would be garbage in a file whose pages are
    // encoded.
    fixture::Database db(jet::format::jet4Format());
    db.addDataPage(2, {});
    db.setEncodingKey(0x1234ABCD);
    auto file = jet::io::PageFile::fromBytes(db.bytes(), "encoded.mdb");
    CountingSink sink;
    EXPECT_EQ(commitError(*file, sink), jet::kErrReadOnly);
    EXPECT_EQ(sink.writes, 0);
}

TEST(PageStoreCommit, AfterAnUnfinishedWriteNothingMoreIsWritten) {
    fixture::Database db(jet::format::jet4Format());
    db.addDataPage(2, {});
    auto file = jet::io::PageFile::fromBytes(db.bytes(), "unfinished.mdb");
    CountingSink sink;
    EXPECT_EQ(commitError(*file, sink), 0);
    EXPECT_EQ(sink.writes, 2);
    file->setUnfinishedWrite();
    EXPECT_EQ(commitError(*file, sink), jet::kErrDamaged);
    EXPECT_EQ(sink.writes, 2);
}

TEST(PageStoreCommit, TheDatabaseIsSyncedBeforeItsJournalGoes) {
    writetest::TempFolder folder;
    const std::string path = folder.file("synced.mdb");
    auto db = jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral, jet::dbVersion40);
    const std::string canonical = std::filesystem::canonical(path).string();
    synced.clear();
    writetest::appendTable(*db, "Orders");
    EXPECT_NE(std::find(synced.begin(), synced.end(), std::pair(canonical, true)), synced.end());
    EXPECT_FALSE(std::filesystem::exists(jet::io::journalPath(path)));
}

}  // namespace
