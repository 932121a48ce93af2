// Names and texts of a database as a terminal or a one-line report should
// show them: a crafted file may hold control characters in any name.
#pragma once

#include <string>
#include <string_view>

namespace cli {

// `text` with control characters (C0, DEL, and the C1 range terminals take
// for commands) escaped as \x1B or \u009B, as the JSON output escapes them,
// so that a name cannot move the cursor or retitle the window. A tab is kept
// where `keepTabs` (SQL text).
std::string printable(std::string_view text, bool keepTabs = false);
// The same appended to `out`: a name with nothing to escape is one copy.
void appendPrintable(std::string& out, std::string_view text, bool keepTabs = false);

// A stored text of several lines (SQL, a validation rule) on one line: each
// line break a blank, then printable().
std::string oneLine(std::string_view text);

// Lines ending in "\n", each made printable() with its tabs kept: a code
// block keeps its line breaks and escapes the rest.
std::string printableLines(std::string_view text);

}  // namespace cli
