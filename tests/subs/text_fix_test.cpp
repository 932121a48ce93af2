#include "subs_fixture.h"

using subs_test::SubsTest;

TEST_F(SubsTest, TextFixCaseModes) {
    EXPECT_EQ(subs->cvTextFix(1, " mixed Case 12 "), " MIXED CASE 12 ");  // no trimming in 1 and 2
    EXPECT_EQ(subs->cvTextFix(2, " MiXed CASE "), " mixed case ");
    EXPECT_EQ(subs->cvTextFix(1, "straße über"), "STRASSE ÜBER");
    EXPECT_EQ(subs->cvTextFix(2, "ÄÖÜ"), "äöü");
}

TEST_F(SubsTest, TextFixMode4CollapsesBlankRuns) {
    EXPECT_EQ(subs->cvTextFix(4, "  a   b  "), "a b");
    EXPECT_EQ(subs->cvTextFix(4, "a  b    c d     e"), "a b c d e");
    EXPECT_EQ(subs->cvTextFix(4, "     "), "");
    EXPECT_EQ(subs->cvTextFix(4, ""), "");
    EXPECT_EQ(subs->cvTextFix(4, "ab"), "ab");
    // Blanks are spaces: tabs stay as they are.
    EXPECT_EQ(subs->cvTextFix(4, "\ta \t  b\t"), "\ta \t b\t");
}

TEST_F(SubsTest, TextFixMode3IsProperCaseOfMode4) {
    EXPECT_EQ(subs->cvTextFix(3, "  hELLO   wORLD  "), "Hello World");
    EXPECT_EQ(subs->cvTextFix(3, "o'NEIL-SMITH mcDONALD"), "O'neil-smith Mcdonald");
    EXPECT_EQ(subs->cvTextFix(3, "élan vital"), "Élan Vital");
    EXPECT_EQ(subs->cvTextFix(3, "12abc x"), "12abc X");
}

TEST_F(SubsTest, TextFixMode5ReplacesOnceLeftToRight) {
    EXPECT_EQ(subs->cvTextFix(5, " a,b,c ", ",", ";"), "a;b;c");
    EXPECT_EQ(subs->cvTextFix(5, " a,b,c ", ",", ",,"), "a,,b,,c");
    EXPECT_EQ(subs->cvTextFix(5, "aaaa", "aa", "a"), "aa");
    EXPECT_EQ(subs->cvTextFix(5, "a,b", ",", ""), "ab");
    EXPECT_EQ(subs->cvTextFix(5, "A,a", "a", "x"), "A,x");  // case matters
    // An empty search text leaves the trimmed text, and ends.
    EXPECT_EQ(subs->cvTextFix(5, "  a b  ", "", "x"), "a b");
    EXPECT_EQ(subs->cvTextFix(5, "  a b  "), "a b");
    // Replacement and trim: trimming comes first, so a blank inserted at an
    // end stays.
    EXPECT_EQ(subs->cvTextFix(5, " ,a, ", ",", " "), " a ");
}

TEST_F(SubsTest, TextFixOtherModesGiveEmptyText) {
    for (int16_t mode : {0, 6, 9, -1, 32767, -32768}) EXPECT_EQ(subs->cvTextFix(mode, "text"), "") << mode;
}

TEST_F(SubsTest, CheckDateByLength) {
    EXPECT_FALSE(subs->cvCheckDate(""));
    EXPECT_FALSE(subs->cvCheckDate("1/1/9"));       // 5
    EXPECT_TRUE(subs->cvCheckDate("abcdef"));       // 6: no further checks
    EXPECT_TRUE(subs->cvCheckDate("1/1/99x"));      // 7
    EXPECT_FALSE(subs->cvCheckDate("25/12/199"));   // 9
    EXPECT_FALSE(subs->cvCheckDate("25/12/19999")); // 11
}

TEST_F(SubsTest, CheckDateEightAndTenCharacters) {
    EXPECT_TRUE(subs->cvCheckDate("25/12/99"));
    EXPECT_TRUE(subs->cvCheckDate("25/12/1999"));
    EXPECT_TRUE(subs->cvCheckDate("29/02/2000"));
    EXPECT_FALSE(subs->cvCheckDate("29/02/1900"));  // not a leap year
    EXPECT_FALSE(subs->cvCheckDate("31/04/1999"));
    EXPECT_FALSE(subs->cvCheckDate("32/13/99"));
    EXPECT_FALSE(subs->cvCheckDate("ab/cd/ef"));
    EXPECT_FALSE(subs->cvCheckDate("2/5/1999"));    // 8 characters, separators elsewhere
    EXPECT_FALSE(subs->cvCheckDate("25/1/1999"));   // 9
    EXPECT_FALSE(subs->cvCheckDate("00/00/00"));
    EXPECT_TRUE(subs->cvCheckDate("01/12/9 "));     // blanks around the date are no part of it
}

TEST_F(SubsTest, CheckDateSeparator) {
    EXPECT_FALSE(subs->cvCheckDate("25-12-99"));
    EXPECT_TRUE(subs->cvCheckDate("25-12-99", "-"));
    EXPECT_FALSE(subs->cvCheckDate("25/12/99", "-"));
    EXPECT_TRUE(subs->cvCheckDate("25.12.1999", "."));
    EXPECT_FALSE(subs->cvCheckDate("25/12-99", "/"));
    EXPECT_FALSE(subs->cvCheckDate("25x12x99", "x"));  // separators match, but no date has them
    EXPECT_FALSE(subs->cvCheckDate("25//12//", "//"));  // a two-character separator never matches one character
}
