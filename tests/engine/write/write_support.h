// Shared by the writing tests: a temporary folder per test, whole-file
// reads to show a file was left untouched, the error number of a call,
// and the mdbtools referee.
#pragma once

#include "support/files.h"
#include "support/planned_structure.h"
#include "support/temp_folder.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "jet/dao.h"
#include "jet/error.h"
#include "jet/verify.h"

namespace writetest {

using TempFolder = testsupport::TempFolder;

inline std::vector<std::uint8_t> readFile(const std::string& path) {
    const std::string bytes = testsupport::readFile(path);
    return {bytes.begin(), bytes.end()};
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

// A table with one text column "Key" and a primary key on it.
inline void appendTable(jet::Database& db, const std::string& name) {
    testsupport::appendTable(db, {name, {{"Key", jet::dbText, 20}}, {{"PrimaryKey", {{"Key", 0}}, true}}});
}

inline std::string quoted(const std::string& path) { return "'" + path + "'"; }

// A row as field names and their values.
using Row = std::vector<std::pair<const char*, jet::Value>>;

// Adds `row` to `table` through a table-type recordset.
inline void insert(jet::Database& db, const std::string& table, const Row& row) {
    auto rs = db.OpenRecordset(table, jet::dbOpenTable);
    rs->AddNew();
    for (const auto& [field, value] : row) rs->SetValue(field, value);
    rs->Update();
}

// The DAO error number `action` fails with, 0 when it succeeds.
inline long errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const jet::Error& e) {
        return e.number();
    }
    return 0;
}

// The faults the verifier finds in the file at `path`, one a line.
inline std::string faults(const std::string& path) {
    std::string out;
    for (const auto& f : jet::verifyDatabase(path))
        if (f.isFault()) out += jet::describeFinding(f) + "\n";
    return out;
}

// The access masks MSysACEs grants on object `objectId`, one per grantee.
inline std::vector<std::int32_t> grantsOn(jet::Database& db, std::int32_t objectId) {
    std::vector<std::int32_t> masks;
    auto aces = db.OpenRecordset("MSysACEs", jet::dbOpenDynaset);
    for (; !aces->Eof(); aces->MoveNext())
        if (std::get<std::int32_t>((*aces)["ObjectId"]) == objectId)
            masks.push_back(std::get<std::int32_t>((*aces)["ACM"]));
    return masks;
}

// Appends table `name`: a text primary key "Title" of `titleSize`
// characters and a Long "N" with a descending index "ByN".
inline void appendTitleTable(jet::Database& db, const std::string& name, int titleSize) {
    testsupport::appendTable(db, {name, {{"Title", jet::dbText, titleSize}, {"N", jet::dbLong}},
                                  {{"PrimaryKey", {{"Title", 0}}, true}, {"ByN", {{"N", jet::dbDescending}}}}});
}

}  // namespace writetest

#define STRUX_REQUIRE_MDBTOOLS()                                                  \
    do {                                                                          \
        if (!writetest::haveMdbTools()) GTEST_SKIP() << "mdbtools is not installed"; \
    } while (0)
