// Open, modify, verify: the writes a user makes, run against a database
// file that may be damaged anywhere. Each step may fail with a jet::Error;
// a step that fails must leave the file byte for byte as it was, and no
// step may crash. The write fuzzer (tests/fuzz) runs it over mutated
// databases; the regression test runs it over the inputs the fuzzer kept.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "jet/dao.h"
#include "jet/verify.h"
#include "support/planned_structure.h"

namespace writetest {

// What a run saw: the steps that went through and the first step that
// changed the file although it failed (empty when none did).
struct ScenarioResult {
    int stepsDone = 0;
    std::string changedByFailure;
};

inline std::vector<char> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs the scenario on the database at `path` (changed in place).
inline ScenarioResult runWriteScenario(const std::string& path) {
    ScenarioResult result;
    std::shared_ptr<jet::Database> db;
    try {
        db = jet::DBEngine().OpenDatabase(path);
    } catch (const jet::Error&) {
        return result;
    }
    auto step = [&](const char* what, const std::function<void()>& action) {
        const auto before = fileBytes(path);
        try {
            action();
            ++result.stepsDone;
        } catch (const jet::Error&) {
            if (result.changedByFailure.empty() && fileBytes(path) != before) result.changedByFailure = what;
        }
    };
    auto table = [&](const char* name, bool withText) {
        testsupport::PlannedTable t{name, {{"ID", jet::dbLong}}, {{"PrimaryKey", {{"ID", 0}}, true}}};
        if (withText) t.fields.push_back({"Title", jet::dbText, 40});
        t.fields.insert(t.fields.end(), {{"Ref", jet::dbLong}, {"Notes", jet::dbMemo}});
        testsupport::appendTable(*db, t);
    };
    auto rows = [&](const char* name, int count) {
        auto rs = db->OpenRecordset(name, jet::dbOpenTable);
        for (int i = 1; i <= count; ++i) {
            rs->AddNew();
            rs->SetValue("ID", std::int32_t{i});
            rs->SetValue("Ref", std::int32_t{1 + i % 3});
            rs->SetValue("Notes", std::string(static_cast<std::size_t>(i * 40), 'n'));
            rs->Update();
        }
    };
    step("append a table", [&] { table("FuzzParent", true); });
    step("append a second table", [&] { table("FuzzChild", false); });
    step("add rows", [&] { rows("FuzzParent", 6); });
    step("add related rows", [&] { rows("FuzzChild", 6); });
    step("add an index over rows", [&] {
        auto& t = db->TableDefs()["FuzzParent"];
        auto ix = t.CreateIndex("ByTitle");
        ix->Fields().Append(ix->CreateField("Title"));
        t.Indexes().Append(std::move(ix));
    });
    step("append a relation", [&] {
        testsupport::appendRelation(*db, {"FuzzParentChild", "FuzzParent", "FuzzChild", {{"ID", "Ref"}}});
    });
    // The tables that were there before: a row added to and one taken from
    // each, through their own (possibly damaged) definitions and indexes.
    std::vector<std::string> existing;
    try {
        for (int i = 0; i < db->TableDefs().Count(); ++i) {
            const std::string name = db->TableDefs()[i].Name();
            if (name.rfind("MSys", 0) != 0 && name.rfind("Fuzz", 0) != 0) existing.push_back(name);
        }
    } catch (const jet::Error&) {
    }
    for (std::size_t i = 0; i < existing.size() && i < 3; ++i) {
        step("add a row to an existing table", [&] {
            auto rs = db->OpenRecordset(existing[i], jet::dbOpenTable);
            rs->AddNew();
            rs->Update();
        });
        step("delete a row of an existing table", [&] {
            auto rs = db->OpenRecordset(existing[i], jet::dbOpenTable);
            if (!rs->Eof()) rs->Delete();
        });
    }
    step("delete rows", [&] {
        auto rs = db->OpenRecordset("FuzzChild", jet::dbOpenTable);
        for (int n = 0; n < 3 && !rs->Eof(); ++n) {
            rs->Delete();
            rs->MoveNext();
        }
    });
    db.reset();
    try {
        jet::verifyDatabase(path);
    } catch (const jet::Error&) {
    }
    return result;
}

}  // namespace writetest
