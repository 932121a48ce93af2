// The document as one static HTML page: its style inside, no scripts, no
// files beside it, so that it opens from a folder without a server.
#include <sstream>

#include "docs/structure_document.h"
#include "printable_text.h"

namespace docs {

namespace {

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : cli::printable(text)) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string line(const Line& texts) {
    std::string out;
    for (const auto& text : texts) {
        if (text.anchor.empty()) out += escaped(text.text);
        else out += "<a href=\"#" + text.anchor + "\">" + escaped(text.text) + "</a>";
    }
    return out;
}

const char* const kStyle =
    "body { font-family: sans-serif; margin: 2em; color: #222; }\n"
    "h1 { font-size: 1.6em; } h2 { border-bottom: 1px solid #ccc; margin-top: 2em; } h3 { margin-top: 1.6em; }\n"
    "table { border-collapse: collapse; margin: 0.5em 0 1em; }\n"
    "th, td { border: 1px solid #bbb; padding: 0.15em 0.5em; text-align: left; vertical-align: top; }\n"
    "th { background: #eee; }\n"
    "pre { background: #f4f4f4; border: 1px solid #ddd; padding: 0.5em; overflow-x: auto; }\n"
    "nav ul { list-style: none; padding-left: 1.2em; }\n";

}  // namespace

std::string htmlText(const Document& document) {
    std::ostringstream out;
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>"
        << escaped("Structure of " + document.title) << "</title>\n<style>\n" << kStyle << "</style>\n</head>\n<body>\n";
    for (const auto& block : document.blocks) {
        switch (block.kind) {
            case Block::Kind::Heading:
                out << "<h" << block.level;
                if (!block.anchor.empty()) out << " id=\"" << block.anchor << '"';
                out << '>' << line(block.line) << "</h" << block.level << ">\n";
                break;
            case Block::Kind::Paragraph: out << "<p>" << line(block.line) << "</p>\n"; break;
            case Block::Kind::Table:
                out << "<table>\n<tr>";
                for (const auto& h : block.header) out << "<th>" << escaped(h) << "</th>";
                out << "</tr>\n";
                for (const auto& row : block.rows) {
                    out << "<tr>";
                    for (const auto& cell : row) out << "<td>" << line(cell) << "</td>";
                    out << "</tr>\n";
                }
                out << "</table>\n";
                break;
            case Block::Kind::Code: {
                std::string code = cli::printableLines(block.code);
                std::string html;
                for (char c : code) html += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
                out << "<pre><code>" << html << "</code></pre>\n";
                break;
            }
            case Block::Kind::List: {
                out << "<nav>\n<ul>\n";
                int level = 0;
                bool open = false;  // an item of level 0 waits for its </li>
                for (const auto& [itemLevel, text] : block.items) {
                    if (itemLevel > level) out << "<ul>\n";
                    else if (itemLevel < level) out << "</ul>\n</li>\n";
                    else if (open) out << "</li>\n";
                    out << "<li>" << line(text);
                    if (itemLevel == 1) out << "</li>\n";
                    open = itemLevel == 0;
                    level = itemLevel;
                }
                if (level == 1) out << "</ul>\n</li>\n";
                else if (open) out << "</li>\n";
                out << "</ul>\n</nav>\n";
                break;
            }
        }
    }
    out << "</body>\n</html>\n";
    return out.str();
}

}  // namespace docs
