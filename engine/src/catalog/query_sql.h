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
    // The binary Order column; empty when Null. Not consulted: the rows'
    // stored order is the order of a query's columns, joins and sort keys,
    // and Access leaves this column Null in every file examined.
    std::vector<std::uint8_t> order;
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
    // DAO's dbQ... code: from the type row, else from the catalog flags
    // (whose upper nibble is the code, kept as is when this engine does not
    // know it).
    int type = dbQSelect;
    // Clauses on their own lines, every line ending in CR LF, the last
    // clause with ";" before its CR LF. Data-definition and pass-through
    // queries give their stored text unchanged (up to a terminating NUL).
    std::string sql;
    // The output columns as DAO names them: an alias; else a plain column
    // reference's column; else "Expr1000" plus the item's place in the list.
    // A name met twice is qualified by its table ("Customers.CompanyName").
    // A crosstab gives its row headings and the headings of its PIVOT ... In
    // list (without such a list the rest depend on the data); a union its
    // first part's columns; update, data-definition and pass-through
    // queries none.
    std::vector<std::string> outputFields;
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
// parts, a data-definition or pass-through query without its text, or more
// than 1000 join rows.
RebuiltQuery rebuildQuery(const std::vector<QueryRow>& rows, std::int32_t catalogFlags,
                          const SourceColumns& columnsOf = {});

}  // namespace jet::queries
