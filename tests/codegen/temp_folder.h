// Temporary folders and file helpers for the code generator's tests.
#pragma once

#include "support/files.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <string>
#include <vector>

namespace testcodegen {

using TempFolder = testsupport::TempFolder;

using testsupport::readFile;
using testsupport::writeFile;

// The lines of a file whose every line must end with CR LF; a bare CR or LF
// anywhere, or text after the last CR LF, fails the test.
inline std::vector<std::string> crlfLines(const std::string& path) {
    const std::string bytes = readFile(path);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const auto end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << path << ": text after the last CR LF";
            break;
        }
        std::string line = bytes.substr(start, end - start);
        if (line.find_first_of("\r\n") != std::string::npos) ADD_FAILURE() << path << ": bare CR or LF in " << line;
        lines.push_back(std::move(line));
        start = end + 2;
    }
    return lines;
}

}  // namespace testcodegen
