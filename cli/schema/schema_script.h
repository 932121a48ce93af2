// A database's structure as an SQL script for another database system:
// CREATE TABLE with each field's type mapped, primary keys, every index,
// the foreign keys of every enforced relation with its cascades, and the
// saved select queries as views where the target can express them. What
// the target cannot hold is named in a comment where it would stand.
#pragma once

#include <string>

#include "schema/sql_dialect.h"

namespace jet {
class Database;
}

namespace schema {

// The script, statements ending in ";" and lines in "\n". `title` names the
// database in the first comment (its file name: the script is the same for
// the same database wherever it lies).
std::string schemaScript(jet::Database& db, Dialect dialect, const std::string& title);

}  // namespace schema
