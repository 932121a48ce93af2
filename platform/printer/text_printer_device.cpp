#include "printer/text_printer_device.h"

#include "printer/printer.h"
#include "printer/text_surface.h"
#include "printer/utf8_text.h"

namespace printer {

TextPrinterDevice::TextPrinterDevice(std::string deviceName, std::ostream* sink,
                                     std::vector<std::string> fonts)
    : deviceName_(std::move(deviceName)), sink_(sink), fonts_(std::move(fonts)) {}

PageGeometry TextPrinterDevice::geometry() const { return kCharacterPage; }

double TextPrinterDevice::textWidth(std::string_view utf8, const PrintFont&) const {
    return static_cast<double>(decodeUtf8(utf8).size()) * kTwipsPerColumn;
}

std::unique_ptr<PrintSurface> TextPrinterDevice::openSurface() {
    return std::make_unique<TextSurface>([this](std::string document) {
        if (sink_) {
            *sink_ << document;
            sink_->flush();
        }
        documents_.push_back(std::move(document));
    });
}

}  // namespace printer
