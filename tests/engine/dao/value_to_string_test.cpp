#include "jet/value.h"

#include <gtest/gtest.h>

using jet::valueToString;

TEST(ValueToString, ScalarsAsDaoShowsThem) {
    EXPECT_EQ(valueToString(jet::Null{}), "");
    EXPECT_EQ(valueToString(true), "True");
    EXPECT_EQ(valueToString(false), "False");
    EXPECT_EQ(valueToString(std::uint8_t{255}), "255");
    EXPECT_EQ(valueToString(std::int16_t{-32768}), "-32768");
    EXPECT_EQ(valueToString(std::int32_t{-2147483647 - 1}), "-2147483648");
    EXPECT_EQ(valueToString(std::int64_t{9007199254740993}), "9007199254740993");
    EXPECT_EQ(valueToString(3.5), "3.5");
    EXPECT_EQ(valueToString(0.1), "0.1");   // 15 digits hide the binary residue
    EXPECT_EQ(valueToString(0.1f), "0.1");  // 7 digits for Single
    EXPECT_EQ(valueToString(std::string("caf\xC3\xA9")), "caf\xC3\xA9");
}

TEST(ValueToString, CurrencyKeepsFourDecimalsWithoutTrailingZeros) {
    EXPECT_EQ(valueToString(jet::Currency{123450}), "12.345");
    EXPECT_EQ(valueToString(jet::Currency{-5}), "-0.0005");
    EXPECT_EQ(valueToString(jet::Currency{180000}), "18");
    EXPECT_EQ(valueToString(jet::Currency{INT64_MIN}), "-922337203685477.5808");
}

TEST(ValueToString, DatesCountFromDecember1899) {
    EXPECT_EQ(valueToString(jet::DateTime{0}), "1899-12-30T00:00:00");
    EXPECT_EQ(valueToString(jet::DateTime{35000.5}), "1995-10-28T12:00:00");
    // Negative dates: the whole part is the day, the fraction still the time.
    EXPECT_EQ(valueToString(jet::DateTime{-1.25}), "1899-12-29T06:00:00");
    // Rounding to the second may carry into the next day.
    EXPECT_EQ(valueToString(jet::DateTime{1.0 - 1e-9}), "1899-12-31T00:00:00");
    EXPECT_EQ(valueToString(jet::DateTime{std::numeric_limits<double>::quiet_NaN()}), "#invalid date#");
}

TEST(ValueToString, GuidDecimalAndBytes) {
    jet::Guid g;
    for (int i = 0; i < 16; ++i) g.bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    EXPECT_EQ(valueToString(g), "{03020100-0504-0706-0809-0A0B0C0D0E0F}");

    jet::Decimal d;
    d.magnitude = {12345, 0, 0};
    d.scale = 2;
    EXPECT_EQ(valueToString(d), "123.45");
    d.negative = true;
    d.scale = 7;
    EXPECT_EQ(valueToString(d), "-0.0012345");
    d.magnitude = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
    d.scale = 0;
    EXPECT_EQ(valueToString(d), "-79228162514264337593543950335");
    d.magnitude = {0, 0, 0};
    EXPECT_EQ(valueToString(d), "0");  // no negative zero

    EXPECT_EQ(valueToString(jet::Bytes{0x00, 0xAB, 0x7F}), "00AB7F");
}
