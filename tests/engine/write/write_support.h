// Shared by the writing tests: a temporary folder per test, whole-file
// reads to show a file was left untouched, the error number of a call,
// and the mdbtools referee.
#pragma once

#include "support/files.h"
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

// Appends index `name` over `members` (field name, descending) to `table`.
inline void addIndex(jet::TableDef& table, const std::string& name,
                     const std::vector<std::pair<std::string, bool>>& members, bool primary = false,
                     bool unique = false, bool ignoreNulls = false) {
    auto index = table.CreateIndex(name);
    for (const auto& [field, descending] : members) {
        auto member = index->CreateField(field);
        if (descending) member->SetAttributes(jet::dbDescending);
        index->Fields().Append(std::move(member));
    }
    if (primary) index->SetPrimary(true);
    if (unique) index->SetUnique(true);
    if (ignoreNulls) index->SetIgnoreNulls(true);
    table.Indexes().Append(std::move(index));
}

// A table with one text column "Key" and a primary key on it.
inline void appendTable(jet::Database& db, const std::string& name) {
    auto t = db.CreateTableDef(name);
    t->Fields().Append(t->CreateField("Key", jet::dbText, 20));
    addIndex(*t, "PrimaryKey", {{"Key", false}}, true);
    db.TableDefs().Append(std::move(t));
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
    auto t = db.CreateTableDef(name);
    t->Fields().Append(t->CreateField("Title", jet::dbText, titleSize));
    t->Fields().Append(t->CreateField("N", jet::dbLong));
    addIndex(*t, "PrimaryKey", {{"Title", false}}, true);
    addIndex(*t, "ByN", {{"N", true}});
    db.TableDefs().Append(std::move(t));
}

}  // namespace writetest

#define STRUX_REQUIRE_MDBTOOLS()                                                  \
    do {                                                                          \
        if (!writetest::haveMdbTools()) GTEST_SKIP() << "mdbtools is not installed"; \
    } while (0)
