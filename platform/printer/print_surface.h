// What a printer draws on, and the installed printer that provides it.
//
// The printer object (printer.h) works out every position itself and hands a
// surface finished placements in twips (1/1440 inch), measured from the
// top-left corner of the printable area. A surface lives for one document:
// the device opens it at the document's first output and the printer object
// ends it with endDocument or abandonDocument.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace printer {

// The font in force for a piece of text.
struct FontSpec {
    std::string name;
    double size = 10;  // points
    bool bold = false;
    bool underline = false;
    bool operator==(const FontSpec&) const = default;
};

// The printable area of a page, in twips.
struct PageGeometry {
    double width = 0;
    double height = 0;
};

class PrintSurface {
public:
    virtual ~PrintSurface() = default;
    // Text whose top-left corner is at (x, y); no control characters reach
    // here except what the caller chose to print.
    virtual void drawText(double x, double y, std::string_view utf8, const FontSpec& font) = 0;
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

// One installed printer: what the printers collection lists and what the
// printer object prints on.
class PrinterDevice {
public:
    virtual ~PrinterDevice() = default;

    virtual std::string DeviceName() const = 0;
    // The font families this printer can print, in the printer's order.
    virtual const std::vector<std::string>& fontNames() const = 0;
    int FontCount() const { return static_cast<int>(fontNames().size()); }
    // Fonts(i) for i from 0 to FontCount() - 1; "" outside that range.
    std::string Fonts(int index) const;

    virtual PageGeometry geometry() const = 0;
    // The advance width of `utf8` in twips when printed in `font`.
    virtual double textWidth(std::string_view utf8, const FontSpec& font) const = 0;
    // Starts a document. Throws vb::RuntimeError (482, "Printer error") when
    // the printer cannot take one.
    virtual std::unique_ptr<PrintSurface> openSurface() = 0;

    // A printer that writes its documents to a file (the PDF printer) needs
    // the file's path before a document starts; other printers ignore it.
    virtual bool writesToFile() const { return false; }
    virtual void setOutputFile(const std::string& path) { outputFile_ = path; }
    const std::string& outputFile() const { return outputFile_; }

private:
    std::string outputFile_;
};

}  // namespace printer
