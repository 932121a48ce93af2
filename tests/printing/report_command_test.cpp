// strux report, run in-process.
#include <gtest/gtest.h>

#include <fstream>

#include "printer/text_surface.h"
#include "report_fixture.h"
#include "support/corpus.h"
#include "support/strux_command.h"

#ifdef STRUX_REPORT_PDF
#include "pdf/qt_pdf_printer.h"
#endif

namespace {

namespace fs = std::filesystem;
using reporttest::from;
using reporttest::rowStarting;
using testsupport::CommandRun;
using testsupport::strux;

std::string nwind() { return testsupport::corpusFile("real/nwind-jet3.mdb").string(); }

TEST(ReportCommand, TextOfEveryTableQueryAndRelation) {
    STRUX_REQUIRE_CORPUS();
    const CommandRun run = strux({"report", nwind(), "--text"});
    ASSERT_EQ(run.status, cli::kExitOk) << run.err;
    const std::string& all = run.out;
    for (const std::string title : {"Tables Collection", "Index Listing for Table: Suppliers", "Fields Listing for Table: Suppliers",
                                    "Detailed Listing for Query: Ten Most Expensive Products",
                                    "Detailed Listing for Relations: SuppliersProducts"})
        EXPECT_NE(all.find(title), std::string::npos) << title;
    EXPECT_EQ(all.find(" - Fixed length"), std::string::npos) << "details only when asked";
}

TEST(ReportCommand, SectionsAndChosenTables) {
    STRUX_REQUIRE_CORPUS();
    // Tables come in the listing's order, whatever the order given; no summary.
    const CommandRun run = strux({"report", nwind(), "--text", "--no-indexes", "--no-queries", "--no-relations",
                           "--details", "--tables", "shippers", "Categories"});
    ASSERT_EQ(run.status, cli::kExitOk) << run.err;
    const auto pages = printer::textPages(run.out);
    ASSERT_EQ(pages.size(), 1u);
    const auto& page = pages[0];
    EXPECT_EQ(rowStarting(page, "Tables Collection", 9), -1);
    const int categories = rowStarting(page, "Fields Listing for Table: Categories", 9);
    const int shippers = rowStarting(page, "Fields Listing for Table: Shippers", 9);
    EXPECT_GE(categories, 0);
    EXPECT_GT(shippers, categories);
    EXPECT_EQ(rowStarting(page, "Index Listing", 9), -1);
    EXPECT_EQ(rowStarting(page, "Detailed Listing", 9), -1);
    // Decoded, and not run past the page's edge.
    EXPECT_NE(run.out.find("17    - Fixed length;\n" + std::string(79, ' ') + "AutoIncrementing\n"), std::string::npos)
        << run.out;

    const CommandRun perItem = strux({"report", nwind(), "--text", "--page-per-item", "--no-queries", "--no-relations"});
    ASSERT_EQ(perItem.status, cli::kExitOk);
    EXPECT_GE(printer::textPages(perItem.out).size(), 9u);
}

TEST(ReportCommand, BadCommandLinesAreRefused) {
    STRUX_REQUIRE_CORPUS();
    const std::vector<std::vector<std::string>> bad = {
        {"report"},
        {"report", nwind(), "--no-indexes", "--no-fields", "--text"},
        {"report", nwind(), "--text", "-o", "x.pdf"},
        {"report", nwind(), "--text", "--tables"},
        {"report", nwind(), "--text", "--tables", "Nowhere"},
        {"report", nwind(), "--text", "--tables", "MSysObjects"},
        {"report", nwind(), "--bold"},
        {"report", nwind(), "-o"},
    };
    for (const auto& args : bad) {
        const CommandRun run = strux(args);
        EXPECT_EQ(run.status, cli::kExitUsage) << args.back();
        EXPECT_TRUE(run.out.empty()) << args.back();
        EXPECT_NE(run.err.find("strux report"), std::string::npos) << args.back();
    }
    const CommandRun missing = strux({"report", "/nonexistent/file.mdb", "--text"});
    EXPECT_EQ(missing.status, cli::kExitEngineError);
    EXPECT_NE(missing.err.find("3024"), std::string::npos);
}

#ifdef STRUX_REPORT_PDF
std::string head(const fs::path& file, std::size_t n) {
    std::ifstream in(file, std::ios::binary);
    std::string text(n, '\0');
    in.read(text.data(), static_cast<std::streamsize>(n));
    return text.substr(0, static_cast<std::size_t>(in.gcount()));
}

TEST(ReportCommand, PdfWhereAskedOrBesideTheDatabase) {
    STRUX_REQUIRE_CORPUS();
    cli::usePdfPrinterOfQt();
    reporttest::TempFolder folder;
    const fs::path pdf = folder.path() / "out.pdf";
    const CommandRun run = strux({"report", nwind(), "-o", pdf.string(), "--no-queries"});
    ASSERT_EQ(run.status, cli::kExitOk) << run.err;
    EXPECT_EQ(head(pdf, 5), "%PDF-");
    EXPECT_NE(run.out.find("Report written to " + pdf.string()), std::string::npos) << run.out;

    const fs::path copy = folder.path() / "nwind copy.mdb";
    fs::copy_file(nwind(), copy);
    const CommandRun beside = strux({"report", copy.string(), "--tables", "Shippers"});
    ASSERT_EQ(beside.status, cli::kExitOk) << beside.err;
    const fs::path expected = folder.path() / "nwind copy.pdf";
    EXPECT_EQ(head(expected, 5), "%PDF-");
    EXPECT_NE(beside.out.find(expected.string()), std::string::npos) << beside.out;

    // A PDF that cannot be written is an output error, and nothing is left behind.
    const CommandRun unwritable = strux({"report", nwind(), "-o", (folder.path() / "no" / "such.pdf").string()});
    EXPECT_EQ(unwritable.status, cli::kExitIoError);
    EXPECT_NE(unwritable.err.find("could not write " + (folder.path() / "no" / "such.pdf").string()),
              std::string::npos) << unwritable.err;
    EXPECT_FALSE(fs::exists(folder.path() / "no"));

    if (std::system("command -v pdftotext >/dev/null 2>&1") == 0) {
        const fs::path text = folder.path() / "out.txt";
        ASSERT_EQ(std::system(("pdftotext -layout '" + pdf.string() + "' '" + text.string() + "'").c_str()), 0);
        std::ifstream in(text);
        std::stringstream content;
        content << in.rdbuf();
        EXPECT_NE(content.str().find("Tables Collection"), std::string::npos);
        EXPECT_NE(content.str().find("Index Listing for Table: Categories"), std::string::npos);
    }
}
#endif

}  // namespace
