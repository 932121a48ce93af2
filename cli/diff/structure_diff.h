// The structural difference of two databases: what a reader of A must
// change to have B's tables, fields, indexes, relations, saved queries and
// database properties. Rows are not compared.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace jet {
class Database;
}

namespace diff {

struct DiffOptions {
    // Names and texts (SQL, defaults, rules, descriptions) that differ only
    // in the case of ASCII letters count as equal. Jet itself matches
    // names without regard to case, so objects are always paired that way;
    // without this option a name whose case changed is reported.
    bool ignoreCase = false;
    bool queries = true;     // compare saved queries
    bool system = true;      // compare system tables, their relations and the hidden "~" queries
    bool ordinal = true;     // compare fields' ordinal positions
};

// Where a difference is: ("table", "Orders"), ("field", "ShipDate"); empty
// for the database's own properties.
using DiffPath = std::vector<std::pair<std::string, std::string>>;

struct Difference {
    enum class Change { Added, Removed, Changed };
    DiffPath path;
    Change change = Change::Changed;
    std::string property;  // what changed ("type", "SQL"); empty when added or removed
    std::string from, to;  // the values as stored; empty when added or removed
    // A free text (SQL, a default value, a description), which the text
    // output shows on one line, and a name, whose control characters it
    // escapes; numbers, flags and types are neither.
    enum class Shown { Value, Name, FreeText } shown = Shown::Value;
};

// The differences in a stable order: the database's properties, then
// tables in A's order (each with its fields, then its indexes), the tables
// only B has, then relations and queries likewise.
std::vector<Difference> compareStructures(jet::Database& a, jet::Database& b, const DiffOptions& options = {});

}  // namespace diff
