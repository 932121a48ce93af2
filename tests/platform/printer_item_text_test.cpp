// The text of number, Boolean and date items, and the UTF-8 handling of the
// text surface.
#include <gtest/gtest.h>

#include <limits>
#include <locale>

#include "printer/print_item.h"
#include "printer/utf8_text.h"

namespace {

using printer::DateItem;
using printer::numberText;

TEST(PrintItemText, IntegersKeepEveryDigit) {
    EXPECT_EQ(numberText(std::int64_t{0}), " 0 ");
    EXPECT_EQ(numberText(std::int64_t{-32768}), "-32768 ");
    EXPECT_EQ(numberText(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808 ");
}

TEST(PrintItemText, DoublesShowFifteenSignificantDigits) {
    EXPECT_EQ(numberText(123456789012345.0), " 123456789012345 ");
    EXPECT_EQ(numberText(1.0 / 3.0), " 0.333333333333333 ");
    EXPECT_EQ(numberText(-2.5e-7), "-2.5E-07 ");
    EXPECT_EQ(numberText(0.0001), " 0.0001 ");
    EXPECT_EQ(numberText(-0.0), " 0 ");  // no negative zero on paper
}

TEST(PrintItemText, SinglesShowSevenSignificantDigits) {
    EXPECT_EQ(numberText(0.1f), " 0.1 ");  // not 0.100000001490116
    EXPECT_EQ(numberText(12345678.0f), " 1.234568E+07 ");
}

TEST(PrintItemText, DateAloneTimeAloneOrBoth) {
    const std::locale c = std::locale::classic();
    EXPECT_EQ(printer::dateText(DateItem{36526}, c), "01/01/00");
    EXPECT_EQ(printer::dateText(DateItem{0.75}, c), "18:00:00");
    EXPECT_EQ(printer::dateText(DateItem{0}, c), "00:00:00");  // the zero date is midnight
    EXPECT_EQ(printer::dateText(DateItem{36526.5}, c), "01/01/00 12:00:00");
}

TEST(PrintItemText, DatesBeforeTheEpochCountTimeForward) {
    const std::locale c = std::locale::classic();
    // -1.25: one day before 30 December 1899, at 06:00.
    EXPECT_EQ(printer::dateText(DateItem{-1.25}, c), "12/29/99 06:00:00");
}

TEST(PrintItemText, TimeRoundingIntoMidnightMovesToTheNextDay) {
    const std::locale c = std::locale::classic();
    EXPECT_EQ(printer::dateText(DateItem{36526 + 0.9999999}, c), "01/02/00");
    EXPECT_EQ(printer::dateText(DateItem{-1.9999999}, c), "00:00:00");
}

TEST(Utf8Text, RoundTripsAndReplacesMalformedBytes) {
    EXPECT_EQ(printer::decodeUtf8("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"),
              (std::u32string{U'a', U'\u00E9', U'\u20AC', U'\U0001F600'}));
    EXPECT_EQ(printer::encodeUtf8(printer::decodeUtf8("Größe €")), "Größe €");
    // A stray continuation byte, a truncated sequence, an overlong '/', a surrogate.
    EXPECT_EQ(printer::decodeUtf8("\x80" "a\xE2\x82" "b\xC0\xAF\xED\xA0\x80"),
              (std::u32string{0xFFFD, U'a', 0xFFFD, 0xFFFD, U'b', 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD,
                              0xFFFD}));
}

}  // namespace
