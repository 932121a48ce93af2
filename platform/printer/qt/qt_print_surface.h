// The surface of the Qt printers. It records a document and hands it over
// whole when the document is released, so that an abandoned document never
// reaches a printer queue or a file (Qt's print engines cannot take back a
// job once painting on them has begun).
#pragma once

#include <QPrinter>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "printer/print_surface.h"

namespace printer {

struct TextMark {
    double x, y;
    std::string text;
    PrintFont font;
};
struct LineMark {
    double x1, y1, x2, y2;
    int drawWidth;
};
using Mark = std::variant<TextMark, LineMark>;
// Pages of marks in twips, in the order they were made.
using RecordedDocument = std::vector<std::vector<Mark>>;

class QtPrintSurface : public PrintSurface {
public:
    // `release` prints the finished document; it throws vb::RuntimeError when
    // the printer refuses it.
    explicit QtPrintSurface(std::function<void(const RecordedDocument&)> release);

    void drawText(double x, double y, std::string_view utf8, const PrintFont& font) override;
    void drawLine(double x1, double y1, double x2, double y2, int drawWidth) override;
    void endPage(double usedHeight) override;
    void endDocument(double usedHeight) override;
    void abandonDocument() override;

private:
    std::function<void(const RecordedDocument&)> release_;
    RecordedDocument pages_;
};

// How much the character page (print_surface.h) is scaled down to fit the
// printable area of `printer`'s page: 1 when it fits as it is.
double characterPageScale(const QPrinter& printer);

// Paints `document` on `printer`, one page after another, positions measured
// from the top-left of the printable area and scaled by
// characterPageScale. A DrawWidth unit is 1/300 inch. Throws
// vb::RuntimeError (482, "Printer error") when the printer cannot be opened
// or refuses a page.
void renderDocument(QPrinter& printer, const RecordedDocument& document);

}  // namespace printer
