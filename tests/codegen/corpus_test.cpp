// The generator over real Access databases: Northwind of Access 97 in
// detail, and every corpus file through the VB line checker.
#include <gtest/gtest.h>

#include "codegen/generate_structure.h"
#include "codegen/module_lines.h"
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

// The lines from the first one equal to `first` up to and with the first
// "'" after it: one object's block.
Lines blockFrom(const Lines& lines, const std::string& first) {
    const auto begin = std::find(lines.begin(), lines.end(), first);
    if (begin == lines.end()) return {};
    return Lines(begin, std::find(begin, lines.end(), "'") + 1);
}

std::size_t countPrefix(const Lines& lines, const std::string& prefix) {
    return std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
}

}  // namespace

TEST(CorpusModule, NorthwindOfAccess97) {
    STRUX_REQUIRE_CORPUS();
    const auto path = testsupport::corpusFile("real/nwind-jet3.mdb");
    OpenedDatabase nwind(path);
    const auto entries = codegen::listingEntries(nwind.source);
    const auto lines = codegen::moduleLines(codegen::CodeStyle::StandAlone, entries, nwind.source, path.string(),
                                            "1/2/2003 4:05:06 PM");

    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 42), codegen::standAloneHeader(path.string(), "1/2/2003 4:05:06 PM"));
    EXPECT_EQ(lines[24], "Set DB = CreateDatabase(\"" + path.string() + "\", dbLangGeneral)");

    EXPECT_EQ(blockFrom(lines, "Set tdfNew = DB.CreateTableDef(\"Categories\")"),
              (Lines{"Set tdfNew = DB.CreateTableDef(\"Categories\")",
                     "With tdfNew",
                     "    .Fields.Append .CreateField(\"CategoryID\", 4)",
                     "    .Fields(\"CategoryID\").Required = False",
                     "    .Fields(\"CategoryID\").AllowZeroLength = False",
                     "    .Fields(\"CategoryID\").Attributes = 17",
                     "    .Fields.Append .CreateField(\"CategoryName\", 10, 15)",
                     "    .Fields(\"CategoryName\").Required = True",
                     "    .Fields(\"CategoryName\").AllowZeroLength = False",
                     "    .Fields(\"CategoryName\").Attributes = 2",
                     "    .Fields.Append .CreateField(\"Description\", 12)",
                     "    .Fields(\"Description\").Required = False",
                     "    .Fields(\"Description\").AllowZeroLength = False",
                     "    .Fields(\"Description\").Attributes = 2",
                     "    .Fields.Append .CreateField(\"Picture\", 11)",
                     "    .Fields(\"Picture\").Required = False",
                     "    .Fields(\"Picture\").AllowZeroLength = False",
                     "    .Fields(\"Picture\").Attributes = 2",
                     "    DB.TableDefs.Append tdfNew",
                     "End With",
                     "'"}));

    const auto primary = std::find(lines.begin(), lines.end(), "    Set idxNew = .CreateIndex(\"PrimaryKey\")");
    ASSERT_NE(primary, lines.end());
    EXPECT_EQ(Lines(primary - 2, primary + 15),
              (Lines{"Set tdfNew = DB![Categories]",
                     "With tdfNew",
                     "    Set idxNew = .CreateIndex(\"PrimaryKey\")",
                     "    With idxNew",
                     "        Set idxNewField = .CreateField (\"CategoryID\")",
                     "        With idxNewField",
                     "            .Attributes = 0",
                     "        End With",
                     "        .Fields.Append idxNewField",
                     "        .Primary =  True",
                     "        .Unique =  True",
                     "        .Required =  True",
                     "    End With",
                     "    .Indexes.Append idxNew",
                     "End With",
                     "'",
                     "Set tdfNew = DB![Customers]"}));

    // Jet 3 names the indexes it keeps for relations ".rC" and the like,
    // which CreateIndex refuses; the relations bring them back.
    EXPECT_EQ(countPrefix(lines, "    Set idxNew = .CreateIndex(\".r"), 0u);
    EXPECT_EQ(countPrefix(lines, "    Set idxNew = .CreateIndex(\"PrimaryKey\")"), 8u);

    // Stored as three lines: SELECT, FROM and WHERE with the semicolon.
    EXPECT_EQ(blockFrom(lines, "Set qdfNew = DB.CreateQueryDef(\"Alphabetical List of Products\", \"SELECT DISTINCTROW "
                               "Products.*, Categories.CategoryName FROM Categories INNER JOIN Products ON "
                               "Categories.CategoryID = Products.CategoryID WHERE "
                               "(((Products.Discontinued)=No));\")")
                  .size(),
              3u);
    EXPECT_EQ(countPrefix(lines, "Set qdfNew = DB.CreateQueryDef(\"Customers and Suppliers by City\", \"SELECT City, "
                                 "CompanyName, ContactName, \"\"Customers\"\" AS [Relationship]  FROM Customers UNION"),
              1u);
    // Invoices is longer than VB takes on one line.
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Dim sSQL As String"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Set qdfNew = DB.CreateQueryDef(\"Invoices\", sSQL)"), 1);

    EXPECT_EQ(blockFrom(lines, "Set relNew = DB.CreateRelation(\"OrdersOrder Details\", \"Orders\", \"Order Details\")"),
              (Lines{"Set relNew = DB.CreateRelation(\"OrdersOrder Details\", \"Orders\", \"Order Details\")",
                     "relNew.Fields.Append relNew.CreateField(\"OrderID\")",
                     "relNew.Fields![OrderID].ForeignName = \"OrderID\"",
                     "relNew.Attributes = 4096",
                     "'relNew.Fields![OrdersOrder Details].PartialReplica = False   'Not sure about this one yet",
                     "Db.Relations.Append relNew",
                     "'"}));

    EXPECT_EQ(countPrefix(lines, "Set tdfNew = DB.CreateTableDef("), 8u);
    EXPECT_EQ(countPrefix(lines, "Set qdfNew = DB.CreateQueryDef("), 16u + 6u);
    EXPECT_EQ(countPrefix(lines, "Set relNew = DB.CreateRelation("), 7u);
    EXPECT_EQ(countPrefix(lines, "Public Sub "), 5u);
    EXPECT_EQ(lines.back(), "End Sub");
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
