#include "subs_fixture.h"

using subs_test::SubsTest;

TEST_F(SubsTest, TextFixModes) {
    struct Case {
        int16_t mode;
        const char* text;
        const char* from;
        const char* to;
        const char* expected;
    };
    const Case cases[] = {
        // 1 and 2: case only, no trimming.
        {1, " mixed Case 12 ", "", "", " MIXED CASE 12 "},
        {1, "straße über", "", "", "STRASSE ÜBER"},
        {2, " MiXed ÄÖÜ ", "", "", " mixed äöü "},
        // 4: trimmed, blank runs collapsed; blanks are spaces, tabs stay.
        {4, "a  b    c d     e ", "", "", "a b c d e"},
        {4, "     ", "", "", ""},
        {4, "\ta \t  b\t", "", "", "\ta \t b\t"},
        // 3: proper case of mode 4.
        {3, "  hELLO   wORLD  ", "", "", "Hello World"},
        {3, "o'NEIL-SMITH mcDONALD", "", "", "O'neil-smith Mcdonald"},
        {3, "élan 12abc x", "", "", "Élan 12abc X"},
        // 5: trimmed, then each match replaced once, left to right, case mattering.
        {5, " a,b,c ", ",", ",,", "a,,b,,c"},
        {5, "aaaa", "aa", "a", "aa"},
        {5, "A,a", "a", "", "A,"},
        {5, "  a b  ", "", "x", "a b"},
        {5, " ,a, ", ",", " ", " a "},  // a blank put at an end stays
        // Any other mode: empty text.
        {0, "text", "", "", ""},
        {6, "text", "", "", ""},
        {-32768, "text", "", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(subs->cvTextFix(c.mode, c.text, c.from, c.to), c.expected) << c.mode << " '" << c.text << "'";
    EXPECT_EQ(subs->cvTextFix(5, "  a b  "), "a b");
}

TEST_F(SubsTest, CheckDate) {
    // Only 6, 7, 8 and 10 characters can pass; 6 and 7 without further checks.
    for (const char* good : {"abcdef", "1/1/99x", "25/12/99", "25/12/1999", "29/02/2000", "01/12/9 "})
        EXPECT_TRUE(subs->cvCheckDate(good)) << good;
    for (const char* bad : {"", "1/1/9", "25/12/199", "25/12/19999", "29/02/1900", "31/04/1999", "32/13/99",
                            "ab/cd/ef", "2/5/1999", "25/1/1999", "00/00/00", "25-12-99"})
        EXPECT_FALSE(subs->cvCheckDate(bad)) << bad;
    EXPECT_TRUE(subs->cvCheckDate("25-12-99", "-"));
    EXPECT_TRUE(subs->cvCheckDate("25.12.1999", "."));
    EXPECT_FALSE(subs->cvCheckDate("25/12/99", "-"));
    EXPECT_FALSE(subs->cvCheckDate("25/12-99", "/"));
    EXPECT_FALSE(subs->cvCheckDate("25x12x99", "x"));   // separators match, but no date has them
    EXPECT_FALSE(subs->cvCheckDate("25//12//", "//"));  // a two-character separator never matches one character
}
