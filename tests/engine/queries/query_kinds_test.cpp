#include <gtest/gtest.h>

#include "engine/queries/query_rows.h"

using namespace qtest;
using namespace jet::queries;

// Crosstabs, unions and action queries as Access writes them are in the
// corpus queries the reference comparison reads, a crosstab's pivot
// headings and a union's fields in Northwind's (dao/nwind_test); here the
// forms the corpus lacks.
TEST(QuerySqlKinds, UnionPartsAsStored) {
    auto rows = stored({
        {.attr = 1, .flag = 9},
        {.attr = 3, .flag = 3},
        {.attr = 5, .name2 = "X7YZ_____1", .expr = "SELECT City, \"Customers\" AS [Relationship] \r\nFROM Customers\r\n"},
        {.attr = 5, .name2 = "X7YZ_____2", .expr = "SELECT City, \"Suppliers\"\r\nFROM Suppliers"},
        {.attr = 11, .expr = "City"},
    });
    auto q = rebuild(rows);
    EXPECT_EQ(q.type, dbQSetOperation);
    EXPECT_EQ(q.sql, sqlText({"SELECT City, \"Customers\" AS [Relationship] ", "FROM Customers",
                              "UNION SELECT City, \"Suppliers\"", "FROM Suppliers", "ORDER BY City;"}));
    EXPECT_EQ(q.outputFields, (std::vector<std::string>{"City", "Relationship"}));

    rows[2].flag = 1;  // no DISTINCT bit: UNION ALL
    rows[3].expression = "SELECT a FROM t";  // no line break before UNION
    rows[4].expression = "SELECT b FROM u\r\n";
    EXPECT_EQ(rebuildOneWay(rows).sql, sqlText({"SELECT a FROM t", "UNION ALL SELECT b FROM u", "ORDER BY City;"}));
}

// Target names as stored without the brackets the text needs.
TEST(QuerySqlKinds, AppendIntoTargetColumns) {
    auto q = rebuildOneWay(stored({
        {.attr = 1, .flag = 3, .name1 = "Order Archive"},
        {.attr = 5, .name1 = "Orders"},
        {.attr = 6, .flag = 0, .name2 = "OrderID", .expr = "Orders.OrderID"},
        {.attr = 6, .flag = 0, .name2 = "Ship Date", .expr = "Orders.ShippedDate"},
        {.attr = 8, .expr = "((Orders.ShippedDate) Is Not Null)"},
    }));
    EXPECT_EQ(q.type, dbQAppend);
    EXPECT_FALSE(q.returnsRecords);
    EXPECT_EQ(q.sql, sqlText({"INSERT INTO [Order Archive] (OrderID, [Ship Date])",
                              "SELECT Orders.OrderID, Orders.ShippedDate", "FROM Orders",
                              "WHERE ((Orders.ShippedDate) Is Not Null);"}));

    auto values = rebuildOneWay(stored({
        {.attr = 1, .flag = 3, .name1 = "Log"},
        {.attr = 6, .flag = 0x8000, .name2 = "Msg", .expr = "'hello'"},
        {.attr = 6, .flag = 0x8000, .name2 = "Level", .expr = "3"},
    }));
    EXPECT_EQ(values.sql, sqlText({"INSERT INTO Log (Msg, [Level])", "VALUES ('hello', 3);"}));
    EXPECT_TRUE(values.outputFields.empty());
}

TEST(QuerySqlKinds, UpdateSetList) {
    auto q = rebuildOneWay(stored({
        {.attr = 1, .flag = 4},
        {.attr = 3, .flag = 0x08},
        {.attr = 5, .name1 = "Order Details"},
        {.attr = 5, .name1 = "Products"},
        {.attr = 6, .flag = 0, .name2 = "[Order Details].UnitPrice", .expr = "[Products].[UnitPrice]"},
        {.attr = 6, .flag = 0, .name2 = "Order Details.Unit Cost", .expr = "0"},
        {.attr = 7, .flag = 1, .name1 = "Products", .name2 = "Order Details", .expr = "Products.ProductID = [Order Details].ProductID"},
        {.attr = 8, .expr = "((([Order Details].UnitPrice) Is Null))"},
    }));
    EXPECT_EQ(q.type, dbQUpdate);
    EXPECT_FALSE(q.returnsRecords);
    EXPECT_TRUE(q.outputFields.empty());
    EXPECT_EQ(q.sql, sqlText({"UPDATE DISTINCTROW Products INNER JOIN [Order Details] ON Products.ProductID = [Order Details].ProductID",
                              "SET [Order Details].UnitPrice = [Products].[UnitPrice], [Order Details].[Unit Cost] = 0",
                              "WHERE ((([Order Details].UnitPrice) Is Null));"}));
}

TEST(QuerySqlKinds, DeleteAndMakeTable) {
    auto del = rebuild(stored({
        {.attr = 1, .flag = 5},
        {.attr = 3, .flag = 0x08},
        {.attr = 5, .name1 = "Table1"},
        {.attr = 6, .flag = 0, .expr = "Table1.*"},
        {.attr = 8, .expr = "(((Table1.col1)>\"blah\"))"},
    }));
    EXPECT_EQ(del.type, dbQDelete);
    EXPECT_FALSE(del.returnsRecords);
    EXPECT_EQ(del.sql, sqlText({"DELETE DISTINCTROW Table1.*", "FROM Table1", "WHERE (((Table1.col1)>\"blah\"));"}));

    auto make = rebuild(stored({
        {.attr = 1, .flag = 2, .name1 = "New Table", .name2 = "C:\\Other.mdb"},
        {.attr = 3, .flag = 2},
        {.attr = 5, .name1 = "Table2"},
        {.attr = 6, .flag = 0, .name1 = "MaxOfcol1", .expr = "Max(Table2.col1)"},
        {.attr = 6, .flag = 0, .expr = "Table2.col2"},
        {.attr = 9, .flag = 0, .expr = "Table2.col2"},
    }));
    EXPECT_EQ(make.type, dbQMakeTable);
    EXPECT_EQ(make.sql, sqlText({"SELECT DISTINCT Max(Table2.col1) AS MaxOfcol1, Table2.col2 INTO [New Table] IN 'C:\\Other.mdb'",
                                 "FROM Table2", "GROUP BY Table2.col2;"}));
}

TEST(QuerySqlKinds, StoredTextOfDataDefinitionAndPassThrough) {
    auto ddl = rebuildOneWay(stored({{.attr = 1, .flag = 7, .expr = std::string("CREATE TABLE T (c CHAR);\0", 25)}}), dbQDDL);
    EXPECT_EQ(ddl.type, dbQDDL);
    EXPECT_EQ(ddl.sql, "CREATE TABLE T (c CHAR);");  // up to the NUL, no line end added
    EXPECT_FALSE(ddl.returnsRecords);

    auto rows = stored({{.attr = 1, .flag = 8, .name1 = "ODBC;DSN=Sales", .expr = "SELECT *\r\nFROM dbo.Orders"}});
    auto pt = rebuildOneWay(rows, dbQSQLPassThrough);
    EXPECT_EQ(pt.type, dbQSQLPassThrough);
    EXPECT_EQ(pt.sql, "SELECT *\r\nFROM dbo.Orders");
    EXPECT_EQ(pt.connect, "ODBC;DSN=Sales");
    EXPECT_TRUE(pt.returnsRecords);

    auto bulk = rebuildOneWay(rows, dbQSPTBulk);
    EXPECT_EQ(bulk.type, dbQSPTBulk);
    EXPECT_FALSE(bulk.returnsRecords);
}

TEST(QuerySqlKinds, TypeRowDecidesCatalogFlagsStandIn) {
    auto selectRows = stored({{.attr = 5, .name1 = "T"}, {.attr = 6, .flag = 0, .expr = "T.a"}});
    // No type row: the catalog flags tell (hidden-object bits below 0x10 aside).
    EXPECT_EQ(rebuildOneWay(selectRows, 0x08).type, dbQSelect);
    EXPECT_EQ(rebuildOneWay(selectRows, dbQDelete | 0x08).type, dbQDelete);
    EXPECT_EQ(rebuildOneWay(selectRows, dbQDelete).sql, sqlText({"DELETE T.a", "FROM T;"}));
    // A kind unknown to both keeps the catalog's code and reads as a select.
    auto procedure = rebuildOneWay(selectRows, 224);
    EXPECT_EQ(procedure.type, 224);
    EXPECT_EQ(procedure.sql, sqlText({"SELECT T.a", "FROM T;"}));
    // A type row outweighs flags that disagree.
    auto withType = selectRows;
    withType.insert(withType.begin() + 1, row({.attr = 1, .flag = 1}));
    EXPECT_EQ(rebuildOneWay(withType, dbQDelete).type, dbQSelect);
}
