// The generator over real Access databases: Northwind of Access 97 as a
// whole file, and every corpus file through the VB line checker.
#include <gtest/gtest.h>

#include "codegen/generate_structure.h"
#include "codegen/module_lines.h"
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

TEST(CorpusModule, EveryCorpusFileGivesValidLines) {
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
        for (auto style : {codegen::CodeStyle::StandAlone, codegen::CodeStyle::Project}) {
            const auto lines = codegen::moduleLines(style, entries, opened.source, path.string(), "1/2/2003");
            const auto problems = vbcheck::moduleProblems(lines);
            EXPECT_TRUE(problems.empty()) << problems.size() << " problems, first: " << problems.front();
            EXPECT_EQ(countPrefix(lines, "Set qdfNew = DB.CreateQueryDef("), queries);
        }
    }
}
