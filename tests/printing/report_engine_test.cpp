// The report engine on a database built in memory, read back from the text
// printer row by row.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>

#include "report_fixture.h"
#include "support/error_number.h"
#include "support/golden.h"

namespace {

using namespace reporttest;
namespace fs = std::filesystem;
using printing::ReportSelection;

class ReportEngine : public ::testing::Test {
protected:
    void SetUp() override {
        auto& customers = db.addTable("Customers");
        db.addField(customers, "CustomerID", jet::dbLong, 4, 17);
        db.addField(customers, "Name", jet::dbText, 40, 2);
        db.addField(customers, "Flags", jet::dbInteger, 2, 3);
        db.addIndex(customers, "PrimaryKey", {"+CustomerID"}, true, true);
        db.addIndex(customers, "NameFlags", {"+Name", "-Flags"}, false, false);
        db.addIndex(customers, "Odd", {"+A;B"}, true, false);  // a semicolon inside a field name
        db.addField(customers, "Attachments", jet::dbAttachment, 0, 0);  // a type code beyond the name table
        // The other attributes the details put in words.
        db.addField(customers, "Since", jet::dbDate, 8, jet::dbFixedField);
        db.addField(customers, "Site", jet::dbMemo, 0, jet::dbHyperlinkField);
        db.addTable("MSysObjects", static_cast<long>(static_cast<int>(0x80000002u)));
        auto& secret = db.addTable("Secret", jet::dbHiddenObject);
        secret.SetUpdatable(false);
        db.addField(secret, "Code", jet::dbText, 10, 2);
        db.addTable("Sys2", 2);
        // Jet keeps no fields for a link: they are its source's.
        auto& linked = db.addTable("Linked", jet::dbAttachedTable);
        linked.SetSourceTableName("Places");
        linked.SetConnect(";DATABASE=C:\\Data\\Back.mdb");
        db.addQuery("Customer List", "SELECT Customers.Name\r\nFROM Customers\r\nORDER BY Customers.Name;\r\n",
                    {"Name"});
        auto& relation = db.addRelation("CustomersOrders", "Customers", "Orders", {"CustomerID"});
        relation.SetAttributes(jet::dbRelationUpdateCascade);
        entries = printing::listingEntries(db.source());
        setup.programFolder = folder.path();
    }

    RunResult run(const ReportSelection& selection, printing::ReportMonitor& monitor) {
        return runReport(db.source(), entries, selection, *printers, monitor, setup);
    }
    RunResult run(const ReportSelection& selection) {
        TestMonitor monitor;
        return run(selection, monitor);
    }
    static ReportSelection everything() {
        ReportSelection selection;
        selection.queries = true;
        selection.relations = true;
        return selection;
    }

    MemoryDatabase db;
    std::vector<std::string> entries;
    TempFolder folder;
    printing::ReportSetup setup;
    std::unique_ptr<printer::Printers> printers = recordingPrinters({"Office", "HPLJ"});
};

// The pages as text, a form feed line after each; the query's dates depend
// on the locale and are left out.
std::string reportText(const RunResult& result) {
    std::string text;
    for (const auto& page : result.pages) {
        for (const auto& row : page) {
            const std::string rest = from(row, 9);
            text += rest.rfind("Created:", 0) == 0 || rest.rfind("Updated:", 0) == 0 ? row.substr(0, 17) : row;
            text += "\n";
        }
        text += "\f\n";
    }
    return text;
}

// Each choice of what to print against a reviewed copy in golden/. The whole
// report: page header, table summary (system tables left out, hidden and
// linked ones listed), index rows with signs, sort order and first-row
// flags, field rows with their attributes, query and relation sections; a
// table and a query the engine could not read.
TEST_F(ReportEngine, EachSelectionPrintsAsTheReviewedCopy) {
    std::vector<std::string> names;
    for (int i = 0; i < 100; ++i) names.push_back("Column" + std::to_string(i));
    const struct {
        const char* golden;
        std::function<void(ReportSelection&)> choose;
    } cases[] = {
        {"orders-report.txt",
         [&](auto& selection) {
             db.queries["Customer List"].SetMaxRecords(25);
             selection.details = true;
         }},
        {"chosen-tables.txt",
         [](auto& selection) {
             selection.queries = selection.relations = selection.allTables = false;
             selection.tables = {"Secret", "Linked"};
             selection.indexes = false;
         }},
        {"no-tables.txt", [](auto& selection) { selection.allTables = false; }},
        {"page-per-item.txt", [](auto& selection) { selection.pagePerItem = true; }},
        // W = 96 - (30 + 10) = 56. A line of exactly W is printed whole; a
        // longer one is cut at the last blank of its first W characters; a
        // rest of exactly W (with a blank at its 30th character) is cut once
        // more; the last line has no CR LF.
        {"sql-wrap.txt",
         [&](auto& selection) {
             db.queries["Customer List"].SetSQL("SELECT " + std::string(49, 'x') +
                                                "\r\nSELECT Customers.CustomerID, Customers.Name, Customers.Flags\r\n" +
                                                std::string(41, 'a') + " " + std::string(29, 'b') + " " +
                                                std::string(26, 'c') + "\r\nFROM Customers;");
             selection.allTables = selection.relations = false;
         }},
        // Fields past the page continue after the next page's header; 52
        // names fill one page exactly.
        // What the engine could not read is listed saying why.
        {"damaged.txt",
         [&](auto& selection) {
             db.addTable("Torn").SetDamage("page 7 (table definition) offset 0: not a table definition page (type 1)");
             db.addQuery("Torn Query", "", {}).SetDamage("no MSysQueries rows");
             entries = {"Tbl: Torn", "Qdf: Torn Query"};
             selection.allTables = selection.relations = false;
             selection.tables = {"Torn"};
         }},
        {"long-field-list.txt",
         [&](auto& selection) {
             db.addQuery("Wide", "SELECT *\r\nFROM Customers;\r\n", names);
             db.addQuery("Full", "SELECT *\r\nFROM Customers;\r\n",
                         std::vector<std::string>(names.begin(), names.begin() + 52));
             entries = {"Qdf: Wide", "Qdf: Full"};
             selection.allTables = selection.relations = false;
             selection.pagePerItem = true;
         }},
    };
    for (const auto& c : cases) {
        ReportSelection selection = everything();
        c.choose(selection);
        const auto result = run(selection);
        ASSERT_TRUE(result.outcome.printed) << c.golden;
        testsupport::expectGolden(reportText(result), std::string("printing/golden/") + c.golden);
    }
}

// Without details the attribute words go; column 50 of the summary is
// fixed, so a narrower tab setting moves the names, not the column. With
// nothing chosen no document is started.
TEST_F(ReportEngine, PlainReportAndNothingChosen) {
    ReportSelection selection = everything();
    printing::StoredTabSetting stored{std::nullopt, printing::defaultTabSetting()};
    stored.setting.tabs[0] = 3;
    setup.stored = stored;
    const auto plain = run(selection);
    EXPECT_EQ(plain.pages.at(0)[7], line({{2, "Customers"}, {49, "Updatable:  True"}}));
    EXPECT_EQ(reportText(plain).find(" - Fixed length"), std::string::npos);

    selection.allTables = selection.queries = selection.relations = false;
    const auto nothing = run(selection);
    EXPECT_FALSE(nothing.outcome.printed);
    EXPECT_EQ(nothing.outcome.pages, 0);
}

TEST_F(ReportEngine, HeadingsBoldAndTitlesUnderlinedInTheReportFont) {
    std::vector<std::string> names;
    for (int i = 0; i < 60; ++i) names.push_back("Column" + std::to_string(i));
    db.addQuery("Wide", "SELECT *\r\nFROM Customers;\r\n", names);
    entries = printing::listingEntries(db.source());
    run(everything());
    const auto& placed = deviceOf(*printers, 0).placed;
    auto pieceOf = [&](const std::string& text) {
        const auto found = std::find_if(placed.begin(), placed.end(), [&](const Placed& p) { return p.text == text; });
        EXPECT_NE(found, placed.end()) << text;
        return found == placed.end() ? Placed{} : *found;
    };
    EXPECT_TRUE(pieceOf("Page no: ").font.bold);
    EXPECT_TRUE(pieceOf("Tables Collection").font.underline);
    EXPECT_FALSE(pieceOf("Tables Collection").font.bold);
    EXPECT_TRUE(pieceOf("Index Listing for Table: ").font.underline);
    EXPECT_TRUE(pieceOf("Sort Order").font.bold);
    EXPECT_TRUE(pieceOf("SQL Statement").font.bold);
    EXPECT_TRUE(pieceOf("Fields continued").font.bold);
    EXPECT_FALSE(pieceOf("CustomerID").font.bold);
    EXPECT_FALSE(pieceOf("CustomerID").font.underline);
    for (const Placed& p : placed) EXPECT_EQ(p.font.name, "Courier") << p.text;
}

TEST_F(ReportEngine, CancelEndsWithTheNoteAndTheNextReportPrintsNormally) {
    // Item boundaries: before the set-up (1), after the summary title (2),
    // after the summary (3), before the first table (4)...
    TestMonitor cancelling(4);
    const auto cancelled = run(everything(), cancelling);
    EXPECT_TRUE(cancelled.outcome.cancelled);
    ASSERT_EQ(deviceOf(*printers, 0).documents().size(), 1u) << "the pages so far are released";
    const auto& page = cancelled.pages.at(0);
    EXPECT_EQ(page[9], line({{9, "Linked"}, {49, "Updatable:  True"}}));
    EXPECT_EQ(page.back(), "++ Cancelled by operator ++");
    EXPECT_EQ(rowStarting(page, "Index Listing", 9), -1);

    // Cancel between two queries: the first is printed, the second is not.
    db.addQuery("Second", "SELECT 2;\r\n", {"Expr1"});
    entries = printing::listingEntries(db.source());
    ReportSelection queriesOnly;
    queriesOnly.allTables = false;
    queriesOnly.queries = true;
    TestMonitor late(4);  // 1 set-up, 2 after the (empty) tables, 3 first query, 4 second query
    const auto partly = run(queriesOnly, late);
    EXPECT_TRUE(partly.outcome.cancelled);
    EXPECT_GE(rowStarting(partly.pages.at(0), "Detailed Listing for Query: Customer List", 9), 0);
    EXPECT_EQ(rowStarting(partly.pages.at(0), "Detailed Listing for Query: Second", 9), -1);

    // The same printer afterwards: the next report is what a fresh printer gives.
    const auto next = run(everything());
    EXPECT_FALSE(next.outcome.cancelled);
    auto fresh = recordingPrinters({"Office", "HPLJ"});
    TestMonitor quiet;
    runReport(db.source(), entries, everything(), *fresh, quiet, setup);
    EXPECT_EQ(deviceOf(*printers, 0).documents().back(), deviceOf(*fresh, 0).documents().back());
}

TEST_F(ReportEngine, ProgressWindowFollowsTheRun) {
    TestMonitor monitor;
    ReportSelection selection = everything();
    run(selection, monitor);
    ASSERT_GE(monitor.details.size(), 6u);
    EXPECT_EQ(monitor.details[0], "Working! Please wait.");
    EXPECT_EQ(monitor.details[1], "'Tables Collection'");
    EXPECT_EQ(monitor.details[2], "'Customers'");
    EXPECT_EQ(monitor.details.back(), "'CustomersOrders'");
    EXPECT_EQ(monitor.pages.front(), "Page  1");
    EXPECT_EQ(monitor.pages[1], "Page 1");
    // Events are processed at every item boundary: before the set-up, after
    // the summary's title and after the summary, twice per table, once per
    // query and relation.
    EXPECT_EQ(monitor.calls, 3 + 2 * 3 + 1 + 1);
}

TEST_F(ReportEngine, MissingDefaultsFileCreatedAndUsed) {
    ASSERT_FALSE(fs::exists(folder.path() / "stx32ps.def"));
    const auto result = run(everything());
    EXPECT_EQ(result.outcome.defaultsSource, printing::PrintDefaults::Source::Rewritten);
    EXPECT_EQ(result.outcome.layout, printing::defaultTabSetting());
    EXPECT_TRUE(fs::exists(folder.path() / "stx32ps.def"));

    // A file of another layout is used as it stands.
    printing::TabSetting narrow = printing::defaultTabSetting();
    narrow.fontName = "Liberation Mono";
    narrow.tabs[0] = 2;
    ASSERT_TRUE(printing::writePrintDefaults(folder.path(), narrow));
    const auto second = run(everything());
    EXPECT_EQ(second.outcome.defaultsSource, printing::PrintDefaults::Source::File);
    EXPECT_EQ(second.pages.at(0)[5], line({{1, "Tables Collection"}}));
    EXPECT_EQ(deviceOf(*printers, 0).placed.front().font.name, "Liberation Mono");
}

TEST_F(ReportEngine, StoredSettingChoosesThePrinterAndRestoresTheOldOne) {
    printing::StoredTabSetting stored{"HPLJ", printing::defaultTabSetting()};
    stored.setting.fontName = "Times New Roman";
    setup.stored = stored;
    const auto result = run(everything());
    EXPECT_EQ(result.outcome.deviceName, "HPLJ");
    EXPECT_TRUE(result.outcome.outputFile.empty()) << "a printer that does not write files";
    EXPECT_FALSE(result.outcome.defaultsSource.has_value());
    EXPECT_FALSE(fs::exists(folder.path() / "stx32ps.def")) << "the fallback file is not needed";
    EXPECT_EQ(deviceOf(*printers, 1).documents().size(), 1u);
    EXPECT_TRUE(deviceOf(*printers, 0).documents().empty());
    EXPECT_EQ(printers->currentIndex(), 0) << "the printer of before is current again";
    EXPECT_EQ(deviceOf(*printers, 1).placed.front().font.name, "Times New Roman");

    // A name no printer has, and a Null name, print on the current printer.
    for (const std::optional<std::string>& name : {std::optional<std::string>("<System default printer>"),
                                                   std::optional<std::string>()}) {
        setup.stored->printerName = name;
        EXPECT_EQ(run(everything()).outcome.deviceName, "Office");
        EXPECT_EQ(printers->currentIndex(), 0);
    }
    // The comparison is exact.
    setup.stored->printerName = "hplj";
    EXPECT_EQ(run(everything()).outcome.deviceName, "Office");
}

// Like the PDF printer: its documents go to a file named before they start.
class FilePrinterDevice : public RecordingDevice {
public:
    bool writesToFile() const override { return true; }
};

TEST_F(ReportEngine, FilePrinterWritesBesideTheDatabaseUnlessToldWhere) {
    std::vector<std::unique_ptr<printer::PrinterDevice>> devices;
    devices.push_back(std::make_unique<FilePrinterDevice>());
    printers = std::make_unique<printer::Printers>(std::move(devices));
    auto result = run(everything());
    EXPECT_EQ(result.outcome.outputFile, fs::path("/data/orders.pdf"));
    EXPECT_EQ(printers->Item(0).outputFile(), "/data/orders.pdf");

    setup.outputFile = folder.path() / "chosen.pdf";
    result = run(everything());
    EXPECT_EQ(result.outcome.outputFile, folder.path() / "chosen.pdf");

    ReportSelection nothing;
    nothing.allTables = false;
    EXPECT_TRUE(run(nothing).outcome.outputFile.empty()) << "no document, no file";
}

// The file a report goes to is never the database, whether the program
// proposes it (a database named .pdf) or the user chooses it through a link.
TEST_F(ReportEngine, FilePrinterRefusesTheDatabaseItself) {
    std::vector<std::unique_ptr<printer::PrinterDevice>> devices;
    devices.push_back(std::make_unique<FilePrinterDevice>());
    printers = std::make_unique<printer::Printers>(std::move(devices));
    const fs::path link = folder.path() / "Report.pdf";
    for (const std::string name : {"orders.mdb", "orders.pdf"}) {
        SCOPED_TRACE(name);
        db.path = (folder.path() / name).string();
        std::ofstream(db.path) << "database";
        fs::remove(link);
        fs::create_symlink(name, link);
        setup.chooseOutputFile = [&](const fs::path& proposed) -> std::optional<fs::path> {
            return name == "orders.pdf" ? proposed : link;
        };
        const auto error = testsupport::caught<printing::ReportError>([&] { run(everything()); });
        ASSERT_TRUE(error) << "the database was taken for the report's file";
        EXPECT_EQ(error->number(), 75);
        EXPECT_TRUE(deviceOf(*printers, 0).documents().empty());
    }
}

TEST_F(ReportEngine, FailureAbandonsTheDocumentAndRestoresThePrinter) {
    setup.stored = printing::StoredTabSetting{"HPLJ", printing::defaultTabSetting()};
    ReportSelection selection;
    selection.allTables = false;
    selection.tables = {"Customers", "Vanished"};
    const auto error = testsupport::caught<printing::ReportError>([&] { run(selection); });
    ASSERT_TRUE(error) << "a table that is gone must fail the run";
    EXPECT_EQ(error->number(), jet::kErrItemNotFound);
    EXPECT_EQ(error->area(), printing::kAreaReportPrinting);
    EXPECT_TRUE(deviceOf(*printers, 1).documents().empty()) << "nothing of it is printed";
    EXPECT_FALSE(printers->printer().documentOpen());
    EXPECT_EQ(printers->currentIndex(), 0);

    // The printer is ready for the next report.
    selection.tables = {"Customers"};
    EXPECT_TRUE(run(selection).outcome.printed);
}

}  // namespace
