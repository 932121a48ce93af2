// Checking a database file's inner consistency: each index B-tree against
// its table's rows (entries, order, key bytes, leaf links), the usage maps
// against the pages they mark, and the catalog against the table
// definitions it names. Nothing is written; a file that is being repaired
// or written by another opener is read as it stands.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace jet {

class Database;

struct VerifyFinding {
    enum class Severity {
        Fault,  // the file is inconsistent here
        Note,   // a check could be made only in part (and says which part)
    };
    Severity severity = Severity::Fault;
    std::string table;       // empty for findings about the file as a whole
    std::string index;       // the index's name(s); empty when none applies
    std::uint32_t page = 0;  // the page concerned; 0 when none in particular
    std::string text;        // what is wrong, in a sentence

    bool isFault() const { return severity == Severity::Fault; }
};

// Every finding about the database at `path`, which is opened read-only
// and shared, with `password` for a protected or encrypted file. Throws jet::Error (with OpenDatabase's numbers) when the file
// cannot be opened or its catalog cannot be read at all.
std::vector<VerifyFinding> verifyDatabase(const std::string& path, const std::string& password = {});

// The same over an open database, as its file stands now.
std::vector<VerifyFinding> verifyDatabase(Database& db);

// True when no finding is a fault.
bool verifiedClean(const std::vector<VerifyFinding>& findings);

// One line: "table Orders, index PrimaryKey, page 12: ..." (the parts that
// apply), prefixed "note: " for notes.
std::string describeFinding(const VerifyFinding& finding);

}  // namespace jet
