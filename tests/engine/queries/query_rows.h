// Building MSysQueries rows in tests: row({.attr = 5, .name1 = "Categories"})
// reads like the stored row, and sqlText({...}) writes the expected SQL one
// line per string. rebuild() checks both directions at once: the text the
// rows give must parse back into the same rows, so each case tests the
// rebuilder and the parser alike.
#pragma once

// Designated initializers leave the other members at their defaults on
// purpose; GCC's -Wextra would flag every row.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

// The module's own header lives beside its sources, outside the engine's
// public include folder.
#include "../engine/src/catalog/query_sql.h"
#include "../engine/src/sql/sql_parser.h"
#include "engine/queries/query_canonical.h"

#include <gtest/gtest.h>

namespace qtest {

using jet::queries::QueryRow;

struct RowFields {
    int attr = 0;
    std::optional<int> flag;
    std::optional<std::string> name1;
    std::optional<std::string> name2;
    std::optional<std::string> expr;
    std::optional<std::int32_t> extra;
};

inline constexpr std::int32_t kObjectId = -2147483600;

inline QueryRow row(const RowFields& s) {
    QueryRow r;
    r.objectId = kObjectId;
    r.attribute = s.attr;
    r.flag = s.flag;
    r.name1 = s.name1;
    r.name2 = s.name2;
    r.expression = s.expr;
    r.extra = s.extra;
    return r;
}

// A query's rows as Access stores them: start row, the given rows, end row.
inline std::vector<QueryRow> stored(std::initializer_list<RowFields> fields) {
    std::vector<QueryRow> rows{row({.attr = 0, .flag = 0})};
    for (const RowFields& s : fields) rows.push_back(row(s));
    rows.push_back(row({.attr = 255}));
    return rows;
}

// Expected SQL: the lines joined and each ended with CR LF.
inline std::string sqlText(std::initializer_list<std::string> lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

// Rows Access would not write (a lenient reading of odd rows) have no text
// that parses back into them: those go one way only.
inline jet::queries::RebuiltQuery rebuildOneWay(const std::vector<QueryRow>& rows, std::int32_t catalogFlags = 0) {
    return jet::queries::rebuildQuery(rows, catalogFlags);
}

inline jet::queries::RebuiltQuery rebuild(const std::vector<QueryRow>& rows, std::int32_t catalogFlags = 0) {
    auto q = jet::queries::rebuildQuery(rows, catalogFlags);
    jet::sql::ParseOptions options;
    options.passThrough = q.type == jet::queries::dbQSQLPassThrough || q.type == jet::queries::dbQSPTBulk;
    options.connect = q.connect;
    const auto parsed = jet::sql::parseQuery(q.sql, options);
    EXPECT_EQ(parsed.type, q.type) << q.sql;
    EXPECT_EQ(canonicalRows(parsed.rows), canonicalRows(rows)) << "parsed back from\n" << q.sql;
    return q;
}

}  // namespace qtest
