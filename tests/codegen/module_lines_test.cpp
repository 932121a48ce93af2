#include "codegen/module_lines.h"

#include <gtest/gtest.h>

#include "codegen/memory_database.h"
#include "codegen/vb_checker.h"

namespace {

using testcodegen::MemoryDatabase;
using Lines = std::vector<std::string>;

const std::string kCreated = "1/2/2003 4:05:06 PM";

void expectSameLines(const Lines& actual, const Lines& expected) {
    for (std::size_t i = 0; i < std::min(actual.size(), expected.size()); ++i)
        ASSERT_EQ(actual[i], expected[i]) << "line " << i + 1;
    ASSERT_EQ(actual.size(), expected.size());
}

Lines concat(std::initializer_list<Lines> parts) {
    Lines all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The body the order database gives in either style.
const Lines kOrdersBody = {
    "Public Sub CreateBaseTables()",
    "Set tdfNew = DB.CreateTableDef(\"Customers\")",
    "With tdfNew",
    "    .Fields.Append .CreateField(\"Name\", 10, 50)",
    "    .Fields(\"Name\").Required = False",
    "    .Fields(\"Name\").AllowZeroLength = True",
    "    .Fields(\"Name\").Attributes = 2",
    "    .Fields.Append .CreateField(\"ID\", 4)",
    "    .Fields(\"ID\").Required = True",
    "    .Fields(\"ID\").AllowZeroLength = False",
    "    .Fields(\"ID\").Attributes = 17",
    "    DB.TableDefs.Append tdfNew",
    "End With",
    "'",
    "Set tdfNew = DB.CreateTableDef(\"Orders\")",
    "With tdfNew",
    "    .Fields.Append .CreateField(\"OrderID\", 4)",
    "    .Fields(\"OrderID\").Required = True",
    "    .Fields(\"OrderID\").AllowZeroLength = False",
    "    .Fields(\"OrderID\").Attributes = 17",
    "    .Fields.Append .CreateField(\"CustomerID\", 4)",
    "    .Fields(\"CustomerID\").Required = False",
    "    .Fields(\"CustomerID\").AllowZeroLength = False",
    "    .Fields(\"CustomerID\").Attributes = 0",
    "    DB.TableDefs.Append tdfNew",
    "End With",
    "'",
    "DB.Tabledefs.Refresh",
    "End Sub",
    "",
    "Public Sub CreateBaseIndexes()",
    "Set tdfNew = DB![Customers]",
    "With tdfNew",
    "    Set idxNew = .CreateIndex(\"PrimaryKey\")",
    "    With idxNew",
    "        Set idxNewField = .CreateField (\"ID\")",
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
    "Set tdfNew = DB![Customers]",
    "With tdfNew",
    "    Set idxNew = .CreateIndex(\"ByName\")",
    "    With idxNew",
    "        Set idxNewField = .CreateField (\"Name\")",
    "        With idxNewField",
    "            .Attributes = 1",
    "        End With",
    "        .Fields.Append idxNewField",
    "        Set idxNewField = .CreateField (\"ID\")",
    "        With idxNewField",
    "            .Attributes = 0",
    "        End With",
    "        .Fields.Append idxNewField",
    "        .Primary =  False",
    "        .Unique =  False",
    "        .Required =  False",
    "    End With",
    "    .Indexes.Append idxNew",
    "End With",
    "'",
    "DB.Tabledefs.Refresh",
    "End Sub",
    "",
    "Public Sub CreateQueries()",
    "Set qdfNew = DB.CreateQueryDef(\"Customer Names\", \"SELECT Customers.Name FROM Customers ;\")",
    "'Named query is automatically appended to the queries collection",
    "'",
    "End Sub",
    "",
    "Public Sub CreateRelations()",
    "Set relNew = DB.CreateRelation(\"CustomersOrders\", \"Customers\", \"Orders\")",
    "relNew.Fields.Append relNew.CreateField(\"ID\")",
    "relNew.Fields![ID].ForeignName = \"CustomerID\"",
    "relNew.Attributes = 256",
    "'relNew.Fields![CustomersOrders].PartialReplica = False   'Not sure about this one yet",
    "Db.Relations.Append relNew",
    "'",
    "End Sub",
};

const Lines kProjectHeader = {
    "'VBStructure from STRUX32.",
    "'Visual Basic 5.x version - Project style",
    "'",
    "'You are free to use and modify this code as you wish and to distribute it",
    "'in your applications.",
    "'",
    "'Add this module and the form CreateVBDatabase.frm to a new project",
    "'and remove the Form1.frm that was created. Set the startup form to",
    "'frmCreateVBDatabase and you have a ready made project to create a",
    "'a new database!",
    "'",
    "'Don't forget to add the Microsoft DAO 3.5 Object Library to your project",
    "'  -   Go to Project, References... and click on the check box, then click OK",
    "'",
    "'Code created 1/2/2003 4:05:06 PM",
    "'",
    "'This public database declaration may be removed if it has been declared",
    "'elsewhere in your project. If you make it a module declaration (Dim) then",
    "'you will not be able to add initial data to the database unless you do it in",
    "'this subroutine, otherwise DB will be out of scope.",
    "'",
    "Public DB as Database",
    "Dim tdfNew as TableDef",
    "Dim idxNew as Index",
    "Dim idxNewField as Field",
    "Dim qdfNew as QueryDef",
    "Dim relNew as Relation",
    "'",
    "",
    "Public Sub CreateBase(DbName$)",
    "On Error Goto BadBase",
    "Set DB = CreateDatabase(DbName$, dbLangGeneral)",
    "On Error Goto 0",
    "'Create the tables",
    "Call CreateBaseTables",
    "'Create the Indexes",
    "Call CreateBaseIndexes",
    "'Create any queries",
    "Call CreateQueries",
    "'Create any Relations",
    "Call CreateRelations",
    "Msgbox \"Database created.\", vbInformation",
    "Exit Sub",
    "",
    "BadBase:",
    "If MsgBox (\"Database already exists! Delete existing?\", vbCritical + vbYesNo, \"Create error!\") = vbYes Then",
    "    Kill DbName$",
    "    Resume",
    "End If",
    "End",
    "End Sub",
    "",
};

}  // namespace

// The stand-alone header is compared whole with Northwind's golden module;
// here it must carry the database's path and be followed by the same body.
TEST(ModuleLines, StandAloneModuleOfTheOrderDatabase) {
    MemoryDatabase db;
    testcodegen::buildOrders(db);
    const auto lines = codegen::moduleLines(codegen::CodeStyle::StandAlone, testcodegen::ordersListing(),
                                            db.source(), "C:\\Data\\Orders.mdb", kCreated);
    const Lines header = codegen::standAloneHeader("C:\\Data\\Orders.mdb", kCreated);
    EXPECT_NE(std::find(header.begin(), header.end(), "Set DB = CreateDatabase(\"C:\\Data\\Orders.mdb\", dbLangGeneral)"),
              header.end());
    EXPECT_NE(std::find(header.begin(), header.end(), "'Code created " + kCreated), header.end());
    expectSameLines(lines, concat({header, kOrdersBody}));
    EXPECT_TRUE(vbcheck::moduleProblems(lines).empty());
}

TEST(ModuleLines, ProjectModuleOfTheOrderDatabase) {
    MemoryDatabase db;
    testcodegen::buildOrders(db);
    const auto lines = codegen::moduleLines(codegen::CodeStyle::Project, testcodegen::ordersListing(), db.source(),
                                            "C:\\Data\\Orders.mdb", kCreated);
    expectSameLines(lines, concat({kProjectHeader, kOrdersBody}));
    EXPECT_TRUE(vbcheck::moduleProblems(lines).empty());
}

TEST(ModuleLines, KindsWithoutEntriesKeepTheirEmptyProcedures) {
    MemoryDatabase db;
    testcodegen::buildOrders(db);
    const Lines empty = {
        "Public Sub CreateBaseTables()", "DB.Tabledefs.Refresh", "End Sub", "",
        "Public Sub CreateBaseIndexes()", "DB.Tabledefs.Refresh", "End Sub", "",
        "Public Sub CreateQueries()", "End Sub", "",
        "Public Sub CreateRelations()", "End Sub",
    };
    // Entries of no known kind are passed over, as an empty listing is.
    for (const Lines& listing : {Lines{}, Lines{"Frm: Customers", "tbl: Customers", ""}}) {
        const auto lines = codegen::moduleLines(codegen::CodeStyle::Project, listing, db.source(), "x.mdb", kCreated);
        expectSameLines(lines, concat({kProjectHeader, empty}));
    }
}

TEST(ModuleLines, TheListingDecidesWhatAndInWhichOrder) {
    MemoryDatabase db;
    testcodegen::buildOrders(db);
    const auto lines = codegen::moduleLines(codegen::CodeStyle::StandAlone, {"Rel: CustomersOrders", "Tbl: Orders"},
                                            db.source(), "x.mdb", kCreated);
    Lines creates;
    for (auto line = lines.begin() + 42; line != lines.end(); ++line)
        if (line->rfind("Set ", 0) == 0) creates.push_back(*line);
    EXPECT_EQ(creates, (Lines{"Set tdfNew = DB.CreateTableDef(\"Orders\")",
                              "Set relNew = DB.CreateRelation(\"CustomersOrders\", \"Customers\", \"Orders\")"}));
}

TEST(ModuleLines, AnEntryWithoutItsObjectFails) {
    MemoryDatabase db;
    testcodegen::buildOrders(db);
    try {
        codegen::moduleLines(codegen::CodeStyle::StandAlone, {"Tbl: Missing"}, db.source(), "x.mdb", kCreated);
        FAIL() << "no error";
    } catch (const jet::Error& e) {
        EXPECT_EQ(e.number(), jet::kErrItemNotFound);
    }
}

TEST(ModuleLines, QuotationMarksInNamesAndSqlAreDoubled) {
    MemoryDatabase db;
    db.addTable("Say \"Hi\"", {{"a\"b", jet::dbText, 5}});
    db.addQuery("Q\"1", "SELECT \"x\" AS [Label]\r\nFROM [Say \"Hi\"];\r\n");
    db.addRelation("R\"", "Say \"Hi\"", "T", {{"a\"b", "c\"d"}}, 0, true);
    const auto lines = codegen::moduleLines(codegen::CodeStyle::StandAlone,
                                            {"Tbl: Say \"Hi\"", "Qdf: Q\"1", "Rel: R\""}, db.source(),
                                            "/data/it\"s.mdb", kCreated);
    const Lines expected = {
        "Set DB = CreateDatabase(\"/data/it\"\"s.mdb\", dbLangGeneral)",
        "Set tdfNew = DB.CreateTableDef(\"Say \"\"Hi\"\"\")",
        "    .Fields.Append .CreateField(\"a\"\"b\", 10, 5)",
        "    .Fields(\"a\"\"b\").Required = False",
        "Set qdfNew = DB.CreateQueryDef(\"Q\"\"1\", \"SELECT \"\"x\"\" AS [Label] FROM [Say \"\"Hi\"\"];\")",
        "Set relNew = DB.CreateRelation(\"R\"\"\", \"Say \"\"Hi\"\"\", \"T\")",
        "relNew.Fields.Append relNew.CreateField(\"a\"\"b\")",
        "relNew.Fields![a\"b].ForeignName = \"c\"\"d\"",
        "'relNew.Fields![R\"].PartialReplica = True   'Not sure about this one yet",
    };
    for (const auto& line : expected)
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
    const auto problems = vbcheck::moduleProblems(lines);
    EXPECT_TRUE(problems.empty()) << problems.front();
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
    for (const auto& line : expected)
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
    // "[" inside brackets is VB's to judge; only "]" is ours to avoid.
    for (const auto& line : lines)
        if (line != "Set tdfNew = DB![Plain [x]") {
            const auto problems = vbcheck::lineProblems(line);
            EXPECT_TRUE(problems.empty()) << line << ": " << problems.front();
        }
}

TEST(ModuleLines, NamesOutsideAsciiArriveWhateverTheCodePage) {
    MemoryDatabase db;
    auto& users = db.addTable("Anv\xC3\xA4ndare", {{"F\xC3\xB6rnamn", jet::dbText, 20}});
    db.addIndex(users, "PrimaryKey", {{"F\xC3\xB6rnamn", 0}}, true, true, true);
    db.addQuery("Fr\xC3\xA5ga", "SELECT [F\xC3\xB6rnamn]\r\nFROM [Anv\xC3\xA4ndare];\r\n");
    db.addRelation("R\xC3\xA9l", "Anv\xC3\xA4ndare", "T", {{"F\xC3\xB6rnamn", "X"}}, 0);
    const auto lines = codegen::moduleLines(codegen::CodeStyle::StandAlone,
                                            {"Tbl: Anv\xC3\xA4ndare", "Qdf: Fr\xC3\xA5ga", "Rel: R\xC3\xA9l"},
                                            db.source(), "/data/base.mdb", kCreated);
    const Lines expected = {
        "Set tdfNew = DB.CreateTableDef(\"Anv\" & ChrW$(&HE4) & \"ndare\")",
        "    .Fields.Append .CreateField(\"F\" & ChrW$(&HF6) & \"rnamn\", 10, 20)",
        "    .Fields(\"F\" & ChrW$(&HF6) & \"rnamn\").Required = False",
        "Set tdfNew = DB.TableDefs(\"Anv\" & ChrW$(&HE4) & \"ndare\")",
        "Set qdfNew = DB.CreateQueryDef(\"Fr\" & ChrW$(&HE5) & \"ga\", \"SELECT [F\" & ChrW$(&HF6) & "
        "\"rnamn] FROM [Anv\" & ChrW$(&HE4) & \"ndare];\")",
        "relNew.Fields(\"F\" & ChrW$(&HF6) & \"rnamn\").ForeignName = \"X\"",
        // A comment keeps the name as it is.
        "'relNew.Fields![R\xC3\xA9l].PartialReplica = False   'Not sure about this one yet",
    };
    for (const auto& line : expected)
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
    const auto problems = vbcheck::moduleProblems(lines);
    EXPECT_TRUE(problems.empty()) << problems.front();
}

TEST(ModuleLines, LongQueriesAreBuiltInAVariable) {
    MemoryDatabase db;
    std::string columns;
    for (int i = 0; i < 120; ++i) columns += (i ? ", " : "") + std::string("T.\"Column") + std::to_string(i) + "\"";
    const std::string longSql = "SELECT " + columns + "\r\nFROM T;\r\n";
    db.addQuery("Long One", longSql);
    db.addQuery("Short", "SELECT 1;");
    db.addQuery("Long Two", longSql);
    const auto lines = codegen::moduleLines(codegen::CodeStyle::StandAlone,
                                            {"Qdf: Long One", "Qdf: Short", "Qdf: Long Two"}, db.source(), "x.mdb",
                                            kCreated);
    const auto begin = std::find(lines.begin(), lines.end(), "Public Sub CreateQueries()");
    ASSERT_NE(begin, lines.end());
    const Lines queries(begin, std::find(begin, lines.end(), "End Sub"));

    EXPECT_EQ(std::count(queries.begin(), queries.end(), "Dim sSQL As String"), 1);
    EXPECT_EQ(queries[1], "Dim sSQL As String");
    EXPECT_EQ(std::count(queries.begin(), queries.end(), "Set qdfNew = DB.CreateQueryDef(\"Long One\", sSQL)"), 1);
    EXPECT_EQ(std::count(queries.begin(), queries.end(), "Set qdfNew = DB.CreateQueryDef(\"Short\", \"SELECT 1;\")"),
              1);
    EXPECT_EQ(std::count(queries.begin(), queries.end(), "Set qdfNew = DB.CreateQueryDef(\"Long Two\", sSQL)"), 1);

    // The pieces of the first query, read back as VB would, give its SQL.
    std::string rebuilt;
    for (std::size_t i = 2; queries[i].rfind("sSQL", 0) == 0; ++i) {
        const std::string& line = queries[i];
        const std::string prefix = i == 2 ? "sSQL = \"" : "sSQL = sSQL & \"";
        ASSERT_EQ(line.rfind(prefix, 0), 0u) << line;
        ASSERT_EQ(line.back(), '"');
        std::string literal = line.substr(prefix.size(), line.size() - prefix.size() - 1);
        for (std::size_t at = literal.find("\"\""); at != std::string::npos; at = literal.find("\"\"", at + 1))
            literal.erase(at, 1);
        rebuilt += literal;
    }
    EXPECT_EQ(rebuilt, "SELECT " + columns + " FROM T;");
    const auto problems = vbcheck::moduleProblems(lines);
    EXPECT_TRUE(problems.empty()) << problems.front();
}
