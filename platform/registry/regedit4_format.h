// The REGEDIT4 text form in which a hive is kept on disk, so that a person
// can read it and the Windows registry editor could import it:
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\SOFTWARE\Corvane]
//   "Text"="a \"quoted\" C:\\path"
//   "Number"=dword:0000002a
//   "Bytes"=hex:01,ff,00
//   @="the key's default value"
//
// The file is UTF-8 with LF line ends (CR LF and a byte order mark are read
// too); names and texts are the code-page bytes of the hive, converted on
// the way in and out. A string that is not a plain
// zero-terminated text (no terminator, a zero inside, control characters)
// is written as hex(1): so that its exact bytes come back.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "registry/hive.h"

namespace regstore {

// What a reading found that it could not take in. A damaged text still gives
// every key and value that could be read; the caller decides what to do with
// the rest before the hive is written again.
struct ParseReport {
    bool missingHeader = false;        // first line is not "REGEDIT4"
    std::vector<int> damagedLines;     // 1-based numbers of lines skipped
    bool damaged() const { return missingHeader || !damagedLines.empty(); }
};

// Reads a hive text whose key lines start with `rootName` (for example
// "HKEY_LOCAL_MACHINE"). Never throws on bad text; empty text is an empty
// hive without damage.
Key ParseRegedit4(std::string_view text, std::string_view rootName, ParseReport* report = nullptr);

// Writes the whole tree below `root`, every key in its own section.
std::string FormatRegedit4(const Key& root, std::string_view rootName);

}  // namespace regstore
