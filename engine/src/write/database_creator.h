// A new, empty Jet database written whole: header, the map of free pages,
// the system tables and the catalog rows of a blank database. The file is
// built in memory, written under a temporary name beside the target and
// linked into place only when complete, so that nobody sees half a database
// and an existing file is never replaced.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "format/jet_format.h"
#include "write/page_sink.h"

namespace jet::write {

struct NewDatabase {
    const format::JetFormat* format = nullptr;  // jet3Format() or jet4Format()
    std::uint16_t codePage = 1252;               // Jet 3 text
    std::uint16_t sortOrder = 0x0409;            // General
    std::string password;                        // database password, empty for none
};

// The bytes of a new database.
std::vector<std::uint8_t> buildNewDatabase(const NewDatabase& wanted);

// Writes a new database at `path`. Throws jet::Error 3204 when `path`
// exists (the file is not touched), 3044 when its folder does not exist,
// 3051 when it cannot be written, 3026 when the disk is full.
// `throughSink` (tests) may put a sink of its own between the writer and
// the temporary file. With Journal::Off the file is written at `path`
// itself (a temporary name of the caller's, created exclusively) and not
// flushed: the caller flushes it when it is whole.
using SinkWrapper = std::function<std::unique_ptr<PageSink>(PageSink& file)>;
void createDatabaseFile(const std::string& path, const NewDatabase& wanted, const SinkWrapper& throughSink = {},
                        FilePageSink::Journal journal = FilePageSink::Journal::On);

// The settings of a DAO locale string such as ";LANGID=0x0409;CP=1252;COUNTRY=0"
// for a database of `format`, with the database password as DAO takes it
// there (";PWD=secret"). Throws jet::Error 3001 for a string that is not
// a locale this engine writes or a password longer than Jet keeps (20
// characters).
NewDatabase parseLocale(const std::string& locale, const format::JetFormat& format);

}  // namespace jet::write
