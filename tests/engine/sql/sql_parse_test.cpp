// The parser clause by clause: which rows each piece of SQL becomes, and
// that the rebuilder reads them back as the same text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/queries/query_rows.h"
#include "sql/sql_parser.h"

using jet::queries::QueryRow;

namespace {

std::vector<QueryRow> rowsOf(const std::string& sql) { return jet::sql::parseQuery(sql).rows; }

std::vector<QueryRow> withAttribute(const std::vector<QueryRow>& rows, int attribute) {
    std::vector<QueryRow> out;
    for (const QueryRow& r : rows)
        if (r.attribute == attribute) out.push_back(r);
    return out;
}

std::string expr(const QueryRow& r) { return r.expression.value_or("<null>"); }

// The rows of `sql` rebuilt into text.
std::string roundTrip(const std::string& sql) {
    auto parsed = jet::sql::parseQuery(sql);
    for (QueryRow& r : parsed.rows) r.objectId = qtest::kObjectId;
    return jet::queries::rebuildQuery(parsed.rows, 0).sql;
}

}  // namespace

TEST(SqlParseSelect, PredicatesColumnsAndAliases) {
    const auto rows = rowsOf("SELECT DISTINCT TOP 25 PERCENT Orders.OrderID, [First] & \" \" & [Last] AS [Full Name], *\r\n"
                             "FROM Orders;\r\n");
    ASSERT_EQ(rows.front().attribute, 0);
    ASSERT_EQ(rows.back().attribute, 255);
    const auto type = withAttribute(rows, 1);
    ASSERT_EQ(type.size(), 1u);
    EXPECT_EQ(type[0].flag, 1);
    const auto options = withAttribute(rows, 3);
    ASSERT_EQ(options.size(), 1u);
    EXPECT_EQ(options[0].flag, 0x02 | 0x10 | 0x20 | 0x01);
    EXPECT_EQ(options[0].name1, "25");
    const auto columns = withAttribute(rows, 6);
    ASSERT_EQ(columns.size(), 2u);
    EXPECT_EQ(expr(columns[0]), "Orders.OrderID");
    EXPECT_FALSE(columns[0].name1);
    EXPECT_EQ(expr(columns[1]), "[First] & \" \" & [Last]");
    EXPECT_EQ(columns[1].name1, "Full Name");
    EXPECT_EQ(withAttribute(rows, 5).at(0).name1, "Orders");

    // Nothing to say, nothing stored: no options row for a plain SELECT.
    EXPECT_TRUE(withAttribute(rowsOf("SELECT a FROM T"), 3).empty());
    EXPECT_EQ(withAttribute(rowsOf("SELECT DISTINCTROW a FROM T WITH OWNERACCESS OPTION;"), 3).at(0).flag, 0x08 | 0x04);
}

TEST(SqlParseSelect, ExpressionsKeepTheirWrittenText) {
    const std::string criteria =
        "(((P.Name) Like \"Rev *\" Or (P.Name) Not Like 'x''s') And ((P.Price) Between 1.5E3 And -.5) And "
        "((P.Added)>=#1/1/95#) And ((P.Kind) In (1,2,3)) And ((P.Gone)=No Or (P.Gone) Is Not Null) And "
        "((P.Id)=[Forms]![Sales Dialog]![Id]) And (Not (P.X)=True) And ((IIf([a] Mod 2=0,Null,[b]\\3^2))<>0))";
    const auto rows = rowsOf("SELECT P.Name FROM P WHERE " + criteria + " ORDER BY P.Name;");
    EXPECT_EQ(expr(withAttribute(rows, 8).at(0)), criteria);
    // Subqueries and EXISTS stand inside expressions.
    const std::string sub = "P.Id In (SELECT Id FROM Q WHERE Q.Ok=True) And Exists (SELECT * FROM R)";
    EXPECT_EQ(expr(withAttribute(rowsOf("SELECT * FROM P WHERE " + sub), 8).at(0)), sub);
    // Functions named like join words.
    const std::string cut = "Left([Name],3) & Right([Name],2)";
    EXPECT_EQ(expr(withAttribute(rowsOf("SELECT " + cut + " AS s FROM P INNER JOIN Q ON P.k = Q.k"), 6).at(0)), cut);
    // Count(*) and a bare "*" after named columns.
    const auto counted = rowsOf("SELECT Count(*) AS N FROM P");
    EXPECT_EQ(expr(withAttribute(counted, 6).at(0)), "Count(*)");
}

TEST(SqlParseSelect, GroupHavingAndOrder) {
    const auto rows = rowsOf("SELECT T.a, Sum(T.b) AS s FROM T GROUP BY T.a, Year(T.d) HAVING (((Sum(T.b))>10)) "
                             "ORDER BY T.a DESC, Year(T.d), T.c ASC;");
    const auto groups = withAttribute(rows, 9);
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(expr(groups[1]), "Year(T.d)");
    EXPECT_EQ(expr(withAttribute(rows, 10).at(0)), "(((Sum(T.b))>10))");
    const auto orders = withAttribute(rows, 11);
    ASSERT_EQ(orders.size(), 3u);
    EXPECT_EQ(orders[0].name1, "D");
    EXPECT_FALSE(orders[1].name1);
    EXPECT_FALSE(orders[2].name1);
    EXPECT_EQ(expr(orders[2]), "T.c");
}

TEST(SqlParseFrom, NestedJoinsGiveRowsInnermostFirst) {
    // The shape Access writes for five tables joined around one.
    const auto rows = rowsOf(
        "SELECT Orders.OrderID FROM Shippers INNER JOIN (Products INNER JOIN ((Employees INNER JOIN "
        "(Customers INNER JOIN Orders ON Customers.CustomerID = Orders.CustomerID) ON Employees.EmployeeID = "
        "Orders.EmployeeID) INNER JOIN [Order Details] ON Orders.OrderID = [Order Details].OrderID) ON "
        "Products.ProductID = [Order Details].ProductID) ON Shippers.ShipperID = Orders.ShipVia;");
    const auto joins = withAttribute(rows, 7);
    ASSERT_EQ(joins.size(), 5u);
    const std::vector<std::pair<std::string, std::string>> expected = {{"Customers", "Orders"},
                                                                       {"Employees", "Orders"},
                                                                       {"Orders", "Order Details"},
                                                                       {"Products", "Order Details"},
                                                                       {"Shippers", "Orders"}};
    for (std::size_t i = 0; i < joins.size(); ++i) {
        EXPECT_EQ(joins[i].flag, 1);
        EXPECT_EQ(joins[i].name1, expected[i].first) << i;
        EXPECT_EQ(joins[i].name2, expected[i].second) << i;
    }
    EXPECT_EQ(withAttribute(rows, 5).size(), 6u);
}

TEST(SqlParseFrom, JoinKindsConditionsAndAliases) {
    const auto rows = rowsOf("SELECT a.x FROM T1 AS a LEFT OUTER JOIN (T2 b RIGHT JOIN T3 ON b.k = T3.k) "
                             "ON (a.k = b.k) AND (a.j = b.j), T4;");
    const auto sources = withAttribute(rows, 5);
    ASSERT_EQ(sources.size(), 4u);
    EXPECT_EQ(sources[0].name1, "T1");
    EXPECT_EQ(sources[0].name2, "a");
    EXPECT_EQ(sources[1].name2, "b");
    const auto joins = withAttribute(rows, 7);
    ASSERT_EQ(joins.size(), 3u);
    EXPECT_EQ(joins[0].flag, 3);
    EXPECT_EQ(joins[0].name1, "b");
    EXPECT_EQ(joins[0].name2, "T3");
    // Two conditions, stored last first, without their parentheses.
    EXPECT_EQ(joins[1].flag, 2);
    EXPECT_EQ(expr(joins[1]), "a.j = b.j");
    EXPECT_EQ(expr(joins[2]), "a.k = b.k");
    EXPECT_EQ(joins[2].name1, "a");
    EXPECT_EQ(joins[2].name2, "b");

    // Without parentheses round each condition the ON stays one row.
    EXPECT_EQ(withAttribute(rowsOf("SELECT * FROM A INNER JOIN B ON A.k = B.k AND A.j = B.j"), 7).size(), 1u);
}

TEST(SqlParseFrom, SubqueriesAndExternalDatabases) {
    const auto rows = rowsOf("SELECT [Ordrar-Logg].ID FROM [SELECT [Ordrar-Logg].ID FROM [Ordrar-Logg]]. AS Logg "
                             "IN 'C:\\data\\old.mdb' [MS Access;PWD=x];");
    const auto source = withAttribute(rows, 5).at(0);
    EXPECT_EQ(expr(source), "SELECT [Ordrar-Logg].ID FROM [Ordrar-Logg]");
    EXPECT_FALSE(source.name1);
    EXPECT_EQ(source.name2, "Logg");
    const auto db = withAttribute(rows, 4).at(0);
    EXPECT_EQ(db.name1, "C:\\data\\old.mdb");
    EXPECT_EQ(db.expression, "MS Access;PWD=x");
}

TEST(SqlParseParameters, NamesTypesAndLengths) {
    const auto params = withAttribute(
        rowsOf("PARAMETERS [User Name] Text, [pCustomerID] Text ( 255 ), [Forms]![Sales by Year Dialog]![BeginningDate] "
               "DateTime, Forms!Dialog!Id Long, __ID Value, [Photo] LongBinary;\r\nSELECT * FROM T;"),
        2);
    ASSERT_EQ(params.size(), 6u);
    // Brackets a name needs are not stored; brackets it does not need are.
    EXPECT_EQ(params[0].name1, "User Name");
    EXPECT_EQ(params[0].flag, 10);
    EXPECT_FALSE(params[0].extra);
    EXPECT_EQ(params[1].name1, "[pCustomerID]");
    EXPECT_EQ(params[1].extra, 255);
    EXPECT_EQ(params[2].name1, "Forms!Sales by Year Dialog!BeginningDate");
    EXPECT_EQ(params[2].flag, 8);
    EXPECT_EQ(params[3].name1, "Forms!Dialog!Id");
    EXPECT_EQ(params[3].flag, 4);
    EXPECT_EQ(params[4].flag, 0);
    EXPECT_EQ(params[5].flag, 11);
}

TEST(SqlParseKinds, Crosstab) {
    const auto parsed = jet::sql::parseQuery(
        "TRANSFORM Sum(D.Amount) AS Total\r\nSELECT P.Name, Year([OrderDate]) AS OrderYear\r\nFROM P INNER JOIN D ON "
        "P.Id = D.Id\r\nGROUP BY P.Name, Year([OrderDate])\r\nPIVOT \"Qtr \" & DatePart(\"q\",[OrderDate]) In "
        "(\"Qtr 1\",\"Qtr 2\");\r\n");
    EXPECT_EQ(parsed.type, jet::queries::dbQCrosstab);
    const auto columns = withAttribute(parsed.rows, 6);
    ASSERT_EQ(columns.size(), 4u);
    EXPECT_EQ(columns[0].flag, 0);
    EXPECT_EQ(columns[0].name1, "Total");
    EXPECT_EQ(columns[1].flag, 2);
    EXPECT_EQ(columns[2].name1, "OrderYear");
    EXPECT_EQ(columns[3].flag, 1);
    EXPECT_EQ(expr(columns[3]), "\"Qtr \" & DatePart(\"q\",[OrderDate]) In (\"Qtr 1\",\"Qtr 2\")");
    const auto groups = withAttribute(parsed.rows, 9);
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0].flag, 2);
    // The pivot's group row leaves out the list of headings.
    EXPECT_EQ(groups[2].flag, 1);
    EXPECT_EQ(expr(groups[2]), "\"Qtr \" & DatePart(\"q\",[OrderDate])");
}

TEST(SqlParseKinds, UnionKeepsItsPartsAsText) {
    const auto parsed = jet::sql::parseQuery("SELECT a FROM T1\r\nUNION SELECT a FROM T2\r\nUNION ALL SELECT a FROM T3 "
                                             "WHERE T3.a > 1\r\nORDER BY a DESC;\r\n");
    EXPECT_EQ(parsed.type, jet::queries::dbQSetOperation);
    const auto parts = withAttribute(parsed.rows, 5);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].name2, "X7YZ_____1");
    EXPECT_EQ(expr(parts[0]), "SELECT a FROM T1\r\nUNION SELECT a FROM T2\r\n");
    EXPECT_EQ(parts[1].name2, "X7YZ_____2");
    EXPECT_EQ(expr(parts[1]), "SELECT a FROM T3 WHERE T3.a > 1");
    EXPECT_EQ(withAttribute(parsed.rows, 3).at(0).flag, 1);  // UNION ALL last
    EXPECT_EQ(withAttribute(parsed.rows, 11).at(0).name1, "D");
    EXPECT_EQ(withAttribute(jet::sql::parseQuery("SELECT a FROM T1 UNION SELECT b FROM T2").rows, 3).at(0).flag, 3);
}

TEST(SqlParseKinds, ActionQueries) {
    const auto append = rowsOf("INSERT INTO Archive ( Id, [Ship Name] ) IN 'old.mdb'\r\nSELECT O.Id, O.Ship "
                               "FROM O WHERE O.Done=True;");
    EXPECT_EQ(withAttribute(append, 1).at(0).flag, 3);
    EXPECT_EQ(withAttribute(append, 1).at(0).name1, "Archive");
    EXPECT_EQ(withAttribute(append, 1).at(0).name2, "old.mdb");
    const auto targets = withAttribute(append, 6);
    ASSERT_EQ(targets.size(), 2u);
    EXPECT_EQ(targets[1].name2, "[Ship Name]");
    EXPECT_EQ(expr(targets[1]), "O.Ship");

    const auto values = withAttribute(rowsOf("INSERT INTO T (a, b) VALUES (1, \"x\");"), 6);
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].flag, 0x8000);
    EXPECT_EQ(values[1].name2, "b");

    const auto update = rowsOf("UPDATE Table1 SET Table1.col1 = \"foo\", [Table2].[col1] = [User Name] "
                               "WHERE ((([Table2].[col1]) Is Not Null));");
    EXPECT_EQ(withAttribute(update, 1).at(0).flag, 4);
    const auto sets = withAttribute(update, 6);
    ASSERT_EQ(sets.size(), 2u);
    EXPECT_EQ(sets[1].name2, "[Table2].[col1]");
    EXPECT_EQ(expr(sets[1]), "[User Name]");

    const auto del = rowsOf("DELETE DISTINCTROW T.*, T.a FROM T WHERE T.a>1;");
    EXPECT_EQ(withAttribute(del, 1).at(0).flag, 5);
    EXPECT_EQ(withAttribute(del, 3).at(0).flag, 0x08);
    EXPECT_EQ(expr(withAttribute(del, 6).at(0)), "T.*");

    const auto make = rowsOf("SELECT T.a INTO [New Table] IN 'x.mdb' [;PWD=p] FROM T;");
    const auto type = withAttribute(make, 1).at(0);
    EXPECT_EQ(type.flag, 2);
    EXPECT_EQ(type.name1, "New Table");
    EXPECT_EQ(type.name2, "x.mdb");
    EXPECT_EQ(type.expression, ";PWD=p");
}

TEST(SqlParseKinds, StoredTextQueries) {
    const std::string ddl = "CREATE TABLE Table5 (col1 CHAR, col2 CHAR);";
    const auto parsed = jet::sql::parseQuery(ddl);
    EXPECT_EQ(parsed.type, jet::queries::dbQDDL);
    EXPECT_EQ(withAttribute(parsed.rows, 1).at(0).expression, ddl);

    jet::sql::ParseOptions passThrough;
    passThrough.passThrough = true;
    passThrough.connect = "ODBC;DSN=x";
    // Server SQL need not be Jet SQL at all.
    const auto server = jet::sql::parseQuery("EXEC sp_who @x = 1", passThrough);
    EXPECT_EQ(server.type, jet::queries::dbQSQLPassThrough);
    EXPECT_EQ(withAttribute(server.rows, 1).at(0).name1, "ODBC;DSN=x");
}

TEST(SqlParseKinds, RebuiltTextMatchesTheParsedText) {
    const std::vector<std::string> statements = {
        "SELECT DISTINCTROW TOP 10 Products.ProductName AS TenMostExpensiveProducts, Products.UnitPrice\r\n"
        "FROM Products\r\nORDER BY Products.UnitPrice DESC;\r\n",
        "PARAMETERS [Beginning Date] DateTime, [Ending Date] DateTime;\r\nSELECT Orders.ShippedDate\r\n"
        "FROM Employees INNER JOIN (Orders INNER JOIN [Order Subtotals] ON Orders.OrderID = [Order "
        "Subtotals].OrderID) ON Employees.EmployeeID = Orders.EmployeeID\r\n"
        "WHERE (((Orders.ShippedDate) Between [Beginning Date] And [Ending Date]));\r\n",
        "SELECT Table1.*, Table2.col1\r\nFROM (Table1 LEFT JOIN Table3 ON Table1.col1 = Table3.col1) INNER JOIN Table2 "
        "ON (Table3.col1 = Table2.col2) AND (Table3.col1 = Table2.col1)\r\nWITH OWNERACCESS OPTION;\r\n",
        "UPDATE DISTINCTROW A INNER JOIN B ON A.k = B.k\r\nSET A.x = B.y\r\nWHERE (((B.z)=1));\r\n",
        "INSERT INTO T (a, b)\r\nVALUES (1, #12/31/1999#);\r\n",
        "SELECT City, CompanyName\r\nFROM Customers\r\nUNION SELECT City, CompanyName\r\nFROM Suppliers\r\n"
        "ORDER BY City;\r\n",
    };
    for (const std::string& sql : statements) EXPECT_EQ(roundTrip(sql), sql);
}
