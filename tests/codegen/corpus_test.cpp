// The generator over real Access databases: Northwind of Access 97 as a
// whole file, and every corpus file through the VB line checker and run
// over the engine.
#include <gtest/gtest.h>

#include "codegen/generate_structure.h"
#include "codegen/module_lines.h"
#include "codegen/module_run.h"
#include "codegen/temp_folder.h"
#include "codegen/vb_checker.h"
#include "jet/dao.h"
#include "support/corpus.h"

namespace {

using Lines = std::vector<std::string>;

struct OpenedDatabase {
    std::shared_ptr<jet::Database> db;
    codegen::SourceDatabase source;
    explicit OpenedDatabase(const std::filesystem::path& path)
        : db(jet::DBEngine().OpenDatabase(path.string(), false, true)),
          source{db->TableDefs(), db->QueryDefs(), db->Relations()} {}
};

std::size_t countPrefix(const Lines& lines, const std::string& prefix) {
    return std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
}

}  // namespace

// The whole module for Northwind, line by line, against a reviewed copy
// kept in golden/. Path and date are fixed so that the copy does not depend
// on where the corpus lies or when the test runs.
TEST(CorpusModule, NorthwindOfAccess97) {
    STRUX_REQUIRE_CORPUS();
    OpenedDatabase nwind(testsupport::corpusFile("real/nwind-jet3.mdb"));
    const auto lines = codegen::moduleLines(codegen::CodeStyle::StandAlone, codegen::listingEntries(nwind.source),
                                            nwind.source, "C:\\Data\\Nwind.mdb", "1/2/2003 4:05:06 PM");
    testcodegen::expectGoldenLines(lines, "nwind-jet3-standalone.bas");
    const auto problems = vbcheck::moduleProblems(lines);
    EXPECT_TRUE(problems.empty()) << problems.size() << " problems, first: " << problems.front();
}

// Every module, in both styles, is valid VB, runs to its end and recreates
// its source but for what its comments name.
TEST(CorpusModule, EveryCorpusFileGivesAModuleThatRecreatesIt) {
    STRUX_REQUIRE_CORPUS();
    const auto files = testsupport::corpusDatabases();
    ASSERT_FALSE(files.empty());
    for (const auto& path : files) {
        SCOPED_TRACE(path.string());
        OpenedDatabase opened(path);
        const auto entries = codegen::listingEntries(opened.source);
        std::size_t queries = std::count_if(entries.begin(), entries.end(), [](const std::string& entry) {
            return codegen::entryKind(entry) == codegen::EntryKind::Query;
        });
        // The module makes what DAO 3.5 makes; the engine stands in for it
        // in the format the copy would take, so that names keep their
        // characters.
        const int options = codegen::copyFormatOption(opened.db->Version(), opened.db->CodePage());
        for (auto style : {codegen::CodeStyle::StandAlone, codegen::CodeStyle::Project}) {
            SCOPED_TRACE(style == codegen::CodeStyle::StandAlone ? "stand-alone" : "project");
            const auto lines = codegen::moduleLines(style, entries, opened.source, path.string(), "1/2/2003");
            const auto problems = vbcheck::moduleProblems(lines);
            EXPECT_TRUE(problems.empty()) << problems.size() << " problems, first: " << problems.front();
            EXPECT_EQ(countPrefix(lines, "Set qdfNew = DB.CreateQueryDef("), queries);
            testcodegen::TempFolder folder;
            testcodegen::expectModuleRecreates(lines, entries, opened.source, folder.file("Made.mdb"), options);
        }
    }
}
