// The structure of a database as documentation a person browses: a table
// of contents, the database's properties, a section per table (fields
// with all their properties, indexes, the relations in and out), per query
// (its SQL, the tables and queries it reads) and per relation, each name
// linked to its section. The document is plain data that the Markdown and
// HTML writers lay out; the same database gives the same document, so
// that the files can live in version control with small diffs.
#pragma once

#include <string>
#include <vector>

namespace jet {
class Database;
}

namespace docs {

// A run of text, linked to the section of `anchor` when that is set.
struct Text {
    std::string text;
    std::string anchor;
};
using Line = std::vector<Text>;

struct Block {
    enum class Kind { Heading, Paragraph, Table, Code, List };
    Kind kind = Kind::Paragraph;
    int level = 1;        // heading: 1 the title, 2 a part, 3 an object
    std::string anchor;   // heading: the section's own anchor
    Line line;            // heading and paragraph
    std::vector<std::string> header;       // table
    std::vector<std::vector<Line>> rows;   // table: rows of cells
    std::string code;                      // code: lines ending in "\n"
    std::vector<std::pair<int, Line>> items;  // list: nesting level (0, 1) and line
};

struct Document {
    std::string title;
    std::vector<Block> blocks;
};

Document structureDocument(jet::Database& db, const std::string& title);

// The document as Markdown (GitHub's flavour: tables, fenced code, and
// <a id> anchors) and as one static HTML page with its style inside and no
// scripts. Lines end in "\n".
std::string markdownText(const Document& document);
std::string htmlText(const Document& document);

}  // namespace docs
