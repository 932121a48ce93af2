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

// Each join takes the sources holding its tables out of the list and goes to
// its end, so two separate joins joined later nest side by side.
TEST(QuerySqlJoins, SeparateJoinsNestSideBySide) {
    auto q = rebuild(stored({
        {.attr = 5, .name1 = "Categories"},
        {.attr = 5, .name1 = "Order Details"},
        {.attr = 5, .name1 = "Orders"},
        {.attr = 5, .name1 = "Products"},
        {.attr = 6, .flag = 0, .expr = "Categories.CategoryName"},
        join("Categories", "Products", "Categories.CategoryID = Products.CategoryID"),
        join("Orders", "Order Details", "Orders.OrderID = [Order Details].OrderID"),
        join("Products", "Order Details", "Products.ProductID = [Order Details].ProductID"),
    }));
    EXPECT_EQ(fromLine(q), "FROM (Categories INNER JOIN Products ON Categories.CategoryID = Products.CategoryID) "
                           "INNER JOIN (Orders INNER JOIN [Order Details] ON Orders.OrderID = [Order Details].OrderID) "
                           "ON Products.ProductID = [Order Details].ProductID");
}

TEST(QuerySqlJoins, LaterJoinWrapsEarlierOne) {
    auto q = rebuild(stored({
        {.attr = 5, .name1 = "Employees"},
        {.attr = 5, .name1 = "Orders"},
        {.attr = 5, .name1 = "Order Subtotals"},
        {.attr = 6, .flag = 0, .expr = "Employees.Country"},
        join("Orders", "Order Subtotals", "Orders.OrderID = [Order Subtotals].OrderID"),
        join("Employees", "Orders", "Employees.EmployeeID = Orders.EmployeeID", 3),
    }));
    EXPECT_EQ(fromLine(q), "FROM Employees RIGHT JOIN (Orders INNER JOIN [Order Subtotals] ON Orders.OrderID = "
                           "[Order Subtotals].OrderID) ON Employees.EmployeeID = Orders.EmployeeID");
}

TEST(QuerySqlJoins, SecondConditionBetweenTheSameTablesComesFirst) {
    auto q = rebuild(stored({
        {.attr = 5, .name1 = "Table1"},
        {.attr = 5, .name1 = "Table2"},
        {.attr = 5, .name1 = "Table3"},
        {.attr = 6, .flag = 0, .expr = "Table1.*"},
        join("Table1", "Table3", "Table1.col1 = Table3.col1", 2),
        join("Table3", "Table2", "Table3.col1 = Table2.col1"),
        join("Table3", "Table2", "Table3.col1 = Table2.col2"),
    }));
    EXPECT_EQ(fromLine(q), "FROM (Table1 LEFT JOIN Table3 ON Table1.col1 = Table3.col1) INNER JOIN Table2 ON "
                           "(Table3.col1 = Table2.col2) AND (Table3.col1 = Table2.col1)");
}

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
