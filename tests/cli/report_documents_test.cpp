#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "command.h"
#include "support/command_output.h"
#include "support/corpus.h"
#include "support/files.h"
#include "support/scratch_servers.h"
#include "support/strux_command.h"
#include "support/planned_structure.h"
#include "support/temp_folder.h"

using testsupport::shellQuoted;
using testsupport::strux;

namespace {

// Every link "(#x)" or href="#x" has its anchor id="x" in the text.
void expectEveryLinkHasItsAnchor(const std::string& text, const std::string& name) {
    std::set<std::string> ids;
    const std::regex id("id=\"([^\"]+)\"");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), id); it != std::sregex_iterator(); ++it)
        ids.insert((*it)[1]);
    const std::regex link("(?:\\]\\(#|href=\"#)([^)\"]+)");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), link); it != std::sregex_iterator(); ++it)
        EXPECT_TRUE(ids.count((*it)[1])) << name << ": no anchor " << (*it)[1];
}

}  // namespace

// The orders database's documents as kept in tests/data/docs: every part
// of the layout at once.
TEST(StruxReportDocuments, OrdersDatabaseAsMarkdownAndHtml) {
    testsupport::TempFolder folder;
    const std::string db = folder / "orders.mdb";
    testsupport::writeDatabase(testsupport::ordersPlan(), db);
    const auto run = strux({"report", db, "--markdown", folder / "orders.md", "--html", folder / "html"});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const auto& [written, golden] : {std::pair{folder / "orders.md", std::string("orders.md")},
                                          std::pair{folder / "html/index.html", std::string("orders.html")}}) {
        const std::string path = std::string(STRUX_SOURCE_DIR) + "/tests/data/docs/" + golden;
        if (std::getenv("STRUX_UPDATE_GOLDEN")) testsupport::writeFile(path, testsupport::readFile(written));
        EXPECT_EQ(testsupport::readFile(written), testsupport::readFile(path)) << golden;
    }
}

TEST(StruxReportDocuments, RefusesOutputsThatAreNoFilesOrTheDatabase) {
    testsupport::TempFolder folder;
    const std::string db = folder / "orders.mdb";
    testsupport::writeDatabase(testsupport::ordersPlan(), db);
    const std::string before = testsupport::readFile(db);
    testsupport::writeFile(folder / "file", "kept");
    EXPECT_EQ(strux({"report", db, "--markdown", db}).status, 2);
    EXPECT_EQ(strux({"report", db, "--markdown", folder.path().string()}).status, 2);
    EXPECT_EQ(strux({"report", db, "--html", folder / "file"}).status, 2);
    EXPECT_EQ(strux({"report", db, "--markdown", folder / "x.md", "--text"}).status, 2);
    EXPECT_EQ(testsupport::readFile(db), before);
    EXPECT_EQ(testsupport::readFile(folder / "file"), "kept");
    EXPECT_FALSE(std::filesystem::exists(folder / "x.md"));
}

// The same database gives the same bytes, and every link finds its section.
TEST(StruxReportDocuments, CorpusMarkdownIsTheSameBytesTwiceAndLinksHold) {
    STRUX_REQUIRE_CORPUS();
    testsupport::TempFolder folder;
    for (const auto& database : testsupport::corpusDatabases()) {
        const std::string name = testsupport::corpusName(database);
        const auto first = strux({"report", database.string(), "--markdown", folder / "1.md", "--html", folder / "html"});
        ASSERT_EQ(first.status, 0) << name << ": " << first.err;
        const auto second = strux({"report", database.string(), "--markdown", folder / "2.md"});
        ASSERT_EQ(second.status, 0) << name << ": " << second.err;
        const std::string markdown = testsupport::readFile(folder / "1.md");
        EXPECT_EQ(markdown, testsupport::readFile(folder / "2.md")) << name;
        expectEveryLinkHasItsAnchor(markdown, name);
        expectEveryLinkHasItsAnchor(testsupport::readFile(folder / "html/index.html"), name);
    }
}

// Northwind's page in a real browser: its rendered text holds the table of
// contents and a table's section, and the screenshot of its top (the
// contents and the first tables) is far from the blank picture of an empty
// page.
TEST(StruxReportDocuments, NorthwindPageRendersInChromium) {
    STRUX_REQUIRE_CORPUS();
    if (!testsupport::haveTool("chromium")) GTEST_SKIP() << "chromium is not installed (Debian package chromium)";
    if (!testsupport::haveTool("pdftotext")) GTEST_SKIP() << "pdftotext is not installed (Debian package poppler-utils)";
    testsupport::TempFolder folder;
    const auto run = strux({"report", testsupport::corpusFile("real/nwind-jet3.mdb").string(), "--html", folder / "html"});
    ASSERT_EQ(run.status, 0) << run.err;
    testsupport::writeFile(folder / "blank.html", "<!DOCTYPE html><html><body></body></html>\n");
    // Its own profile folder, so that no user's browser is touched.
    const std::string chromium = "chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --user-data-dir=" +
                                 shellQuoted(folder / "profile") + " --window-size=1000,2400 --virtual-time-budget=2000 ";
    auto shoot = [&](const std::string& page, const std::string& png) {
        const auto shot = testsupport::shellRun(chromium + "--screenshot=" + shellQuoted(png) + " " + shellQuoted(page));
        EXPECT_TRUE(std::filesystem::exists(png)) << shot.output;
        return std::filesystem::exists(png) ? std::filesystem::file_size(png) : 0;
    };
    const auto blank = shoot("file://" + (folder / "blank.html"), folder / "blank.png");
    const auto section = shoot("file://" + (folder / "html/index.html"), folder / "page.png");
    EXPECT_GT(section, 5 * blank) << "the page looks blank";

    const auto printed = testsupport::shellRun(chromium + "--no-pdf-header-footer --print-to-pdf=" +
                                               shellQuoted(folder / "page.pdf") + " " +
                                               shellQuoted("file://" + (folder / "html/index.html")));
    ASSERT_TRUE(std::filesystem::exists(folder / "page.pdf")) << printed.output;
    const auto text = testsupport::commandOutput("pdftotext -layout " + shellQuoted(folder / "page.pdf") + " -");
    ASSERT_TRUE(text.has_value());
    for (const char* part : {"Contents", "Order Details", "Table Orders", "ShipVia", "Query Invoices", "Relation CustomersOrders"})
        EXPECT_NE(text->find(part), std::string::npos) << part;
}
