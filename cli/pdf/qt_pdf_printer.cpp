#include "pdf/qt_pdf_printer.h"

#include <QGuiApplication>
#include <memory>

#include "pdf/pdf_printer.h"
#include "printer/qt/qt_printer_devices.h"

namespace cli {

namespace {

// The PDF printer with the application object Qt's printers need. The
// application is made only when the caller has none (a test program may have
// its own) and goes with the printer.
class PdfPrinterWithApplication : public printer::PrinterDevice {
public:
    PdfPrinterWithApplication() {
        if (!QCoreApplication::instance()) {
            // A PDF needs no screen: without one chosen, draw offscreen.
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
            application_ = std::make_unique<QGuiApplication>(argc_, argv_);
        }
        pdf_ = std::make_unique<printer::PdfPrinterDevice>();
    }

    std::string DeviceName() const override { return pdf_->DeviceName(); }
    const std::vector<std::string>& fontNames() const override { return pdf_->fontNames(); }
    printer::PageGeometry geometry() const override { return pdf_->geometry(); }
    double textWidth(std::string_view utf8, const printer::PrintFont& font) const override {
        return pdf_->textWidth(utf8, font);
    }
    std::unique_ptr<printer::PrintSurface> openSurface() override { return pdf_->openSurface(); }
    bool writesToFile() const override { return true; }
    void setOutputFile(const std::string& path) override {
        PrinterDevice::setOutputFile(path);
        pdf_->setOutputFile(path);
    }

private:
    int argc_ = 1;
    char name_[6] = "strux";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> application_;  // made first, gone last
    std::unique_ptr<printer::PdfPrinterDevice> pdf_;
};

std::unique_ptr<printer::PrinterDevice> makePdfPrinter() { return std::make_unique<PdfPrinterWithApplication>(); }

}  // namespace

void usePdfPrinterOfQt() { setPdfPrinterFactory(&makePdfPrinter); }

}  // namespace cli
