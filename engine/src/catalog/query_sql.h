// Saved queries: Jet stores a query as rows of MSysQueries, one row per
// part (tables, output columns, joins, criteria, ...). This module rebuilds
// from those rows what DAO reports: the SQL text as Access shows it, the
// query type and the names of the output columns.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace jet::queries {

// One row of MSysQueries, text already decoded to UTF-8.
struct QueryRow {
    std::int32_t objectId = 0;
    int attribute = 0;
    std::optional<int> flag;
    std::optional<std::string> name1;
    std::optional<std::string> name2;
    std::optional<std::string> expression;
    std::vector<std::uint8_t> order;  // the binary Order column; empty when Null
    // LvExtra (Jet 4 and later; Null in Jet 3 files): the declared length of
    // a Text parameter. Other rows carry unrelated values here.
    std::optional<std::int32_t> extra;
};

// DAO's QueryDef.Type codes.
enum QueryType : int {
    dbQSelect = 0,
    dbQCrosstab = 16,
    dbQDelete = 32,
    dbQUpdate = 48,
    dbQAppend = 64,
    dbQMakeTable = 80,
    dbQDDL = 96,
    dbQSQLPassThrough = 112,
    dbQSetOperation = 128,
    dbQSPTBulk = 144,
};

struct RebuiltQuery {
    int type = dbQSelect;  // DAO's dbQ... code
    // Clauses on their own lines, every line ending in CR LF, the last
    // clause with ";" before its CR LF. Data-definition and pass-through
    // queries give their stored text unchanged (up to a terminating NUL).
    std::string sql;
    std::vector<std::string> outputFields;  // as DAO names them
    // True for select, crosstab and union queries; false for action and
    // data-definition queries. Pass-through queries say true (false for
    // dbQSPTBulk); the stored ReturnsRecords property, when the catalog has
    // one, overrides this.
    bool returnsRecords = true;
    std::string connect;  // pass-through queries' connect string, else ""
};

// The output column names of a table or saved query, looked up by name;
// std::nullopt when no such source is known. Used to expand "*" and
// "Table.*" into the column names DAO lists.
using SourceColumns = std::function<std::optional<std::vector<std::string>>(const std::string& name)>;

// Rebuilds one query from its rows (in stored order; the rows of one
// query, in any order of attributes). `catalogFlags` is the Flags value of
// the query's MSysObjects row. `columnsOf`, when given, expands "*" items in
// outputFields; without it (or for a source it does not know) such items
// add no names.
//
// Rows that cannot be used (unknown attributes, rows missing the text they
// need, a missing start or end row) are skipped and the rest rebuilt as far
// as it goes. Throws jet::Error (3049) when the rows cannot describe a
// query: no rows at all, rows of several queries, a union query without its
// parts, or a data-definition or pass-through query without its text.
RebuiltQuery rebuildQuery(const std::vector<QueryRow>& rows, std::int32_t catalogFlags,
                          const SourceColumns& columnsOf = {});

}  // namespace jet::queries
