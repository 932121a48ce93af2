// The empty copy on small databases built in the test: what arrives in the
// new file, in which format, what the window is told, and the question
// about an existing copy.
#include "codegen/empty_copy.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "codegen/generate_structure.h"
#include "codegen/memory_database.h"
#include "codegen/recording_host.h"
#include "codegen/structure_text.h"
#include "codegen/temp_folder.h"
#include "codegen/text_file.h"
#include "jet/dao.h"
#include "support/error_number.h"
#include "support/golden.h"

namespace {

using testcodegen::MemoryDatabase;
using testcodegen::TempFolder;
using Lines = std::vector<std::string>;

// Every kind of field and index the copy carries, with the values that
// differ from the engine's defaults.
void buildEverything(MemoryDatabase& db) {
    auto& items = db.addTable("Items", {{"ItemID", jet::dbLong, 4, true, false, jet::dbAutoIncrField | jet::dbFixedField},
                                        {"Code", jet::dbText, 30, true, false, jet::dbVariableField},
                                        {"Fixed Code", jet::dbText, 8, false, false, jet::dbFixedField},
                                        {"Notes", jet::dbMemo, 0, false, true, jet::dbVariableField},
                                        {"Link", jet::dbMemo, 0, false, true,
                                         jet::dbVariableField | jet::dbHyperlinkField},
                                        {"Price", jet::dbCurrency, 8, false, false, jet::dbFixedField},
                                        {"Ratio", jet::dbDouble, 8, false, false, jet::dbFixedField},
                                        {"Count", jet::dbInteger, 2, false, false, jet::dbFixedField},
                                        {"Flag", jet::dbByte, 1, false, false, jet::dbFixedField},
                                        {"Stamp", jet::dbBinary, 16, false, false, jet::dbVariableField},
                                        {"Done", jet::dbBoolean, 1, false, false, jet::dbFixedField},
                                        {"When", jet::dbDate, 8, false, false, jet::dbFixedField},
                                        {"Picture", jet::dbLongBinary, 0, false, false, jet::dbVariableField}});
    db.addIndex(items, "PrimaryKey", {{"ItemID", 0}}, true, true, true);
    db.addIndex(items, "ByCodeDown", {{"Code", jet::dbDescending}, {"When", 0}}, false, true, false);
    db.addIndex(items, "Required When", {{"When", 0}}, false, false, true);
    db.addTable("Empty Notes", {{"Text", jet::dbText, 255, false, true, jet::dbVariableField}});
}

Lines everythingListing() { return {"Tbl: Items", "Tbl: Empty Notes"}; }

struct CopyRun {
    MemoryDatabase db;
    TempFolder folder;
    codegen::CodeRequest request;
    testcodegen::RecordingHost host;

    CopyRun() {
        request.sDbPath = folder / "Orders.mdb";
        testcodegen::writeFile(request.sDbPath, "the source stays as it is");
    }
    codegen::GeneratedFiles copy() {
        std::string mode = "COPY";
        auto files = codegen::GenerateStructure(mode, request, db.source(), host);
        EXPECT_EQ(mode, "COPY");
        return files;
    }
    std::string copyPath() const { return folder / "Empty Copy of Orders.mdb"; }
};

struct OpenedCopy {
    std::shared_ptr<jet::Database> db;
    codegen::SourceDatabase source;
    explicit OpenedCopy(const std::string& path)
        : db(jet::DBEngine().OpenDatabase(path, false, true)),
          source{db->TableDefs(), db->QueryDefs(), db->Relations()} {}
};

void expectNoRows(jet::Database& db, const Lines& entries) {
    for (const auto& entry : entries) {
        if (codegen::entryKind(entry) != codegen::EntryKind::Table) continue;
        auto rows = db.OpenRecordset(codegen::entryName(entry), jet::dbOpenTable);
        EXPECT_TRUE(rows->Eof()) << entry;
    }
}

}  // namespace

TEST(EmptyCopyPathAndFormat, FollowTheSource) {
    EXPECT_EQ(codegen::emptyCopyPath("C:\\Data\\Orders.mdb"), "C:\\Data\\Empty Copy of Orders.mdb");
    EXPECT_EQ(codegen::emptyCopyPath("Orders.mdb"), "Empty Copy of Orders.mdb");
    // The last separator counts, not a dot or a separator before it.
    EXPECT_EQ(codegen::emptyCopyPath("/a.b/c\\d/My.Orders.mdb"), "/a.b/c\\d/Empty Copy of My.Orders.mdb");
    EXPECT_EQ(codegen::copyFormatOption("3.0"), jet::dbVersion30);
    EXPECT_EQ(codegen::copyFormatOption("12.0"), jet::dbVersion40);
    EXPECT_EQ(codegen::copyFormatOption(""), jet::dbVersion40);
    // A Jet 3 source in another code page may hold names 1252 lacks.
    EXPECT_EQ(codegen::copyFormatOption("3.0", 1251), jet::dbVersion40);
}

TEST(EmptyCopy, CarriesEveryFieldAndIndexInBothFormats) {
    for (const std::string version : {"3.0", "4.0"}) {
        SCOPED_TRACE(version);
        CopyRun run;
        buildEverything(run.db);
        run.request.entries = everythingListing();
        run.request.sourceVersion = version;
        const auto files = run.copy();
        EXPECT_EQ(files.copyPath, run.copyPath());
        EXPECT_EQ(files.modulePath, "");

        OpenedCopy copy(files.copyPath);
        EXPECT_EQ(copy.db->Version(), version);
        EXPECT_EQ(copy.db->CollatingOrder(), jet::dbSortGeneral);
        EXPECT_EQ(testcodegen::structureText(run.request.entries, copy.source),
                  testcodegen::structureText(run.request.entries, run.db.source()));
        // Only the listed tables, beside the system tables.
        int userTables = 0;
        for (const auto& table : copy.db->TableDefs())
            if ((table->Attributes() & jet::dbSystemObject) == 0) ++userTables;
        EXPECT_EQ(userTables, 2);
        expectNoRows(*copy.db, run.request.entries);
        EXPECT_EQ(testcodegen::readFile(run.request.sDbPath), "the source stays as it is");
    }
}

TEST(EmptyCopy, TellsTheWindowWhatItDoes) {
    CopyRun run;
    testcodegen::buildOrders(run.db);
    run.request.entries = testcodegen::ordersListing();
    const auto files = run.copy();
    EXPECT_EQ(run.host.events, (Lines{"area 99001", "pointer 11", "area 99003", "message Creating " + run.copyPath(),
                                      "pointer 0", "message -1", "area 0"}));
    // Once per table, index (the relation's own index is not one), query and
    // relation.
    EXPECT_EQ(run.host.doEventsCalls, 2 + 2 + 1 + 1);
    EXPECT_TRUE(run.host.asked.empty());

    // The relation arrives with its attributes and fields, and with it the
    // index Jet keeps for it, which pass 2 did not make a second time.
    OpenedCopy copy(files.copyPath);
    // The source's query is written by hand in three lines; the copy holds
    // it as Jet rebuilds the text.
    EXPECT_EQ(testcodegen::structureText(run.request.entries, copy.source, files.copy, false),
              testcodegen::structureText(run.request.entries, run.db.source(), files.copy, false));
    ASSERT_EQ(copy.db->QueryDefs().Count(), 1);
    EXPECT_EQ(copy.db->QueryDefs()[0].SQL(), "SELECT Customers.Name\r\nFROM Customers;\r\n");
    ASSERT_EQ(copy.db->Relations().Count(), 1);
    EXPECT_EQ(copy.db->Relations()[0].Attributes(), jet::dbRelationUpdateCascade);
    int foreignIndexes = 0;
    for (const auto& index : copy.db->TableDefs()["Orders"].Indexes()) foreignIndexes += index->Foreign();
    EXPECT_EQ(foreignIndexes, 1);
    EXPECT_TRUE(files.copy.leftOut.empty());
}

TEST(EmptyCopy, TheListingDecidesWhatIsCopied) {
    CopyRun run;
    testcodegen::buildOrders(run.db);
    run.request.entries = {"Tbl: Orders", "Xyz: Customers"};
    run.request.copyOut = run.folder / "Only Orders.mdb";
    const auto files = run.copy();
    EXPECT_EQ(files.copyPath, run.folder / "Only Orders.mdb");
    OpenedCopy copy(files.copyPath);
    EXPECT_NE(copy.db->TableDefs().find("Orders"), nullptr);
    EXPECT_EQ(copy.db->TableDefs().find("Customers"), nullptr);
    EXPECT_TRUE(files.copy.leftOut.empty());
}

TEST(EmptyCopy, WhatTheCopyCannotHoldIsLeftOutAndNamed) {
    CopyRun run;
    run.request.entries = testcodegen::buildWhatOutputsCannotHold(run.db);
    const auto files = run.copy();

    // In the walk's order: the fields and tables of pass 1, the index of
    // pass 2, the query of pass 3, the relations of pass 4.
    std::string leftOut;
    for (const auto& item : files.copy.leftOut) leftOut += item.kind + " " + item.name + ": " + item.reason + "\n";
    testsupport::expectGolden(leftOut, "codegen/golden/left-out-of-copy.txt");

    OpenedCopy copy(files.copyPath);
    EXPECT_EQ(testcodegen::structureText({"Tbl: Visits", "Rel: PeopleVisits"}, copy.source),
              testcodegen::structureText({"Tbl: Visits", "Rel: PeopleVisits"}, run.db.source()));
    const jet::TableDef& people_ = copy.db->TableDefs()["People"];
    EXPECT_EQ(people_.Fields().Count(), 2);
    EXPECT_EQ(people_.Indexes().Count(), 1);
    EXPECT_EQ(copy.db->TableDefs().find("Elsewhere"), nullptr);
    EXPECT_EQ(copy.db->TableDefs().find("Only Photos"), nullptr);

    const std::string text = codegen::leftOutText(files.copy, 2);
    const std::size_t count = files.copy.leftOut.size();
    EXPECT_EQ(text.rfind(std::to_string(count) + " objects were not copied:\nfield 'People.Photos': ", 0), 0u) << text;
    EXPECT_NE(text.find("\nand " + std::to_string(count - 2) + " more"), std::string::npos) << text;
    EXPECT_EQ(codegen::leftOutText(codegen::CopyOutcome{}), "");
}

// ---- an existing copy ---------------------------------------------------------

TEST(EmptyCopyExisting, YesReplacesTheFileAndNoLeavesIt) {
    CopyRun run;
    testcodegen::buildOrders(run.db);
    run.request.entries = {"Tbl: Customers"};
    testcodegen::writeFile(run.copyPath(), "an older copy");

    run.host.answers = {false};
    EXPECT_THROW(run.copy(), codegen::CopyDeclined);
    EXPECT_EQ(run.host.asked, Lines{run.copyPath()});
    EXPECT_EQ(testcodegen::readFile(run.copyPath()), "an older copy");
    EXPECT_EQ(run.host.events.back(), "pointer 0");

    run.host = testcodegen::RecordingHost{};
    run.host.answers = {true};
    run.copy();
    EXPECT_EQ(run.host.asked, Lines{run.copyPath()});
    OpenedCopy copy(run.copyPath());
    EXPECT_NE(copy.db->TableDefs().find("Customers"), nullptr);
    EXPECT_EQ(run.folder.names(), (Lines{"Empty Copy of Orders.mdb", "Orders.mdb"}));
}

// A folder, a FIFO or a device is never replaced, nor the source database
// under another spelling or through a link: refused before anything is
// asked or written.
TEST(EmptyCopyExisting, ATargetThatIsNoFileOrTheSourceIsRefused) {
    CopyRun run;
    testcodegen::buildOrders(run.db);
    run.request.entries = {"Tbl: Customers"};
    const std::string folder = run.folder / "a folder.mdb";
    std::filesystem::create_directory(folder);
    const std::string fifo = run.folder / "fifo.mdb";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_symlink(run.request.sDbPath, run.folder / "link.mdb");
    std::filesystem::create_hard_link(run.request.sDbPath, run.folder / "hard.mdb");
    const struct {
        std::string path;
        const char* why;
    } cases[] = {
        {folder, "is a folder"},
        {fifo, "is a FIFO"},
        {"/dev/null", "is a device"},
        {run.folder / "sub/../Orders.mdb", "is the database being copied"},
        {run.folder / "link.mdb", "is the database being copied"},
        {run.folder / "hard.mdb", "is the database being copied"},
    };
    for (const auto& c : cases) {
        run.request.copyOut = c.path;
        run.host = testcodegen::RecordingHost{};
        run.host.answers = {true};
        const auto error = testsupport::caught<codegen::WriteError>([&] { run.copy(); });
        ASSERT_TRUE(error) << c.path;
        EXPECT_EQ(error->number(), codegen::kErrPathFileAccess) << c.path;
        EXPECT_NE(std::string(error->what()).find(c.why), std::string::npos) << error->what();
        EXPECT_TRUE(run.host.asked.empty()) << c.path;
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_EQ(testcodegen::readFile(run.request.sDbPath), "the source stays as it is");
    EXPECT_EQ(run.folder.names(), (Lines{"Orders.mdb", "a folder.mdb", "fifo.mdb", "hard.mdb", "link.mdb"}));
}

// ---- failures -------------------------------------------------------------------

TEST(EmptyCopyFailure, ACreationFailureIsTheEnginesError) {
    CopyRun run;
    testcodegen::buildOrders(run.db);
    run.request.entries = testcodegen::ordersListing();
    run.request.copyOut = run.folder / "no/such/folder/Copy.mdb";
    const auto error = testsupport::caught<jet::Error>([&] { run.copy(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), jet::kErrCannotOpenFile);
    EXPECT_TRUE(run.host.asked.empty());
    EXPECT_EQ(run.host.events.back(), "pointer 0");
    EXPECT_EQ(run.folder.names(), Lines{"Orders.mdb"});
}

// A copy that fails part way is never put in place: an earlier copy stays
// as it was, and no temporary file is left beside it.
TEST(EmptyCopyFailure, AnEngineRefusalNamesItsObjectAndLeavesNoPartialCopy) {
    CopyRun run;
    run.db.addTable("Fine", {{"A", jet::dbLong, 4}});
    run.db.addTable("Wide", {{"ID", jet::dbLong, 4}, {"Code", jet::dbText, 300}});
    run.request.entries = {"Tbl: Fine", "Tbl: Wide"};
    auto error = testsupport::caught<jet::Error>([&] { run.copy(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), jet::kErrInvalidType);
    EXPECT_EQ(error->context(), "table 'Wide'");
    EXPECT_EQ(run.host.events.back(), "pointer 0");
    EXPECT_EQ(run.folder.names(), Lines{"Orders.mdb"});

    CopyRun related;
    testcodegen::buildOrders(related.db);
    // Text on one side, a number on the other: 3368.
    related.db.relations["CustomersOrders"].Fields()[0].SetName("Name");
    related.request.entries = testcodegen::ordersListing();
    testcodegen::writeFile(related.copyPath(), "an older copy");
    related.host.answers = {true};
    error = testsupport::caught<jet::Error>([&] { related.copy(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->context(), "relation 'CustomersOrders'");
    EXPECT_EQ(testcodegen::readFile(related.copyPath()), "an older copy");
    EXPECT_EQ(related.folder.names(), (Lines{"Empty Copy of Orders.mdb", "Orders.mdb"}));
}

TEST(EmptyCopyFailure, AnIndexOnAMissingFieldNamesItsTable) {
    CopyRun run;
    auto& table = run.db.addTable("Broken", {{"ID", jet::dbLong, 4}});
    run.db.addIndex(table, "ByGhost", {{"Ghost", 0}}, false, false, false);
    run.request.entries = {"Tbl: Broken"};
    const auto error = testsupport::caught<jet::Error>([&] { run.copy(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), jet::kErrItemNotFound);
    EXPECT_NE(error->context().find("'Broken'"), std::string::npos) << error->context();
}
