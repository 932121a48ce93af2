// The rollback journal of a commit: the images of the pages a commit is
// about to overwrite, and the file's length before it, kept in a side file
// `<database>.stxj` that is durable before the first page of the database
// is touched and removed once the last one is durable. A journal that is
// whole when a database is opened means a commit was cut short: writing its
// images back and cutting the file to its old length gives the database as
// it was before. A journal names its database (page size, length, a
// checksum of its header page) and carries a checksum per page and one over
// the whole: a journal that is not whole, is damaged or belongs to another
// database is never applied; it is set aside under another name and kept.
// The journal is only written, applied or removed under the database
// file's exclusive lock. Layout: docs/jet-writing.md#journal.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace jet::io {

struct JournalPage {
    std::uint32_t number = 0;
    std::vector<std::uint8_t> bytes;  // one whole page
};

struct RollbackJournal {
    std::uint32_t pageSize = 0;
    std::uint64_t fileLength = 0;  // the database's length in bytes before the commit
    std::uint64_t identity = 0;    // databaseIdentity() of the database before the commit
    std::vector<JournalPage> pages;
};

std::string journalPath(const std::string& databasePath);

// What a journal records of the database it belongs to: a checksum of its
// first identityLength() bytes (the header page with its creation time and
// database key, then the catalog's first pages), as they were before the
// commit. A few pages tell databases apart that were made alike in the same
// second, and cost a commit little to read.
std::uint64_t databaseIdentity(std::span<const std::uint8_t> leadingPages);
std::size_t identityLength(std::uint64_t fileLength, std::size_t pageSize);

// The journal's bytes: a header, the pages with a checksum each, and a
// checksum over all of it.
std::vector<std::uint8_t> encodeJournal(const RollbackJournal& journal);
// The journal in `bytes`, or nullopt unless they are one whole journal
// (right length, magic, version, page size, checksums); `problem`, when
// given, then says what is wrong.
std::optional<RollbackJournal> decodeJournal(std::span<const std::uint8_t> bytes, std::string* problem = nullptr);

// Empty when `journal` belongs to the database whose file is open on `fd`
// (`fileSize` bytes long) and may be applied to it; else why not: another
// page size or identity, an old length that is not a whole number of
// pages or is longer than the file (a commit only adds pages), a page
// number past the old length.
std::string journalMismatch(const RollbackJournal& journal, int fd, std::uint64_t fileSize);

enum class JournalState {
    None,     // no journal beside the database
    Damaged,  // not a whole journal (cut short while written, or changed)
    Whole,    // a whole journal: a commit was cut short, or it came from elsewhere
};

// Reads the journal beside `databasePath` into `journal` when it is whole;
// `problem` says what is wrong with one that is not. A journal much longer
// than the database (`databaseSize`) could hold is not read at all.
// Throws jet::Error(3051) when it exists but cannot be read.
JournalState readJournal(const std::string& databasePath, std::uint64_t databaseSize, RollbackJournal& journal,
                         std::string& problem);

// Renames the journal beside `databasePath` to the first free
// "<journal>.rejected-N", durably, and returns the new path. Throws
// jet::Error(3051) when it cannot be renamed.
std::string setAsideJournal(const std::string& databasePath);

// Writes the journal beside `databasePath` and makes it durable (the file
// and its folder entry). Throws jet::Error 3026 (disk full) or 3051.
void saveJournal(const std::string& databasePath, const RollbackJournal& journal);

// Writes the journal's images into the database open on `fd`, cuts it to
// the journal's length and syncs it. Throws jet::Error 3026 or 3051.
void applyJournal(int fd, const RollbackJournal& journal, const std::string& databasePath);

// Removes the journal beside `databasePath`, durably; no journal is fine.
// Throws jet::Error(3051) when it cannot be removed.
void removeJournal(const std::string& databasePath);

}  // namespace jet::io
