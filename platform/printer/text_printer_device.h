// A printer whose documents come out as text (text_surface.h): for tests,
// and for a report written to standard output.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "printer/printer_device.h"

namespace printer {

class TextPrinterDevice : public PrinterDevice {
public:
    // Every released document is kept in documents() and, when `sink` is
    // given, written to it (not owned; it must outlive the device).
    explicit TextPrinterDevice(std::string deviceName = "Text", std::ostream* sink = nullptr,
                               std::vector<std::string> fonts = {"Courier", "Courier New"});

    std::string DeviceName() const override { return deviceName_; }
    const std::vector<std::string>& fontNames() const override { return fonts_; }
    // The character page, whatever the font.
    PageGeometry geometry() const override;
    // One column per character.
    double textWidth(std::string_view utf8, const PrintFont& font) const override;
    std::unique_ptr<PrintSurface> openSurface() override;

    // The documents released so far, oldest first.
    const std::vector<std::string>& documents() const { return documents_; }

private:
    std::string deviceName_;
    std::ostream* sink_;
    std::vector<std::string> fonts_;
    std::vector<std::string> documents_;
};

}  // namespace printer
