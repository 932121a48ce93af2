// The password options over the Access-written protected files: every
// command reads each file with its password; none given and no terminal to
// ask on is status 2, a wrong one the engine's 3031; the empty copy is a
// plain file.
#include <gtest/gtest.h>

#include <unistd.h>

#include "command.h"
#include "jet/dao.h"
#include "support/corpus.h"
#include "support/files.h"
#include "support/strux_command.h"
#include "support/temp_folder.h"

namespace {

using testsupport::strux;

TEST(StruxPasswords, EveryCommandReadsEachProtectedFile) {
    STRUX_REQUIRE_ENCRYPTED_CORPUS();
    if (::isatty(STDIN_FILENO)) GTEST_SKIP() << "standard input is a terminal: the commands would ask";
    testsupport::TempFolder folder;
    for (const auto& file : testsupport::encryptedCorpus()) {
        SCOPED_TRACE(file.name);
        const std::string path = (testsupport::encryptedCorpusDir() / file.name).string();
        const std::string password = std::string("--password=") + file.password;
        const std::string copy = folder.file(std::string("copy of ") + file.name + ".mdb");
        const std::vector<std::vector<std::string>> commands{
            {"dump", path},
            {"report", path, "--text"},
            {"vb", path, "-o", folder.file("module.bas")},
            {"copy", path, "-o", copy, "--force"},
            {"verify", path},
            {"diff", path, path},
            {"schema", path, "--dialect", "sqlite"},
            {"report", path, "--markdown", folder.file("structure.md")},
        };
        testsupport::writeFile(folder.file("password.txt"), std::string(file.password) + "\nsecond line\n");
        for (auto args : commands) {
            SCOPED_TRACE(args[0]);
            if (*file.password) {
                const auto missing = strux(args);
                EXPECT_EQ(missing.status, cli::kExitUsage);
                EXPECT_NE(missing.err.find("error 3031: Not a valid password."), std::string::npos) << missing.err;
                auto wrong = args;
                wrong.push_back("--password=Wrong");
                // For verify and diff 1 is a finding: a file they cannot read is 2.
                EXPECT_EQ(strux(wrong).status, args[0] == "verify" || args[0] == "diff" ? 2 : cli::kExitEngineError);
            }
            auto given = args;
            given.insert(given.begin() + 1, {"--password-file", folder.file("password.txt")});
            const auto run = strux(given);
            EXPECT_EQ(run.status, 0) << run.err;
            if (args[0] == "dump") EXPECT_NE(run.out.find(file.table), std::string::npos);
        }
        // The empty copy opens without a password and holds the table, no rows.
        auto db = jet::DBEngine().OpenDatabase(copy, false, true);
        EXPECT_EQ(db->OpenRecordset(file.table, jet::dbOpenTable)->RecordCount(), 0);
        EXPECT_EQ(strux({"dump", path, password}).status, 0);
    }
    EXPECT_EQ(strux({"dump", "x.mdb", "--password"}).status, cli::kExitUsage);
    EXPECT_EQ(strux({"dump", "x.mdb", "--password-file", folder.file("none.txt")}).status, cli::kExitUsage);
}

}  // namespace
