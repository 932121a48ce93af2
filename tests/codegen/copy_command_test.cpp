// strux copy, run in-process.
#include <gtest/gtest.h>

#include "codegen/temp_folder.h"
#include "command.h"
#include "support/strux_command.h"
#include "jet/dao.h"
#include "support/corpus.h"

namespace {

using testsupport::strux;

// Northwind of Access 97 in a folder of its own.
struct Northwind {
    testcodegen::TempFolder folder;
    std::string db = folder / "nwind.mdb";
    std::string copy = folder / "Empty Copy of nwind.mdb";
    Northwind() { std::filesystem::copy_file(testsupport::corpusFile("real/nwind-jet3.mdb"), db); }
};

}  // namespace

TEST(CopyCommand, BadCommandLinesExitWithTwo) {
    EXPECT_EQ(strux({"copy"}).status, cli::kExitUsage);
    EXPECT_EQ(strux({"copy", "x.mdb", "-o"}).status, cli::kExitUsage);
    EXPECT_EQ(strux({"copy", "x.mdb", "y.mdb"}).status, cli::kExitUsage);
    EXPECT_EQ(strux({"copy", "--bogus", "x.mdb"}).status, cli::kExitUsage);
    const auto help = strux({"copy", "--help"});
    EXPECT_EQ(help.status, cli::kExitOk);
    EXPECT_NE(help.out.find("--force"), std::string::npos);
}

TEST(CopyCommand, AMissingDatabaseGivesTheEngineError) {
    const auto result = strux({"copy", "/nonexistent/folder/missing.mdb"});
    EXPECT_EQ(result.status, cli::kExitEngineError);
    EXPECT_NE(result.err.find("error 3024"), std::string::npos) << result.err;
}

TEST(CopyCommand, WritesTheCopyBesideTheDatabaseAndKeepsAnExistingOne) {
    STRUX_REQUIRE_CORPUS();
    Northwind nwind;
    auto result = strux({"copy", nwind.db});
    ASSERT_EQ(result.status, cli::kExitOk) << result.err;
    EXPECT_EQ(result.out, nwind.copy + "\n");
    EXPECT_EQ(jet::DBEngine().OpenDatabase(nwind.copy, false, true)->TableDefs().find("Order Details") != nullptr,
              true);

    // Again: the existing copy stays unless --force is given.
    testcodegen::writeFile(nwind.copy, "mine");
    result = strux({"copy", nwind.db});
    EXPECT_EQ(result.status, cli::kExitIoError);
    EXPECT_NE(result.err.find("--force"), std::string::npos) << result.err;
    EXPECT_EQ(testcodegen::readFile(nwind.copy), "mine");

    result = strux({"copy", nwind.db, "--force"});
    ASSERT_EQ(result.status, cli::kExitOk) << result.err;
    EXPECT_NE(testcodegen::readFile(nwind.copy), "mine");
    EXPECT_EQ(nwind.folder.names(), (std::vector<std::string>{"Empty Copy of nwind.mdb", "nwind.mdb"}));
}

TEST(CopyCommand, NeverWritesOverTheSource) {
    STRUX_REQUIRE_CORPUS();
    Northwind nwind;
    const std::string before = testcodegen::readFile(nwind.db);
    const auto result = strux({"copy", nwind.db, "-o", nwind.folder / "./nwind.mdb", "--force"});
    EXPECT_EQ(result.status, cli::kExitEngineError);
    EXPECT_NE(result.err.find("being copied"), std::string::npos) << result.err;
    EXPECT_EQ(testcodegen::readFile(nwind.db), before);
}

TEST(CopyCommand, AFailedCopyIsRemovedButAnOlderFileIsNot) {
    STRUX_REQUIRE_CORPUS();
    Northwind nwind;
    // A folder the copy cannot be created in: nothing appears.
    auto result = strux({"copy", nwind.db, "-o", nwind.folder / "missing/Copy.mdb"});
    EXPECT_EQ(result.status, cli::kExitEngineError);
    EXPECT_NE(result.err.find("error 3044"), std::string::npos) << result.err;
    EXPECT_EQ(nwind.folder.names(), std::vector<std::string>{"nwind.mdb"});
}
