// Database.CreateQueryDef: Jet SQL parsed into the rows Jet keeps for a
// saved query and, for a named query, written with its catalog entry in
// one commit.
#pragma once

#include <memory>
#include <string>

#include "jet/querydef.h"
#include "sql/sql_parser.h"

namespace jet {
class DatabaseImpl;
}

namespace jet::dao {

// With a name: checks it (3125 a name Jet refuses, 3012 a table or query of
// that name exists, 3027 a read-only database), parses `sql` (the parser's
// errors), stores the query, adds it to db.queryDefs and returns a second
// description of it. Without a name: a temporary query, parsed but not
// stored (empty SQL allowed, to be set later). Nothing is written when it
// throws. `options` carries a pass-through query's connect string.
std::unique_ptr<QueryDef> createQueryDef(DatabaseImpl& db, const std::string& name, const std::string& sql,
                                         const sql::ParseOptions& options = {});

// A saved query of `source` stored in `db` under the same name as its
// rows stand in the source's MSysQueries, so that what SQL does not show
// (a crosstab's column-heading alias, an options row Access left) is kept.
// Checks as createQueryDef does; 3265 when `source` has no such query,
// 3049 when its rows describe no query. Nothing is written when it throws.
std::unique_ptr<QueryDef> copyQueryDef(DatabaseImpl& db, DatabaseImpl& source, const std::string& name);

}  // namespace jet::dao
