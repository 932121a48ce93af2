#include "printer/qt/qt_print_surface.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QTransform>
#include <algorithm>
#include <optional>

#include "printer/qt/qt_fonts.h"
#include "vb/vb_error.h"

namespace printer {

namespace {

[[noreturn]] void printerError() { throw vb::RuntimeError(482, "Printer error"); }

constexpr double kDrawWidthUnitsPerInch = 300;

}  // namespace

QtPrintSurface::QtPrintSurface(std::function<void(const RecordedDocument&)> release)
    : release_(std::move(release)), pages_(1) {}

void QtPrintSurface::drawText(double x, double y, std::string_view utf8, const PrintFont& font) {
    pages_.back().push_back(TextMark{x, y, std::string(utf8), font});
}

void QtPrintSurface::drawLine(double x1, double y1, double x2, double y2, int drawWidth) {
    pages_.back().push_back(LineMark{x1, y1, x2, y2, drawWidth});
}

void QtPrintSurface::endPage(double) { pages_.emplace_back(); }

void QtPrintSurface::endDocument(double) {
    RecordedDocument finished;
    finished.swap(pages_);
    pages_.emplace_back();
    release_(finished);
}

void QtPrintSurface::abandonDocument() { pages_.assign(1, {}); }

double characterPageScale(const QPrinter& printer) {
    const QRectF area = printer.pageLayout().paintRectPoints();
    const double twipsPerPoint = 20;
    return std::min({1.0, area.width() * twipsPerPoint / kCharacterPage.width,
                     area.height() * twipsPerPoint / kCharacterPage.height});
}

void renderDocument(QPrinter& printer, const RecordedDocument& document) {
    QPainter painter;
    if (!painter.begin(&printer)) printerError();
    const double scale = printer.resolution() / 1440.0;
    // The whole page shrinks alike, fonts and rules with the positions, so
    // that text measured for the character page still fills its columns.
    const QTransform fit = QTransform::fromScale(characterPageScale(printer), characterPageScale(printer));
    bool refused = false;
    // Reports change fonts rarely; matching a family on every text is wasted work.
    std::optional<PrintFont> fontInForce;
    for (std::size_t page = 0; page < document.size(); ++page) {
        if (page > 0 && !printer.newPage()) {
            refused = true;
            break;
        }
        painter.setWorldTransform(fit);
        for (const Mark& mark : document[page]) {
            if (const auto* text = std::get_if<TextMark>(&mark)) {
                painter.setPen(QPen(Qt::black));
                if (fontInForce != text->font) {
                    painter.setFont(matchFont(text->font));
                    fontInForce = text->font;
                }
                // The position is the top of the text cell; Qt draws from the baseline.
                const double ascent = QFontMetricsF(painter.font(), &printer).ascent();
                painter.drawText(QPointF(text->x * scale, text->y * scale + ascent),
                                 QString::fromUtf8(text->text.data(),
                                                   static_cast<qsizetype>(text->text.size())));
            } else {
                const auto& line = std::get<LineMark>(mark);
                QPen pen(Qt::black);
                pen.setWidthF(std::max(1.0, line.drawWidth * printer.resolution() /
                                                kDrawWidthUnitsPerInch));
                pen.setCapStyle(Qt::FlatCap);
                painter.setPen(pen);
                painter.drawLine(QPointF(line.x1 * scale, line.y1 * scale),
                                 QPointF(line.x2 * scale, line.y2 * scale));
            }
        }
    }
    if (!painter.end() || refused) printerError();
}

}  // namespace printer
