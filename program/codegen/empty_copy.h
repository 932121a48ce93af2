// The empty copy: a new database beside the open one with the listed
// tables, their fields and indexes, the queries and the relations, and no
// rows. GenerateStructure runs it for the mode word "COPY"; the pieces are
// public so that the command line and the tests can reach each step.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "codegen/structure_walk.h"
#include "listing/target_limits.h"

namespace jet {
class Database;
}

namespace codegen {

class GenerationHost;

inline constexpr int32_t kAreaVBStructCopying = 99003;

// Every copy is made with the General sort order and code page 1252.
inline constexpr const char* kCopyLocale = ";LANGID=0x0409;CP=1252;COUNTRY=0";
inline constexpr int kCopyCodePage = 1252;

// The question asked when the copy's file exists already.
inline constexpr const char* kReplaceCopyPrompt = "Database already exists! Delete existing?";
inline constexpr const char* kReplaceCopyTitle = "Create error!";

// The copy's path: "Empty Copy of " put in front of the file name, in the
// same folder ("C:\Data\Orders.mdb" gives "C:\Data\Empty Copy of
// Orders.mdb"). Both "\" and "/" separate folders.
std::string emptyCopyPath(const std::string& sDbPath);

// The CreateDatabase option for a copy of a source whose Database.Version
// is `sourceVersion` and whose Database.CodePage is `sourceCodePage`: a Jet
// 3 source in code page 1252, the copy's, is copied as Jet 3; every other
// source as Jet 4, whose UCS-2 names keep every character (a Jet 3 copy
// would turn the characters 1252 lacks into "?"). An unknown version gives
// Jet 4 for the same reason.
int copyFormatOption(const std::string& sourceVersion, int sourceCodePage = 1252);

// The user answered No to the question whether to replace an existing
// copy: nothing was created or deleted.
class CopyDeclined : public std::runtime_error {
public:
    explicit CopyDeclined(std::string path)
        : std::runtime_error("'" + path + "' exists and was not replaced"), path_(std::move(path)) {}
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Whether the copy may be written at `path`, asked before any work: a
// folder, device or FIFO there, or `path` naming the source database itself
// (through a link or another spelling), is refused with WriteError 75 and
// left alone. When a file is there, `host.replaceExistingCopy(path)`
// decides: No throws CopyDeclined; Yes lets the finished copy replace it.
// Nothing is deleted: the copy is built under a temporary name beside
// `path` and renamed over it only once it is whole (makeEmptyCopy).
// Returns whether an existing file may be replaced.
bool mayWriteCopy(const std::string& path, const std::string& sourcePath, GenerationHost& host);

// An object the copy could not carry over, and why, in words for the user.
using LeftOut = listing::LeftOut;

struct CopyOutcome {
    std::vector<LeftOut> leftOut;  // in the order the walk met them
    int count(const std::string& kind) const;
};

// "3 objects were not copied:" and a line per object (at most `maxLines`,
// then how many more); "" when everything was copied.
std::string leftOutText(const CopyOutcome& outcome, std::size_t maxLines = 20);

// The four passes in copy mode over `entries`, creating into `target`.
// Tables are appended once their indexes are known, at the end of the index
// pass: the engine writes a table's indexes when the table is appended.
// Left out, and named in the outcome, is what listing::TargetPlan says the
// copy's format cannot hold (linked tables, calculated fields and fields of
// a type the format has no column for with the indexes on them, relations
// whose tables or fields are not in the copy, pass-through queries), and
// queries the engine refuses; a GUID auto-number is named as made plain.
// Any other
// refusal of the engine is thrown as its jet::Error, its context naming the
// table (and field or index).
CopyOutcome copyStructure(const std::vector<std::string>& entries, const SourceDatabase& source,
                          jet::Database& target, const std::function<void()>& betweenItems = {});

}  // namespace codegen
