#include "printing/sql_walk.h"

#include <algorithm>
#include <cmath>

namespace printing {

namespace {

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void layOutLine(std::string_view line, double width, std::vector<SqlRow>& rows) {
    if (!(width < static_cast<double>(line.size()))) {
        rows.push_back({0, std::string(line)});
        return;
    }
    // nearbyint rounds halves to even in the default rounding mode.
    const double rounded = std::nearbyint(width);
    const std::size_t pieceLength = rounded < 1 ? 1 : static_cast<std::size_t>(rounded);
    std::string_view rest = line;
    int indent = 0;
    do {
        const std::string_view window = rest.substr(0, pieceLength);
        const std::size_t blank = window.rfind(' ');
        std::string_view piece;
        if (blank == std::string_view::npos) {
            piece = window;
            rest = rest.substr(window.size());
        } else {
            piece = rest.substr(0, blank + 1);
            rest = rest.substr(blank);
        }
        rows.push_back({indent, std::string(piece) + " _"});
        rest = trimBlanks(rest);
        indent = kSqlContinuationIndent;
    } while (!rest.empty() && width <= static_cast<double>(rest.size()));
    rows.push_back({kSqlContinuationIndent, std::string(rest)});
}

}  // namespace

std::vector<SqlRow> sqlRows(std::string_view sql, double width) {
    std::vector<SqlRow> rows;
    std::size_t pos = 0;
    while (pos < sql.size()) {
        const std::size_t end = sql.find("\r\n", pos);
        if (end == std::string_view::npos) {
            layOutLine(sql.substr(pos), width, rows);
            break;
        }
        layOutLine(sql.substr(pos, end - pos), width, rows);
        pos = end + 2;
    }
    return rows;
}

}  // namespace printing
