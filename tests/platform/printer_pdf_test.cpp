// The PDF printer and the font matching of the Qt printers.
#include <algorithm>
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <fstream>
#include <sstream>

#include "printer/printers.h"
#include "support/files.h"
#include "support/error_number.h"
#include "vb/vb_error.h"
#include "printer/qt/qt_fonts.h"
#include "printer/qt/qt_printer_devices.h"
#include "printer/qt/system_printers.h"

namespace {

namespace fs = std::filesystem;
using printer::PrintEnd;
using printer::Tab;

using testsupport::readFile;

// pdftotext's layout widens and narrows runs of blanks; phrases are compared
// with each run made one blank.
std::string singleBlanks(const std::string& text) {
    std::string out;
    for (char ch : text) {
        if (ch == ' ' && !out.empty() && out.back() == ' ') continue;
        out.push_back(ch);
    }
    return out;
}

bool havePdfToText() { return std::system("command -v pdftotext >/dev/null 2>&1") == 0; }

// The text pdftotext finds, pages separated by form feeds.
std::string pdfText(const fs::path& pdf) {
    const fs::path out = pdf.parent_path() / "text.txt";
    const std::string command = "pdftotext -layout '" + pdf.string() + "' '" + out.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return readFile(out);
}

class PdfPrinter : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        pdf = fs::path(dir.path().toStdString()) / "report.pdf";
        printers->Item(0).setOutputFile(pdf.string());
        P.SetScaleMode(printer::vbCharacters);
        P.SetFontName("Courier");
    }

    // A page in the report's manner: bold header, a thick rule, an underlined
    // title, columns at tab stops and a second page.
    void printSample() {
        P.SetFontBold(true);
        P.SetDrawWidth(6);
        P.Print({Tab(10), "Page no: ", P.Page()});
        P.Print();
        P.Print({Tab(10), "Database: ", "/data/nwind.mdb  -  Order = 1033"});
        const double y = P.CurrentY();
        P.Line(5, y, P.ScaleWidth(), y);
        P.Print();
        P.SetDrawWidth(1);
        P.SetFontBold(false);
        P.SetFontUnderline(true);
        P.Print({Tab(10), "Tables Collection"});
        P.SetFontUnderline(false);
        P.Print();
        P.Print({Tab(10), "Customers", Tab(50), "Updatable:  ", true});
        P.Print({Tab(10), "Order Details", Tab(50), "Updatable:  ", false});
        P.SetFontBold(true);
        P.Print({Tab(10), "Name", Tab(30), "Type", Tab(43), "Size"}, PrintEnd::KeepPosition);
        P.SetFontBold(false);
        P.Print();
        P.Print({Tab(10), "OrderID", Tab(30), "Long", Tab(43), 4});
        P.NewPage();
        P.Print({Tab(10), "Second page"});
    }

    // What the folder holds: the PDF alone, no temporary file beside it.
    std::vector<std::string> folderNames() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(pdf.parent_path())) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    QTemporaryDir dir;
    fs::path pdf;
    std::unique_ptr<printer::Printers> printers = printer::printersNamed({}, "");
    printer::Printer& P = printers->printer();
};

TEST_F(PdfPrinter, WritesAPdfFileWithTheTextInItsColumns) {
    printSample();
    P.EndDoc();
    ASSERT_TRUE(fs::exists(pdf));
    EXPECT_EQ(readFile(pdf).substr(0, 5), "%PDF-");
    EXPECT_EQ(folderNames(), (std::vector<std::string>{pdf.filename().string()}));
    if (!havePdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const std::string text = pdfText(pdf);
    const std::string phrases = singleBlanks(text);
    EXPECT_NE(phrases.find("Page no: 1"), std::string::npos) << text;
    EXPECT_NE(phrases.find("Tables Collection"), std::string::npos);
    EXPECT_NE(phrases.find("Updatable: False"), std::string::npos);
    EXPECT_NE(phrases.find("\fSecond page"), std::string::npos) << "a second page expected";
    // The columns at 10 and 50 line up in the two summary rows.
    std::istringstream rows(text);
    std::vector<std::size_t> nameColumns, updatableColumns;
    for (std::string row; std::getline(rows, row);) {
        if (row.find("Updatable:") == std::string::npos) continue;
        nameColumns.push_back(row.find_first_not_of(' '));
        updatableColumns.push_back(row.find("Updatable:"));
    }
    ASSERT_EQ(nameColumns.size(), 2u);
    EXPECT_EQ(nameColumns[0], nameColumns[1]);
    EXPECT_EQ(updatableColumns[0], updatableColumns[1]);
}

TEST_F(PdfPrinter, OffersTheCharacterPageOnEveryPaper) {
    // Letter less its margins holds 61 rows, A4 93 columns: the page is
    // scaled to fit, and the printer offers the whole character page.
    EXPECT_NEAR(P.ScaleWidth(), printer::kCharacterPageColumns, 1e-9);
    EXPECT_NEAR(P.ScaleHeight(), printer::kCharacterPageRows, 1e-9);
}

TEST_F(PdfPrinter, CourierAdvancesOneColumnPerCharacter) {
    EXPECT_NEAR(P.TextWidth("0123456789"), 10, 0.05);
    P.SetFontBold(true);
    EXPECT_NEAR(P.TextWidth("0123456789"), 10, 0.05);
}

TEST_F(PdfPrinter, KillDocLeavesAnEarlierFileAsItWas) {
    P.Print({"first report"});
    P.EndDoc();
    const std::string before = readFile(pdf);
    P.Print({"abandoned report"});
    P.NewPage();
    P.KillDoc();
    EXPECT_EQ(readFile(pdf), before);
    EXPECT_EQ(folderNames(), (std::vector<std::string>{pdf.filename().string()}));
}

TEST_F(PdfPrinter, NeedsAFileBeforeTheDocumentStarts) {
    printers->Item(0).setOutputFile("");
    EXPECT_EQ(testsupport::errorNumber<vb::RuntimeError>([&] { P.Print({"x"}); }), 482);
    EXPECT_FALSE(P.documentOpen());
}

TEST_F(PdfPrinter, AFolderThatCannotBeWrittenFailsAtTheStartNamingTheFileAndThePrinterRecovers) {
    const fs::path nowhere = pdf.parent_path() / "missing" / "report.pdf";
    printers->Item(0).setOutputFile(nowhere.string());
    std::string message;
    try {
        P.Print({"nowhere to go"});
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.number(), 75);
        message = e.what();
    }
    EXPECT_NE(message.find(nowhere.string()), std::string::npos) << message;
    EXPECT_NE(message.find("No such file or directory"), std::string::npos) << message;
    EXPECT_FALSE(P.documentOpen());
    printers->Item(0).setOutputFile(pdf.string());
    P.Print({"second try"});
    P.EndDoc();
    EXPECT_TRUE(fs::exists(pdf));
}

TEST(QtFonts, CourierFallsBackToAFixedPitchFace) {
    for (const char* name : {"Courier", "Courier New", "courier new"}) {
        const QFontInfo info(printer::matchFont({name, 10, false, false}));
        EXPECT_TRUE(info.fixedPitch()) << name << " came out as " << info.family().toStdString();
        if (QFontDatabase::hasFamily("Liberation Mono") && !QFontDatabase::hasFamily(name)) {
            EXPECT_EQ(info.family().toStdString(), "Liberation Mono") << name;
        }
    }
}

TEST(QtFonts, MissingFamiliesGoToAMetricCompatibleFace) {
    if (!QFontDatabase::hasFamily("Liberation Sans") || QFontDatabase::hasFamily("Arial")) {
        GTEST_SKIP() << "needs Liberation Sans installed and Arial absent";
    }
    EXPECT_EQ(QFontInfo(printer::matchFont({"Arial", 10, false, false})).family().toStdString(),
              "Liberation Sans");
}

// Each family once under its own name, the fixed-pitch ones first.
TEST(QtFonts, APrinterListsTheMachinesFamiliesOnceFixedPitchFirst) {
    auto printers = printer::printersNamed({"Laser"}, "Laser");
    const printer::PrinterDevice& laser = printers->Item(0);
    ASSERT_GT(laser.FontCount(), 0);
    std::set<std::string> seen;
    bool proportionalSeen = false;
    for (int i = 0; i < laser.FontCount(); ++i) {
        const std::string family = laser.Fonts(i);
        EXPECT_EQ(family.find(" ["), std::string::npos) << family;
        EXPECT_TRUE(seen.insert(family).second) << family << " twice";
        const bool fixed = QFontDatabase::isFixedPitch(QString::fromStdString(family));
        EXPECT_FALSE(fixed && proportionalSeen) << family << " after a proportional family";
        proportionalSeen = proportionalSeen || !fixed;
    }
    for (QString family : QFontDatabase::families()) {
        if (const qsizetype tag = family.indexOf(" ["); tag > 0) family.truncate(tag);
        EXPECT_EQ(seen.count(family.toStdString()), 1u) << family.toStdString();
    }
}

}  // namespace
