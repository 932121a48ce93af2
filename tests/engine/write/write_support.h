// Shared by the writing tests: a temporary folder per test, whole-file
// reads to show a file was left untouched, the error number of a call,
// and the mdbtools referee.
#pragma once

#include "support/temp_folder.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "jet/error.h"

namespace writetest {

using TempFolder = testsupport::TempFolder;

inline std::vector<std::uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The referee: runs an mdbtools command and returns its standard output.
// `ok` is false when it exits non-zero.
inline std::string run(const std::string& command, bool* ok = nullptr) {
    std::string out;
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) {
        if (ok) *ok = false;
        return out;
    }
    std::array<char, 4096> buffer{};
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    if (ok) *ok = status == 0;
    return out;
}

inline bool haveMdbTools() {
    bool ok = false;
    run("command -v mdb-tables >/dev/null", &ok);
    return ok;
}

inline std::string quoted(const std::string& path) { return "'" + path + "'"; }

// The DAO error number `action` fails with, 0 when it succeeds.
inline long errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const jet::Error& e) {
        return e.number();
    }
    return 0;
}

}  // namespace writetest

#define STRUX_REQUIRE_MDBTOOLS()                                                  \
    do {                                                                          \
        if (!writetest::haveMdbTools()) GTEST_SKIP() << "mdbtools is not installed"; \
    } while (0)
