#include "vb/date_text.h"

#include <gtest/gtest.h>

TEST(DateText, SerialDatesCountFromThe30thOfDecember1899) {
    EXPECT_EQ(vb::DateSerial(1899, 12, 30), 0.0);
    EXPECT_EQ(vb::DateSerial(1900, 1, 1), 2.0);
    EXPECT_EQ(vb::DateSerial(2000, 1, 1), 36526.0);
    EXPECT_EQ(vb::DateSerial(2000, 2, 29), 36585.0);
    EXPECT_EQ(vb::DateSerial(1800, 1, 1), -36522.0);
    EXPECT_FALSE(vb::DateSerial(1900, 2, 29));
    EXPECT_FALSE(vb::DateSerial(2023, 13, 1));
    EXPECT_FALSE(vb::DateSerial(99, 1, 1));
    EXPECT_FALSE(vb::DateSerial(10000, 1, 1));
}

TEST(DateText, DayMonthOrderWithVbsSwappedReading) {
    EXPECT_EQ(vb::dateFromText("25/12/1999", true), vb::DateSerial(1999, 12, 25));
    EXPECT_EQ(vb::dateFromText("12/25/1999", true), vb::DateSerial(1999, 12, 25));  // swapped
    EXPECT_EQ(vb::dateFromText("01/02/2003", true), vb::DateSerial(2003, 2, 1));
    EXPECT_EQ(vb::dateFromText("01/02/2003", false), vb::DateSerial(2003, 1, 2));
    EXPECT_FALSE(vb::dateFromText("13/13/2003", true));
}

TEST(DateText, TwoDigitYearsAndSeparators) {
    EXPECT_EQ(vb::dateFromText("1-1-29", true), vb::DateSerial(2029, 1, 1));
    EXPECT_EQ(vb::dateFromText("1.1.30", true), vb::DateSerial(1930, 1, 1));
    EXPECT_FALSE(vb::dateFromText("1/1-30", true));
    EXPECT_FALSE(vb::dateFromText("1 1 30", true));
    EXPECT_FALSE(vb::dateFromText("1/1/", true));
    EXPECT_FALSE(vb::dateFromText("/1/1", true));
    EXPECT_FALSE(vb::dateFromText("1/1/1/1", true));
    EXPECT_FALSE(vb::dateFromText("001/1/2000", true));
    EXPECT_FALSE(vb::dateFromText("1/1/20000", true));
    EXPECT_FALSE(vb::dateFromText("", true));
}
