#include "subs_fixture.h"

#include <pwd.h>
#include <unistd.h>

using subs_test::SubsTest;

TEST_F(SubsTest, GetUserGivesUserAndComputerInBraces) {
    const std::string text = subs->cvGetUser();
    ASSERT_GE(text.size(), 4u);
    const auto middle = text.find("}{");
    ASSERT_NE(middle, std::string::npos) << text;
    EXPECT_EQ(text.front(), '{');
    EXPECT_EQ(text.back(), '}');
    const std::string user = text.substr(1, middle - 1);
    const std::string computer = text.substr(middle + 2, text.size() - middle - 3);

    char host[256] = {};
    ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
    EXPECT_EQ(computer, std::string(host).substr(0, computer.size()));
    EXPECT_FALSE(computer.empty());
    if (const passwd* entry = getpwuid(geteuid())) {
        EXPECT_EQ(user, entry->pw_name);
    }
    for (char c : text) {
        EXPECT_GE(static_cast<unsigned char>(c), 32);
        EXPECT_LE(static_cast<unsigned char>(c), 127);
    }
}
