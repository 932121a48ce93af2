// What a printer draws on.
//
// The printer object (printer.h) works out every position itself and hands a
// surface finished placements in twips (1/1440 inch), measured from the
// top-left corner of the printable area. A surface lives for one document:
// the device opens it at the document's first output and the printer object
// ends it with endDocument or abandonDocument.
#pragma once

#include <string>
#include <string_view>

namespace printer {

// The font in force for a piece of text.
struct PrintFont {
    std::string name;
    double size = 10;  // points
    bool bold = false;
    bool underline = false;
    bool operator==(const PrintFont&) const = default;
};

// The printable area of a page, in twips.
struct PageGeometry {
    double width = 0;
    double height = 0;
};

// The page every printer offers the report: 96 columns of 1/12 inch by 64
// rows of 1/6 inch (8 by 10 2/3 inches). The report's page-break tests let
// a page reach its 64th row (a table's index listing begun on row 58 ends
// on row 63), so a page holding fewer rows would start pages of its own,
// without the page header. A paper whose printable area is smaller (US
// Letter within its margins holds 61 rows) takes the page scaled down to
// fit; one that is larger takes it as it is. One page for all printers
// also makes the text printer's pages the PDF's, page for page.
inline constexpr int kCharacterPageColumns = 96;
inline constexpr int kCharacterPageRows = 64;
inline constexpr PageGeometry kCharacterPage{kCharacterPageColumns * 120.0, kCharacterPageRows * 240.0};

class PrintSurface {
public:
    virtual ~PrintSurface() = default;
    // Text whose top-left corner is at (x, y); no control characters reach
    // here except what the caller chose to print.
    virtual void drawText(double x, double y, std::string_view utf8, const PrintFont& font) = 0;
    // A black line; `drawWidth` is the printer's DrawWidth (1 = the thinnest).
    virtual void drawLine(double x1, double y1, double x2, double y2, int drawWidth) = 0;
    // The current page is complete and a new one begins. `usedHeight` is how
    // far the rows of the page have been ended (the printer's CurrentY).
    virtual void endPage(double usedHeight) = 0;
    // The last page is complete and the document is released to its
    // destination. Throws vb::RuntimeError when the destination refuses it.
    virtual void endDocument(double usedHeight) = 0;
    // The document is dropped: nothing of it reaches the destination.
    virtual void abandonDocument() = 0;
};

}  // namespace printer
