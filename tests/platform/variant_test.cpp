#include "vb/variant.h"

#include <gtest/gtest.h>

#include "support/error_number.h"
#include "vb/vb_error.h"

// The number of the error an action raises; 0 for none.
constexpr auto vbError = [](auto&& action) { return testsupport::errorNumber<vb::RuntimeError>(action); };

TEST(Variant, KindFollowsTheCppTypeWithVbVarTypeNumbers) {
    EXPECT_EQ(vb::Variant().VarType(), 0);
    EXPECT_EQ(vb::Variant::Null().VarType(), 1);
    EXPECT_EQ(vb::Variant(int16_t{7}).VarType(), 2);
    EXPECT_EQ(vb::Variant(int32_t{7}).VarType(), 3);
    EXPECT_EQ(vb::Variant(7.0f).VarType(), 4);
    EXPECT_EQ(vb::Variant(7.0).VarType(), 5);
    EXPECT_EQ(vb::Variant::Currency(70000).VarType(), 6);
    EXPECT_EQ(vb::Variant::Date(36526.5).VarType(), 7);
    EXPECT_EQ(vb::Variant("abc").VarType(), 8);  // not Boolean through the pointer
    EXPECT_EQ(vb::Variant(std::string("abc")).VarType(), 8);
    EXPECT_EQ(vb::Variant::Error(448).VarType(), 10);
    EXPECT_EQ(vb::Variant(true).VarType(), 11);
    EXPECT_EQ(vb::Variant(uint8_t{200}).VarType(), 17);
    EXPECT_EQ(vb::Variant::ByteArray({1, 2}).VarType(), 8192 + 17);
    EXPECT_EQ(vb::Variant::ByteArray({}).TypeName(), "Byte()");
}

TEST(Variant, WholeNumberConversionsRoundHalfToEvenAndOverflowAsError6) {
    EXPECT_EQ(vb::Variant(2.5).toInteger(), 2);
    EXPECT_EQ(vb::Variant(3.5).toInteger(), 4);
    EXPECT_EQ(vb::Variant(-2.5).toLong(), -2);
    EXPECT_EQ(vb::Variant(int32_t{32767}).toInteger(), 32767);
    EXPECT_EQ(vb::Variant(int32_t{-32768}).toInteger(), -32768);
    EXPECT_EQ(vbError([] { (void)vb::Variant(int32_t{32768}).toInteger(); }), vb::vbErrOverflow);
    EXPECT_EQ(vbError([] { (void)vb::Variant(32767.5).toInteger(); }), vb::vbErrOverflow);
    EXPECT_EQ(vbError([] { (void)vb::Variant(int16_t{-1}).toByte(); }), vb::vbErrOverflow);
    EXPECT_EQ(vbError([] { (void)vb::Variant(3e9).toLong(); }), vb::vbErrOverflow);
    EXPECT_EQ(vbError([] { (void)vb::Variant(1e300).toSingle(); }), vb::vbErrOverflow);
}

TEST(Variant, TextConvertsOnlyWhenItIsANumberOrTrueFalse) {
    EXPECT_EQ(vb::Variant(" 42 ").toLong(), 42);
    EXPECT_EQ(vb::Variant("+1.5e2").toDouble(), 150.0);
    EXPECT_EQ(vb::Variant("true").toInteger(), -1);
    EXPECT_TRUE(vb::Variant("12").isNumeric());
    EXPECT_FALSE(vb::Variant("12abc").isNumeric());
    EXPECT_FALSE(vb::Variant("").isNumeric());
    EXPECT_EQ(vbError([] { (void)vb::Variant("12abc").toLong(); }), vb::vbErrTypeMismatch);
    EXPECT_EQ(vbError([] { (void)vb::Variant("").toLong(); }), vb::vbErrTypeMismatch);
    EXPECT_EQ(vbError([] { (void)vb::Variant("nan").toDouble(); }), vb::vbErrTypeMismatch);
    EXPECT_EQ(vbError([] { (void)vb::Variant("1e999").toDouble(); }), vb::vbErrOverflow);
}

TEST(Variant, NullRefusesConversionButEmptyIsZeroAndEmptyText) {
    EXPECT_EQ(vbError([] { (void)vb::Variant::Null().toString(); }), vb::vbErrInvalidUseOfNull);
    EXPECT_EQ(vbError([] { (void)vb::Variant::Null().toLong(); }), vb::vbErrInvalidUseOfNull);
    EXPECT_EQ(vb::Variant().toLong(), 0);
    EXPECT_EQ(vb::Variant().toString(), "");
    EXPECT_FALSE(vb::Variant().toBool());
}

TEST(Variant, TextFormsFollowCStr) {
    EXPECT_EQ(vb::Variant(true).toString(), "True");
    EXPECT_EQ(vb::Variant(false).toString(), "False");
    EXPECT_EQ(vb::Variant(0.1).toString(), "0.1");
    EXPECT_EQ(vb::Variant(0.1f).toString(), "0.1");  // seven digits hide the float's error
    EXPECT_EQ(vb::Variant(-12.0).toString(), "-12");
    EXPECT_EQ(vb::Variant::Currency(-12345).toString(), "-1.2345");
    EXPECT_EQ(vb::Variant::Currency(10000).toString(), "1");
    EXPECT_EQ(vb::Variant::Currency(15000).toString(), "1.5");
    EXPECT_EQ(vb::Variant::Date(36526.5).toString(), "2000-01-01 12:00:00");
    EXPECT_EQ(vb::Variant::Date(2).toString(), "1900-01-01");
}

TEST(Variant, EqualityNeedsTheSameKind) {
    EXPECT_EQ(vb::Variant(int16_t{1}), vb::Variant(int16_t{1}));
    EXPECT_NE(vb::Variant(int16_t{1}), vb::Variant(int32_t{1}));
    EXPECT_NE(vb::Variant(), vb::Variant::Null());
    EXPECT_EQ(vb::Variant::ByteArray({1, 2}).toBytes(), (std::vector<uint8_t>{1, 2}));
}
