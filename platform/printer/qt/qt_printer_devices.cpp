#include "printer/qt/qt_printer_devices.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinterInfo>
#include <filesystem>
#include <optional>
#include <system_error>

#include "files/replacement_file.h"
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

// Whatever its paper, a printer offers the character page; renderDocument
// fits it to the paper.
PageGeometry QtPrinterDevice::geometry() const { return kCharacterPage; }

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

PdfPrinterDevice::PdfPrinterDevice(std::optional<QPageSize::PageSizeId> paper)
    : paper_(paper.value_or(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                                              : QPageSize::A4)) {}

std::unique_ptr<PrintSurface> PdfPrinterDevice::openSurface() {
    // Refused at the start rather than at the end, so no work is lost.
    if (outputFile().empty()) throw vb::RuntimeError(482, "Printer error: no file named for the PDF");
    // A folder that cannot take the file is told at the start as well.
    // The probe is a temporary file of the kind the document is drawn
    // into, removed again at once.
    const std::filesystem::path target(outputFile());
    try {
        files::ReplacementFile probe(target);
    } catch (const std::runtime_error& e) {
        throw pdfNotWritten(target, e.what());
    }
    return QtPrinterDevice::openSurface();
}

std::unique_ptr<QPrinter> PdfPrinterDevice::makePrinter() const {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setDocName(kDocumentName);
    printer->setCreator(kDocumentName);
    printer->setPageLayout(QPageLayout(QPageSize(paper_),
                                       QPageLayout::Portrait, QMarginsF(18, 28.8, 18, 28.8),
                                       QPageLayout::Point));
    return printer;
}

void PdfPrinterDevice::release(const RecordedDocument& document) {
    // Drawn into a temporary file beside the target and renamed over it
    // when complete: a failure leaves an earlier PDF as it was, and a
    // folder, device or FIFO at the target is refused.
    const std::filesystem::path target(outputFile());
    std::optional<files::ReplacementFile> file;
    try {
        file.emplace(target);
    } catch (const std::runtime_error& e) {
        throw pdfNotWritten(target, e.what());
    }
    std::unique_ptr<QPrinter> printer = makePrinter();
    printer->setOutputFileName(qs(file->temporaryPath().string()));
    renderDocument(*printer, document);
    printer.reset();  // closes the file
    try {
        file->commit();
    } catch (const std::runtime_error& e) {
        throw pdfNotWritten(target, e.what());
    }
}

}  // namespace printer
