// Jet SQL text into the rows of MSysQueries: the inverse of the query
// rebuilder (catalog/query_sql.h). Jet keeps a saved query as its parts,
// not as text; this module finds those parts in SQL text and gives them as
// Access stores them, each expression in the very text it was written in.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "catalog/query_sql.h"

namespace jet::sql {

struct ParseOptions {
    // Pass-through SQL belongs to the server: it is stored unread.
    bool passThrough = false;
    std::string connect;  // a pass-through query's connect string
};

struct ParsedQuery {
    int type = queries::dbQSelect;  // DAO's dbQ... code
    // Start row, type row, then the parts in attribute order, end row last;
    // ObjectId left 0 for the caller to set.
    std::vector<queries::QueryRow> rows;
};

// Parses one statement (a trailing ";" allowed). Throws jet::Error as DAO
// words its refusals: 3075 an expression that does not parse, 3126 a
// bracket left open, 3129 no statement DAO knows, 3131 a bad FROM clause,
// 3132 and 3138 GROUP or ORDER without BY, 3135 a join without ON, 3139 a
// bad PARAMETERS clause, 3141 a misplaced word in a SELECT, 3142 text after
// the statement's end, 3143 a TRANSFORM without SELECT or PIVOT, 3257 a
// broken WITH OWNERACCESS OPTION, 3134/3144/3130 bad INSERT, UPDATE and
// DELETE statements, 3346 an append with more or fewer values than
// destination fields, 3360 nesting too deep to follow. The context names
// the character offset.
ParsedQuery parseQuery(std::string_view sql, const ParseOptions& options = {});

}  // namespace jet::sql
