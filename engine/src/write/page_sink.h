// Where finished pages go. Every byte the engine writes to a database file
// passes through one PageSink, so that a test can fail the n-th write and
// check that the file still holds everything from before the operation.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "io/rollback_journal.h"

namespace jet::write {

class PageSink {
public:
    virtual ~PageSink() = default;
    // Writes one whole page at `number` (the file grows as needed). Throws
    // jet::Error when the write fails.
    virtual void writePage(std::uint32_t number, std::span<const std::uint8_t> bytes) = 0;
    // Makes the pages written so far durable before later ones are written.
    virtual void flush() = 0;

    // A commit in three steps. saveUndo() runs before the first page is
    // written and keeps, durably, what `pages` (existing pages the commit
    // will overwrite) hold now and the file's length; endCommit() runs once
    // every page is durable and drops what was kept; undo(), after any
    // failure in between, puts the kept pages and length back and drops
    // them. Sinks whose pages do not outlive a failure (memory) keep
    // nothing: the defaults do nothing.
    virtual void saveUndo(std::span<const std::uint32_t> pages) { (void)pages; }
    virtual void endCommit() {}
    virtual void undo() {}
    // True for a sink that keeps the pages back from the file (a
    // transaction's): the PageFile then holds them as not yet written.
    virtual bool holdsPages() const { return false; }
};

// Writes pages into an open file descriptor with pwrite; flush() is fsync.
// What saveUndo() keeps goes into the rollback journal beside the file
// (io/rollback_journal.h); the caller holds the file's exclusive lock from
// saveUndo() to endCommit() or undo().
// A failed write throws jet::Error 3026 ("Not enough space on disk.") for
// ENOSPC and 3051 for other write errors; `path` goes into their context.
// Journal::Off is for a file nobody else sees yet (a new database under a
// temporary name, flushed once and renamed into place when whole): no
// journal file and no fsync; what saveUndo() keeps stays in memory, so a
// failed commit is still undone while the process lives.
class FilePageSink : public PageSink {
public:
    enum class Journal { On, Off };
    FilePageSink(int fd, std::size_t pageSize, std::string path, Journal journal = Journal::On);
    void writePage(std::uint32_t number, std::span<const std::uint8_t> bytes) override;
    void flush() override;
    void saveUndo(std::span<const std::uint32_t> pages) override;
    void endCommit() override;
    void undo() override;

private:
    int fd_;
    std::size_t pageSize_;
    std::string path_;
    bool journaled_;
    std::optional<io::RollbackJournal> journal_;
};

}  // namespace jet::write
