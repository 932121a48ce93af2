// The printer object's line-printer model, read back through the text surface.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "printer/printer.h"
#include "printer/text_printer_device.h"
#include "printer/text_surface.h"
#include "support/error_number.h"
#include "vb/vb_error.h"

namespace {

using printer::Comma;
using printer::DateItem;
using printer::PrintEnd;
using printer::Tab;
using Rows = std::vector<std::string>;
using Pages = std::vector<Rows>;

class PrinterModel : public ::testing::Test {
protected:
    PrinterModel() { P.SetScaleMode(printer::vbCharacters); }

    // The pages of the one document released.
    Pages releasedPages() {
        P.EndDoc();
        EXPECT_EQ(device.documents().size(), 1u);
        return device.documents().empty() ? Pages{} : printer::textPages(device.documents().back());
    }

    printer::TextPrinterDevice device{"Text"};
    printer::Printer P{device};
};

// Print statements and the one page they give, in character units.
TEST_F(PrinterModel, PrintStatementsGiveTheRows) {
    using Script = std::function<void(printer::Printer&)>;
    const struct {
        const char* what;
        Script print;
        Rows rows;
    } cases[] = {
        {"Tab(n) moves to column n, or to column n of the next row when behind; below 1 is the left edge",
         [](auto& P) {
             P.Print({Tab(1), "a", Tab(10), "b", Tab(30), "c"});
             P.Print({Tab(5), "Name", Tab(7), "Type"});
             P.Print({"abcd", Tab(5), "e"});
             P.Print({Tab(0), "x", Tab(-3), "y"});
         },
         {"a        b                   c", "    Name", "      Type", "abcde", "x", "y"}},
        {"a kept row ends at an earlier tab or an empty statement",
         [](auto& P) {
             P.Print({Tab(10), "Idx"}, PrintEnd::KeepPosition);
             P.Print({Tab(30), "+A", Tab(45), "Ascend "}, PrintEnd::KeepPosition);
             P.Print({Tab(30), "-B", Tab(45), "Descend "}, PrintEnd::KeepPosition);
             P.Print();
             P.Print({"next"});
         },
         {"         Idx                 +A             Ascend", "                             -B             Descend",
          "next"}},
        {"an empty statement on an empty row is a blank row, the last one too",
         [](auto& P) {
             P.Print({"a"});
             P.Print();
             P.Print();
             P.Print({"b"});
             P.Print();
         },
         {"a", "", "", "b", ""}},
        // Zones start every 14 columns; text filling a zone pushes the next
        // item to the zone after; 96 columns hold zones up to column 84.
        {"a comma moves to the next print zone",
         [](auto& P) {
             P.Print({"a", Comma, "b", Comma, "c"});
             P.Print({"12345678901234", Comma, "x"});
             P.Print({"y"}, PrintEnd::NextZone);
             P.Print({"z"});
             P.SetCurrentX(90);
             P.Print({Comma, "w"});
         },
         {"a             b             c", "12345678901234              x", "y             z", "", "w"}},
        {"numbers have a sign place and a trailing blank, booleans neither",
         [](auto& P) {
             P.Print({"Page no: ", 3, "|"});
             P.Print({"[", -12, "]", Tab(20), "[", std::int16_t{0}, "]"});
             P.Print({"[", 3.5, "][", 1e15, "][", 0.25f, "]"});
             P.Print({Tab(5), true, "|", false, "|"});
         },
         {"Page no:  3 |", "[-12 ]             [ 0 ]", "[ 3.5 ][ 1E+15 ][ 0.25 ]", "    True|False|"}},
        {"dates in the given locale (2 January 2000, 13:45:30)",
         [](auto& P) {
             P.setDateLocale(std::locale::classic());
             P.Print({DateItem{36527 + (13 * 3600 + 45 * 60 + 30) / 86400.0}});
         },
         {"01/02/00 13:45:30"}},
        {"line breaks inside a text end the row",
         [](auto& P) { P.Print({Tab(5), "one\r\ntwo\nthree\rfour"}); }, {"    one", "two", "three", "four"}},
        {"control characters cannot forge a page break", [](auto& P) { P.Print({"a\fb\tc"}); }, {"a b c"}},
        {"text counts characters, not bytes", [](auto& P) { P.Print({"Größe", Tab(10), "x"}); }, {"Größe    x"}},
        {"text past the right edge is kept within reason",
         [](auto& P) {
             P.Print({Tab(90), "0123456789"});
             P.Print({Tab(40000), "lost"});
             P.Print({"next"});
         },
         {std::string(89, ' ') + "0123456789", "", "next"}},
        {"a rule from x starts where Tab(x + 1) starts",
         [](auto& P) {
             P.Print({Tab(6), "Name"});
             P.SetDrawWidth(6);
             P.Line(5, P.CurrentY(), P.ScaleWidth(), P.CurrentY());
             P.SetDrawWidth(1);
             P.Print();
             P.Print({"after"});
         },
         {"     Name", std::string(5, ' ') + std::string(91, '-'), "after"}},
        {"text covers a rule, blanks do not",
         [](auto& P) {
             P.Line(0, 0, 20, 0);
             P.SetCurrentX(0);
             P.Print({Tab(3), "ab", Tab(10), " 5 "});
         },
         {"--ab------5---------"}},
        {"a vertical line marks each row it crosses", [](auto& P) { P.Line(4, 0, 4, 2.5); }, {"    |", "    |", "    |"}},
        {"larger fonts take taller rows",
         [](auto& P) {
             P.SetFontSize(20);
             P.Print({"big"});
             P.SetFontSize(10);
             P.Print({"small"});
         },
         {"big", "", "small"}},
    };
    for (const auto& c : cases) {
        printer::TextPrinterDevice text{"Text"};
        printer::Printer printer{text};
        printer.SetScaleMode(printer::vbCharacters);
        c.print(printer);
        printer.EndDoc();
        ASSERT_EQ(text.documents().size(), 1u) << c.what;
        EXPECT_EQ(printer::textPages(text.documents()[0]), Pages{c.rows}) << c.what;
    }
}

TEST_F(PrinterModel, EveryScaleModeMeasuresTheTextPage) {
    // The text page is 96 columns of 120 twips by 64 rows of 240 twips.
    const struct {
        int mode;
        double width, height;
    } modes[] = {{printer::vbCharacters, 96, 64},         {printer::vbTwips, 11520, 15360},
                 {printer::vbPoints, 576, 768},           {printer::vbInches, 8, 15360 / 1440.0},
                 {printer::vbMillimeters, 203.2, 270.93}, {printer::vbCentimeters, 20.32, 27.093}};
    for (const auto& m : modes) {
        P.SetScaleMode(m.mode);
        EXPECT_NEAR(P.ScaleWidth(), m.width, 0.01) << m.mode;
        EXPECT_NEAR(P.ScaleHeight(), m.height, 0.01) << m.mode;
    }
}

// Where each statement leaves the print position.
TEST_F(PrinterModel, ThePositionFollowsWhatWasPrinted) {
    P.Print({Tab(10), "Fields"}, PrintEnd::KeepPosition);
    EXPECT_DOUBLE_EQ(P.CurrentX(), 15);
    EXPECT_DOUBLE_EQ(P.CurrentY(), 0);
    P.Print({"y"}, PrintEnd::NextZone);
    EXPECT_DOUBLE_EQ(P.CurrentX(), 28);
    P.Print({Tab(5), "one\r\ntwo"}, PrintEnd::KeepPosition);
    EXPECT_DOUBLE_EQ(P.CurrentY(), 2);
    EXPECT_DOUBLE_EQ(P.CurrentX(), 3);
    // A line leaves the position at its end; column 10 is behind x = 40.
    P.Line(2, 3, 40, 3);
    EXPECT_DOUBLE_EQ(P.CurrentX(), 40);
    P.Print({Tab(10), "x"});
    EXPECT_DOUBLE_EQ(P.CurrentY(), 5);
}

TEST_F(PrinterModel, PagesBreakBeforeARowBelowThePageAndOnNewPage) {
    for (int i = 0; i < 64; ++i) P.Print({Tab(1), i});
    EXPECT_EQ(P.Page(), 1);
    EXPECT_DOUBLE_EQ(P.CurrentY(), 64);
    P.Print({"next"});
    EXPECT_EQ(P.Page(), 2);
    EXPECT_DOUBLE_EQ(P.CurrentY(), 1);
    P.NewPage();
    EXPECT_EQ(P.Page(), 3);
    EXPECT_DOUBLE_EQ(P.CurrentY(), 0);
    P.Print({Tab(3), "two"});
    const auto pages = releasedPages();
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].size(), 64u);
    EXPECT_EQ(pages[0][63], " 63");
    EXPECT_EQ(pages[1], Rows{"next"});
    EXPECT_EQ(pages[2], Rows{"  two"});
    EXPECT_EQ(P.Page(), 1);
}

TEST_F(PrinterModel, KillDocDiscardsAndEndDocReleasesOnce) {
    P.Print({"secret"});
    P.NewPage();
    P.KillDoc();
    EXPECT_FALSE(P.documentOpen());
    EXPECT_EQ(P.Page(), 1);
    EXPECT_DOUBLE_EQ(P.CurrentY(), 0);
    P.EndDoc();
    EXPECT_TRUE(device.documents().empty());
    P.Print({"first"});
    P.EndDoc();
    P.EndDoc();
    P.Print({"second"});
    P.EndDoc();
    EXPECT_EQ(device.documents(), (Rows{"first\n", "second\n"}));
}

TEST(TextPages, SplitsADocumentIntoPagesAndRows) {
    EXPECT_EQ(printer::textPages("a\n\nb\n\f\fc\n"), (Pages{{"a", "", "b"}, {}, {"c"}}));
    EXPECT_EQ(printer::textPages(""), Pages{{}});
    EXPECT_EQ(printer::textPages("open"), Pages{{"open"}});
}

TEST_F(PrinterModel, APrinterGoingAwayReleasesItsDocumentToTheSink) {
    std::ostringstream out;
    printer::TextPrinterDevice console("Console", &out);
    {
        printer::Printer onConsole(console);
        onConsole.Print({"kept until released"});
        EXPECT_EQ(out.str(), "");
    }
    EXPECT_EQ(out.str(), "kept until released\n");
}

TEST_F(PrinterModel, RejectsInvalidPropertyValues) {
    EXPECT_EQ(testsupport::errorNumber<vb::RuntimeError>([&] { P.SetDrawWidth(0); }), 380);
    EXPECT_EQ(testsupport::errorNumber<vb::RuntimeError>([&] { P.SetScaleMode(3); }), 380);
    EXPECT_EQ(testsupport::errorNumber<vb::RuntimeError>([&] { P.SetFontName(""); }), 380);
    EXPECT_EQ(testsupport::errorNumber<vb::RuntimeError>([&] { P.SetFontSize(0); }), 380);
    EXPECT_EQ(P.DrawWidth(), 1);
    EXPECT_EQ(P.ScaleMode(), printer::vbCharacters);
}

}  // namespace
