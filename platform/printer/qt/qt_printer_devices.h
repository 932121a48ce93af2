// The printers drawn with Qt print support: the machine's own printers and
// the built-in PDF printer. They need a QGuiApplication (offscreen will do).
#pragma once

#include <QFont>
#include <QPageSize>
#include <QPrinter>
#include <memory>
#include <optional>
#include <string>

#include "printer/printer_device.h"
#include "printer/qt/qt_print_surface.h"

namespace printer {

// What the Qt printers share: fonts, measuring and the recording surface.
class QtPrinterDevice : public PrinterDevice {
public:
    QtPrinterDevice();
    ~QtPrinterDevice() override;

    // The families the machine had when first asked; any of them can be printed.
    const std::vector<std::string>& fontNames() const override;
    PageGeometry geometry() const override;
    double textWidth(std::string_view utf8, const PrintFont& font) const override;
    std::unique_ptr<PrintSurface> openSurface() override;

protected:
    // A QPrinter set up for this printer.
    virtual std::unique_ptr<QPrinter> makePrinter() const = 0;
    // Prints a finished document; throws vb::RuntimeError when that fails.
    virtual void release(const RecordedDocument& document) = 0;

private:
    QPrinter& measuringPrinter() const;
    const QFont& fontFor(const PrintFont& wanted) const;

    mutable std::optional<std::vector<std::string>> families_;
    mutable std::unique_ptr<QPrinter> measuring_;
    mutable std::optional<std::pair<PrintFont, QFont>> lastFont_;
};

// A printer of the machine, known to the print system by `name`.
class SystemPrinterDevice : public QtPrinterDevice {
public:
    explicit SystemPrinterDevice(std::string name) : name_(std::move(name)) {}
    std::string DeviceName() const override { return name_; }

protected:
    std::unique_ptr<QPrinter> makePrinter() const override;
    void release(const RecordedDocument& document) override;

private:
    std::string name_;
};

inline constexpr char kPdfPrinterName[] = "PDF file";

// Writes each document as a PDF file at outputFile(), which must be set
// before the document starts (else 482). Pages of `paper`: by default A4, or
// Letter where the user's locale measures in inches; margins of 1/4 inch at
// the sides and 0.4 inch at the top and bottom. The file is replaced only
// once the new document is complete; an abandoned document leaves it as it
// was.
class PdfPrinterDevice : public QtPrinterDevice {
public:
    explicit PdfPrinterDevice(std::optional<QPageSize::PageSizeId> paper = std::nullopt);
    std::string DeviceName() const override { return kPdfPrinterName; }
    bool writesToFile() const override { return true; }
    std::unique_ptr<PrintSurface> openSurface() override;

protected:
    std::unique_ptr<QPrinter> makePrinter() const override;
    void release(const RecordedDocument& document) override;

private:
    QPageSize::PageSizeId paper_;
};

}  // namespace printer
