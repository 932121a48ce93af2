#include "vb/by_ref.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int16_t doubleIt(vb::ByRef<int16_t> value = {}) {
    value.get() = static_cast<int16_t>(value.get() * 2);
    return value.get();
}

}  // namespace

TEST(ByRef, AVariableIsSharedAValueIsCopied) {
    int16_t shared = 21;
    EXPECT_EQ(doubleIt(shared), 42);
    EXPECT_EQ(shared, 42);
    EXPECT_EQ(doubleIt(5), 10);  // a literal: the callee's own copy
    EXPECT_EQ(doubleIt(), 0);    // omitted: 0
    int32_t wider = 7;
    EXPECT_EQ(doubleIt(wider), 14);
    EXPECT_EQ(wider, 7);  // another type is converted into a copy, as VB does

    vb::ByRef<std::string> text = std::string("abc");
    vb::ByRef<std::string> copy = text;
    copy.get() += "d";
    EXPECT_EQ(text.get(), "abc");
    EXPECT_EQ(copy.get(), "abcd");
}
