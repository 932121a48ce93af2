// One installed printer: its name and fonts, its page, how wide its text
// runs, and the surface a document is printed on.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "printer/print_surface.h"

namespace printer {

// What the printers collection lists and what the printer object prints on.
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
    virtual double textWidth(std::string_view utf8, const PrintFont& font) const = 0;
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
