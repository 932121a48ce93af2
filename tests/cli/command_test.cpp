#include "command.h"

#include <gtest/gtest.h>

#include "jet/dao.h"
#include "support/files.h"
#include "support/planned_structure.h"
#include "support/strux_command.h"
#include "support/temp_folder.h"

using testsupport::strux;

namespace {

// A new database at `path` holding one table of one Long field.
void makeOneTableDatabase(const std::string& path, int version, const char* table, const char* field) {
    auto db = jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral, version);
    testsupport::appendTable(*db, {table, {{field, jet::dbLong}}});
}

}  // namespace

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

// A name carrying a terminal escape (a crafted file: the engine writes no
// such name) is printed escaped, as the JSON output prints it.
TEST(StruxCommandLine, DumpPrintsControlCharactersInNamesEscaped) {
    testsupport::TempFolder folder;
    const std::string path = folder / "escape.mdb";
    makeOneTableDatabase(path, jet::dbVersion30, "Qq1Name", "Qq2Field");
    std::string bytes = testsupport::readFile(path);
    for (const char* name : {"Qq1Name", "Qq2Field"}) {
        const auto at = bytes.find(name);
        ASSERT_NE(at, std::string::npos) << name;
        bytes[at + 1] = '\x1b';
        bytes[at + 2] = static_cast<char>(0x9b);  // "›" in code page 1252: no control character
    }
    testsupport::writeFile(path, bytes);
    const auto text = strux({"dump", path});
    ASSERT_EQ(text.status, cli::kExitOk) << text.err;
    EXPECT_EQ(text.out.find('\x1b'), std::string::npos);
    EXPECT_NE(text.out.find("Q\\x1B\xE2\x80\xBA"), std::string::npos) << text.out;
    const auto json = strux({"dump", "--json", path});
    EXPECT_NE(json.out.find("Q\\u001b"), std::string::npos) << json.out;
}

// A journal beside the database is never applied by a command that only
// reads it, and every one of them says that it waits (the copy too: it is
// made from the database as it was before the write the journal undoes).
TEST(StruxCommandLine, ReadingCommandsSayAJournalWaitsAndLeaveIt) {
    testsupport::TempFolder folder;
    const std::string path = folder / "waiting.mdb";
    makeOneTableDatabase(path, jet::dbVersion40, "Kept", "ID");
    const std::string before = testsupport::readFile(path);
    const std::string journal = path + ".stxj";
    testsupport::writeFile(journal, "not a journal");
    const std::vector<std::vector<std::string>> commands{
        {"dump", path}, {"vb", path, "-o", folder / "waiting.bas"}, {"report", "--text", path},
        {"verify", path}, {"copy", path, "-o", folder / "copy.mdb"}};
    for (const auto& args : commands) {
        SCOPED_TRACE(args[0]);
        const auto run = strux(args);
        EXPECT_EQ(run.status, cli::kExitOk) << run.err;
        EXPECT_NE((run.err + run.out).find("waiting.mdb.stxj"), std::string::npos) << run.err;
        EXPECT_EQ(testsupport::readFile(journal), "not a journal");
        EXPECT_EQ(testsupport::readFile(path), before);
    }
}

// A table definition that cannot be read is listed saying so, in both forms.
TEST(StruxCommandLine, DumpMarksADamagedTable) {
    testsupport::TempFolder folder;
    const std::string path = folder / "torn.mdb";
    makeOneTableDatabase(path, jet::dbVersion40, "Torn", "ID");
    std::string bytes = testsupport::readFile(path);
    // The newest table definition page is the table's own.
    std::size_t last = 0;
    for (std::size_t at = 4096; at < bytes.size(); at += 4096)
        if (bytes[at] == 0x02) last = at;
    ASSERT_NE(last, 0u);
    bytes[last] = 0x01;
    testsupport::writeFile(path, bytes);
    const std::string page = "page " + std::to_string(last / 4096);
    const auto text = strux({"dump", path});
    ASSERT_EQ(text.status, cli::kExitOk) << text.err;
    EXPECT_NE(text.out.find("  Torn  [attributes 0, 0 records]\n    damaged: " + page), std::string::npos) << text.out;
    const auto json = strux({"dump", "--json", path});
    EXPECT_NE(json.out.find("\"damage\": \"" + page), std::string::npos) << json.out;
}
