// A printing surface that lays a document out as plain text: one character
// per 120-twip column, one text row per 240-twip row, pages separated by form
// feeds. It is what tests read and what a report to standard output shows.
//
// Rules are drawn as hyphens in the row they fall on, from the cell that
// starts at their left end up to the cell before their right end; text
// printed in the same cells covers them (a blank does not). Bold and
// underline are not shown. Text that runs past the page's right edge is
// kept, since a text row has no edge to clip it; control characters print
// as blanks so that they cannot break the row and page structure.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "printer/print_surface.h"

namespace printer {

// The page of the text surface: the character page, a character a column.
inline constexpr int kTextPageColumns = kCharacterPageColumns;
inline constexpr int kTextPageRows = kCharacterPageRows;

class TextSurface : public PrintSurface {
public:
    // `onRelease` receives the document's text at endDocument.
    explicit TextSurface(std::function<void(std::string)> onRelease);

    void drawText(double x, double y, std::string_view utf8, const PrintFont& font) override;
    void drawLine(double x1, double y1, double x2, double y2, int drawWidth) override;
    void endPage(double usedHeight) override;
    void endDocument(double usedHeight) override;
    void abandonDocument() override;

    // The document so far, the current page laid out up to its last mark.
    std::string text() const;

private:
    struct Page {
        std::vector<std::u32string> text;   // printed characters, by row
        std::vector<std::u32string> rules;  // hyphens and bars, by row
        int endedRows = 0;
    };
    static std::u32string& cellRow(std::vector<std::u32string>& rows, int row);
    static void put(std::u32string& row, int column, char32_t ch);
    static std::string pageText(const Page& page);

    std::function<void(std::string)> onRelease_;
    std::vector<Page> pages_;
};

// A document of the text surface split into pages and each page into its
// rows (without their line ends); the inverse of the layout above.
std::vector<std::vector<std::string>> textPages(std::string_view document);

}  // namespace printer
