// How a query's SQL text is laid out in the report: one row per line of the
// text, a line longer than the usable width wrapped at its last blank with
// " _" at the end of each piece, the pieces after the first indented.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace printing {

// The indent, in columns, of the continuation rows of a wrapped line.
inline constexpr int kSqlContinuationIndent = 5;

struct SqlRow {
    int indent = 0;  // 0 or kSqlContinuationIndent
    std::string text;
    bool operator==(const SqlRow&) const = default;
};

// The rows of `sql` (lines ending in CR LF) for a usable width of `width`
// columns. A line is wrapped only when it is longer than `width`; a piece is
// cut at the last blank among its first round(width) characters (halves to
// even), or after those characters when they hold no blank; the rest, blanks
// trimmed, is cut again for as long as it is at least `width` long. Text
// after the last CR LF (or text without any) is laid out once, as a last
// line. Every piece holds at least one character, so the walk ends however
// narrow the page.
std::vector<SqlRow> sqlRows(std::string_view sql, double width);

}  // namespace printing
