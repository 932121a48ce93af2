// Expected outputs kept as reviewed files under tests/. With
// STRUX_UPDATE_GOLDEN set, the file is written from the output first, to be
// reviewed (git diff) before it is committed.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/files.h"

namespace testsupport {

// `relative` is the golden file's path below tests/.
inline void expectGolden(const std::string& output, const std::string& relative) {
    const auto golden = std::filesystem::path(STRUX_SOURCE_DIR) / "tests" / relative;
    if (std::getenv("STRUX_UPDATE_GOLDEN")) writeFile(golden, output);
    ASSERT_TRUE(std::filesystem::exists(golden)) << golden;
    EXPECT_EQ(output, readFile(golden)) << golden;
}

}  // namespace testsupport
