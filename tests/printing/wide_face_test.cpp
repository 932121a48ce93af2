// Columns on a face a hair wider than Courier, as the PDF printer's stand-in
// for Courier measures.
#include <gtest/gtest.h>

#include "printer/printer.h"
#include "printer/text_printer_device.h"
#include "printer/text_surface.h"

namespace {

using printer::Tab;

// Characters 120.24 twips wide, as Liberation Mono at 10 points.
class WideFaceDevice : public printer::TextPrinterDevice {
public:
    double textWidth(std::string_view utf8, const printer::PrintFont& font) const override {
        return TextPrinterDevice::textWidth(utf8, font) * 120.24 / 120.0;
    }
};

TEST(WideFace, TextFillingItsColumnsKeepsTheNextColumnOnTheRow) {
    WideFaceDevice device;
    printer::Printer p(device);
    p.SetScaleMode(printer::vbCharacters);
    p.Print({Tab(45), "Sort Order", Tab(55), "Unique"});
    // A 40-character name filling columns 10 to 49 exactly.
    p.Print({Tab(10), std::string(40, 'n'), Tab(50), "Updatable:  True"});
    // Text a whole character past the column still moves to the next row.
    p.Print({Tab(10), std::string(41, 'n'), Tab(50), "late"});
    p.EndDoc();
    const auto pages = printer::textPages(device.documents().at(0));
    ASSERT_EQ(pages.at(0).size(), 4u);
    EXPECT_EQ(pages[0][0], std::string(44, ' ') + "Sort OrderUnique");
    EXPECT_EQ(pages[0][1], std::string(9, ' ') + std::string(40, 'n') + "Updatable:  True");
    EXPECT_EQ(pages[0][2], std::string(9, ' ') + std::string(41, 'n'));
    EXPECT_EQ(pages[0][3], std::string(49, ' ') + "late");
}

}  // namespace
