#include "printer/printer.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "vb/vb_error.h"

namespace printer {

namespace {

// Positions come from sums of measured widths; half a twip absorbs their
// rounding so that text ending exactly at a column still counts as there.
constexpr double kTolerance = 0.5;

// Text that ends a little past a column still stands at it. The fixed-pitch
// face a machine has in place of Courier can be a hair wider than 1/12 inch
// (Liberation Mono at 10 points measures 120.24 twips a character), and a
// name that fills its column exactly must not push the next column's text
// onto the next row.
constexpr double kColumnSlack = kTwipsPerColumn / 8;

const char* const kDefaultFontName = "Courier New";
constexpr double kDefaultFontSize = 10;

[[noreturn]] void invalidValue() { throw vb::RuntimeError(380, "Invalid property value"); }

}  // namespace

Printer::Printer(PrinterDevice& device) : device_(&device), dateLocale_(systemLocale()) {
    font_.name = kDefaultFontName;
    font_.size = kDefaultFontSize;
}

Printer::~Printer() {
    try {
        EndDoc();
    } catch (...) {
        // A destructor cannot report the failure; the document is lost either way.
    }
}

void Printer::attach(PrinterDevice& device) {
    if (documentOpen()) throw vb::RuntimeError(396, "The printer cannot be changed within a document");
    device_ = &device;
    font_ = PrintFont{kDefaultFontName, kDefaultFontSize, false, false};
    scaleMode_ = vbTwips;
    drawWidth_ = 1;
    resetDocumentState();
}

void Printer::SetScaleMode(int mode) {
    switch (mode) {
        case vbTwips:
        case vbPoints:
        case vbCharacters:
        case vbInches:
        case vbMillimeters:
        case vbCentimeters: scaleMode_ = mode; break;
        default: invalidValue();
    }
}

double Printer::twipsPerUnitX() const {
    switch (scaleMode_) {
        case vbPoints: return 20;
        case vbCharacters: return kTwipsPerColumn;
        case vbInches: return 1440;
        case vbMillimeters: return 1440 / 25.4;
        case vbCentimeters: return 1440 / 2.54;
        default: return 1;
    }
}

double Printer::twipsPerUnitY() const {
    return scaleMode_ == vbCharacters ? kTwipsPerRow : twipsPerUnitX();
}

double Printer::ScaleWidth() const { return device_->geometry().width / twipsPerUnitX(); }
double Printer::ScaleHeight() const { return device_->geometry().height / twipsPerUnitY(); }
double Printer::CurrentX() const { return x_ / twipsPerUnitX(); }
double Printer::CurrentY() const { return y_ / twipsPerUnitY(); }
void Printer::SetCurrentX(double x) { x_ = x * twipsPerUnitX(); }
void Printer::SetCurrentY(double y) { y_ = y * twipsPerUnitY(); }

double Printer::TextWidth(std::string_view text) const {
    return device_->textWidth(text, font_) / twipsPerUnitX();
}

double Printer::TextHeight() const { return rowHeight() / twipsPerUnitY(); }

void Printer::SetFontName(const std::string& name) {
    if (name.empty()) invalidValue();
    font_.name = name;
}

void Printer::SetFontSize(double points) {
    if (!(points > 0) || points > 2160) invalidValue();
    font_.size = points;
}

void Printer::SetDrawWidth(int width) {
    if (width < 1 || width > 32767) invalidValue();
    drawWidth_ = width;
}

// The default 10-point font fills one 1/6-inch row exactly; a larger font
// takes proportionally more, so its rows never overlap.
double Printer::rowHeight() const { return kTwipsPerRow * std::max(1.0, font_.size / 10.0); }

PrintSurface& Printer::surface() {
    if (!surface_) surface_ = device_->openSurface();
    return *surface_;
}

void Printer::resetDocumentState() {
    x_ = 0;
    y_ = 0;
    page_ = 1;
}

void Printer::Print(std::initializer_list<PrintItem> items, PrintEnd end) { printItems(items, end); }

void Printer::Print(const std::vector<PrintItem>& items, PrintEnd end) { printItems(items, end); }

template <typename Items>
void Printer::printItems(const Items& items, PrintEnd end) {
    surface();  // any print statement, even an empty one, starts the document
    for (const PrintItem& item : items) {
        std::visit(
            [&](const auto& value) {
                using T = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<T, Tab>) {
                    moveToColumn(value.column);
                } else if constexpr (std::is_same_v<T, NextZone>) {
                    moveToNextZone();
                } else if constexpr (std::is_same_v<T, std::string>) {
                    printText(value);
                } else if constexpr (std::is_same_v<T, bool>) {
                    printText(booleanText(value));
                } else if constexpr (std::is_same_v<T, DateItem>) {
                    printText(dateText(value, dateLocale_));
                } else {
                    printText(numberText(value));
                }
            },
            item.value());
    }
    switch (end) {
        case PrintEnd::EndRow: endRow(); break;
        case PrintEnd::KeepPosition: break;
        case PrintEnd::NextZone: moveToNextZone(); break;
    }
}

void Printer::printText(std::string_view text) {
    // CR LF, LF and CR each end the row, so that a surface never receives a
    // line break in the middle of a row.
    std::size_t start = 0;
    while (true) {
        const std::size_t brk = text.find_first_of("\r\n", start);
        printSegment(text.substr(start, brk == std::string_view::npos ? std::string_view::npos
                                                                        : brk - start));
        if (brk == std::string_view::npos) return;
        endRow();
        start = brk + 1;
        if (text[brk] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
}

void Printer::printSegment(std::string_view segment) {
    if (segment.empty()) return;
    // VB starts a new page by itself when a row would reach below the page.
    if (y_ > 0 && y_ + rowHeight() > device_->geometry().height + kTolerance) {
        surface().endPage(y_);
        ++page_;
        y_ = 0;
    }
    surface().drawText(x_, y_, segment, font_);
    x_ += device_->textWidth(segment, font_);
}

void Printer::moveToColumn(int column) {
    const double target = (std::max(column, 1) - 1) * kTwipsPerColumn;
    if (x_ > target + kColumnSlack) endRow();
    x_ = target;
}

void Printer::moveToNextZone() {
    const double zone = kColumnsPerZone * kTwipsPerColumn;
    const double next = (std::floor((x_ + kTolerance) / zone) + 1) * zone;
    // A zone that would start beyond the printable width begins the next row.
    if (next >= device_->geometry().width - kTolerance) {
        endRow();
    } else {
        x_ = next;
    }
}

void Printer::endRow() {
    x_ = 0;
    y_ += rowHeight();
}

void Printer::Line(double x1, double y1, double x2, double y2) {
    const double ux = twipsPerUnitX();
    const double uy = twipsPerUnitY();
    surface().drawLine(x1 * ux, y1 * uy, x2 * ux, y2 * uy, drawWidth_);
    x_ = x2 * ux;
    y_ = y2 * uy;
}

void Printer::NewPage() {
    surface().endPage(y_);
    ++page_;
    x_ = 0;
    y_ = 0;
}

void Printer::EndDoc() {
    if (!surface_) return;
    // The document is finished whether or not its destination accepts it, so
    // the printer is ready for the next one even after a failure.
    std::unique_ptr<PrintSurface> finished = std::move(surface_);
    const double usedHeight = y_;
    resetDocumentState();
    finished->endDocument(usedHeight);
}

void Printer::KillDoc() {
    if (!surface_) return;
    std::unique_ptr<PrintSurface> abandoned = std::move(surface_);
    resetDocumentState();
    abandoned->abandonDocument();
}

}  // namespace printer
