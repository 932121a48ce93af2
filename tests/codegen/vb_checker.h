// A small checker of the Visual Basic 5 rules a generated source line can
// break: the line length limit, string literals left open, control
// characters, bytes outside ASCII (which VB would read in whatever code page
// its Windows uses), and names in square brackets that end early. It also checks
// that Sub/End Sub and With/End With pair up over a whole module. Each
// problem is returned as a text naming the line.
#pragma once

#include <cctype>
#include <string>
#include <vector>

namespace vbcheck {

inline std::vector<std::string> lineProblems(const std::string& line) {
    std::vector<std::string> problems;
    if (line.size() > 1023) problems.push_back("longer than 1023 characters (" + std::to_string(line.size()) + ")");
    for (unsigned char c : line) {
        if (c < 32 && c != '\t') {
            problems.push_back("control character " + std::to_string(c));
            break;
        }
    }
    bool inString = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (inString) {
            if (c == '"') {
                if (i + 1 < line.size() && line[i + 1] == '"') ++i;
                else inString = false;
            }
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '\'') {
            break;  // the rest is a comment
        } else if (c == '[') {
            const auto close = line.find(']', i + 1);
            if (close == std::string::npos) {
                problems.push_back("bracketed name not closed");
                break;
            }
            if (line.find('[', i + 1) < close) problems.push_back("\"[\" inside a bracketed name");
            if (close + 1 < line.size()) {
                const unsigned char next = static_cast<unsigned char>(line[close + 1]);
                if (std::isalnum(next) || next == '_' || next == ']' || next == '"' || next >= 0x80)
                    problems.push_back("bracketed name ends before \"" + std::string(1, static_cast<char>(next)) + "\"");
            }
            i = close;
        }
    }
    if (inString) problems.push_back("string literal not closed");
    // Outside comments the text must be ASCII, inside literals too.
    bool literal = false;
    for (unsigned char c : line) {
        if (c == '"') literal = !literal;
        else if (c == '\'' && !literal) break;
        else if (c >= 0x80) {
            problems.push_back("byte outside ASCII");
            break;
        }
    }
    return problems;
}

// The 16-bit units of a VB string expression made of literals and
// ChrW$(&H...) calls joined by " & ", as VB would evaluate it; `ok` turns
// false for anything else.
inline std::u32string evaluateUnits(const std::string& expression, bool& ok) {
    ok = true;
    std::u32string units;
    std::size_t i = 0;
    auto expect = [&](const std::string& word) {
        if (expression.compare(i, word.size(), word) != 0) return ok = false;
        i += word.size();
        return true;
    };
    while (ok) {
        if (i < expression.size() && expression[i] == '"') {
            for (++i;; ++i) {
                if (i >= expression.size()) return ok = false, std::u32string();
                if (expression[i] == '"') {
                    if (i + 1 < expression.size() && expression[i + 1] == '"') ++i;
                    else break;
                }
                units += static_cast<unsigned char>(expression[i]);
            }
            ++i;
        } else if (expect("ChrW$(&H")) {
            const auto close = expression.find(')', i);
            if (close == std::string::npos) return ok = false, std::u32string();
            units += static_cast<char32_t>(std::stoul(expression.substr(i, close - i), nullptr, 16));
            i = close + 1;
        }
        if (!ok || i == expression.size()) break;
        expect(" & ");
    }
    return units;
}

// UTF-8 from 16-bit units, surrogate pairs joined.
inline std::string utf8FromUnits(const std::u32string& units) {
    std::string text;
    for (std::size_t k = 0; k < units.size(); ++k) {
        char32_t c = units[k];
        if (c >= 0xD800 && c < 0xDC00 && k + 1 < units.size()) c = 0x10000 + ((c - 0xD800) << 10) + (units[++k] - 0xDC00);
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else if (c < 0x800) {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            text += static_cast<char>(0xE0 | (c >> 12));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            text += static_cast<char>(0xF0 | (c >> 18));
            text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return text;
}

namespace detail {

inline bool startsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

inline std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace detail

// Every line's problems plus the pairing of procedures and With blocks.
inline std::vector<std::string> moduleProblems(const std::vector<std::string>& lines) {
    using detail::startsWith;
    std::vector<std::string> problems;
    bool inSub = false;
    int withDepth = 0;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string where = "line " + std::to_string(n + 1) + ": ";
        for (const auto& problem : lineProblems(lines[n])) problems.push_back(where + problem);
        const std::string code = detail::trimmed(lines[n]);
        if (startsWith(code, "Sub ") || startsWith(code, "Public Sub ") || startsWith(code, "Private Sub ")) {
            if (inSub) problems.push_back(where + "Sub inside a Sub");
            inSub = true;
        } else if (code == "End Sub") {
            if (!inSub) problems.push_back(where + "End Sub outside a Sub");
            if (withDepth != 0) problems.push_back(where + "End Sub inside a With block");
            inSub = false;
            withDepth = 0;
        } else if (startsWith(code, "With ")) {
            if (!inSub) problems.push_back(where + "With outside a Sub");
            ++withDepth;
        } else if (code == "End With") {
            if (withDepth == 0) problems.push_back(where + "End With without With");
            else --withDepth;
        }
    }
    if (inSub) problems.push_back("the last Sub is not ended");
    return problems;
}

}  // namespace vbcheck
