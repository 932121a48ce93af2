// The report of the Access 97 Northwind database, read back row by row.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "jet/dao.h"
#include "listing/target_limits.h"
#include "report_fixture.h"
#include "support/corpus.h"

#ifdef STRUX_REPORT_PDF
#include <QGuiApplication>

#include "printer/qt/qt_printer_devices.h"
#endif

namespace {

using namespace reporttest;
namespace fs = std::filesystem;

// No page-break test is made between the rows of a query's SQL text: a long
// statement runs on from a full page to one the printer starts by itself,
// its first row a continued SQL row. A page the report starts opens with a
// blank row.
bool sqlRunsOn(const Pages& pages, std::size_t i) {
    if (i == 0 || pages[i].empty() || pages[i - 1].size() != 64u) return false;
    const std::size_t first = pages[i][0].find_first_not_of(' ');
    return first != std::string::npos && first >= 29u;
}

class NwindReport : public ::testing::Test {
protected:
    void SetUp() override {
        STRUX_REQUIRE_CORPUS();
        source = testsupport::corpusFile("real/nwind-jet3.mdb");
        setup.programFolder = folder.path();
    }

    // The report of `path` opened as given, every section on.
    RunResult report(const fs::path& path, bool readOnly, printing::ReportSelection selection) {
        jet::DBEngine engine;
        db = engine.OpenDatabase(path.string(), false, readOnly);
        TestMonitor monitor;
        auto src = printing::reportSource(*db);
        return runReport(src, printing::listingEntries(src), selection, *printers, monitor, setup);
    }
    static printing::ReportSelection everything() {
        printing::ReportSelection selection;
        selection.queries = true;
        selection.relations = true;
        return selection;
    }

    fs::path source;
    TempFolder folder;
    printing::ReportSetup setup;
    std::shared_ptr<jet::Database> db;
    std::unique_ptr<printer::Printers> printers = recordingPrinters();
};

// The layout is the order database's golden report, the header of every
// page the corpus walk below. DAO calls the tables of a database opened for
// writing updatable, and of one opened read-only not.
TEST_F(NwindReport, SummaryOfAWritableAndAReadOnlyOpen) {
    const fs::path copy = folder.path() / "nwind.mdb";
    fs::copy_file(source, copy);
    EXPECT_EQ(report(copy, false, everything()).pages.at(0)[7], line({{9, "Categories"}, {49, "Updatable:  True"}}));
    EXPECT_EQ(report(source, true, everything()).pages.at(0)[7], line({{9, "Categories"}, {49, "Updatable:  False"}}));
}

#ifdef STRUX_REPORT_PDF
// The PDF, on A4 and on Letter, has the text printer's pages: each page the
// report starts carries its header, and a page a long SQL text runs on to
// (the text printer's page full) follows as on the text page.
TEST_F(NwindReport, ThePdfHasTheTextPagesOnA4AndLetter) {
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdftotext is not installed";
    int argc = 1;
    char name[] = "printing_tests";
    char* argv[] = {name, nullptr};
    std::unique_ptr<QGuiApplication> app;
    if (!QCoreApplication::instance()) app = std::make_unique<QGuiApplication>(argc, argv);
    const auto text = report(source, true, everything());
    for (const auto paper : {QPageSize::A4, QPageSize::Letter}) {
        SCOPED_TRACE(paper == QPageSize::A4 ? "A4" : "Letter");
        std::vector<std::unique_ptr<printer::PrinterDevice>> devices;
        devices.push_back(std::make_unique<printer::PdfPrinterDevice>(paper));
        printers = std::make_unique<printer::Printers>(std::move(devices));
        setup.outputFile = folder.path() / "nwind.pdf";
        const auto pdf = report(source, true, everything());
        EXPECT_EQ(pdf.outcome.pages, text.outcome.pages);
        const fs::path out = folder.path() / "nwind.txt";
        ASSERT_EQ(std::system(("pdftotext -layout '" + setup.outputFile.string() + "' '" + out.string() + "'").c_str()), 0);
        std::stringstream read;
        read << std::ifstream(out).rdbuf();
        std::vector<std::string> pages(1);
        for (char ch : read.str()) {
            if (ch == '\f') pages.emplace_back();
            else pages.back() += ch;
        }
        if (pages.back().find_first_not_of(" \n") == std::string::npos) pages.pop_back();
        ASSERT_EQ(pages.size(), text.pages.size());
        for (std::size_t i = 0; i < pages.size(); ++i) {
            const bool headed = text.pages[i].size() > 1 && from(text.pages[i][1], 9).rfind("Page no:", 0) == 0;
            // pdftotext widens and narrows runs of blanks.
            std::string first = pages[i].substr(pages[i].find_first_not_of(" \n"));
            first.erase(std::unique(first.begin(), first.end(), [](char a, char b) { return a == ' ' && b == ' '; }),
                        first.end());
            EXPECT_EQ(first.rfind("Page no: " + std::to_string(i + 1) + "\n", 0) == 0, headed) << "page " << i + 1;
        }
    }
}
#endif

}  // namespace

namespace {

// Every database of the corpus (Jet 3, Jet 4, ACE, linked tables, odd names)
// reports in full without failing; every page stays on the text page and
// starts with the header naming the database's full path, but for the pages
// a long SQL text runs on to; none holds only its header; a linked table's
// listings say where its source is.
TEST(CorpusReport, EveryDatabaseReportsInFull) {
    STRUX_REQUIRE_CORPUS();
    reporttest::TempFolder folder;
    printing::ReportSetup setup;
    setup.programFolder = folder.path();
    for (const auto& path : testsupport::corpusDatabases()) {
        SCOPED_TRACE(path.string());
        std::shared_ptr<jet::Database> db;
        try {
            db = jet::DBEngine().OpenDatabase(path.string(), false, true);
        } catch (const jet::Error&) {
            continue;  // what the engine refuses to open is the engine's tests' business
        }
        auto source = printing::reportSource(*db);
        const auto entries = printing::listingEntries(source);
        reporttest::RunResult result;
        // A field row ends its line only with the details, so each lays the
        // pages out differently.
        for (const bool details : {false, true}) {
            SCOPED_TRACE(details ? "with details" : "without details");
            auto printers = reporttest::recordingPrinters();
            reporttest::TestMonitor monitor;
            printing::ReportSelection selection;
            selection.queries = selection.relations = true;
            selection.details = details;
            ASSERT_NO_THROW(result = reporttest::runReport(source, entries, selection, *printers, monitor, setup));
            EXPECT_TRUE(result.outcome.printed) << "the summary is printed even for a database without tables";
            const std::string header = "Database: " + fs::canonical(path).string() + "  -  Order = ";
            for (std::size_t i = 0; i < result.pages.size(); ++i) {
                const auto& page = result.pages[i];
                SCOPED_TRACE("page " + std::to_string(i + 1));
                EXPECT_LE(page.size(), 64u);
                if (sqlRunsOn(result.pages, i)) continue;
                // The header takes five rows; blank rows under it are no content.
                ASSERT_TRUE(std::any_of(page.begin() + std::min<std::size_t>(page.size(), 5), page.end(),
                                        [](const std::string& row) { return row.find_first_not_of(' ') != std::string::npos; }))
                    << "a page with nothing but its header";
                EXPECT_EQ(from(page[1], 9), "Page no:  " + std::to_string(i + 1));
                EXPECT_EQ(from(page[3], 9).rfind(header, 0), 0u) << page[3];
            }
        }
        for (const auto& entry : entries) {
            if (entry.rfind("Tbl: ", 0) != 0 || !listing::isLinked(source.tables[entry.substr(5)])) continue;
            for (const char* title : {"Index Listing for Table: ", "Fields Listing for Table: "}) {
                const std::string wanted = title + entry.substr(5);
                bool said = false;
                for (const auto& page : result.pages)
                    for (std::size_t r = 0; r + 2 < page.size(); ++r)
                        if (from(page[r], 9) == wanted) said = from(page[r + 2], 9).rfind("Linked table, source ", 0) == 0;
                EXPECT_TRUE(said) << wanted;
            }
        }
    }
}

}  // namespace
