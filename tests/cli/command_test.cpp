#include "command.h"
#include "support/strux_command.h"

#include <gtest/gtest.h>

using testsupport::strux;

TEST(StruxCommandLine, HelpListsEveryCommand) {
    auto result = strux({"--help"});
    EXPECT_EQ(result.status, 0);
    for (const auto& command : cli::allCommands()) {
        EXPECT_NE(result.out.find(command->name()), std::string::npos) << command->name();
        auto help = strux({command->name(), "--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_NE(help.out.find("usage: strux " + command->name()), std::string::npos);
    }
}

TEST(StruxCommandLine, UsageErrorsExitWithTwo) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"frobnicate"}, {"dump"}, {"dump", "--bogus", "x.mdb"}})
        EXPECT_EQ(strux(args).status, cli::kExitUsage);
}

TEST(StruxCommandLine, EngineErrorsGiveTheDaoNumberOnStderr) {
    auto result = strux({"dump", "/nonexistent/folder/missing.mdb"});
    EXPECT_EQ(result.status, cli::kExitEngineError);
    EXPECT_TRUE(result.out.empty());
    EXPECT_NE(result.err.find("error 3024"), std::string::npos) << result.err;
}
