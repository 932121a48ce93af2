// The empty copy of every corpus database: read back by our engine it has
// the source's tables, fields, indexes and relations and no rows, in the
// format its source calls for; mdbtools reads the same tables and columns.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>

#include "codegen/empty_copy.h"
#include "codegen/generate_structure.h"
#include "codegen/structure_text.h"
#include "codegen/temp_folder.h"
#include "jet/dao.h"
#include "support/command_output.h"
#include "support/corpus.h"

namespace {

using Lines = std::vector<std::string>;
namespace fs = std::filesystem;

struct Opened {
    std::shared_ptr<jet::Database> db;
    codegen::SourceDatabase source;
    explicit Opened(const fs::path& path)
        : db(jet::DBEngine().OpenDatabase(path.string(), false, true)),
          source{db->TableDefs(), db->QueryDefs(), db->Relations(), db.get()} {}
};

struct CorpusCopy {
    fs::path source;
    std::string copy;
    Lines entries;
    std::string version;
    codegen::GeneratedFiles files;
};

// Copies `source` into `folder`; an engine error is returned as text.
std::string makeCopy(const fs::path& source, const testcodegen::TempFolder& folder, CorpusCopy& out) {
    out.source = source;
    Opened db(source);
    out.entries = codegen::listingEntries(db.source);
    out.version = db.db->Version();
    codegen::CodeRequest request;
    request.sDbPath = source.string();
    request.entries = out.entries;
    request.sourceVersion = out.version;
    request.sourceCodePage = db.db->CodePage();
    request.copyOut = folder / ("Empty Copy of " + source.filename().string());
    codegen::QuietHost host;
    std::string mode = "COPY";
    try {
        out.files = codegen::GenerateStructure(mode, request, db.source, host);
    } catch (const jet::Error& e) {
        return "error " + std::to_string(e.number()) + ": " + e.what() + " (" + e.context() + ")";
    }
    out.copy = out.files.copyPath;
    return {};
}

// mdb-schema's CREATE TABLE statements, as "table: column type" lines.
std::set<std::string> mdbSchemaColumns(const std::string& path) {
    const auto text = testsupport::commandOutput("mdb-schema " + testsupport::shellQuoted(path));
    std::set<std::string> columns;
    if (!text) return columns;
    const std::regex table(R"(^CREATE TABLE \[([^\]]*)\])");
    const std::regex column(R"(^\s*\[([^\]]*)\]\s+(.*?),?$)");
    std::string current;
    std::size_t start = 0;
    while (start < text->size()) {
        std::size_t end = text->find('\n', start);
        if (end == std::string::npos) end = text->size();
        const std::string line = text->substr(start, end - start);
        start = end + 1;
        std::smatch match;
        if (std::regex_search(line, match, table)) {
            current = match[1];
        } else if (!current.empty() && std::regex_match(line, match, column)) {
            columns.insert(current + ": " + match[1].str() + " " + match[2].str());
        } else if (line.rfind(");", 0) == 0) {
            current.clear();
        }
    }
    return columns;
}

// mdb-schema's index and primary-key statements, sorted.
Lines mdbSchemaIndexes(const std::string& path) {
    const auto text = testsupport::commandOutput("mdb-schema --indexes " + testsupport::shellQuoted(path) +
                                                 " postgres 2>/dev/null");
    Lines statements;
    if (!text) return statements;
    const std::regex statement(R"(^(CREATE (UNIQUE )?INDEX|ALTER TABLE .* PRIMARY KEY).*)");
    std::istringstream lines(*text);
    for (std::string line; std::getline(lines, line);)
        if (std::regex_match(line, statement)) statements.push_back(line);
    std::sort(statements.begin(), statements.end());
    return statements;
}

// Each saved query's MSysQueries rows (all columns but its ObjectId and the
// Order Jet leaves Null), sorted, by query name.
std::map<std::string, Lines> storedQueryRows(jet::Database& db) {
    std::map<std::int64_t, std::string> queryNames;
    for (auto rs = db.OpenRecordset("MSysObjects", jet::dbOpenTable); !rs->Eof(); rs->MoveNext())
        if (jet::valueToString((*rs)["Type"]) == "5")
            queryNames[std::stoll(jet::valueToString((*rs)["Id"]))] = jet::valueToString((*rs)["Name"]);
    std::map<std::string, Lines> rows;
    auto rs = db.OpenRecordset("MSysQueries", jet::dbOpenTable);
    for (; !rs->Eof(); rs->MoveNext()) {
        std::string row;
        for (const char* column : {"Attribute", "Name1", "Name2", "Expression", "Flag"})
            row += jet::valueToString((*rs)[column]) + "|";
        rows[queryNames[std::stoll(jet::valueToString((*rs)["ObjectId"]))]].push_back(row);
    }
    for (auto& [name, lines] : rows) std::sort(lines.begin(), lines.end());
    return rows;
}

}  // namespace

TEST(CopyCorpus, EveryDatabaseRoundTrips) {
    STRUX_REQUIRE_CORPUS();
    int copied = 0, leftOut = 0;
    for (const auto& path : testsupport::corpusDatabases()) {
        SCOPED_TRACE(path.string());
        std::unique_ptr<Opened> probe;
        try {
            probe = std::make_unique<Opened>(path);
        } catch (const jet::Error&) {
            continue;  // a file our engine does not open is not copied either
        }
        probe.reset();
        testcodegen::TempFolder folder;
        CorpusCopy copy;
        const std::string error = makeCopy(path, folder, copy);
        ASSERT_EQ(error, "");
        ++copied;
        const codegen::CopyOutcome& outcome = copy.files.copy;
        leftOut += static_cast<int>(outcome.leftOut.size());

        Opened source(path), back(copy.copy);
        EXPECT_EQ(back.db->Version(), copy.version == "3.0" ? "3.0" : "4.0");
        EXPECT_EQ(testcodegen::structureText(copy.entries, back.source, outcome),
                  testcodegen::structureText(copy.entries, source.source, outcome));
        for (const auto& entry : copy.entries) {
            if (codegen::entryKind(entry) != codegen::EntryKind::Table) continue;
            if (back.db->TableDefs().find(codegen::entryName(entry)) == nullptr) {
                EXPECT_GT(outcome.count("table"), 0) << entry << " is missing without a word";
                continue;
            }
            EXPECT_TRUE(back.db->OpenRecordset(codegen::entryName(entry), jet::dbOpenTable)->Eof()) << entry;
        }
        // Each copied query is stored as Access stored it, not only with
        // the same SQL: a crosstab keeps its column-heading alias.
        const auto sourceRows = storedQueryRows(*source.db);
        for (const auto& [name, rows] : storedQueryRows(*back.db)) {
            EXPECT_EQ(back.db->QueryDefs()[name].SQL(), source.db->QueryDefs()[name].SQL()) << name;
            EXPECT_EQ(rows, sourceRows.at(name)) << name;
        }
        int listedQueries = 0;
        for (const auto& entry : copy.entries) listedQueries += codegen::entryKind(entry) == codegen::EntryKind::Query;
        EXPECT_EQ(back.db->QueryDefs().Count() + outcome.count("query"), listedQueries);
        // Only pass-through queries stay behind: every other kind is copied.
        for (const auto& item : outcome.leftOut)
            if (item.kind == "query") EXPECT_NE(item.reason.find("pass-through"), std::string::npos) << item.name;
        if (path.filename() == "nwind-jet3.mdb") EXPECT_EQ(back.db->QueryDefs().Count(), 22);
        // Relations are left out only when a table or field of theirs is.
        for (const auto& item : outcome.leftOut)
            if (item.kind == "relation") EXPECT_NE(item.reason.find("not in the copy"), std::string::npos) << item.name;
    }
    EXPECT_GT(copied, 80);
    std::cout << "[          ] " << copied << " copied, " << leftOut << " objects left out\n";
}

// mdb-schema reads the copy's tables and columns as the source's; on files
// whose indexes it reads rightly, the indexes too: descending columns are
// stored as Access stores them, so that a reader that knows only Access's
// order byte reads them as descending.
TEST(CopyCorpus, MdbSchemaReadsTheSameStructure) {
    STRUX_REQUIRE_CORPUS();
    if (!testsupport::haveTool("mdb-schema")) GTEST_SKIP() << "mdb-schema is not installed";
    const struct {
        const char* name;
        bool indexes;
    } files[] = {{"real/nwind-jet3.mdb", true},          {"real/northwind-small-jet4.mdb", false},
                 {"V2000/testV2000.mdb", false},         {"V1997/indexTestV1997.mdb", false},
                 {"V2007/testV2007.accdb", false},       {"V1997/compIndexTestV1997.mdb", true},
                 {"V1997/testIndexCodesV1997.mdb", true}, {"V2000/compIndexTestV2000.mdb", true},
                 {"V2003/compIndexTestV2003.mdb", true}};
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        const fs::path path = testsupport::corpusFile(file.name);
        if (!fs::exists(path)) continue;
        testcodegen::TempFolder folder;
        CorpusCopy copy;
        ASSERT_EQ(makeCopy(path, folder, copy), "");
        // An .accdb source becomes a Jet 4 file, whose column types mdbtools
        // names the same way; the column lists must agree.
        const auto sourceColumns = mdbSchemaColumns(path.string());
        ASSERT_FALSE(sourceColumns.empty());
        std::set<std::string> listedColumns;
        for (const auto& column : sourceColumns) {
            const std::string table = column.substr(0, column.find(": "));
            if (std::find(copy.entries.begin(), copy.entries.end(), "Tbl: " + table) != copy.entries.end())
                listedColumns.insert(column);
        }
        EXPECT_EQ(mdbSchemaColumns(copy.copy), listedColumns);
        if (!file.indexes) continue;
        const Lines sourceIndexes = mdbSchemaIndexes(path.string());
        ASSERT_FALSE(sourceIndexes.empty());
        EXPECT_EQ(mdbSchemaIndexes(copy.copy), sourceIndexes);
    }
}
