// The databases the build delivers in build/bin, and the means to check
// them: their bytes, and mdbtools' reading of them as a referee.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "jet/dao.h"

namespace delivered {

namespace fs = std::filesystem;

inline fs::path builtFile(const std::string& name) { return fs::path(STRUX_BINARY_DIR) / "bin" / name; }

inline std::string fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The error number a call throws, or 0 when it succeeds.
template <class F>
long errorOf(F&& call) {
    try {
        call();
    } catch (const jet::Error& e) {
        return e.number();
    }
    return 0;
}

// Columns of a table as "Name:type:size", in the table's order.
inline std::vector<std::string> columnsOf(const jet::TableDef& table) {
    std::vector<std::string> columns;
    for (const auto& field : table.Fields())
        columns.push_back(field->Name() + ":" + std::to_string(field->Type()) + ":" + std::to_string(field->Size()));
    return columns;
}

// The user tables of a database, in catalog order.
inline std::vector<std::string> userTables(jet::Database& db) {
    std::vector<std::string> names;
    for (const auto& table : db.TableDefs())
        if (table->Name().rfind("MSys", 0) != 0) names.push_back(table->Name());
    return names;
}

// The standard output of a command, or nothing when it could not run or
// ended with an error.
inline std::optional<std::string> commandOutput(const std::string& command) {
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return std::nullopt;
    std::string output;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    if (::pclose(pipe) != 0) return std::nullopt;
    return output;
}

inline bool haveMdbExport() { return commandOutput("command -v mdb-export").has_value(); }

// One table exported by mdb-export as lines of "|"-separated values,
// without the header line.
inline std::vector<std::string> mdbExport(const fs::path& database, const std::string& table) {
    auto output = commandOutput("mdb-export -H -d '|' -Q '" + database.string() + "' '" + table + "'");
    EXPECT_TRUE(output.has_value()) << "mdb-export failed on " << table;
    std::vector<std::string> lines;
    std::istringstream in(output.value_or(""));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace delivered
