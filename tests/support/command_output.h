// Other programs run by the tests as referees (mdbtools, pdftotext): their
// output, and whether they are installed at all.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

namespace testsupport {

// The standard output of a shell command, or nothing when it could not run
// or ended with an error. Its error output is dropped.
inline std::optional<std::string> commandOutput(const std::string& command) {
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return std::nullopt;
    std::string output;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    if (::pclose(pipe) != 0) return std::nullopt;
    return output;
}

inline bool haveTool(const std::string& name) { return commandOutput("command -v " + name).has_value(); }

// `text` as one shell word.
inline std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace testsupport
