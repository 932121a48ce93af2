// The databases the build delivers in build/bin, and the means to check
// them: their bytes, and mdbtools' reading of them as a referee.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "jet/dao.h"
#include "support/command_output.h"
#include "support/error_number.h"
#include "support/files.h"

namespace delivered {

namespace fs = std::filesystem;

inline fs::path builtFile(const std::string& name) { return fs::path(STRUX_BINARY_DIR) / "bin" / name; }

using testsupport::commandOutput;

inline std::string fileBytes(const fs::path& path) { return testsupport::readFile(path); }

// The error number a call throws, or 0 when it succeeds.
template <class F>
long errorOf(F&& call) {
    return testsupport::errorNumber<jet::Error>(call);
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

inline bool haveMdbExport() { return testsupport::haveTool("mdb-export"); }

// One table exported by mdb-export as lines of "|"-separated values,
// without the header line.
inline std::vector<std::string> mdbExport(const fs::path& database, const std::string& table) {
    auto output = commandOutput("mdb-export -H -d '|' -Q " + testsupport::shellQuoted(database.string()) + " " +
                                testsupport::shellQuoted(table));
    EXPECT_TRUE(output.has_value()) << "mdb-export failed on " << table;
    std::vector<std::string> lines;
    std::istringstream in(output.value_or(""));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace delivered
