// The document as Markdown: GitHub's tables and fenced code, <a id>
// anchors at the headings, so that links work in any renderer that keeps
// inline HTML.
#include <algorithm>
#include <sstream>

#include "docs/structure_document.h"
#include "printable_text.h"

namespace docs {

namespace {

// Punctuation Markdown could read as markup is escaped; control characters
// are shown escaped as everywhere in strux.
std::string escaped(const std::string& text) {
    std::string out;
    for (char c : cli::printable(text)) {
        if (std::string_view("\\`*_[]<>|#&~!").find(c) != std::string_view::npos) out += '\\';
        out += c;
    }
    return out;
}

std::string line(const Line& texts) {
    std::string out;
    for (const auto& text : texts) {
        if (text.anchor.empty()) out += escaped(text.text);
        else out += "[" + escaped(text.text) + "](#" + text.anchor + ")";
    }
    return out;
}

// A fence longer than any run of backticks in the code.
std::string fenceFor(const std::string& code) {
    std::size_t longest = 0, run = 0;
    for (char c : code) {
        run = c == '`' ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return std::string(std::max<std::size_t>(3, longest + 1), '`');
}

}  // namespace

std::string markdownText(const Document& document) {
    std::ostringstream out;
    bool first = true;
    for (const auto& block : document.blocks) {
        if (!first) out << '\n';
        first = false;
        switch (block.kind) {
            case Block::Kind::Heading:
                out << std::string(static_cast<std::size_t>(block.level), '#') << ' ';
                if (!block.anchor.empty()) out << "<a id=\"" << block.anchor << "\"></a>";
                out << line(block.line) << '\n';
                break;
            case Block::Kind::Paragraph: out << line(block.line) << '\n'; break;
            case Block::Kind::Table: {
                out << '|';
                for (const auto& h : block.header) out << ' ' << escaped(h) << " |";
                out << "\n|";
                for (std::size_t i = 0; i < block.header.size(); ++i) out << " --- |";
                out << '\n';
                for (const auto& row : block.rows) {
                    out << '|';
                    for (const auto& cell : row) out << ' ' << line(cell) << " |";
                    out << '\n';
                }
                break;
            }
            case Block::Kind::Code: {
                const std::string fence = fenceFor(block.code);
                out << fence << "sql\n" << cli::printableLines(block.code) << fence << '\n';
                break;
            }
            case Block::Kind::List:
                for (const auto& [level, text] : block.items)
                    out << std::string(static_cast<std::size_t>(level) * 2, ' ') << "- " << line(text) << '\n';
                break;
        }
    }
    return out.str();
}

}  // namespace docs
