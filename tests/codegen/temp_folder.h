// Temporary folders and file helpers for the code generator's tests.
#pragma once

#include "support/files.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
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

// Compares `lines` with the reviewed copy tests/codegen/golden/`name`. With
// STRUX_UPDATE_GOLDEN set the copy is written from `lines` first, to be
// reviewed before it is committed.
inline void expectGoldenLines(const std::vector<std::string>& lines, const std::string& name) {
    const std::filesystem::path golden = std::filesystem::path(STRUX_SOURCE_DIR) / "tests/codegen/golden" / name;
    if (std::getenv("STRUX_UPDATE_GOLDEN")) {
        std::string text;
        for (const auto& line : lines) text += line + "\r\n";
        writeFile(golden, text);
    }
    EXPECT_EQ(lines, crlfLines(golden.string())) << golden;
}

}  // namespace testcodegen
