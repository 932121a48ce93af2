#include "printer/text_surface.h"

#include <algorithm>
#include <cmath>

#include "printer/printer.h"
#include "printer/utf8_text.h"

namespace printer {

namespace {

// Text past the page's right edge is kept, but only as far as VB's largest
// column; positions further out (and rows far off the page) are clamped
// before they are turned into integers.
constexpr int kWidestRow = 32767;

// A position a hair above a row boundary still belongs to the row below it,
// so that sums of row heights cannot slip a row up.
int rowOf(double y) {
    return static_cast<int>(std::clamp(std::floor(y / kTwipsPerRow + 1e-6), -1.0, double{kTextPageRows}));
}
int columnOf(double x) {
    return static_cast<int>(std::clamp(std::round(x / kTwipsPerColumn), -1.0, double{kWidestRow}));
}

bool onPage(int row) { return row >= 0 && row < kTextPageRows; }

int endedRowsOf(double usedHeight) { return std::clamp(rowOf(usedHeight), 0, kTextPageRows); }

}  // namespace

TextSurface::TextSurface(std::function<void(std::string)> onRelease)
    : onRelease_(std::move(onRelease)), pages_(1) {}

std::u32string& TextSurface::cellRow(std::vector<std::u32string>& rows, int row) {
    if (static_cast<int>(rows.size()) <= row) rows.resize(static_cast<std::size_t>(row) + 1);
    return rows[static_cast<std::size_t>(row)];
}

void TextSurface::put(std::u32string& row, int column, char32_t ch) {
    if (column < 0 || column >= kWidestRow) return;
    if (static_cast<int>(row.size()) <= column) row.resize(static_cast<std::size_t>(column) + 1, U' ');
    row[static_cast<std::size_t>(column)] = ch;
}

void TextSurface::drawText(double x, double y, std::string_view utf8, const PrintFont&) {
    const int row = rowOf(y);
    if (!onPage(row)) return;
    std::u32string& cells = cellRow(pages_.back().text, row);
    int column = columnOf(x);
    for (char32_t ch : decodeUtf8(utf8)) {
        if (ch < 0x20 || ch == 0x7F) ch = U' ';
        // Printing over earlier text adds to it as ink does; a blank erases nothing.
        const bool covered = column >= 0 && column < static_cast<int>(cells.size());
        if (ch != U' ' || !covered) put(cells, column, ch);
        ++column;
    }
}

void TextSurface::drawLine(double x1, double y1, double x2, double y2, int) {
    std::vector<std::u32string>& rules = pages_.back().rules;
    const int firstRow = rowOf(std::min(y1, y2));
    const int lastRow = rowOf(std::max(y1, y2));
    if (firstRow == lastRow) {
        if (!onPage(firstRow)) return;
        std::u32string& cells = cellRow(rules, firstRow);
        const int to = columnOf(std::max(x1, x2));
        for (int column = columnOf(std::min(x1, x2)); column < to; ++column) put(cells, column, U'-');
        return;
    }
    // A line across rows marks, in each row, the cell it passes through.
    for (int row = std::max(firstRow, 0); row <= std::min(lastRow, kTextPageRows - 1); ++row) {
        const double t = (row * kTwipsPerRow - y1) / (y2 - y1);
        const double x = x1 + std::clamp(t, 0.0, 1.0) * (x2 - x1);
        put(cellRow(rules, row), columnOf(x - kTwipsPerColumn / 2), U'|');
    }
}

void TextSurface::endPage(double usedHeight) {
    pages_.back().endedRows = endedRowsOf(usedHeight);
    pages_.emplace_back();
}

void TextSurface::endDocument(double usedHeight) {
    pages_.back().endedRows = endedRowsOf(usedHeight);
    std::string document = text();
    pages_.assign(1, Page{});
    if (onRelease_) onRelease_(std::move(document));
}

void TextSurface::abandonDocument() { pages_.assign(1, Page{}); }

std::string TextSurface::pageText(const Page& page) {
    const int rows = std::max({page.endedRows, static_cast<int>(page.text.size()),
                               static_cast<int>(page.rules.size())});
    std::string out;
    for (int row = 0; row < rows; ++row) {
        const auto r = static_cast<std::size_t>(row);
        std::u32string cells = r < page.rules.size() ? page.rules[r] : std::u32string();
        if (r < page.text.size()) {
            const std::u32string& text = page.text[r];
            if (cells.size() < text.size()) cells.resize(text.size(), U' ');
            for (std::size_t c = 0; c < text.size(); ++c) {
                if (text[c] != U' ') cells[c] = text[c];
            }
        }
        while (!cells.empty() && cells.back() == U' ') cells.pop_back();
        out += encodeUtf8(cells);
        out += '\n';
    }
    return out;
}

std::string TextSurface::text() const {
    std::string out;
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        if (i > 0) out += '\f';
        out += pageText(pages_[i]);
    }
    return out;
}

std::vector<std::vector<std::string>> textPages(std::string_view document) {
    std::vector<std::vector<std::string>> pages(1);
    std::size_t start = 0;
    while (start < document.size()) {
        const std::size_t end = document.find_first_of("\n\f", start);
        if (end == std::string_view::npos) {
            pages.back().emplace_back(document.substr(start));  // a last row without its line end
            break;
        }
        if (document[end] == '\f') {
            pages.emplace_back();
        } else {
            pages.back().emplace_back(document.substr(start, end - start));
        }
        start = end + 1;
    }
    return pages;
}

}  // namespace printer
