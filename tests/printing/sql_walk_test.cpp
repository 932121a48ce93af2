// The SQL walk: rows and indents for the usable width W. The report tests
// check the common cases on the page; these check the edges.
#include <gtest/gtest.h>

#include "printing/sql_walk.h"

namespace {

using printing::SqlRow;
using printing::sqlRows;

constexpr double kW = 56;  // the text printer's width with the default tabs

std::string letters(std::size_t n, char c = 'x') { return std::string(n, c); }

TEST(SqlWalk, EmptyLinesStayRowsAndEmptyTextHasNone) {
    EXPECT_EQ(sqlRows("A\r\n\r\nB\r\n", kW), (std::vector<SqlRow>{{0, "A"}, {0, ""}, {0, "B"}}));
    EXPECT_TRUE(sqlRows("", kW).empty());
}

TEST(SqlWalk, PieceWithoutBlankCutAtTheWidthAndTheWholeLinePrinted) {
    EXPECT_EQ(sqlRows(letters(57) + "\r\n", kW), (std::vector<SqlRow>{{0, letters(56) + " _"}, {5, "x"}}));
    const auto rows = sqlRows(letters(56, 'a') + letters(56, 'b') + letters(10, 'c') + "\r\nNEXT\r\n", kW);
    EXPECT_EQ(rows, (std::vector<SqlRow>{{0, letters(56, 'a') + " _"},
                                         {5, letters(56, 'b') + " _"},
                                         {5, letters(10, 'c')},
                                         {0, "NEXT"}}));
}

TEST(SqlWalk, TextAfterTheLastLineEndPrintedOnce) {
    EXPECT_EQ(sqlRows("SELECT A\r\nF", kW), (std::vector<SqlRow>{{0, "SELECT A"}, {0, "F"}}));
    EXPECT_EQ(sqlRows("SELECT * FROM T;", kW), (std::vector<SqlRow>{{0, "SELECT * FROM T;"}}));
    const auto wrapped = sqlRows(letters(30, 'a') + " " + letters(30, 'b'), kW);
    EXPECT_EQ(wrapped, (std::vector<SqlRow>{{0, letters(30, 'a') + "  _"}, {5, letters(30, 'b')}}));
    // A lone LF is not a line end of the SQL text.
    EXPECT_EQ(sqlRows("A\nB\r\n", kW), (std::vector<SqlRow>{{0, "A\nB"}}));
}

TEST(SqlWalk, PieceLengthIsTheWidthRoundedHalfToEven) {
    // W = 5.5 rounds to 6, W = 4.5 to 4: the blank after the 5th letter is
    // inside a piece of 6 but not of 4.
    const std::string line = "abcde fghij\r\n";
    EXPECT_EQ(sqlRows(line, 5.5)[0].text, "abcde  _");
    EXPECT_EQ(sqlRows(line, 4.5)[0].text, "abcd _");
    // A4 less the default tab: 53.26 columns give pieces of 53.
    EXPECT_EQ(sqlRows(letters(60) + "\r\n", 53.26)[0].text, letters(53) + " _");
}

TEST(SqlWalk, NarrowOrNegativeWidthStillEnds) {
    EXPECT_EQ(sqlRows("ab cd\r\n", 0.2),
              (std::vector<SqlRow>{{0, "a _"}, {5, "b _"}, {5, "c _"}, {5, "d _"}, {5, ""}}));
    EXPECT_EQ(sqlRows(letters(20) + "\r\n", -3).size(), 21u);
}

}  // namespace
