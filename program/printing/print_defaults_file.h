// stx32ps.def: the font and the twenty tab columns of the tab setting last
// applied, kept beside the program as plain text, one item a line (the font
// name, then the twenty numbers in tab order).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "printing/tab_settings.h"

namespace printing {

inline constexpr char kPrintDefaultsFileName[] = "stx32ps.def";

// The setting a file's text holds, or nothing when the text is damaged:
// fewer than twenty-one lines, an empty font name, or a line that is not a
// number of the 16-bit range. Lines may end in CR LF or LF; a number may
// carry blanks around it; a fraction is rounded half to even, as the
// original program's integer reads do. Lines after the twenty-first are
// ignored.
std::optional<TabSetting> parsePrintDefaults(std::string_view text);

// One tab column as the file (or a typed margin) gives it: a number of the
// 16-bit range, blanks around it allowed, a fraction rounded half to even;
// nothing for any other text.
std::optional<std::int16_t> parseTabNumber(std::string_view text);

// The file's text for `setting`: every line ended by CR LF.
std::string formatPrintDefaults(const TabSetting& setting);

// Writes `setting` as `folder`/stx32ps.def. The text goes to a new file
// that then replaces the old one, so a reader never sees half a file and a
// failed write leaves the old file as it was. Returns false when the file
// could not be written.
bool writePrintDefaults(const std::filesystem::path& folder, const TabSetting& setting);

struct PrintDefaults {
    enum class Source {
        File,        // read as it was
        Rewritten,   // missing or damaged: replaced by the defaults, then read again
        BuiltIn,     // missing or damaged and could not be replaced: the defaults unsaved
    };
    TabSetting setting;
    Source source = Source::File;
};

// The setting in `folder`/stx32ps.def. A missing, unreadable or damaged file
// is replaced whole by the defaults and read again; when the folder refuses
// the new file, the report still gets the defaults (Source::BuiltIn).
PrintDefaults loadPrintDefaults(const std::filesystem::path& folder);

}  // namespace printing
