// A generated module run over the engine (vb_runner.h) and the database it
// made compared with its source, as the empty copy is compared: equal but
// for what the module's comments name, and what DAO holds that the engine
// cannot (links, pass-through queries, relations to links) equal to the
// source's as text.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "codegen/structure_text.h"
#include "codegen/vb_runner.h"
#include "codegen/vb_text.h"
#include "listing/target_limits.h"

namespace testcodegen {

// What the source has that DAO holds and the engine cannot, in the module's
// order: linked tables, pass-through queries, relations to linked tables.
inline std::vector<listing::LeftOut> keptAside(const std::vector<std::string>& entries,
                                               const codegen::SourceDatabase& db) {
    std::vector<listing::LeftOut> aside;
    for (const auto kind : {codegen::EntryKind::Table, codegen::EntryKind::Query, codegen::EntryKind::Relation}) {
        for (const auto& entry : entries) {
            if (codegen::entryKind(entry) != kind) continue;
            const std::string name = codegen::entryName(entry);
            if (kind == codegen::EntryKind::Table && listing::isLinked(db.tables[name]))
                aside.push_back({"table", name, ""});
            if (kind == codegen::EntryKind::Query && listing::isPassThrough(db.queries[name]))
                aside.push_back({"query", name, ""});
            if (kind == codegen::EntryKind::Relation) {
                const jet::Relation& relation = db.relations[name];
                if (listing::isLinked(db.tables[relation.Table()]) || listing::isLinked(db.tables[relation.ForeignTable()]))
                    aside.push_back({"relation", name, ""});
            }
        }
    }
    return aside;
}

// The text the run keeps of each object kept aside; a relation the module
// names as not created is not kept.
inline std::vector<std::string> asideText(const std::vector<std::string>& entries, const codegen::SourceDatabase& db,
                                          const codegen::CopyOutcome& notCreated) {
    std::vector<std::string> lines;
    for (const auto& item : keptAside(entries, db)) {
        if (item.kind == "table") {
            const jet::TableDef& table = db.tables[item.name];
            lines.push_back(vbrun::linkText(item.name, table.SourceTableName(), table.Connect()));
        } else if (item.kind == "query") {
            const jet::QueryDef& query = db.queries[item.name];
            lines.push_back(vbrun::passThroughText(item.name, query.Connect(), query.ReturnsRecords(),
                                                   codegen::flattenSql(query.SQL())));
        } else if (std::none_of(notCreated.leftOut.begin(), notCreated.leftOut.end(), [&](const auto& named) {
                       return named.kind == "relation" && named.name == item.name;
                   })) {
            lines.push_back(relationText(db.relations[item.name]));
        }
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
    for (auto& item : keptAside(entries, source)) skipped.leftOut.push_back(std::move(item));
    auto made = jet::DBEngine().OpenDatabase(target.string(), false, true);
    const codegen::SourceDatabase back{made->TableDefs(), made->QueryDefs(), made->Relations()};
    EXPECT_EQ(structureText(entries, back, skipped), structureText(entries, source, skipped));
}

}  // namespace testcodegen
