#include <gtest/gtest.h>

#include <random>

#include "engine/queries/query_rows.h"
#include "jet/error.h"
#include "support/error_number.h"

using namespace qtest;

namespace {

long errorNumberOf(const std::vector<QueryRow>& rows, std::int32_t flags = 0) {
    return testsupport::errorNumber<jet::Error>([&] { (void)rebuildOneWay(rows, flags); });
}

}  // namespace

TEST(QuerySqlRobust, RowsThatDescribeNoQueryRaise3049) {
    EXPECT_EQ(errorNumberOf({}), 3049);

    auto twoQueries = stored({{.attr = 5, .name1 = "T"}});
    twoQueries.back().objectId += 1;
    EXPECT_EQ(errorNumberOf(twoQueries), 3049);

    // A union needs both parts, stored texts need their text.
    EXPECT_EQ(errorNumberOf(stored({{.attr = 1, .flag = 9}, {.attr = 5, .name2 = "X7YZ_____1", .expr = "SELECT 1"}})), 3049);
    EXPECT_EQ(errorNumberOf(stored({{.attr = 1, .flag = 7}})), 3049);
    EXPECT_EQ(errorNumberOf(stored({{.attr = 1, .flag = 8, .name1 = "ODBC;"}})), 3049);
}

TEST(QuerySqlRobust, ShuffledIncompleteRowsStillGiveTheText) {
    // No start or end row, attributes out of order, an attribute Jet does not
    // define, and rows with their text Null.
    std::vector<QueryRow> rows = {
        row({.attr = 11, .expr = "T.a"}),
        row({.attr = 6, .flag = 0, .expr = "T.a"}),
        row({.attr = 42, .name1 = "noise"}),
        row({.attr = 6, .flag = 0}),
        row({.attr = 5, .name1 = "T"}),
        row({.attr = 7, .flag = 1, .name1 = "T"}),
        row({.attr = 5}),
        row({.attr = 5, .name2 = "OnlyAnAlias"}),
        row({.attr = 11}),
        row({.attr = 8, .expr = "(T.a>1)"}),
        row({.attr = 8, .expr = "(T.a>2)"}),
        row({.attr = 2, .flag = 4}),
        row({.attr = 1}),
    };
    auto q = rebuildOneWay(rows);
    EXPECT_EQ(q.type, 0);
    EXPECT_EQ(q.sql, sqlText({"SELECT T.a", "FROM T", "WHERE (T.a>1)", "ORDER BY T.a;"}));
    EXPECT_EQ(q.outputFields, (std::vector<std::string>{"a"}));
}

TEST(QuerySqlRobust, TooManyJoinsRaise3049) {
    std::vector<QueryRow> rows;
    for (int i = 0; i < 1001; ++i)
        rows.push_back(row({.attr = 7, .flag = 1, .name1 = "T" + std::to_string(i), .name2 = "T" + std::to_string(i + 1),
                            .expr = "x"}));
    EXPECT_EQ(errorNumberOf(rows), 3049);
    rows.resize(1000);
    // A chain as long as allowed still nests fully, left-deep.
    const std::string sql = rebuildOneWay(rows).sql;
    const std::string head = "SELECT \r\nFROM " + std::string(999, '(') + "T0 INNER JOIN T1 ON x)";
    const std::string tail = ") INNER JOIN T1000 ON x;\r\n";
    EXPECT_EQ(sql.substr(0, head.size()), head);
    EXPECT_EQ(sql.substr(sql.size() - tail.size()), tail);
}

TEST(QuerySqlRobust, RepeatedConditionsOnALongChainStayQuick) {
    std::vector<QueryRow> rows;
    for (int i = 0; i < 500; ++i)
        rows.push_back(row({.attr = 7, .flag = 1, .name1 = "T" + std::to_string(i), .name2 = "T" + std::to_string(i + 1),
                            .expr = "x"}));
    for (int i = 0; i < 499; ++i) rows.push_back(row({.attr = 7, .flag = 1, .name1 = "T0", .name2 = "T1", .expr = "y"}));
    const std::string sql = rebuildOneWay(rows).sql;
    EXPECT_NE(sql.find("T0 INNER JOIN T1 ON (y) AND (y)"), std::string::npos);
    EXPECT_EQ(sql.find("ON x) AND"), std::string::npos);
}

// Random rows, with random attributes, flags and texts full of brackets and
// quotes, either rebuild or raise jet::Error; nothing else escapes.
TEST(QuerySqlRobust, RandomRowsNeverCrash) {
    std::mt19937 rng(20261206);
    const std::string texts[] = {"", "[", "]", "[a", "a]", "\"", "'x", "(", ")", "T.*", "*", "a.b.c", "In (", "SELECT",
                                 "X7YZ_____1", "X7YZ_____2", "D", "Forms!a b!c", "Ö", "1", std::string("a\0b", 3)};
    auto pick = [&](int nullChance) -> std::optional<std::string> {
        if (rng() % 100 < static_cast<unsigned>(nullChance)) return std::nullopt;
        std::string s;
        for (int i = rng() % 4; i >= 0; --i) s += texts[rng() % std::size(texts)];
        return s;
    };
    const int attributes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 255, -1};
    for (int round = 0; round < 3000; ++round) {
        std::vector<QueryRow> rows;
        for (int i = rng() % 12; i >= 0; --i) {
            QueryRow r;
            r.objectId = kObjectId;
            r.attribute = attributes[rng() % std::size(attributes)];
            if (rng() % 4) r.flag = static_cast<int>(rng() % 12) - 1 + (rng() % 10 == 0 ? 0x8000 : 0);
            r.name1 = pick(30);
            r.name2 = pick(50);
            r.expression = pick(30);
            if (rng() % 3 == 0) r.extra = static_cast<std::int32_t>(rng());
            rows.push_back(r);
        }
        const std::int32_t flags = static_cast<std::int32_t>(rng() % 10) * 16;
        try {
            auto q = rebuildOneWay(rows, flags);
            if (q.type != jet::queries::dbQDDL && q.type < jet::queries::dbQSQLPassThrough) {
                EXPECT_EQ(q.sql.substr(q.sql.size() - 3), ";\r\n") << "round " << round;
            }
        } catch (const jet::Error& e) {
            EXPECT_EQ(e.number(), 3049) << "round " << round;
        }
    }
}
