// A saved select query's Jet SQL as the target's SQL: bracketed names
// quoted for the target and spelled as the database spells them, string
// literals in single quotes. Jet SQL has more than the targets share (its
// own functions, # dates, & and wildcards, DISTINCTROW, TOP, form
// references): such a query is not translated by guess; what it uses that
// the target lacks is named.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "schema/sql_dialect.h"

namespace schema {

// The database's names by their folded spelling: Jet matches names without
// regard to case, PostgreSQL's quoted names do not.
class NameBook {
public:
    void add(const std::string& name);
    // The spelling of a known name, or `name` as first met in the query.
    std::string spelling(const std::string& name);
    bool knows(const std::string& name) const;

private:
    std::map<std::string, std::string> names_;
};

struct ViewSql {
    std::string select;                  // the translated SELECT, without ";"
    std::vector<std::string> lacking;    // what the target lacks ("the function Nz", "# dates")
    std::set<std::string> namesRead;     // folded names the query mentions (tables, queries, fields)
};

ViewSql translateSelect(Dialect dialect, const std::string& jetSql, NameBook& names);

// `name` folded as Jet compares names (ASCII letters lower-cased).
std::string foldedName(const std::string& name);

}  // namespace schema
