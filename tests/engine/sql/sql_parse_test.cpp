// The parser clause by clause on text in forms Access does not write itself
// (no line breaks, optional words, conditions in and out of parentheses).
// Text as Access shows it is parsed back in every rows-to-text case of the
// query tests (query_rows.h), and for every corpus query.
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

}  // namespace

// Predicates and aliases as Access writes them are parsed back in the query
// tests; here what those cannot show.
TEST(SqlParseSelect, OptionsRowOnlyWhenThereIsSomethingToSay) {
    const auto rows = rowsOf("SELECT DISTINCT TOP 25 PERCENT Orders.OrderID, * FROM Orders");
    EXPECT_EQ(withAttribute(rows, 3).at(0).flag, 0x02 | 0x10 | 0x20 | 0x01);
    EXPECT_EQ(withAttribute(rows, 3).at(0).name1, "25");
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

TEST(SqlParseFrom, AliasesWithoutAsAndConditionsWithoutParentheses) {
    const auto rows = rowsOf("SELECT a.x FROM T1 AS a LEFT OUTER JOIN (T2 b RIGHT JOIN T3 ON b.k = T3.k) "
                             "ON (a.k = b.k) AND (a.j = b.j), T4;");
    const auto sources = withAttribute(rows, 5);
    ASSERT_EQ(sources.size(), 4u);
    EXPECT_EQ(sources[0].name2, "a");
    EXPECT_EQ(sources[1].name2, "b");
    const auto joins = withAttribute(rows, 7);
    ASSERT_EQ(joins.size(), 3u);
    EXPECT_EQ(joins[0].name1, "b");  // joins name sources by alias
    EXPECT_EQ(joins[1].flag, 2);     // LEFT OUTER is LEFT
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

