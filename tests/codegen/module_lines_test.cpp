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

// The whole stand-alone module is compared with Northwind's golden copy;
// here the order database's flags that Northwind lacks (a descending and a
// required index member, a zero-length text field), and the project style,
// whose body is the same after its own header.
TEST(ModuleLines, BothStylesOfTheOrderDatabase) {
    const Lines standAlone = ordersModule(codegen::CodeStyle::StandAlone);
    const Lines header = codegen::standAloneHeader("C:\\Data\\Orders.mdb", kCreated);
    ASSERT_TRUE(std::equal(header.begin(), header.end(), standAlone.begin()));
    EXPECT_TRUE(has(header, "Set DB = CreateDatabase(\"C:\\Data\\Orders.mdb\", dbLangGeneral)"));
    EXPECT_TRUE(has(header, "'Code created " + kCreated));
    expectLines(standAlone, {"    .Fields.Append .CreateField(\"Name\", 10, 50)",
                             "    .Fields(\"Name\").AllowZeroLength = True",
                             "    .Fields.Append .CreateField(\"ID\", 4)",
                             "    .Fields(\"ID\").Attributes = 17",
                             "        Set idxNewField = .CreateField (\"Name\")",
                             "            .Attributes = 1",
                             "        .Required =  True",
                             "Set qdfNew = DB.CreateQueryDef(\"Customer Names\", \"SELECT Customers.Name FROM Customers ;\")",
                             "relNew.Fields![ID].ForeignName = \"CustomerID\"",
                             "relNew.Attributes = 256"});
    // The index Jet keeps for the relation comes with the relation, not as an index.
    EXPECT_FALSE(has(standAlone, "    Set idxNew = .CreateIndex(\"CustomersOrders\")"));

    // The project style whole, against a reviewed copy in golden/ (refreshed
    // with STRUX_UPDATE_GOLDEN=1, then reviewed); its body is the stand-alone one.
    const Lines project = ordersModule(codegen::CodeStyle::Project);
    testcodegen::expectGoldenLines(project, "orders-project.bas");
    expectLines(project, {"'Code created " + kCreated});
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

TEST(ModuleLines, QuotationMarksInNamesAndSqlAreDoubled) {
    MemoryDatabase db;
    db.addTable("Say \"Hi\"", {{"a\"b", jet::dbText, 5}});
    db.addQuery("Q\"1", "SELECT \"x\" AS [Label]\r\nFROM [Say \"Hi\"];\r\n");
    db.addTable("T", {{"c\"d", jet::dbText, 5}});
    db.addRelation("R\"", "Say \"Hi\"", "T", {{"a\"b", "c\"d"}}, 0, true);
    const auto lines = codegen::moduleLines(codegen::CodeStyle::StandAlone,
                                            {"Tbl: Say \"Hi\"", "Tbl: T", "Qdf: Q\"1", "Rel: R\""}, db.source(),
                                            "/data/it\"s.mdb", kCreated);
    expectLines(lines, {
        "Set DB = CreateDatabase(\"/data/it\"\"s.mdb\", dbLangGeneral)",
        "Set tdfNew = DB.CreateTableDef(\"Say \"\"Hi\"\"\")",
        "    .Fields.Append .CreateField(\"a\"\"b\", 10, 5)",
        "    .Fields(\"a\"\"b\").Required = False",
        "Set qdfNew = DB.CreateQueryDef(\"Q\"\"1\", \"SELECT \"\"x\"\" AS [Label] FROM [Say \"\"Hi\"\"];\")",
        "Set relNew = DB.CreateRelation(\"R\"\"\", \"Say \"\"Hi\"\"\", \"T\")",
        "relNew.Fields.Append relNew.CreateField(\"a\"\"b\")",
        "relNew.Fields![a\"b].ForeignName = \"c\"\"d\"",
        "'relNew.Fields![R\"].PartialReplica = True   'Not sure about this one yet",
    });
}

TEST(ModuleLines, ClosingBracketsInNamesUseTheCollections) {
    MemoryDatabase db;
    auto& odd = db.addTable("Odd]Name", {{"Key]", jet::dbLong, 4}});
    db.addIndex(odd, "PrimaryKey", {{"Key]", 0}}, true, true, true);
    auto& plain = db.addTable("Plain [x", {{"ID", jet::dbLong, 4}});
    db.addIndex(plain, "PrimaryKey", {{"ID", 0}}, true, true, true);
    db.addRelation("OddPlain", "Odd]Name", "Plain [x", {{"Key]", "ID"}}, 0);
    const auto lines = codegen::moduleLines(codegen::CodeStyle::StandAlone,
                                            {"Tbl: Odd]Name", "Tbl: Plain [x", "Rel: OddPlain"}, db.source(),
                                            "x.mdb", kCreated);
    const Lines expected = {
        "Set tdfNew = DB.TableDefs(\"Odd]Name\")",
        "Set tdfNew = DB![Plain [x]",
        "relNew.Fields(\"Key]\").ForeignName = \"ID\"",
    };
    for (const auto& line : expected) EXPECT_TRUE(has(lines, line)) << line;
    // "[" inside brackets is VB's to judge; only "]" is ours to avoid.
    for (const auto& line : lines)
        if (line != expected[1]) EXPECT_TRUE(vbcheck::lineProblems(line).empty()) << line;
}

TEST(ModuleLines, NamesOutsideAsciiArriveWhateverTheCodePage) {
    MemoryDatabase db;
    auto& users = db.addTable("Anv\xC3\xA4ndare", {{"F\xC3\xB6rnamn", jet::dbText, 20}});
    db.addIndex(users, "PrimaryKey", {{"F\xC3\xB6rnamn", 0}}, true, true, true);
    db.addQuery("Fr\xC3\xA5ga", "SELECT [F\xC3\xB6rnamn]\r\nFROM [Anv\xC3\xA4ndare];\r\n");
    db.addTable("T", {{"X", jet::dbText, 20}});
    db.addRelation("R\xC3\xA9l", "Anv\xC3\xA4ndare", "T", {{"F\xC3\xB6rnamn", "X"}}, 0);
    const auto lines = codegen::moduleLines(codegen::CodeStyle::StandAlone,
                                            {"Tbl: Anv\xC3\xA4ndare", "Tbl: T", "Qdf: Fr\xC3\xA5ga", "Rel: R\xC3\xA9l"},
                                            db.source(), "/data/base.mdb", kCreated);
    expectLines(lines, {
        "Set tdfNew = DB.CreateTableDef(\"Anv\" & ChrW$(&HE4) & \"ndare\")",
        "    .Fields.Append .CreateField(\"F\" & ChrW$(&HF6) & \"rnamn\", 10, 20)",
        "    .Fields(\"F\" & ChrW$(&HF6) & \"rnamn\").Required = False",
        "Set tdfNew = DB.TableDefs(\"Anv\" & ChrW$(&HE4) & \"ndare\")",
        "Set qdfNew = DB.CreateQueryDef(\"Fr\" & ChrW$(&HE5) & \"ga\", \"SELECT [F\" & ChrW$(&HF6) & "
        "\"rnamn] FROM [Anv\" & ChrW$(&HE4) & \"ndare];\")",
        "relNew.Fields(\"F\" & ChrW$(&HF6) & \"rnamn\").ForeignName = \"X\"",
        // A comment keeps the name as it is.
        "'relNew.Fields![R\xC3\xA9l].PartialReplica = False   'Not sure about this one yet",
    });
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
