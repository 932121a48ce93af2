#include "codegen/vb_text.h"

#include <stdexcept>

namespace codegen {

std::string vbQuoted(const std::string& text) {
    std::string literal;
    literal.reserve(text.size() + 2);
    literal += '"';
    for (char c : text) {
        if (c == '"') literal += '"';
        literal += c;
    }
    literal += '"';
    return literal;
}

std::string vbBool(bool value) { return value ? "True" : "False"; }

std::string flattenSql(const std::string& sql) {
    std::string flat;
    flat.reserve(sql.size());
    for (std::size_t i = 0; i < sql.size(); ++i) {
        const char c = sql[i];
        if (c == '\r' && i + 1 < sql.size() && sql[i + 1] == '\n') {
            flat += ' ';
            ++i;
        } else if (c == '\r' || c == '\n') {
            flat += ' ';
        } else {
            flat += c;
        }
    }
    const auto first = flat.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const auto last = flat.find_last_not_of(' ');
    return flat.substr(first, last - first + 1);
}

bool fitsInBrackets(const std::string& name) { return name.find(']') == std::string::npos; }

namespace {

// Length of the UTF-8 sequence that starts with `lead` (1 for a stray
// continuation byte, so that damaged text still moves forward).
std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF7) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

}  // namespace

std::vector<std::string> buildStringVariable(const std::string& variable, const std::string& text,
                                             std::size_t maxLength) {
    const std::string first = variable + " = \"";
    const std::string next = variable + " = " + variable + " & \"";
    if (next.size() + 2 + 4 > maxLength)
        throw std::invalid_argument("line length too small for the variable name");

    std::vector<std::string> lines;
    std::string line = first;
    bool empty = true;  // the current line holds no piece of the text yet
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t length = text[i] == '"' ? 1 : sequenceLength(static_cast<unsigned char>(text[i]));
        if (i + length > text.size()) length = text.size() - i;
        const std::size_t written = text[i] == '"' ? 2 : length;
        if (!empty && line.size() + written + 1 > maxLength) {
            lines.push_back(line + '"');
            line = next;
            empty = true;
        }
        line += text.substr(i, length);
        if (text[i] == '"') line += '"';
        empty = false;
        i += length;
    }
    lines.push_back(line + '"');
    return lines;
}

}  // namespace codegen
