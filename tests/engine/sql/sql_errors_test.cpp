// SQL the parser must refuse, with DAO's error numbers and words, and text
// that must never bring it down.
#include <gtest/gtest.h>

#include <string>

#include "jet/error.h"
#include "sql/sql_parser.h"

namespace {

// The error `sql` is refused with; number 0 when it parses.
jet::Error refusal(const std::string& sql) {
    try {
        jet::sql::parseQuery(sql);
    } catch (const jet::Error& e) {
        return e;
    }
    return jet::Error(0, "parsed");
}

}  // namespace

TEST(SqlParseErrors, MissingOperatorQuotesTheExpression) {
    const auto e = refusal("SELECT Orders.Id Orders.Date FROM Orders");
    EXPECT_EQ(e.number(), 3075);
    EXPECT_STREQ(e.what(), "Syntax error (missing operator) in query expression 'Orders.Id Orders.Date'.");
    EXPECT_EQ(refusal("SELECT a FROM T WHERE a = ").number(), 3075);
    EXPECT_EQ(refusal("SELECT a FROM T WHERE a b ORDER BY a").number(), 3075);
    EXPECT_EQ(refusal("SELECT a FROM T WHERE a Between 1 Or 2").number(), 3075);
    EXPECT_EQ(refusal("SELECT a FROM T WHERE a Is 1").number(), 3075);
    EXPECT_EQ(refusal("SELECT a FROM T ORDER BY a b").number(), 3075);
    // The context says where.
    EXPECT_NE(refusal("SELECT a FROM T WHERE a b").context().find("at character"), std::string::npos);
}

TEST(SqlParseErrors, UnclosedBracketsQuotesAndParentheses) {
    const auto bracket = refusal("SELECT [Order ID FROM Orders");
    EXPECT_EQ(bracket.number(), 3126);
    EXPECT_STREQ(bracket.what(), "Invalid bracketing of name '[Order ID FROM Orders'.");
    EXPECT_EQ(bracket.context(), "at character 8");
    EXPECT_EQ(refusal("SELECT a FROM T WHERE a = \"open").number(), 3075);
    EXPECT_EQ(refusal("SELECT a FROM T WHERE a = #1/1/95").number(), 3075);
    EXPECT_EQ(refusal("SELECT a FROM T WHERE (a = 1").number(), 3075);
    EXPECT_EQ(refusal("SELECT a FROM T WHERE a = 1)").number(), 3142);
    EXPECT_EQ(refusal("SELECT a FROM (A INNER JOIN B ON A.k = B.k").number(), 3131);
}

TEST(SqlParseErrors, FromAndJoin) {
    EXPECT_EQ(refusal("SELECT a FROM").number(), 3131);
    EXPECT_EQ(refusal("SELECT a FROM A INNER JOIN").number(), 3131);
    EXPECT_EQ(refusal("SELECT a FROM A INNER JOIN WHERE a=1").number(), 3131);
    EXPECT_EQ(refusal("SELECT a FROM A LEFT B").number(), 3131);
    EXPECT_EQ(refusal("SELECT a FROM A x y").number(), 3131);
    EXPECT_EQ(refusal("SELECT a FROM A INNER JOIN B WHERE a=1").number(), 3135);
    EXPECT_STREQ(refusal("SELECT a FROM A INNER JOIN B").what(), "Syntax error in JOIN operation.");
}

TEST(SqlParseErrors, StatementBoundaries) {
    const auto after = refusal("SELECT a FROM T; DROP TABLE T");
    EXPECT_EQ(after.number(), 3142);
    EXPECT_STREQ(after.what(), "Characters found after end of SQL statement.");
    EXPECT_EQ(refusal("SELECT a FROM T;;").number(), 3142);
    EXPECT_EQ(refusal("").number(), 3129);
    EXPECT_EQ(refusal("   \r\n").number(), 3129);
    EXPECT_EQ(refusal("SHOW TABLES").number(), 3129);
    EXPECT_EQ(refusal("SELECT TOP x a FROM T").number(), 3141);
    EXPECT_EQ(refusal("SELECT a FROM T WITH OWNERACCESS").number(), 3257);
    EXPECT_EQ(refusal("SELECT a FROM T GROUP a").number(), 3132);
    EXPECT_EQ(refusal("SELECT a FROM T ORDER a").number(), 3138);
    EXPECT_EQ(refusal("SELECT a FROM T ORDER BY;").number(), 3138);
    EXPECT_EQ(refusal("SELECT a FROM T GROUP BY").number(), 3132);
    EXPECT_EQ(refusal("SELECT a, FROM T").number(), 3141);
    EXPECT_EQ(refusal("SELECT a FROM T UNION").number(), 3141);
    EXPECT_EQ(refusal("SELECT a FROM T UNION ALL TABLE U").number(), 3141);
    EXPECT_EQ(refusal("TRANSFORM Sum(x) SELECT a FROM T").number(), 3143);
    EXPECT_EQ(refusal("TRANSFORM Sum(x) FROM T").number(), 3143);
}

TEST(SqlParseErrors, ClausesOfOtherStatements) {
    EXPECT_EQ(refusal("PARAMETERS x Bogus; SELECT a FROM T").number(), 3139);
    EXPECT_EQ(refusal("PARAMETERS x Text SELECT a FROM T").number(), 3139);
    EXPECT_EQ(refusal("PARAMETERS x Text (99999999999); SELECT a FROM T").number(), 3139);
    EXPECT_EQ(refusal("INSERT T VALUES (1)").number(), 3134);
    EXPECT_EQ(refusal("INSERT INTO T (a, b").number(), 3134);
    EXPECT_EQ(refusal("INSERT INTO T (a, b) VALUES (1)").number(), 3346);
    EXPECT_EQ(refusal("UPDATE T a = 1").number(), 3144);
    EXPECT_EQ(refusal("UPDATE T SET a 1").number(), 3144);
    EXPECT_EQ(refusal("DELETE T.* WHERE a=1").number(), 3130);
}

TEST(SqlParseErrors, DeepNestingIsRefusedNotFollowed) {
    EXPECT_EQ(refusal("SELECT a FROM T WHERE " + std::string(100000, '(') + "1").number(), 3360);
    std::string nots = "SELECT a FROM T WHERE ";
    for (int i = 0; i < 50000; ++i) nots += "Not ";
    EXPECT_EQ(refusal(nots + "a").number(), 3360);
    EXPECT_EQ(refusal("SELECT a FROM " + std::string(100000, '(') + "T").number(), 3360);
}

TEST(SqlParseErrors, EveryPrefixOfAStatementParsesOrIsRefused) {
    // Cut anywhere, a statement must give rows or a jet::Error: never
    // another exception, a crash or a hang.
    const std::string sql =
        "PARAMETERS [Forms]![D]![From] DateTime, p Text ( 20 );\r\nTRANSFORM Sum([Q]*[P]) AS V\r\n"
        "SELECT DISTINCTROW TOP 5 PERCENT T.a AS [A b], Count(*) FROM (T INNER JOIN [U x] AS U ON (T.k = U.k) AND "
        "(T.j = U.j)) LEFT JOIN [SELECT a FROM [W]]. AS W ON U.m = W.a IN 'x.mdb' [;PWD=1]\r\n"
        "WHERE T.d Between #1/1/95# And [Forms]![D]![From] And T.s Not Like 'a''b*' And T.n In (1,2.5E3,-3) "
        "And T.z Is Not Null\r\nGROUP BY T.a HAVING Count(*)>1 ORDER BY T.a DESC\r\nPIVOT U.c In (\"x\",'y');\r\n";
    for (std::size_t cut = 0; cut <= sql.size(); ++cut) {
        try {
            jet::sql::parseQuery(sql.substr(0, cut));
        } catch (const jet::Error&) {
        } catch (const std::exception& e) {
            ADD_FAILURE() << "cut at " << cut << ": " << e.what();
        }
    }
    EXPECT_NO_THROW(jet::sql::parseQuery(sql));
}
