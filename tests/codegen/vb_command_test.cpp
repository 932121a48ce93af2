// strux vb, run in-process.
#include <gtest/gtest.h>

#include "codegen/temp_folder.h"
#include "command.h"
#include "support/corpus.h"
#include "support/strux_command.h"

using testsupport::strux;

TEST(VbCommand, BadCommandLinesExitWithTwo) {
    EXPECT_EQ(strux({"vb"}).status, cli::kExitUsage);
    EXPECT_EQ(strux({"vb", "x.mdb", "--style", "fancy"}).status, cli::kExitUsage);
    EXPECT_EQ(strux({"vb", "x.mdb", "--style"}).status, cli::kExitUsage);
    EXPECT_EQ(strux({"vb", "x.mdb", "-o"}).status, cli::kExitUsage);
    EXPECT_EQ(strux({"vb", "x.mdb", "y.mdb"}).status, cli::kExitUsage);
    EXPECT_EQ(strux({"vb", "--bogus", "x.mdb"}).status, cli::kExitUsage);
}

TEST(VbCommand, AMissingDatabaseGivesTheEngineError) {
    const auto result = strux({"vb", "/nonexistent/folder/missing.mdb"});
    EXPECT_EQ(result.status, cli::kExitEngineError);
    EXPECT_NE(result.err.find("error 3024"), std::string::npos) << result.err;
}

TEST(VbCommand, WritesEachStyleBesideTheDatabase) {
    STRUX_REQUIRE_CORPUS();
    testcodegen::TempFolder folder;
    const std::string db = folder / "nwind.mdb";
    std::filesystem::copy_file(testsupport::corpusFile("real/nwind-jet3.mdb"), db);

    auto result = strux({"vb", db});
    ASSERT_EQ(result.status, cli::kExitOk) << result.err;
    EXPECT_EQ(result.out, folder / "nwind.bas" + "\n");
    EXPECT_EQ(testcodegen::crlfLines(folder / "nwind.bas").front(), "Dim DB as Database");
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"nwind.bas", "nwind.mdb"}));

    result = strux({"vb", db, "--style=project-noform"});
    ASSERT_EQ(result.status, cli::kExitOk) << result.err;
    EXPECT_EQ(testcodegen::crlfLines(folder / "nwind.bas").front(), "'VBStructure from STRUX32.");
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"nwind.bas", "nwind.mdb"}));

    std::filesystem::create_directory(folder.path() / "out");
    const std::string out = folder / "out/Schema.bas";
    result = strux({"vb", "--style", "project", db, "-o", out});
    ASSERT_EQ(result.status, cli::kExitOk) << result.err;
    EXPECT_EQ(result.out, folder / "out/CreateVBForm.frm" + "\n" + out + "\n");
    EXPECT_EQ(testcodegen::crlfLines(folder / "out/CreateVBForm.frm").size(), 147u);
    EXPECT_EQ(testcodegen::crlfLines(out)[1], "'Visual Basic 5.x version - Project style");
}

TEST(VbCommand, AnUnwritableOutputExitsWithThree) {
    STRUX_REQUIRE_CORPUS();
    testcodegen::TempFolder folder;
    std::filesystem::create_directory(folder.path() / "taken.bas");
    const auto result = strux({"vb", testsupport::corpusFile("real/nwind-jet3.mdb").string(), "-o",
                               folder / "taken.bas"});
    EXPECT_EQ(result.status, cli::kExitIoError);
    EXPECT_NE(result.err.find("error 75"), std::string::npos) << result.err;
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "taken.bas"));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"taken.bas"}));
}
