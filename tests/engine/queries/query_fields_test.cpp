#include <gtest/gtest.h>

#include <map>

#include "engine/queries/query_rows.h"

using namespace qtest;
using Names = std::vector<std::string>;

// Columns qualified where two tables share a name, and stars over tables
// and queries: Northwind's queries (dao/nwind_test).
TEST(QuerySqlFields, AliasColumnOrExprByPosition) {
    auto q = rebuildOneWay(stored({  // a bracketed alias as a careless writer stores it
        {.attr = 5, .name1 = "Orders"},
        {.attr = 6, .flag = 0, .expr = "Orders.OrderID"},
        {.attr = 6, .flag = 0, .expr = "[Order Details].[Unit Price]"},
        {.attr = 6, .flag = 0, .expr = "Year([OrderDate])"},
        {.attr = 6, .flag = 0, .name1 = "[Due]", .expr = "[OrderDate]+30"},
        {.attr = 6, .flag = 0, .expr = "Freight"},
        {.attr = 6, .flag = 0, .expr = "True"},
        {.attr = 6, .flag = 0, .expr = "42"},
    }));
    // Unnamed expressions are numbered by their place in the list, from 1000.
    EXPECT_EQ(q.outputFields, (Names{"OrderID", "Unit Price", "Expr1002", "Due", "Freight", "Expr1005", "Expr1006"}));
}

TEST(QuerySqlFields, StarsExpandThroughTheCatalog) {
    const std::map<std::string, Names> catalog = {
        {"Products", {"ProductID", "ProductName", "CategoryID"}},
        {"Categories", {"CategoryID", "CategoryName"}},
    };
    jet::queries::SourceColumns columnsOf = [&](const std::string& name) -> std::optional<Names> {
        auto it = catalog.find(name);
        if (it == catalog.end()) return std::nullopt;
        return it->second;
    };
    auto rows = stored({
        {.attr = 5, .name1 = "Products", .name2 = "P"},
        {.attr = 5, .name1 = "Categories"},
        {.attr = 6, .flag = 0, .expr = "P.*"},
        {.attr = 6, .flag = 0, .expr = "Categories.CategoryName"},
    });
    EXPECT_EQ(jet::queries::rebuildQuery(rows, 0, columnsOf).outputFields,
              (Names{"ProductID", "ProductName", "CategoryID", "CategoryName"}));

    // "*" from the options row adds every source's columns after the list;
    // each name now met twice is qualified by the table, or alias, it comes
    // from.
    rows.insert(rows.begin() + 1, row({.attr = 3, .flag = 1}));
    EXPECT_EQ(jet::queries::rebuildQuery(rows, 0, columnsOf).outputFields,
              (Names{"P.ProductID", "P.ProductName", "P.CategoryID", "Categories.CategoryName", "P.ProductID",
                     "P.ProductName", "P.CategoryID", "Categories.CategoryID", "Categories.CategoryName"}));

    // Without a catalog a star names nothing.
    EXPECT_EQ(rebuild(rows).outputFields, (Names{"CategoryName"}));
}

TEST(QuerySqlFields, UnionNamesComeFromItsFirstPart) {
    auto q = rebuild(stored({
        {.attr = 1, .flag = 9},
        {.attr = 3, .flag = 3},
        {.attr = 5, .name2 = "X7YZ_____1",
         .expr = "SELECT DISTINCT TOP 5 PERCENT a.City, Format(x, \"a, b\") AS [Label], Count(*)\r\nFROM a\r\n"},
        {.attr = 5, .name2 = "X7YZ_____2", .expr = "SELECT City, y, z FROM b"},
    }));
    EXPECT_EQ(q.outputFields, (Names{"City", "Label", "Expr1002"}));
}
