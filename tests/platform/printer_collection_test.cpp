// The printers collection: order, the current printer and selection by name,
// over text printers and over the machine's printer list.
#include <gtest/gtest.h>

#include <memory>

#include "printer/printers.h"
#include "printer/qt/qt_printer_devices.h"
#include "printer/qt/system_printers.h"
#include "printer/text_printer_device.h"
#include "support/error_number.h"
#include "vb/vb_error.h"

namespace {

std::unique_ptr<printer::Printers> textPrinters(const std::vector<std::string>& names, int current) {
    std::vector<std::unique_ptr<printer::PrinterDevice>> devices;
    for (const auto& name : names) devices.push_back(std::make_unique<printer::TextPrinterDevice>(name));
    return std::make_unique<printer::Printers>(std::move(devices), current);
}

std::vector<std::string> deviceNames(const printer::Printers& printers) {
    std::vector<std::string> names;
    for (int i = 0; i < printers.Count(); ++i) names.push_back(printers.Item(i).DeviceName());
    return names;
}

TEST(Printers, SelectByNameTakesTheFirstExactMatchOrKeepsTheCurrentPrinter) {
    auto printers = textPrinters({"Office", "HPLJ", "hplj", "HPLJ"}, 0);
    EXPECT_EQ(printers->printer().DeviceName(), "Office");
    EXPECT_TRUE(printers->selectByName("HPLJ"));
    EXPECT_EQ(printers->currentIndex(), 1);
    EXPECT_TRUE(printers->selectByName("hplj"));
    EXPECT_EQ(printers->currentIndex(), 2);
    printers->printer().SetScaleMode(printer::vbCharacters);
    EXPECT_FALSE(printers->selectByName("Office "));
    EXPECT_FALSE(printers->selectByName(""));
    EXPECT_EQ(printers->currentIndex(), 2);
    // Nothing was reset either.
    EXPECT_EQ(printers->printer().ScaleMode(), printer::vbCharacters);
}

TEST(Printers, SelectingStartsAFreshPrinterObjectOnTheNewDevice) {
    auto printers = textPrinters({"A", "B"}, 0);
    printer::Printer& P = printers->printer();
    P.SetScaleMode(printer::vbCharacters);
    P.SetFontName("Courier");
    P.SetFontBold(true);
    printers->select(1);
    EXPECT_EQ(P.DeviceName(), "B");
    EXPECT_EQ(P.ScaleMode(), printer::vbTwips);
    EXPECT_FALSE(P.FontBold());
    P.Print({"on B"});
    P.EndDoc();
    auto& b = static_cast<printer::TextPrinterDevice&>(printers->Item(1));
    auto& a = static_cast<printer::TextPrinterDevice&>(printers->Item(0));
    EXPECT_EQ(b.documents(), std::vector<std::string>{"on B\n"});
    EXPECT_TRUE(a.documents().empty());
}

TEST(Printers, ThePrinterCannotChangeInsideADocument) {
    auto printers = textPrinters({"A", "B"}, 0);
    printers->printer().Print({"half a report"});
    EXPECT_EQ(testsupport::errorNumber<vb::RuntimeError>([&] { printers->selectByName("B"); }), 396)
        << "switched printers in the middle of a document";
    EXPECT_EQ(printers->currentIndex(), 0);
    printers->printer().EndDoc();
    EXPECT_TRUE(printers->selectByName("B"));
}

TEST(Printers, BadIndexesAreRefused) {
    auto printers = textPrinters({"A"}, 0);
    EXPECT_THROW(printers->Item(1), vb::RuntimeError);
    EXPECT_THROW(printers->select(-1), vb::RuntimeError);
    EXPECT_THROW(textPrinters({"A"}, 1), std::invalid_argument);
    EXPECT_THROW(textPrinters({}, 0), std::invalid_argument);
}

TEST(Printers, FontsAreListedByPosition) {
    printer::TextPrinterDevice device("T", nullptr, {"Courier", "Arial"});
    printer::Printer P(device);
    ASSERT_EQ(P.FontCount(), 2);
    EXPECT_EQ(P.Fonts(0), "Courier");
    EXPECT_EQ(P.Fonts(1), "Arial");
    EXPECT_EQ(P.Fonts(2), "");
}

TEST(SystemPrinters, MachinePrintersInOrderThenThePdfPrinterWithTheDefaultCurrent) {
    auto printers = printer::printersNamed({"Laser", "Colour", "Draft"}, "Colour");
    EXPECT_EQ(deviceNames(*printers),
              (std::vector<std::string>{"Laser", "Colour", "Draft", printer::kPdfPrinterName}));
    EXPECT_EQ(printers->currentIndex(), 1);
    EXPECT_FALSE(printers->Item(0).writesToFile());
    EXPECT_TRUE(printers->Item(3).writesToFile());
    // Without a default, or with one that is gone, the first is current;
    // without printers, the PDF printer.
    EXPECT_EQ(printer::printersNamed({"Laser", "Draft"}, "")->currentIndex(), 0);
    EXPECT_EQ(printer::printersNamed({"Laser", "Draft"}, "Gone")->currentIndex(), 0);
    EXPECT_EQ(printer::printersNamed({}, "")->printer().DeviceName(), "PDF file");
}

TEST(SystemPrinters, APrinterThatHasGoneAwayRefusesTheDocument) {
    auto printers = printer::printersNamed({"Strux32 test printer that does not exist"}, "");
    printer::Printer& P = printers->printer();
    P.SetScaleMode(printer::vbCharacters);
    EXPECT_GT(P.ScaleWidth(), 0);  // still measurable, with Qt's fallback page
    P.Print({"for nobody"});
    EXPECT_EQ(testsupport::errorNumber<vb::RuntimeError>([&] { P.EndDoc(); }), 482)
        << "a document went to some other printer";
    EXPECT_FALSE(P.documentOpen());
}

}  // namespace
