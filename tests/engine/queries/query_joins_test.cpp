#include <gtest/gtest.h>

#include "engine/queries/query_rows.h"

using namespace qtest;

namespace {

std::string fromLine(const jet::queries::RebuiltQuery& q) {
    auto start = q.sql.find("FROM ");
    if (start == std::string::npos) return "";
    std::string line = q.sql.substr(start, q.sql.find("\r\n", start) - start);
    if (line.back() == ';') line.pop_back();  // the last clause's end
    return line;
}

RowFields join(const char* from, const char* to, const char* on, int type = 1) {
    return {.attr = 7, .flag = type, .name1 = from, .name2 = to, .expr = on};
}

}  // namespace

// Nested inner, left and right joins and several conditions between two
// tables are in the corpus queries the reference comparison reads; here the
// shapes it lacks.
TEST(QuerySqlJoins, UnjoinedSourcesAliasesAndUnlistedTables) {
    auto q = rebuildOneWay(stored({
        {.attr = 5, .name1 = "Table3"},
        {.attr = 5, .name1 = "Table2"},
        {.attr = 5, .name1 = "Table2", .name2 = "Table2_1"},
        {.attr = 6, .flag = 0, .expr = "Table2_1.col1"},
        // Joins name sources by alias; a table missing from the source rows
        // still appears.
        join("Table2", "Table2_1", "[Table2].[col1]=Table2_1.col3"),
        join("Extra Table", "Table2_1", "[Extra Table].id=Table2_1.id", 2),
    }));
    EXPECT_EQ(fromLine(q), "FROM Table3, [Extra Table] LEFT JOIN (Table2 INNER JOIN Table2 AS Table2_1 ON "
                           "[Table2].[col1]=Table2_1.col3) ON [Extra Table].id=Table2_1.id");
}

TEST(QuerySqlJoins, SubqueryAsSource) {
    auto q = rebuild(stored({
        {.attr = 3, .flag = 9},
        {.attr = 5, .name2 = "Ordrar", .expr = "SELECT [Ordrar-Logg].ID FROM [Ordrar-Logg]"},
        {.attr = 8, .expr = "([__ID] = [ID (parent)])"},
    }));
    EXPECT_EQ(q.sql, sqlText({"SELECT DISTINCTROW *", "FROM [SELECT [Ordrar-Logg].ID FROM [Ordrar-Logg]]. AS Ordrar",
                              "WHERE ([__ID] = [ID (parent)]);"}));
}
