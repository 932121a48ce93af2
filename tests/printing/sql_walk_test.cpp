// The SQL walk: rows and indents for the usable width W.
#include <gtest/gtest.h>

#include "printing/sql_walk.h"

namespace {

using printing::SqlRow;
using printing::sqlRows;

constexpr double kW = 56;  // the text printer's width with the default tabs

std::string letters(std::size_t n, char c = 'x') { return std::string(n, c); }

TEST(SqlWalk, ShortLinesOneRowEachAtTheFirstColumn) {
    const auto rows = sqlRows("SELECT A\r\nFROM T\r\nWHERE A > 1;\r\n", kW);
    EXPECT_EQ(rows, (std::vector<SqlRow>{{0, "SELECT A"}, {0, "FROM T"}, {0, "WHERE A > 1;"}}));
    // An empty line between two line ends stays an (empty) row of its own.
    EXPECT_EQ(sqlRows("A\r\n\r\nB\r\n", kW), (std::vector<SqlRow>{{0, "A"}, {0, ""}, {0, "B"}}));
    EXPECT_TRUE(sqlRows("", kW).empty());
}

TEST(SqlWalk, LongLineCutAtItsLastBlankWithinTheWidth) {
    // 50 letters, a blank, 20 letters: the blank is the 51st character.
    const std::string line = letters(50, 'a') + " " + letters(20, 'b');
    const auto rows = sqlRows(line + "\r\n", kW);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (SqlRow{0, letters(50, 'a') + "  _"}));  // the blank kept, then " _"
    EXPECT_EQ(rows[1], (SqlRow{5, letters(20, 'b')}));           // no leading blank
}

TEST(SqlWalk, ExactWidthLineUnwrappedButExactWidthRestCutAgain) {
    EXPECT_EQ(sqlRows(letters(56) + "\r\n", kW), (std::vector<SqlRow>{{0, letters(56)}}));
    EXPECT_EQ(sqlRows(letters(57) + "\r\n", kW), (std::vector<SqlRow>{{0, letters(56) + " _"}, {5, "x"}}));

    // First piece "aaa...a " (40 + blank), the rest exactly 56 long with a blank
    // at its 30th character: cut once more although it would fit.
    const std::string rest = letters(29, 'b') + " " + letters(26, 'c');
    ASSERT_EQ(rest.size(), 56u);
    const auto rows = sqlRows(letters(40, 'a') + " " + rest + "\r\n", kW);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (SqlRow{0, letters(40, 'a') + "  _"}));
    EXPECT_EQ(rows[1], (SqlRow{5, letters(29, 'b') + "  _"}));
    EXPECT_EQ(rows[2], (SqlRow{5, letters(26, 'c')}));

    // A rest one shorter than W is the last row.
    const auto shorter = sqlRows(letters(40, 'a') + " " + letters(55, 'b') + "\r\n", kW);
    ASSERT_EQ(shorter.size(), 2u);
    EXPECT_EQ(shorter[1], (SqlRow{5, letters(55, 'b')}));
}

TEST(SqlWalk, PieceWithoutBlankCutAtTheWidthAndTheWholeLinePrinted) {
    const std::string line = letters(56, 'a') + letters(56, 'b') + letters(10, 'c');
    const auto rows = sqlRows(line + "\r\nNEXT\r\n", kW);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (SqlRow{0, letters(56, 'a') + " _"}));
    EXPECT_EQ(rows[1], (SqlRow{5, letters(56, 'b') + " _"}));
    EXPECT_EQ(rows[2], (SqlRow{5, letters(10, 'c')}));
    EXPECT_EQ(rows[3], (SqlRow{0, "NEXT"}));
}

TEST(SqlWalk, TextAfterTheLastLineEndPrintedOnce) {
    EXPECT_EQ(sqlRows("SELECT A\r\nFROM T", kW), (std::vector<SqlRow>{{0, "SELECT A"}, {0, "FROM T"}}));
    EXPECT_EQ(sqlRows("SELECT A\r\nF", kW), (std::vector<SqlRow>{{0, "SELECT A"}, {0, "F"}}));
    EXPECT_EQ(sqlRows("SELECT * FROM T;", kW), (std::vector<SqlRow>{{0, "SELECT * FROM T;"}}));
    // A lone LF is not a line end of the SQL text.
    EXPECT_EQ(sqlRows("A\nB\r\n", kW), (std::vector<SqlRow>{{0, "A\nB"}}));
}

TEST(SqlWalk, PieceLengthIsTheWidthRoundedHalfToEven) {
    // W = 5.5 rounds to 6, W = 4.5 to 4; the blank after the 5th letter is
    // inside a piece of 6 but not of 4.
    const std::string line = "abcde fghij\r\n";
    EXPECT_EQ(sqlRows(line, 5.5)[0].text, "abcde  _");
    EXPECT_EQ(sqlRows(line, 4.5)[0].text, "abcd _");
    // A real width: 53.26 columns (A4 less the default tab) gives pieces of 53.
    const auto rows = sqlRows(letters(60) + "\r\n", 53.26);
    EXPECT_EQ(rows[0].text, letters(53) + " _");
}

TEST(SqlWalk, NarrowOrNegativeWidthStillEnds) {
    const auto tiny = sqlRows("ab cd\r\n", 0.2);
    ASSERT_FALSE(tiny.empty());
    std::string all;
    for (const auto& row : tiny) all += row.text.substr(0, row.text.find(" _")) + "|";
    EXPECT_EQ(tiny.back().indent, 5);
    EXPECT_NE(all.find('a'), std::string::npos);
    EXPECT_NE(all.find('d'), std::string::npos);
    EXPECT_LE(sqlRows(letters(20) + "\r\n", -3).size(), 21u);
}

}  // namespace
