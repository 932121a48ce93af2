// A generated module run over the engine (vb_runner.h) and the database it
// made compared with its source, as the empty copy is compared: equal but
// for what the module's comments name, and what DAO holds that the engine
// cannot (links, pass-through queries, relations to links) equal to the
// source's as text.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "codegen/structure_text.h"
#include "codegen/vb_runner.h"
#include "codegen/vb_text.h"
#include "listing/target_limits.h"

namespace testcodegen {

// What the source has that the run keeps aside, in the module's order.
inline std::vector<std::string> asideText(const std::vector<std::string>& entries, const codegen::SourceDatabase& db,
                                          const codegen::CopyOutcome& notCreated) {
    auto named = [&](const std::string& kind, const std::string& name) {
        for (const auto& item : notCreated.leftOut)
            if (item.kind == kind && item.name == name) return true;
        return false;
    };
    std::vector<std::string> lines;
    for (const auto& entry : entries) {
        const std::string name = codegen::entryName(entry);
        if (codegen::entryKind(entry) == codegen::EntryKind::Table && listing::isLinked(db.tables[name])) {
            const jet::TableDef& table = db.tables[name];
            lines.push_back(vbrun::linkText(name, table.SourceTableName(), table.Connect()));
        }
    }
    for (const auto& entry : entries) {
        const std::string name = codegen::entryName(entry);
        if (codegen::entryKind(entry) == codegen::EntryKind::Query && listing::isPassThrough(db.queries[name])) {
            const jet::QueryDef& query = db.queries[name];
            lines.push_back(vbrun::passThroughText(name, query.Connect(), query.ReturnsRecords(),
                                                   codegen::flattenSql(query.SQL())));
        }
    }
    for (const auto& entry : entries) {
        const std::string name = codegen::entryName(entry);
        if (codegen::entryKind(entry) != codegen::EntryKind::Relation || named("relation", name)) continue;
        const jet::Relation& relation = db.relations[name];
        if (listing::isLinked(db.tables[relation.Table()]) || listing::isLinked(db.tables[relation.ForeignTable()]))
            lines.push_back(relationText(relation));
    }
    return lines;
}

// Runs `lines` into `target` (created with `options`) and expects it to run
// to its end and to recreate `source`'s listed objects.
inline void expectModuleRecreates(const std::vector<std::string>& lines, const std::vector<std::string>& entries,
                                  const codegen::SourceDatabase& source, const std::filesystem::path& target,
                                  int options) {
    const vbrun::RunResult run = vbrun::runModule(lines, target, options);
    ASSERT_TRUE(run.problems.empty()) << run.problems.size() << " problems, last: " << run.problems.back();
    EXPECT_TRUE(run.created) << "the module did not reach its end";

    codegen::CopyOutcome notCreated;
    for (const auto& [kind, name] : run.notCreated) notCreated.leftOut.push_back({kind, name, ""});
    EXPECT_EQ(run.aside, asideText(entries, source, notCreated));
    // What was kept aside is compared above, not with the made database.
    codegen::CopyOutcome skipped = notCreated;
    for (const auto& entry : entries) {
        const std::string name = codegen::entryName(entry);
        const auto kind = codegen::entryKind(entry);
        if (kind == codegen::EntryKind::Table && listing::isLinked(source.tables[name]))
            skipped.leftOut.push_back({"table", name, ""});
        if (kind == codegen::EntryKind::Query && listing::isPassThrough(source.queries[name]))
            skipped.leftOut.push_back({"query", name, ""});
        if (kind == codegen::EntryKind::Relation) {
            const jet::Relation& relation = source.relations[name];
            if (listing::isLinked(source.tables[relation.Table()]) ||
                listing::isLinked(source.tables[relation.ForeignTable()]))
                skipped.leftOut.push_back({"relation", name, ""});
        }
    }
    auto made = jet::DBEngine().OpenDatabase(target.string(), false, true);
    const codegen::SourceDatabase back{made->TableDefs(), made->QueryDefs(), made->Relations()};
    EXPECT_EQ(structureText(entries, back, skipped), structureText(entries, source, skipped));
}

}  // namespace testcodegen
