// strux vb and strux copy, run in-process: their command lines, the files
// they write beside the database, and how a failure is reported.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <csignal>

#include "codegen/temp_folder.h"
#include "command.h"
#include "jet/dao.h"
#include "jet/verify.h"
#include "support/corpus.h"
#include "support/file_size_limit.h"
#include "support/strux_command.h"

namespace {

using testsupport::strux;
using Names = std::vector<std::string>;

// Northwind of Access 97 in a folder of its own.
struct Northwind {
    testcodegen::TempFolder folder;
    std::string db = folder / "nwind.mdb";
    std::string copy = folder / "Empty Copy of nwind.mdb";
    Northwind() { std::filesystem::copy_file(testsupport::corpusFile("real/nwind-jet3.mdb"), db); }
};

}  // namespace

TEST(CodeCommands, BadCommandLinesExitWithTwoAndAMissingDatabaseWithTheEngineError) {
    for (const Names& args : {Names{"vb"}, Names{"vb", "x.mdb", "--style", "fancy"}, Names{"vb", "x.mdb", "--style"},
                              Names{"vb", "x.mdb", "-o"}, Names{"vb", "x.mdb", "y.mdb"}, Names{"vb", "--bogus", "x.mdb"},
                              Names{"copy"}, Names{"copy", "x.mdb", "-o"}, Names{"copy", "x.mdb", "y.mdb"},
                              Names{"copy", "--bogus", "x.mdb"}})
        EXPECT_EQ(strux(args).status, cli::kExitUsage) << args.back();
    EXPECT_NE(strux({"copy", "--help"}).out.find("--force"), std::string::npos);
    for (const char* command : {"vb", "copy"}) {
        const auto result = strux({command, "/nonexistent/folder/missing.mdb"});
        EXPECT_EQ(result.status, cli::kExitEngineError);
        EXPECT_NE(result.err.find("error 3024"), std::string::npos) << result.err;
    }
}

TEST(CodeCommands, VbWritesEachStyleBesideTheDatabase) {
    STRUX_REQUIRE_CORPUS();
    Northwind nwind;
    const auto& folder = nwind.folder;
    auto result = strux({"vb", nwind.db});
    ASSERT_EQ(result.status, cli::kExitOk) << result.err;
    EXPECT_EQ(result.out, folder / "nwind.bas" + "\n");
    EXPECT_EQ(testcodegen::crlfLines(folder / "nwind.bas").front(), "Dim DB as Database");

    result = strux({"vb", nwind.db, "--style=project-noform"});
    ASSERT_EQ(result.status, cli::kExitOk) << result.err;
    EXPECT_EQ(testcodegen::crlfLines(folder / "nwind.bas").front(), "'VBStructure from STRUX32.");
    EXPECT_EQ(folder.names(), (Names{"nwind.bas", "nwind.mdb"}));

    std::filesystem::create_directory(folder.path() / "out");
    const std::string out = folder / "out/Schema.bas";
    result = strux({"vb", "--style", "project", nwind.db, "-o", out});
    ASSERT_EQ(result.status, cli::kExitOk) << result.err;
    EXPECT_EQ(result.out, folder / "out/CreateVBForm.frm" + "\n" + out + "\n");
    EXPECT_EQ(testcodegen::crlfLines(out)[1], "'Visual Basic 5.x version - Project style");

    // An output that cannot be written exits with 2 and leaves what is there.
    std::filesystem::create_directory(folder.path() / "taken.bas");
    result = strux({"vb", nwind.db, "-o", folder / "taken.bas"});
    EXPECT_EQ(result.status, cli::kExitIoError);
    EXPECT_NE(result.err.find("error 75"), std::string::npos) << result.err;
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "taken.bas"));
}

TEST(CodeCommands, CopyKeepsAnExistingCopyUnlessForcedAndNeverTheSource) {
    STRUX_REQUIRE_CORPUS();
    Northwind nwind;
    const std::string source = testcodegen::readFile(nwind.db);
    auto result = strux({"copy", nwind.db});
    ASSERT_EQ(result.status, cli::kExitOk) << result.err;
    EXPECT_EQ(result.out, nwind.copy + "\n");
    EXPECT_NE(jet::DBEngine().OpenDatabase(nwind.copy, false, true)->TableDefs().find("Order Details"), nullptr);

    testcodegen::writeFile(nwind.copy, "mine");
    result = strux({"copy", nwind.db});
    EXPECT_EQ(result.status, cli::kExitIoError);
    EXPECT_NE(result.err.find("--force"), std::string::npos) << result.err;
    EXPECT_EQ(testcodegen::readFile(nwind.copy), "mine");
    result = strux({"copy", nwind.db, "--force"});
    ASSERT_EQ(result.status, cli::kExitOk) << result.err;
    EXPECT_NE(testcodegen::readFile(nwind.copy), "mine");

    result = strux({"copy", nwind.db, "-o", nwind.folder / "./nwind.mdb", "--force"});
    EXPECT_EQ(result.status, cli::kExitIoError);
    EXPECT_NE(result.err.find("being copied"), std::string::npos) << result.err;
    EXPECT_EQ(testcodegen::readFile(nwind.db), source);

    // A disk that fills up part way through the copy: the half-made copy goes.
    {
        testsupport::FileSizeLimit full(150000);
        result = strux({"copy", nwind.db, "-o", nwind.folder / "Full.mdb"});
    }
    EXPECT_EQ(result.status, cli::kExitIoError) << result.err;
    EXPECT_NE(result.err.find("error 3026"), std::string::npos) << result.err;

    // A folder the copy cannot be created in: nothing appears.
    result = strux({"copy", nwind.db, "-o", nwind.folder / "missing/Copy.mdb"});
    EXPECT_EQ(result.status, cli::kExitIoError);
    EXPECT_NE(result.err.find("error 3044"), std::string::npos) << result.err;
    EXPECT_EQ(nwind.folder.names(), (Names{"Empty Copy of nwind.mdb", "nwind.mdb"}));
}

// Every write of an output failing in turn (the file size limit cuts the
// writes at a growing offset, as a full disk does): each run either fails
// with status 2 and leaves the earlier file as it was, or succeeds with the
// whole new file; never a part, and never a temporary file left behind.
TEST(CodeCommands, AnOutputIsWholeOrAbsentWhereverItsWritesFail) {
    STRUX_REQUIRE_CORPUS();
    Northwind nwind;
    const std::string module = nwind.folder / "nwind.bas";
    const struct {
        Names args;
        std::string output;
    } outputs[] = {
        {{"copy", nwind.db, "--force"}, nwind.copy},
        {{"vb", nwind.db, "--style", "project-noform"}, module},
    };
    std::vector<std::string> wholes;
    for (const auto& output : outputs) {
        ASSERT_EQ(strux(output.args).status, cli::kExitOk);
        wholes.push_back(testcodegen::readFile(output.output));
    }
    for (const auto& output : outputs) {
        const std::string whole = wholes[static_cast<std::size_t>(&output - outputs)];
        for (const rlim_t limit : {rlim_t{0}, rlim_t{1}, rlim_t{4096}, rlim_t{20000}, rlim_t{100000}, rlim_t{1} << 30}) {
            testcodegen::writeFile(output.output, "the earlier file");
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                ::signal(SIGXFSZ, SIG_IGN);
                const rlimit size{limit, limit};
                ::setrlimit(RLIMIT_FSIZE, &size);
                ::_exit(strux(output.args).status);
            }
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFEXITED(status)) << output.args[0] << " at " << limit;
            const std::string now = testcodegen::readFile(output.output);
            if (WEXITSTATUS(status) == cli::kExitOk) {
                EXPECT_EQ(now.size(), whole.size()) << output.args[0] << " at " << limit;
            } else {
                EXPECT_EQ(WEXITSTATUS(status), cli::kExitIoError) << output.args[0] << " at " << limit;
                EXPECT_EQ(now, "the earlier file") << output.args[0] << " at " << limit;
            }
            EXPECT_EQ(nwind.folder.names(), (Names{"Empty Copy of nwind.mdb", "nwind.bas", "nwind.mdb"}))
                << output.args[0] << " at " << limit;
        }
    }
    const auto findings = jet::verifyDatabase(nwind.copy);
    EXPECT_EQ(std::count_if(findings.begin(), findings.end(), [](const auto& f) { return f.isFault(); }), 0);
}
