#include "codegen/vb_text.h"

#include <cstdio>
#include <stdexcept>

namespace codegen {

namespace {

// One character of a string expression: either as it stands inside a
// literal (a quotation mark doubled) or as a ChrW$ call outside one.
struct Atom {
    bool literal;
    std::string text;
};

bool isPlainByte(unsigned char c) { return (c >= 0x20 && c < 0x7F) || c == '\t'; }

std::string chrW(unsigned unit) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "ChrW$(&H%X)", unit);
    return buffer;
}

// The next code point of UTF-8 `text` at `i`, moving `i` past it; a byte
// that starts no valid sequence gives U+FFFD and moves one byte.
char32_t nextCodePoint(const std::string& text, std::size_t& i) {
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    char32_t value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2, value = lead & 0x1F;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3, value = lead & 0x0F;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4, value = lead & 0x07;
    if (length == 0 || i + length > text.size()) {
        ++i;
        return lead < 0x80 ? lead : 0xFFFD;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        value = (value << 6) | (byte(i + k) & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++i;
        return 0xFFFD;
    }
    i += length;
    return value;
}

std::vector<Atom> atomsOf(const std::string& text) {
    std::vector<Atom> atoms;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '"') {
            atoms.push_back({true, "\"\""});
            ++i;
        } else if (isPlainByte(c)) {
            atoms.push_back({true, std::string(1, static_cast<char>(c))});
            ++i;
        } else {
            const char32_t point = nextCodePoint(text, i);
            if (point > 0xFFFF) {
                const char32_t offset = point - 0x10000;
                atoms.push_back({false, chrW(0xD800 + (offset >> 10))});
                atoms.push_back({false, chrW(0xDC00 + (offset & 0x3FF))});
            } else {
                atoms.push_back({false, chrW(point)});
            }
        }
    }
    return atoms;
}

// Builds a string expression atom by atom, knowing its length as it grows.
class Expression {
public:
    // The length the expression would have with `atom` appended.
    std::size_t lengthWith(const Atom& atom) const {
        std::size_t length = text_.size() + atom.text.size();
        if (atom.literal && inLiteral_) return length;
        if (!text_.empty()) length += 3;  // " & "
        if (atom.literal) length += 2;    // its opening and closing marks
        return length;
    }
    void append(const Atom& atom) {
        if (atom.literal && inLiteral_) {
            text_.insert(text_.size() - 1, atom.text);
            return;
        }
        if (!text_.empty()) text_ += " & ";
        text_ += atom.literal ? "\"" + atom.text + "\"" : atom.text;
        inLiteral_ = atom.literal;
    }
    bool empty() const { return text_.empty(); }
    std::string text() const { return text_.empty() ? "\"\"" : text_; }

private:
    std::string text_;
    bool inLiteral_ = false;
};

}  // namespace

bool isPlainText(const std::string& text) {
    for (unsigned char c : text)
        if (!isPlainByte(c)) return false;
    return true;
}

std::string vbQuoted(const std::string& text) {
    Expression expression;
    for (const auto& atom : atomsOf(text)) expression.append(atom);
    return expression.text();
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

bool fitsInBrackets(const std::string& name) { return name.find(']') == std::string::npos && isPlainText(name); }

std::vector<std::string> buildStringVariable(const std::string& variable, const std::string& text,
                                             std::size_t maxLength) {
    const std::string first = variable + " = ";
    const std::string next = variable + " = " + variable + " & ";
    // The longest single atom, a ChrW$ of four hex digits, must fit a line.
    if (next.size() + chrW(0xFFFF).size() > maxLength)
        throw std::invalid_argument("line length too small for the variable name");

    std::vector<std::string> lines;
    std::string start = first;
    Expression expression;
    for (const auto& atom : atomsOf(text)) {
        if (!expression.empty() && start.size() + expression.lengthWith(atom) > maxLength) {
            lines.push_back(start + expression.text());
            start = next;
            expression = Expression();
        }
        expression.append(atom);
    }
    lines.push_back(start + expression.text());
    return lines;
}

}  // namespace codegen
