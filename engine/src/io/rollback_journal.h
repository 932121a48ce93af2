// The rollback journal of a commit: the images of the pages a commit is
// about to overwrite, and the file's length before it, kept in a side file
// `<database>.stxj` that is durable before the first page of the database
// is touched and removed once the last one is durable. A journal that is
// whole when a database is opened means a commit was cut short: writing its
// images back and cutting the file to its old length gives the database as
// it was before. A journal that is not whole was cut short itself, before
// any page of the database was touched, and means nothing.
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
    std::vector<JournalPage> pages;
};

std::string journalPath(const std::string& databasePath);

// The journal's bytes: a header, the pages, and a checksum over all of it.
std::vector<std::uint8_t> encodeJournal(const RollbackJournal& journal);
// The journal in `bytes`, or nullopt unless they are one whole journal
// (right length, magic, page size, checksum).
std::optional<RollbackJournal> decodeJournal(std::span<const std::uint8_t> bytes);

enum class JournalState {
    None,        // no journal beside the database
    Incomplete,  // a journal cut short while it was written: nothing to undo
    Hot,         // a whole journal: a commit was cut short
};

// Reads the journal beside `databasePath` into `journal` when it is whole.
// Throws jet::Error(3051) when it exists but cannot be read.
JournalState readJournal(const std::string& databasePath, RollbackJournal& journal);

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
