// The printer object's line-printer model, read back through the text surface.
#include <gtest/gtest.h>

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

class PrinterModel : public ::testing::Test {
protected:
    PrinterModel() { P.SetScaleMode(printer::vbCharacters); }

    // The rows of the one released document's pages.
    std::vector<std::vector<std::string>> releasedPages() {
        P.EndDoc();
        EXPECT_EQ(device.documents().size(), 1u);
        return printer::textPages(device.documents().back());
    }
    std::vector<std::string> releasedRows() {
        auto pages = releasedPages();
        EXPECT_EQ(pages.size(), 1u);
        return pages.front();
    }

    printer::TextPrinterDevice device{"Text"};
    printer::Printer P{device};
};

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

TEST_F(PrinterModel, TabMovesToColumnNOrToColumnNOfTheNextRow) {
    P.Print({Tab(1), "a", Tab(10), "b", Tab(30), "c"});
    P.Print({Tab(5), "Name", Tab(7), "Type"});  // column 7 is behind the position
    P.Print({"abcd", Tab(5), "e"});              // column 5 is exactly the position
    P.Print({Tab(0), "x", Tab(-3), "y"});        // below 1 is the left edge
    EXPECT_EQ(releasedRows(), (std::vector<std::string>{
                                  "a        b                   c",
                                  "    Name",
                                  "      Type",
                                  "abcde",
                                  "x",
                                  "y"}));
}

TEST_F(PrinterModel, KeptPositionContinuesTheRow) {
    P.Print({Tab(10), "Fields"}, PrintEnd::KeepPosition);
    EXPECT_DOUBLE_EQ(P.CurrentX(), 15);
    EXPECT_DOUBLE_EQ(P.CurrentY(), 0);
    P.Print({Tab(30), "first"});
    P.Print({Tab(30), "second"});
    EXPECT_EQ(releasedRows(), (std::vector<std::string>{
                                  "         Fields              first",
                                  "                             second"}));
}

TEST_F(PrinterModel, KeptRowEndsAtAnEarlierTabOrAnEmptyStatement) {
    P.Print({Tab(10), "Idx"}, PrintEnd::KeepPosition);
    P.Print({Tab(30), "+A", Tab(45), "Ascend "}, PrintEnd::KeepPosition);
    P.Print({Tab(30), "-B", Tab(45), "Descend "}, PrintEnd::KeepPosition);
    P.Print();
    P.Print({"next"});
    EXPECT_EQ(releasedRows(), (std::vector<std::string>{
                                  "         Idx                 +A             Ascend",
                                  "                             -B             Descend",
                                  "next"}));
}

TEST_F(PrinterModel, EmptyStatementOnAnEmptyRowPrintsABlankRow) {
    P.Print({"a"});
    P.Print();
    P.Print();
    P.Print({"b"});
    P.Print();
    EXPECT_DOUBLE_EQ(P.CurrentY(), 5);
    // The trailing blank row belongs to the page too.
    EXPECT_EQ(releasedRows(), (std::vector<std::string>{"a", "", "", "b", ""}));
}

TEST_F(PrinterModel, CommaMovesToTheNextPrintZone) {
    P.Print({"a", Comma, "b", Comma, "c"});
    // Zones start at columns 1, 15, 29; text filling a zone exactly pushes the
    // next item on to the zone after.
    P.Print({"12345678901234", Comma, "x"});
    P.Print({"y"}, PrintEnd::NextZone);
    EXPECT_DOUBLE_EQ(P.CurrentX(), 14);
    P.Print({"z"});
    // 96 columns hold zones starting at 0, 14, ..., 84; the next would be 98.
    P.SetCurrentX(90);
    P.Print({Comma, "w"});
    EXPECT_EQ(releasedRows(), (std::vector<std::string>{
                                  "a             b             c",
                                  "12345678901234              x",
                                  "y             z",
                                  "",
                                  "w"}));
}

TEST_F(PrinterModel, NumbersHaveSignAndTrailingBlanksBooleansHaveNone) {
    P.Print({"Page no: ", 3, "|"});
    P.Print({"[", -12, "]", Tab(20), "[", std::int16_t{0}, "]"});
    P.Print({"[", 3.5, "][", 1e15, "][", 0.25f, "]"});
    P.Print({Tab(5), true, "|", false, "|"});
    EXPECT_EQ(releasedRows(), (std::vector<std::string>{
                                  "Page no:  3 |",
                                  "[-12 ]             [ 0 ]",
                                  "[ 3.5 ][ 1E+15 ][ 0.25 ]",
                                  "    True|False|"}));
}

TEST_F(PrinterModel, DatesUseTheGivenLocale) {
    P.setDateLocale(std::locale::classic());
    // 2 January 2000, 13:45:30.
    P.Print({DateItem{36527 + (13 * 3600 + 45 * 60 + 30) / 86400.0}});
    EXPECT_EQ(releasedRows(), std::vector<std::string>{"01/02/00 13:45:30"});
}

TEST_F(PrinterModel, LineBreaksInsideATextEndTheRow) {
    P.Print({Tab(5), "one\r\ntwo\nthree\rfour"}, PrintEnd::KeepPosition);
    EXPECT_DOUBLE_EQ(P.CurrentY(), 3);
    EXPECT_DOUBLE_EQ(P.CurrentX(), 4);
    P.Print();
    EXPECT_EQ(releasedRows(), (std::vector<std::string>{"    one", "two", "three", "four"}));
}

TEST_F(PrinterModel, ControlCharactersCannotForgeAPageBreak) {
    P.Print({"a\fb\tc"});
    const auto pages = releasedPages();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0], std::vector<std::string>{"a b c"});
}

TEST_F(PrinterModel, TextCountsCharactersNotBytes) {
    P.Print({"Größe", Tab(10), "x"});
    EXPECT_EQ(releasedRows(), std::vector<std::string>{"Größe    x"});
}

TEST_F(PrinterModel, TextPastTheRightEdgeIsKeptWithinReason) {
    P.Print({Tab(90), "0123456789"});
    P.Print({Tab(40000), "lost"});
    P.Print({"next"});
    EXPECT_EQ(releasedRows(), (std::vector<std::string>{std::string(89, ' ') + "0123456789", "",
                                                        "next"}));
}

TEST_F(PrinterModel, NewPageSeparatesPagesWithAFormFeed) {
    P.Print({"one"});
    EXPECT_EQ(P.Page(), 1);
    P.NewPage();
    EXPECT_EQ(P.Page(), 2);
    EXPECT_DOUBLE_EQ(P.CurrentY(), 0);
    P.Print({Tab(3), "two"});
    P.EndDoc();
    EXPECT_EQ(device.documents().at(0), "one\n\f  two\n");
    EXPECT_EQ(P.Page(), 1);
}

TEST_F(PrinterModel, ARowBelowThePageGoesOnANewPage) {
    for (int i = 0; i < 64; ++i) P.Print({Tab(1), i});
    EXPECT_EQ(P.Page(), 1);
    EXPECT_DOUBLE_EQ(P.CurrentY(), 64);
    P.Print({"next"});
    EXPECT_EQ(P.Page(), 2);
    EXPECT_DOUBLE_EQ(P.CurrentY(), 1);
    const auto pages = releasedPages();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].size(), 64u);
    EXPECT_EQ(pages[0][63], " 63");
    EXPECT_EQ(pages[1], std::vector<std::string>{"next"});
}

TEST_F(PrinterModel, RuleFromXStartsWhereTabOfXPlusOneStarts) {
    P.Print({Tab(6), "Name"});
    P.SetDrawWidth(6);
    const double y = P.CurrentY();
    P.Line(5, y, P.ScaleWidth(), y);
    P.SetDrawWidth(1);
    P.Print();
    P.Print({"after"});
    const auto rows = releasedRows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], "     Name");
    EXPECT_EQ(rows[1], std::string(5, ' ') + std::string(91, '-'));
    EXPECT_EQ(rows[2], "after");
}

TEST_F(PrinterModel, LineLeavesThePositionAtItsEnd) {
    P.Line(2, 3, 40, 3);
    EXPECT_DOUBLE_EQ(P.CurrentX(), 40);
    EXPECT_DOUBLE_EQ(P.CurrentY(), 3);
    P.Print({Tab(10), "x"});  // column 10 is behind x = 40: the next row
    EXPECT_DOUBLE_EQ(P.CurrentY(), 5);
}

TEST_F(PrinterModel, TextCoversARuleButBlanksDoNot) {
    P.Line(0, 0, 20, 0);
    P.SetCurrentX(0);
    P.Print({Tab(3), "ab", Tab(10), " 5 "});
    EXPECT_EQ(releasedRows(), std::vector<std::string>{"--ab------5---------"});
}

TEST_F(PrinterModel, VerticalLineMarksEachRowItCrosses) {
    P.Line(4, 0, 4, 2.5);
    EXPECT_EQ(releasedRows(), (std::vector<std::string>{"    |", "    |", "    |"}));
}

TEST_F(PrinterModel, KillDocDiscardsTheDocument) {
    P.Print({"secret"});
    P.NewPage();
    P.Print({"more"});
    P.KillDoc();
    EXPECT_FALSE(P.documentOpen());
    EXPECT_EQ(P.Page(), 1);
    EXPECT_DOUBLE_EQ(P.CurrentY(), 0);
    P.EndDoc();
    EXPECT_TRUE(device.documents().empty());
    // The next document starts clean.
    P.Print({"fresh"});
    EXPECT_EQ(releasedRows(), std::vector<std::string>{"fresh"});
}

TEST_F(PrinterModel, EndDocReleasesOnceAndWithoutOutputReleasesNothing) {
    P.EndDoc();
    EXPECT_TRUE(device.documents().empty());
    P.Print({"first"});
    P.EndDoc();
    P.EndDoc();
    P.Print({"second"});
    P.EndDoc();
    EXPECT_EQ(device.documents(), (std::vector<std::string>{"first\n", "second\n"}));
}

TEST(TextPages, SplitsADocumentIntoPagesAndRows) {
    using Pages = std::vector<std::vector<std::string>>;
    EXPECT_EQ(printer::textPages("a\n\nb\n\f\fc\n"), (Pages{{"a", "", "b"}, {}, {"c"}}));
    EXPECT_EQ(printer::textPages(""), Pages{{}});
    EXPECT_EQ(printer::textPages("open"), Pages{{"open"}});
}

TEST_F(PrinterModel, EndDocWritesToTheSink) {
    std::ostringstream out;
    printer::TextPrinterDevice console("Console", &out);
    {
        printer::Printer onConsole(console);
        onConsole.Print({"kept until released"});
        EXPECT_EQ(out.str(), "");
    }  // a printer object going away releases its open document
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

TEST_F(PrinterModel, LargerFontsTakeTallerRows) {
    P.SetFontSize(20);
    P.Print({"big"});
    EXPECT_DOUBLE_EQ(P.CurrentY(), 2);
    P.SetFontSize(10);
    P.Print({"small"});
    EXPECT_EQ(releasedRows(), (std::vector<std::string>{"big", "", "small"}));
}

}  // namespace
