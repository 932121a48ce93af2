// The VB printer object as the structure report uses it: a line printer with
// a current print position over the current printer's surface.
//
// Positions are kept in twips. In the character scale mode one horizontal
// unit is 120 twips (1/12 inch) and one vertical unit 240 twips (1/6 inch).
// Tab columns are always 120 twips wide, whatever the font, so that a tab
// setting lines columns up on every printer and a line from x = n starts
// exactly where the text of Tab(n + 1) starts.
//
// Errors are vb::RuntimeError with VB's numbers: 380 for an invalid property
// value, 396 for changing the printer inside a document, 482 when the
// printer cannot take or release a document (75 when a finished file cannot
// be put in its place).
#pragma once

#include <initializer_list>
#include <locale>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "printer/print_item.h"
#include "printer/printer_device.h"

namespace printer {

enum ScaleModeConstants : int {
    vbTwips = 1,
    vbPoints = 2,
    vbCharacters = 4,
    vbInches = 5,
    vbMillimeters = 6,
    vbCentimeters = 7,
};

inline constexpr double kTwipsPerColumn = 120;
inline constexpr double kTwipsPerRow = 240;
// Print zones of the "," separator are 14 columns wide.
inline constexpr int kColumnsPerZone = 14;

class Printer {
public:
    // Prints on `device`, which must outlive the printer object.
    explicit Printer(PrinterDevice& device);
    // A document still open is released, as VB releases it when the program ends.
    ~Printer();
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    // Makes `device` the one printed on and resets every property to its
    // default (as `Set Printer = Printers(i)` gives a fresh printer object).
    // Throws 396 while a document is open.
    void attach(PrinterDevice& device);
    PrinterDevice& device() const { return *device_; }

    std::string DeviceName() const { return device_->DeviceName(); }
    int FontCount() const { return device_->FontCount(); }
    std::string Fonts(int index) const { return device_->Fonts(index); }

    // Scale. Twips by default; the report switches to vbCharacters.
    int ScaleMode() const { return scaleMode_; }
    void SetScaleMode(int mode);
    double ScaleWidth() const;
    double ScaleHeight() const;
    double CurrentX() const;
    double CurrentY() const;
    void SetCurrentX(double x);
    void SetCurrentY(double y);
    double TextWidth(std::string_view text) const;
    // The height of one printed row in the current font.
    double TextHeight() const;

    // The current font. Its state stays in force until changed.
    const std::string& FontName() const { return font_.name; }
    void SetFontName(const std::string& name);
    double FontSize() const { return font_.size; }
    void SetFontSize(double points);
    bool FontBold() const { return font_.bold; }
    void SetFontBold(bool on) { font_.bold = on; }
    bool FontUnderline() const { return font_.underline; }
    void SetFontUnderline(bool on) { font_.underline = on; }

    int DrawWidth() const { return drawWidth_; }
    void SetDrawWidth(int width);

    // The number of the page being printed, from 1.
    int Page() const { return page_; }

    // A print statement. Items follow each other as if separated by ";"; a
    // Comma item is the "," separator. `Print()` alone ends the current row,
    // or prints a blank row when the row is empty. A row reaching below the
    // printable area goes on a new page first. Line breaks inside a text end
    // the row and go on at the left edge.
    void Print(std::initializer_list<PrintItem> items = {}, PrintEnd end = PrintEnd::EndRow);
    void Print(const std::vector<PrintItem>& items, PrintEnd end = PrintEnd::EndRow);

    // A black line from (x1, y1) to (x2, y2) in scale units, DrawWidth thick;
    // afterwards the current position is (x2, y2), as in VB.
    void Line(double x1, double y1, double x2, double y2);

    void NewPage();
    // Releases the document to the printer (nothing when none was started).
    // The position returns to the top-left and Page to 1.
    void EndDoc();
    // Abandons the document; nothing of it is printed.
    void KillDoc();

    bool documentOpen() const { return surface_ != nullptr; }

    // Date items are printed in this locale's short date and time formats;
    // the user's locale unless set.
    void setDateLocale(const std::locale& locale) { dateLocale_ = locale; }

private:
    template <typename Items>
    void printItems(const Items& items, PrintEnd end);
    void printText(std::string_view text);
    void printSegment(std::string_view segment);
    void moveToColumn(int column);
    void moveToNextZone();
    void endRow();
    double rowHeight() const;
    double twipsPerUnitX() const;
    double twipsPerUnitY() const;
    PrintSurface& surface();
    void resetDocumentState();

    PrinterDevice* device_;
    std::unique_ptr<PrintSurface> surface_;
    std::locale dateLocale_;
    PrintFont font_;
    int scaleMode_ = vbTwips;
    int drawWidth_ = 1;
    int page_ = 1;
    double x_ = 0;  // twips
    double y_ = 0;  // twips
};

}  // namespace printer
