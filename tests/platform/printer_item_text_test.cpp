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

TEST(PrintItemText, NumbersKeepTheirDigitsAndDatesShowWhatTheyHold) {
    EXPECT_EQ(numberText(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808 ");
    EXPECT_EQ(numberText(std::int64_t{0}), " 0 ");
    // Doubles show fifteen significant digits, singles seven.
    EXPECT_EQ(numberText(1.0 / 3.0), " 0.333333333333333 ");
    EXPECT_EQ(numberText(-2.5e-7), "-2.5E-07 ");
    EXPECT_EQ(numberText(-0.0), " 0 ");  // no negative zero on paper
    EXPECT_EQ(numberText(0.1f), " 0.1 ");
    EXPECT_EQ(numberText(12345678.0f), " 1.234568E+07 ");
    const std::pair<double, const char*> dates[] = {
        {36526, "01/01/00"},           {0.75, "18:00:00"},
        {0, "00:00:00"},               {36526.5, "01/01/00 12:00:00"},
        {-1.25, "12/29/99 06:00:00"},  // before 30 December 1899 the time still counts forward
        {36526.9999999, "01/02/00"},   // rounding into midnight moves to the next day
        {-1.9999999, "00:00:00"}};
    for (const auto& [serial, text] : dates)
        EXPECT_EQ(printer::dateText(DateItem{serial}, std::locale::classic()), text) << serial;
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
