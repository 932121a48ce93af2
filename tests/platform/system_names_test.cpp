#include "vb/system_names.h"

#include <gtest/gtest.h>


TEST(SystemNames, TooSmallABufferIsLeftAloneAndTheNeededSizeReported) {
    char buffer[256] = {};
    uint32_t size = sizeof buffer;
    ASSERT_TRUE(vb::GetUserNameA(buffer, &size));
    ASSERT_GT(size, 1u);
    const uint32_t needed = size;

    char small[1] = {'x'};
    size = 1;
    EXPECT_FALSE(vb::GetUserNameA(small, &size));
    EXPECT_EQ(small[0], 'x');
    EXPECT_EQ(size, needed);
    EXPECT_FALSE(vb::GetUserNameA(nullptr, nullptr));
}
