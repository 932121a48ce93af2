#include "codegen/module_lines.h"

#include <gtest/gtest.h>

#include "codegen/memory_database.h"
#include "codegen/temp_folder.h"
#include "codegen/vb_checker.h"
#include "support/error_number.h"

namespace {

using testcodegen::MemoryDatabase;
using Lines = std::vector<std::string>;

const std::string kCreated = "1/2/2003 4:05:06 PM";

bool has(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Each line must appear in `lines`, and the whole must pass the VB checker.
void expectLines(const Lines& lines, const Lines& expected) {
    for (const auto& line : expected) EXPECT_TRUE(has(lines, line)) << line;
    const auto problems = vbcheck::moduleProblems(lines);
    EXPECT_TRUE(problems.empty()) << problems.front();
}

Lines ordersModule(codegen::CodeStyle style, const Lines& listing = testcodegen::ordersListing()) {
    MemoryDatabase db;
    testcodegen::buildOrders(db);
    return codegen::moduleLines(style, listing, db.source(), "C:\\Data\\Orders.mdb", kCreated);
}

}  // namespace

// The project style whole against a reviewed copy in golden/ (refreshed
// with STRUX_UPDATE_GOLDEN=1, then reviewed): the order database's flags
// that Northwind's golden module lacks (a descending and a required index
// member, a zero-length text field). The stand-alone style has the same
// body after its own header.
TEST(ModuleLines, BothStylesOfTheOrderDatabase) {
    const Lines project = ordersModule(codegen::CodeStyle::Project);
    testcodegen::expectGoldenLines(project, "orders-project.bas");
    expectLines(project, {"'Code created " + kCreated});
    const Lines standAlone = ordersModule(codegen::CodeStyle::StandAlone);
    const Lines header = codegen::standAloneHeader("C:\\Data\\Orders.mdb", kCreated);
    ASSERT_TRUE(std::equal(header.begin(), header.end(), standAlone.begin()));
    expectLines(header, {"Set DB = CreateDatabase(\"C:\\Data\\Orders.mdb\", dbLangGeneral)", "'Code created " + kCreated});
    const Lines projectHeader = codegen::projectHeader(kCreated);
    EXPECT_TRUE(std::equal(project.begin() + projectHeader.size(), project.end(), standAlone.begin() + header.size(),
                           standAlone.end()));
}

TEST(ModuleLines, TheListingDecidesWhatAndInWhichOrder) {
    const auto creates = [](const Lines& lines) {
        Lines found;
        for (const auto& line : lines)
            if (line.rfind("Set tdfNew = DB.Create", 0) == 0 || line.rfind("Set relNew", 0) == 0 ||
                line.rfind("Set qdfNew", 0) == 0)
                found.push_back(line);
        return found;
    };
    EXPECT_EQ(creates(ordersModule(codegen::CodeStyle::StandAlone,
                                   {"Rel: CustomersOrders", "Tbl: Orders", "Tbl: Customers"})),
              (Lines{"Set tdfNew = DB.CreateTableDef(\"Orders\")", "Set tdfNew = DB.CreateTableDef(\"Customers\")",
                     "Set relNew = DB.CreateRelation(\"CustomersOrders\", \"Customers\", \"Orders\")"}));
    // A relation to a table the module does not create could not be appended.
    expectLines(ordersModule(codegen::CodeStyle::StandAlone, {"Rel: CustomersOrders", "Tbl: Orders"}),
                {"'Not created: relation \"CustomersOrders\" (its table 'Customers' is not created)"});
    // Entries of no known kind are passed over, as an empty listing is; the
    // procedures stay, empty, for the calls in the header.
    for (const Lines& listing : {Lines{}, Lines{"Frm: Customers", "tbl: Customers", ""}}) {
        const Lines lines = ordersModule(codegen::CodeStyle::Project, listing);
        EXPECT_TRUE(creates(lines).empty());
        EXPECT_EQ(Lines(lines.end() - 3, lines.end()), (Lines{"", "Public Sub CreateRelations()", "End Sub"}));
        expectLines(lines, {"Public Sub CreateBaseTables()", "Public Sub CreateBaseIndexes()",
                            "Public Sub CreateQueries()"});
    }
    EXPECT_EQ(testsupport::errorNumber<jet::Error>([] { ordersModule(codegen::CodeStyle::StandAlone, {"Tbl: Missing"}); }),
              jet::kErrItemNotFound);
}

// Names and texts VB cannot take as they stand, each module against a
// reviewed copy in golden/: quotation marks doubled, a closing bracket in a
// name reached through the collection instead of DB![...], characters
// outside ASCII as ChrW$ whatever the code page (a comment keeps them).
TEST(ModuleLines, NamesVbCannotTakeAsTheyStand) {
    MemoryDatabase quotes;
    quotes.addTable("Say \"Hi\"", {{"a\"b", jet::dbText, 5}});
    quotes.addQuery("Q\"1", "SELECT \"x\" AS [Label]\r\nFROM [Say \"Hi\"];\r\n");
    quotes.addTable("T", {{"c\"d", jet::dbText, 5}});
    quotes.addRelation("R\"", "Say \"Hi\"", "T", {{"a\"b", "c\"d"}}, 0, true);

    MemoryDatabase brackets;
    auto& odd = brackets.addTable("Odd]Name", {{"Key]", jet::dbLong, 4}});
    brackets.addIndex(odd, "PrimaryKey", {{"Key]", 0}}, true, true, true);
    auto& plain = brackets.addTable("Plain [x", {{"ID", jet::dbLong, 4}});
    brackets.addIndex(plain, "PrimaryKey", {{"ID", 0}}, true, true, true);
    brackets.addRelation("OddPlain", "Odd]Name", "Plain [x", {{"Key]", "ID"}}, 0);

    MemoryDatabase swedish;
    auto& users = swedish.addTable("Anv\xC3\xA4ndare", {{"F\xC3\xB6rnamn", jet::dbText, 20}});
    swedish.addIndex(users, "PrimaryKey", {{"F\xC3\xB6rnamn", 0}}, true, true, true);
    swedish.addQuery("Fr\xC3\xA5ga", "SELECT [F\xC3\xB6rnamn]\r\nFROM [Anv\xC3\xA4ndare];\r\n");
    swedish.addTable("T", {{"X", jet::dbText, 20}});
    swedish.addRelation("R\xC3\xA9l", "Anv\xC3\xA4ndare", "T", {{"F\xC3\xB6rnamn", "X"}}, 0);

    const struct {
        const char* golden;
        MemoryDatabase& db;
        Lines entries;
        const char* path;
    } cases[] = {
        {"quotes.bas", quotes, {"Tbl: Say \"Hi\"", "Tbl: T", "Qdf: Q\"1", "Rel: R\""}, "/data/it\"s.mdb"},
        {"brackets.bas", brackets, {"Tbl: Odd]Name", "Tbl: Plain [x", "Rel: OddPlain"}, "x.mdb"},
        {"non-ascii.bas", swedish, {"Tbl: Anv\xC3\xA4ndare", "Tbl: T", "Qdf: Fr\xC3\xA5ga", "Rel: R\xC3\xA9l"},
         "/data/base.mdb"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.golden);
        const auto lines = codegen::moduleLines(codegen::CodeStyle::StandAlone, c.entries, c.db.source(), c.path, kCreated);
        testcodegen::expectGoldenLines(lines, c.golden);
        // "[" inside brackets is VB's to judge; only "]" is ours to avoid.
        for (const auto& line : lines) {
            if (line != "Set tdfNew = DB![Plain [x]") {
                EXPECT_TRUE(vbcheck::lineProblems(line).empty()) << line;
            }
        }
    }
}

TEST(ModuleLines, LongQueriesAreBuiltInAVariable) {
    MemoryDatabase db;
    std::string columns;
    for (int i = 0; i < 120; ++i) columns += (i ? ", " : "") + std::string("T.\"Column") + std::to_string(i) + "\"";
    const std::string longSql = "SELECT " + columns + "\r\nFROM T;\r\n";
    db.addQuery("Long One", longSql);
    // A create line of exactly the longest length VB takes stays one line.
    const std::string edge = "Set qdfNew = DB.CreateQueryDef(\"Short\", \"SELECT " + std::string(972, 'x') + ";\")";
    ASSERT_EQ(edge.size(), 1023u);
    db.addQuery("Short", edge.substr(41, 980));
    db.addQuery("Long Two", longSql);
    const auto lines = codegen::moduleLines(codegen::CodeStyle::StandAlone,
                                            {"Qdf: Long One", "Qdf: Short", "Qdf: Long Two"}, db.source(), "x.mdb",
                                            kCreated);
    const auto begin = std::find(lines.begin(), lines.end(), "Public Sub CreateQueries()");
    ASSERT_NE(begin, lines.end());
    const Lines queries(begin, std::find(begin, lines.end(), "End Sub"));

    EXPECT_EQ(queries[1], "Dim sSQL As String");
    for (const std::string& line : Lines{"Dim sSQL As String", "Set qdfNew = DB.CreateQueryDef(\"Long One\", sSQL)", edge,
                                         "Set qdfNew = DB.CreateQueryDef(\"Long Two\", sSQL)"})
        EXPECT_EQ(std::count(queries.begin(), queries.end(), line), 1) << line;

    // The pieces of the first query, read back as VB would, give its SQL.
    std::u32string rebuilt;
    for (std::size_t i = 2; queries[i].rfind("sSQL", 0) == 0; ++i) {
        const std::string prefix = i == 2 ? "sSQL = " : "sSQL = sSQL & ";
        ASSERT_EQ(queries[i].rfind(prefix, 0), 0u) << queries[i];
        bool ok = false;
        rebuilt += vbcheck::evaluateUnits(queries[i].substr(prefix.size()), ok);
        ASSERT_TRUE(ok) << queries[i];
    }
    EXPECT_EQ(vbcheck::utf8FromUnits(rebuilt), "SELECT " + columns + " FROM T;");
    expectLines(lines, {});
}

// What DAO 3.5 cannot create stands as a comment where it would be created,
// and is listed for the caller in the module's order; a link is linked, and
// a pass-through query gets its connection before its text. The reviewed
// module is golden/left-out.bas.
TEST(ModuleLines, WhatDaoCannotCreateIsACommentAtItsPlace) {
    MemoryDatabase db;
    const Lines entries = testcodegen::buildWhatOutputsCannotHold(db);
    std::vector<listing::LeftOut> notCreated;
    const Lines lines = codegen::moduleLines(codegen::CodeStyle::StandAlone, entries, db.source(),
                                             "C:\\Data\\People.mdb", kCreated, {}, &notCreated);
    testcodegen::expectGoldenLines(lines, "left-out.bas");
    expectLines(lines, {});
    Lines comments, named;
    for (const auto& line : lines)
        if (line.find("'Not created: ") != std::string::npos) comments.push_back(line.substr(line.find('\'')));
    for (const auto& item : notCreated) named.push_back(codegen::notCreatedLine(item));
    EXPECT_EQ(named, comments);
}
