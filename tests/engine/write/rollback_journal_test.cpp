// The rollback journal on its own: only a whole journal of this database
// counts; a writable opener applies it (alone) or sets it aside, a
// read-only one reads the pages it holds and leaves it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "io/page_file.h"
#include "io/rollback_journal.h"
#include "jet/dao.h"
#include "jet/verify.h"
#include "engine/write/write_support.h"
#include "support/files.h"

namespace {

using jet::io::RollbackJournal;
using writetest::errorOf;
using writetest::TempFolder;

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    testsupport::writeFile(path, std::string(bytes.begin(), bytes.end()));
}

RollbackJournal sampleJournal() {
    RollbackJournal journal;
    journal.pageSize = 2048;
    journal.fileLength = 5 * 2048 + 17;
    for (std::uint32_t n : {3u, 0u}) {
        jet::io::JournalPage page{n, std::vector<std::uint8_t>(2048)};
        for (std::size_t i = 0; i < page.bytes.size(); ++i) page.bytes[i] = static_cast<std::uint8_t>(i * 7 + n);
        journal.pages.push_back(std::move(page));
    }
    return journal;
}

TEST(RollbackJournal, OnlyAWholeJournalDecodes) {
    const auto journal = sampleJournal();
    const auto bytes = jet::io::encodeJournal(journal);
    auto back = jet::io::decodeJournal(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->pageSize, journal.pageSize);
    EXPECT_EQ(back->fileLength, journal.fileLength);
    ASSERT_EQ(back->pages.size(), 2u);
    EXPECT_EQ(back->pages[0].number, 3u);
    EXPECT_EQ(back->pages[1].bytes, journal.pages[1].bytes);

    // Cut short anywhere (a crash while it was written), or changed in one
    // byte anywhere: not a journal. Every byte of the header and of the
    // first page's number and checksum, which only the whole journal's
    // checksum covers, and bytes all through the rest.
    for (std::size_t length = 0; length < bytes.size(); length += 13)
        EXPECT_FALSE(jet::io::decodeJournal(std::span(bytes).first(length))) << length;
    for (std::size_t at = 0; at < bytes.size(); at += at < 44 ? 1 : 101) {
        auto changed = bytes;
        changed[at] ^= 0x20;
        EXPECT_FALSE(jet::io::decodeJournal(changed)) << at;
    }
    auto longer = bytes;
    longer.push_back(0);
    EXPECT_FALSE(jet::io::decodeJournal(longer));
    // Sealed whole but holding more pages than its count says (the
    // journal's checksum is the identity checksum over what precedes it).
    auto counted = bytes;
    counted[12] = 1;
    const std::size_t end = counted.size() - 8;
    const std::uint64_t sealed = jet::io::databaseIdentity(std::span(counted).first(end));
    for (int i = 0; i < 8; ++i) counted[end + i] = static_cast<std::uint8_t>(sealed >> (8 * i));
    EXPECT_FALSE(jet::io::decodeJournal(counted));
}

class HotJournal : public ::testing::Test {
protected:
    // A database with a table, then a commit cut short by hand: the journal
    // holds pages 0 and 2 as they were; the file has those pages scribbled
    // over and has grown by two pages.
    void SetUp() override {
        {
            auto db = jet::DBEngine().CreateDatabase(path_, jet::dbLangGeneral, jet::dbVersion40);
            writetest::appendTable(*db, "Kept");
        }
        original_ = writetest::readFile(path_);
        const std::size_t pageSize = 4096;
        RollbackJournal journal;
        journal.pageSize = pageSize;
        journal.fileLength = original_.size();
        journal.identity =
            jet::io::databaseIdentity(std::span(original_).first(jet::io::identityLength(original_.size(), pageSize)));
        auto torn = original_;
        for (std::uint32_t n : {2u, 0u}) {
            journal.pages.push_back({n, std::vector<std::uint8_t>(original_.begin() + n * pageSize,
                                                                  original_.begin() + (n + 1) * pageSize)});
            std::fill_n(torn.begin() + n * pageSize + 100, 1000, 0xEE);
        }
        torn.resize(torn.size() + 2 * pageSize, 0x55);
        jet::io::saveJournal(path_, journal);
        writeBytes(path_, torn);
        torn_ = torn;
    }

    TempFolder folder_;
    std::string path_ = folder_.file("hot.mdb");
    std::string journalPath_ = jet::io::journalPath(path_);
    std::vector<std::uint8_t> original_, torn_;
};

// A writable open putting the old pages back, and a read-only open reading
// through the journal, are tested after every write of a commit in
// crash_safety_test.
TEST_F(HotJournal, WaitsUntilNoOtherOpenerHasTheFile) {
    // An opener that had the file before the journal appeared holds a
    // shared lock, as every opener does.
    const int other = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(other, LOCK_SH | LOCK_NB), 0);
    EXPECT_EQ(errorOf([&] { jet::DBEngine().OpenDatabase(path_); }), jet::kErrFileInUse);
    // A reader meanwhile sees the database as it was, and is told why.
    const auto findings = jet::verifyDatabase(path_);
    EXPECT_TRUE(jet::verifiedClean(findings));
    ASSERT_FALSE(findings.empty());
    EXPECT_NE(findings.front().text.find("is waiting"), std::string::npos) << findings.front().text;
    EXPECT_EQ(writetest::readFile(path_), torn_);
    EXPECT_TRUE(std::filesystem::exists(journalPath_));
    ::close(other);
    auto db = jet::DBEngine().OpenDatabase(path_);
    EXPECT_NE(db->JournalNotice().find("undone"), std::string::npos) << db->JournalNotice();
    EXPECT_EQ(writetest::readFile(path_), original_);
}

// A journal that is damaged or was not written for this file is never
// applied: a writable open keeps it under another name and says so, a
// read-only open leaves it; the database is not touched either way.
TEST_F(HotJournal, AJournalThatDoesNotBelongIsSetAside) {
    const auto whole = writetest::readFile(journalPath_);
    const auto good = *jet::io::decodeJournal(whole);
    const std::size_t pageSize = good.pageSize;
    auto changed = [&](const std::function<void(RollbackJournal&)>& change) {
        RollbackJournal journal = good;
        change(journal);
        return jet::io::encodeJournal(journal);
    };
    // A database made alike in the same second has the same header page.
    std::vector<std::uint8_t> other;
    {
        TempFolder folder;
        jet::DBEngine().CreateDatabase(folder.file("other.mdb"), jet::dbLangGeneral, jet::dbVersion40);
        other = writetest::readFile(folder.file("other.mdb"));
        other.resize(jet::io::identityLength(original_.size(), pageSize));
    }
    const struct {
        const char* what;
        std::vector<std::uint8_t> journal;
        const char* said;
    } cases[] = {
        {"cut short", std::vector<std::uint8_t>(whole.begin(), whole.begin() + whole.size() / 2), "length"},
        {"a page image changed", [&] { auto b = whole; b[200] ^= 1; return b; }(), "checksum"},
        {"an old length of 0 bytes", changed([](RollbackJournal& j) { j.fileLength = 0; }), "whole number"},
        {"an old length that is not whole pages",
         changed([&](RollbackJournal& j) { j.fileLength -= pageSize / 2; }), "whole number"},
        {"a page past the old end", changed([](RollbackJournal& j) { j.pages[0].number = 0x7FFFFFFF; }), "past"},
        {"another database's",
         changed([&](RollbackJournal& j) { j.identity = jet::io::databaseIdentity(other); }), "another database"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(path_, original_);
        writeBytes(journalPath_, c.journal);
        {
            auto reader = jet::DBEngine().OpenDatabase(path_, false, true);
            EXPECT_TRUE(reader->JournalWaiting());
        }
        EXPECT_TRUE(std::filesystem::exists(journalPath_));
        auto db = jet::DBEngine().OpenDatabase(path_);
        EXPECT_NE(db->JournalNotice().find(c.said), std::string::npos) << db->JournalNotice();
        db.reset();
        EXPECT_EQ(writetest::readFile(path_), original_);
        EXPECT_FALSE(std::filesystem::exists(journalPath_));
        EXPECT_EQ(writetest::readFile(journalPath_ + ".rejected-1"), c.journal);
        std::filesystem::remove(journalPath_ + ".rejected-1");
    }
}

// The database the journal was for was deleted, and a new one made under
// its name: the old pages must not be written into the new file.
TEST(StaleJournal, ANewDatabaseDropsTheJournalOfAnEarlierFileOfItsName) {
    TempFolder folder;
    const std::string path = folder.file("reused.mdb");
    RollbackJournal stale;
    stale.pageSize = 4096;
    stale.fileLength = 3 * 4096;
    stale.pages.push_back({2, std::vector<std::uint8_t>(4096, 0xAB)});
    jet::io::saveJournal(path, stale);

    jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral, jet::dbVersion40);
    EXPECT_FALSE(std::filesystem::exists(jet::io::journalPath(path)));
    auto db = jet::DBEngine().OpenDatabase(path);
    EXPECT_TRUE(jet::verifiedClean(jet::verifyDatabase(*db)));
}

// A FIFO given as the database, or standing under the journal's name, is
// refused or set aside at once: opening it never waits for a writer.
TEST(NotAFile, AFifoDatabaseOrJournalDoesNotStallTheOpen) {
    TempFolder folder;
    const std::string fifo = folder.file("fifo.mdb");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(errorOf([&] { jet::DBEngine().OpenDatabase(fifo, false, true); }), jet::kErrUnrecognizedFormat);
    EXPECT_EQ(errorOf([&] { jet::DBEngine().OpenDatabase(fifo); }), jet::kErrUnrecognizedFormat);

    const std::string path = folder.file("db.mdb");
    jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral, jet::dbVersion40);
    const std::string journal = jet::io::journalPath(path);
    ASSERT_EQ(::mkfifo(journal.c_str(), 0600), 0);
    EXPECT_TRUE(jet::DBEngine().OpenDatabase(path, false, true)->JournalWaiting());
    auto db = jet::DBEngine().OpenDatabase(path);
    EXPECT_NE(db->JournalNotice().find("not a regular file"), std::string::npos) << db->JournalNotice();
    EXPECT_FALSE(std::filesystem::exists(journal));
}

}  // namespace
