// Saved queries: Jet stores a query as rows of MSysQueries, one row per
// part (tables, output columns, joins, criteria, ...). This module rebuilds
// from those rows what DAO reports: the SQL text as Access shows it, the
// query type and the names of the output columns.
#pragma once

#include <cstdint>
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
};

struct RebuiltQuery {
    int type = 0;      // DAO's dbQ... code
    std::string sql;   // clauses on their own lines, every line ending in CR LF
    std::vector<std::string> outputFields;  // as DAO names them
    bool returnsRecords = true;
    std::string connect;  // pass-through queries' connect string
};

// Rebuilds one query from its rows (in stored order). `catalogFlags` is the
// Flags value of the query's MSysObjects row. Throws jet::Error (3049) when
// the rows do not describe a query.
RebuiltQuery rebuildQuery(const std::vector<QueryRow>& rows, std::int32_t catalogFlags);

}  // namespace jet::queries
