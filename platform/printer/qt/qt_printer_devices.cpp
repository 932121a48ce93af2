#include "printer/qt/qt_printer_devices.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinterInfo>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "printer/qt/qt_fonts.h"
#include "vb/vb_error.h"

namespace printer {

namespace {

const char* const kDocumentName = "Strux32";

// The failure to write the PDF at `target`, naming the file and the reason.
vb::RuntimeError pdfNotWritten(const std::filesystem::path& target, const std::string& reason) {
    return vb::RuntimeError(75, "Path/File access error: the PDF file " + target.string() +
                                    " cannot be written (" + reason + ")");
}

// The file the document is rendered into, beside the target until it is
// complete.
std::filesystem::path partialFile(const std::filesystem::path& target) {
    std::filesystem::path partial = target;
    partial += ".part";
    return partial;
}

QString qs(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

QtPrinterDevice::QtPrinterDevice() = default;
QtPrinterDevice::~QtPrinterDevice() = default;

// Listing fonts walks every family; a font list is read one Fonts(i) at a time.
const std::vector<std::string>& QtPrinterDevice::fontNames() const {
    if (!families_) families_ = installedFontFamilies();
    return *families_;
}

QPrinter& QtPrinterDevice::measuringPrinter() const {
    if (!measuring_) measuring_ = makePrinter();
    return *measuring_;
}

const QFont& QtPrinterDevice::fontFor(const PrintFont& wanted) const {
    if (!lastFont_ || lastFont_->first != wanted) lastFont_.emplace(wanted, matchFont(wanted));
    return lastFont_->second;
}

PageGeometry QtPrinterDevice::geometry() const {
    const QRectF area = measuringPrinter().pageLayout().paintRectPoints();
    return {area.width() * 20, area.height() * 20};
}

double QtPrinterDevice::textWidth(std::string_view utf8, const PrintFont& font) const {
    QPrinter& printer = measuringPrinter();
    const QFontMetricsF metrics(fontFor(font), &printer);
    const double advance =
        metrics.horizontalAdvance(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
    return advance * 1440.0 / printer.resolution();
}

std::unique_ptr<PrintSurface> QtPrinterDevice::openSurface() {
    return std::make_unique<QtPrintSurface>(
        [this](const RecordedDocument& document) { release(document); });
}

std::unique_ptr<QPrinter> SystemPrinterDevice::makePrinter() const {
    auto printer = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(qs(name_)),
                                              QPrinter::HighResolution);
    printer->setDocName(kDocumentName);
    return printer;
}

void SystemPrinterDevice::release(const RecordedDocument& document) {
    // Qt would send a document for a printer it no longer knows to the
    // default printer instead; it belongs to no printer but the one chosen.
    if (QPrinterInfo::printerInfo(qs(name_)).isNull()) {
        throw vb::RuntimeError(482, "Printer error: " + name_ + " is not available");
    }
    std::unique_ptr<QPrinter> printer = makePrinter();
    renderDocument(*printer, document);
}

std::unique_ptr<PrintSurface> PdfPrinterDevice::openSurface() {
    // Refused at the start rather than at the end, so no work is lost.
    if (outputFile().empty()) throw vb::RuntimeError(482, "Printer error: no file named for the PDF");
    // A folder that cannot take the file is told at the start as well.
    const std::filesystem::path target(outputFile());
    const std::filesystem::path partial = partialFile(target);
    errno = 0;
    if (std::FILE* probe = std::fopen(partial.c_str(), "wb")) {
        std::fclose(probe);
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
    } else {
        throw pdfNotWritten(target, std::generic_category().message(errno));
    }
    if (std::filesystem::is_directory(target)) throw pdfNotWritten(target, "it is a folder");
    return QtPrinterDevice::openSurface();
}

std::unique_ptr<QPrinter> PdfPrinterDevice::makePrinter() const {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setDocName(kDocumentName);
    printer->setCreator(kDocumentName);
    const bool inches = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    printer->setPageLayout(QPageLayout(QPageSize(inches ? QPageSize::Letter : QPageSize::A4),
                                       QPageLayout::Portrait, QMarginsF(18, 28.8, 18, 28.8),
                                       QPageLayout::Point));
    return printer;
}

void PdfPrinterDevice::release(const RecordedDocument& document) {
    const std::filesystem::path target(outputFile());
    const std::filesystem::path partial = partialFile(target);
    std::unique_ptr<QPrinter> printer = makePrinter();
    printer->setOutputFileName(qs(partial.string()));
    std::error_code ignored;
    try {
        renderDocument(*printer, document);
    } catch (...) {
        printer.reset();
        std::filesystem::remove(partial, ignored);
        throw;
    }
    printer.reset();
    std::error_code error;
    std::filesystem::rename(partial, target, error);
    if (error) {
        std::filesystem::remove(partial, ignored);
        throw pdfNotWritten(target, error.message());
    }
}

}  // namespace printer
