#include "printable_text.h"

#include <cstdio>

namespace cli {

namespace {

// A C0 control or DEL, shown as \xNN.
bool isControl(unsigned char c, bool keepTabs) { return (c < 0x20 && !(keepTabs && c == '\t')) || c == 0x7F; }

// A byte that may start an escape: a control, or the lead byte of a C1
// control's UTF-8 (U+0080..U+009F).
bool mayNeedEscape(unsigned char c, bool keepTabs) { return isControl(c, keepTabs) || c == 0xC2; }

}  // namespace

void appendPrintable(std::string& shown, std::string_view text, bool keepTabs) {
    std::size_t plain = 0;
    while (plain < text.size() && !mayNeedEscape(static_cast<unsigned char>(text[plain]), keepTabs)) ++plain;
    shown.append(text.data(), plain);
    char escape[8];
    for (std::size_t i = plain; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (isControl(c, keepTabs)) {
            std::snprintf(escape, sizeof escape, "\\x%02X", c);
            shown += escape;
        } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {
            std::snprintf(escape, sizeof escape, "\\u%04X", next);
            shown += escape;
            ++i;
        } else {
            shown += static_cast<char>(c);
        }
    }
}

std::string printable(std::string_view text, bool keepTabs) {
    std::string shown;
    shown.reserve(text.size());
    appendPrintable(shown, text, keepTabs);
    return shown;
}

std::string oneLine(std::string_view text) {
    std::string joined;
    joined.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            if (i + 1 < text.size()) joined += ' ';
        } else if (text[i] == '\n') {
            if (i + 1 < text.size()) joined += ' ';
        } else {
            joined += text[i];
        }
    }
    return printable(joined, true);
}

std::string printableLines(std::string_view text) {
    std::string out;
    for (std::size_t start = 0; start < text.size();) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        out += printable(text.substr(start, end - start), true) + "\n";
        start = end + 1;
    }
    return out;
}

}  // namespace cli
