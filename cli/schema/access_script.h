// A database's structure as Jet SQL that Database.Execute runs: CREATE
// TABLE for every table, CREATE INDEX for every index, ALTER TABLE ... ADD
// CONSTRAINT for every enforced relation. What Jet's DDL cannot say is
// named in a comment of a fixed shape, "-- not in DDL: PATH: WHAT", PATH
// being where `strux diff` reports it ("table Orders / field ShipDate");
// saved queries stand in comments holding the SQL CreateQueryDef takes.
#pragma once

#include <string>
#include <vector>

namespace jet {
class Database;
}

namespace schema {

// Prefix of the comment that names what the statements leave out, and of
// the comment lines that hold a query's SQL.
inline constexpr const char* kNotInDdl = "-- not in DDL: ";
inline constexpr const char* kQuerySqlLine = "--   ";

// The script, one statement per Execute: each ends with ";" at the end of
// its line, no other line does; lines in "\n". `title` names the database
// in the first comment.
std::string accessScript(jet::Database& db, const std::string& title);

// The statements of an access script in order, comments left out: what a
// caller hands to Execute one by one.
std::vector<std::string> accessStatements(const std::string& script);

// The saved queries an access script holds in its comments, by name, each
// with the SQL to hand to CreateQueryDef.
struct ScriptQuery {
    std::string name, sql;
};
std::vector<ScriptQuery> accessQueries(const std::string& script);

}  // namespace schema
