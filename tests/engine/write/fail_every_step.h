// A commit cut short at any write: each operation is run again and again
// with its first, second, third ... write failing, until it goes through,
// as a full disk fails it (the engine puts the old pages back and the open
// database goes on) or as a crash does (the database is abandoned and the
// next opener undoes the commit from its journal; a read-only opener before
// it reads through the journal). After every failure the file must be,
// byte for byte, what it was, and verify clean.
#pragma once

#include <filesystem>
#include <functional>
#include <iostream>

#include "dao/database_impl.h"
#include "engine/write/write_support.h"
#include "io/rollback_journal.h"
#include "jet/dao.h"
#include "jet/verify.h"
#include "support/files.h"
#include "write/page_sink.h"
#include "write/page_store.h"

namespace writetest {

// DiskFullWithoutJournal: a full disk under a sink that keeps no journal
// file (a new database under a temporary name), which must still undo.
enum class Failure { DiskFull, Crash, DiskFullWithoutJournal };

// Counts every step of a commit (keeping the journal, each page, the sync,
// dropping the journal) and fails the n-th. After a crash nothing works.
class FaultySink : public jet::write::PageSink {
public:
    // `failedOut`, when given, is set when the failure comes.
    FaultySink(jet::write::PageSink& target, int failAt, Failure how, bool* failedOut = nullptr)
        : target_(target), failAt_(failAt), how_(how), failedOut_(failedOut) {}
    void writePage(std::uint32_t number, std::span<const std::uint8_t> bytes) override {
        step(), target_.writePage(number, bytes);
    }
    void flush() override { step(), target_.flush(); }
    void saveUndo(std::span<const std::uint32_t> pages) override { step(), target_.saveUndo(pages); }
    void endCommit() override { step(), target_.endCommit(); }
    void undo() override { crashed_ ? fail() : target_.undo(); }

private:
    void step() {
        if (crashed_ || ++steps_ == failAt_) {
            if (failedOut_) *failedOut_ = true;
            crashed_ = how_ == Failure::Crash;
            fail();
        }
    }
    [[noreturn]] static void fail() { throw jet::Error(jet::kErrDiskFull, "Not enough space on disk."); }

    jet::write::PageSink& target_;
    int failAt_;
    Failure how_;
    bool* failedOut_;
    int steps_ = 0;
    bool crashed_ = false;
};

using Operation = std::function<void(jet::Database&)>;

// Runs `operation` on the database at `path` with its n-th step failing
// for n = 1, 2, ... and checks the file after each failure. Returns how many
// failures were checked; the last run goes through and is left in place.
inline int failEveryStep(const std::string& path, Failure how, const Operation& operation) {
    const auto before = writetest::readFile(path);
    for (int n = 1; n < 10000; ++n) {
        auto db = jet::DBEngine().OpenDatabase(path);
        bool failed = false;
        db->impl().commitOverride = [&](jet::write::PageStore& store) {
            auto& file = *db->impl().file;
            using Journal = jet::write::FilePageSink::Journal;
            jet::write::FilePageSink target(file.descriptor(), file.pageSize(), path,
                                            how == Failure::DiskFullWithoutJournal ? Journal::Off : Journal::On);
            FaultySink sink(target, n, how, &failed);
            store.commit(sink);
        };
        long error = 0;
        try {
            operation(*db);
        } catch (const jet::Error& e) {
            error = e.number();
        }
        if (!failed) {
            EXPECT_EQ(error, 0) << "write " << n;
            db.reset();
            EXPECT_EQ(faults(path), "") << "after the operation";
            std::cout << "failed each of " << n - 1 << " steps\n";
            return n - 1;
        }
        EXPECT_EQ(error, jet::kErrDiskFull) << "write " << n;
        if (how != Failure::Crash) {
            // The engine undid the commit itself, and the open database
            // goes on working.
            EXPECT_EQ(writetest::readFile(path), before) << "write " << n;
            EXPECT_FALSE(std::filesystem::exists(jet::io::journalPath(path))) << "write " << n;
            db->impl().commitOverride = nullptr;
            operation(*db);
            db.reset();
            EXPECT_EQ(faults(path), "") << "retried after write " << n;
            testsupport::writeFile(path, std::string(before.begin(), before.end()));
            continue;
        }
        // A crash: whatever the commit wrote stays as it is.
        db.reset();
        if (std::filesystem::exists(jet::io::journalPath(path)) && n > 1) {
            // A read-only open writes nothing, reads the database as it was
            // before the commit, and leaves the journal waiting.
            const auto torn = writetest::readFile(path);
            EXPECT_EQ(faults(path), "") << "read-only, write " << n;
            EXPECT_TRUE(jet::DBEngine().OpenDatabase(path, false, true)->JournalWaiting()) << "write " << n;
            EXPECT_EQ(writetest::readFile(path), torn) << "write " << n;
        }
        jet::DBEngine().OpenDatabase(path).reset();
        EXPECT_EQ(writetest::readFile(path), before) << "write " << n;
        EXPECT_FALSE(std::filesystem::exists(jet::io::journalPath(path))) << "write " << n;
        EXPECT_EQ(faults(path), "") << "write " << n;
    }
    ADD_FAILURE() << "the operation never went through";
    return 0;
}

}  // namespace writetest
