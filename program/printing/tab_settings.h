// The layout of the structure report: the font and the twenty tab columns
// that a tab setting (or the fallback file beside the program) supplies.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace printing {

inline constexpr int kTabCount = 20;

// Positions of the twenty columns, by index 0 to 19. Index 0 is the left
// margin of all text, 1 the left end of every rule; 2-5 and 6-9 place the
// index listing's headings and values, 10-14 and 15-19 the field listing's
// (15 also places the field names, SQL text and detail values of the query
// and relation sections).
using TabColumns = std::array<std::int16_t, kTabCount>;

struct TabSetting {
    std::string fontName;
    TabColumns tabs{};
    bool operator==(const TabSetting&) const = default;
};

// The layout the program falls back on when it has nothing better.
TabSetting defaultTabSetting();

// The settings column that holds tab index `index` (0 to 19): "Tab01" to "Tab20".
std::string tabFieldName(int index);

// A stored tab setting as the print request found it: the printer to print
// on (none when the column is Null) and the layout.
struct StoredTabSetting {
    std::optional<std::string> printerName;
    TabSetting setting;
};

}  // namespace printing
