#include <gtest/gtest.h>

#include "engine/queries/query_rows.h"

using namespace qtest;

// Clauses on their own lines, aliases, brackets and DESC are in the corpus
// queries the reference comparison reads; TOP, PERCENT, odd parameter types
// and external databases are not.
TEST(QuerySqlSelect, PredicatesFromTheOptionsRow) {
    struct Case {
        int flag;
        std::optional<std::string> top;
        std::string expected;
    };
    const Case cases[] = {
        {0x02, {}, sqlText({"SELECT DISTINCT Products.ProductName", "FROM Products;"})},
        // DISTINCTROW does not hide TOP: Access writes both.
        {0x18, "10", sqlText({"SELECT DISTINCTROW TOP 10 Products.ProductName", "FROM Products;"})},
        {0x30, "25", sqlText({"SELECT TOP 25 PERCENT Products.ProductName", "FROM Products;"})},
        {0x01, {}, sqlText({"SELECT Products.ProductName, *", "FROM Products;"})},
        {0x04, {}, sqlText({"SELECT Products.ProductName", "FROM Products", "WITH OWNERACCESS OPTION;"})},
        // A TOP bit without its number cannot be written; it is left out.
        {0x10, {}, sqlText({"SELECT Products.ProductName", "FROM Products;"})},
    };
    for (const Case& c : cases) {
        // A TOP bit without its number is no text Access writes.
        auto q = (c.flag == 0x10 ? rebuildOneWay : rebuild)(stored({
            {.attr = 1, .flag = 1},
            {.attr = 3, .flag = c.flag, .name1 = c.top},
            {.attr = 5, .name1 = "Products"},
            {.attr = 6, .flag = 0, .expr = "Products.ProductName"},
        }), 0);
        EXPECT_EQ(q.sql, c.expected) << "options flag " << c.flag;
    }
}

TEST(QuerySqlSelect, ParametersDeclaredFirst) {
    auto q = rebuildOneWay(stored({  // with a type code Jet does not know
        {.attr = 1, .flag = 1},
        {.attr = 2, .flag = 8, .name1 = "Beginning Date"},
        {.attr = 2, .flag = 8, .name1 = "Forms!Sales by Year Dialog!EndingDate"},
        {.attr = 2, .flag = 10, .name1 = "[pName]", .extra = 255},
        {.attr = 2, .flag = 10, .name1 = "Remark", .extra = 0},
        {.attr = 2, .flag = 4, .name1 = "Year"},
        {.attr = 2, .flag = 0, .name1 = "Forms!frmA!txtB"},
        {.attr = 2, .flag = 99, .name1 = "Odd"},
        {.attr = 5, .name1 = "Orders"},
        {.attr = 6, .flag = 0, .expr = "Orders.OrderID"},
    }));
    EXPECT_EQ(q.sql, sqlText({"PARAMETERS [Beginning Date] DateTime, [Forms]![Sales by Year Dialog]![EndingDate] DateTime, "
                              "[pName] Text ( 255 ), Remark Text, [Year] Long, Forms!frmA!txtB Value, Odd Value;",
                              "SELECT Orders.OrderID", "FROM Orders;"}));
}

TEST(QuerySqlSelect, GroupByHavingAndExternalDatabase) {
    auto q = rebuild(stored({
        {.attr = 1, .flag = 1},
        {.attr = 4, .name1 = "C:\\Data\\Sales.mdb"},
        {.attr = 5, .name1 = "Orders"},
        {.attr = 6, .flag = 0, .expr = "Orders.CustomerID"},
        {.attr = 6, .flag = 0, .name1 = "Total", .expr = "Sum(Orders.Freight)"},
        {.attr = 9, .flag = 0, .expr = "Orders.CustomerID"},
        {.attr = 10, .expr = "((Sum(Orders.Freight))>100)"},
    }));
    EXPECT_EQ(q.sql, sqlText({"SELECT Orders.CustomerID, Sum(Orders.Freight) AS Total",
                              "FROM Orders IN 'C:\\Data\\Sales.mdb'",
                              "GROUP BY Orders.CustomerID",
                              "HAVING ((Sum(Orders.Freight))>100);"}));

    auto dbase = rebuildOneWay(stored({
        {.attr = 4, .expr = "dBASE IV;DATABASE=C:\\DBF"},
        {.attr = 5, .name1 = "Sales"},
        {.attr = 6, .flag = 0, .expr = "Sales.Amount"},
    }));
    EXPECT_EQ(dbase.sql, sqlText({"SELECT Sales.Amount", "FROM Sales IN '' [dBASE IV;DATABASE=C:\\DBF];"}));
}

TEST(QuerySqlSelect, NamesBracketedOnlyWhereJetNeedsIt) {
    auto q = rebuild(stored({
        {.attr = 5, .name1 = "Order"},
        {.attr = 5, .name1 = "Företag"},
        {.attr = 5, .name1 = "2005 Sales"},
        {.attr = 5, .name1 = "Tbl_Name1", .name2 = "Some.Alias"},
        {.attr = 6, .flag = 0, .name1 = "Year", .expr = "Year([OrderDate])"},
        {.attr = 6, .flag = 0, .name1 = "Sum_1", .expr = "1"},
    }));
    EXPECT_EQ(q.sql, sqlText({"SELECT Year([OrderDate]) AS [Year], 1 AS Sum_1",
                              "FROM [Order], Företag, [2005 Sales], Tbl_Name1 AS [Some.Alias];"}));
}
