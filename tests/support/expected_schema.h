// What a database's structure must be once its schema script is loaded into
// another database system: the tables, their columns, primary keys and
// foreign keys, as lines a test compares with the target's own catalog.
#pragma once

#include <set>
#include <string>

#include "jet/dao.h"

namespace testsupport {

// "table T", "column T.C", "primary key T (A,B)", "foreign key F (a,b) -> P (x,y)".
// Made: the listed tables that are not linked, with the columns whose type
// a SQL column holds (no attachment, multi-valued or unknown fields); the
// enforced relations between tables and columns that are made.
inline std::set<std::string> expectedSchema(jet::Database& db) {
    std::set<std::string> lines;
    auto holds = [](const jet::Field& field) { return field.Type() > 0 && field.Type() < jet::dbAttachment; };
    auto madeTable = [&](const std::string& name) -> const jet::TableDef* {
        const jet::TableDef* table = db.TableDefs().find(name);
        if (!table || (table->Attributes() & jet::dbSystemObject) || !table->Connect().empty()) return nullptr;
        for (const auto& field : table->Fields())
            if (holds(*field)) return table;
        return nullptr;
    };
    auto madeColumn = [&](const jet::TableDef& table, const std::string& name) {
        const jet::Field* field = table.Fields().find(name);
        return field && holds(*field);
    };
    for (const auto& table : db.TableDefs()) {
        if (!madeTable(table->Name())) continue;
        lines.insert("table " + table->Name());
        for (const auto& field : table->Fields())
            if (holds(*field)) lines.insert("column " + table->Name() + "." + field->Name());
        for (const auto& index : table->Indexes()) {
            if (!index->Primary()) continue;
            std::string members;
            bool all = true;
            for (const auto& member : index->Fields()) {
                members += (members.empty() ? "" : ",") + member->Name();
                all = all && madeColumn(*table, member->Name());
            }
            if (all) lines.insert("primary key " + table->Name() + " (" + members + ")");
        }
    }
    for (const auto& relation : db.Relations()) {
        if (relation->Attributes() & jet::dbRelationDontEnforce) continue;
        const jet::TableDef* primary = madeTable(relation->Table());
        const jet::TableDef* foreign = madeTable(relation->ForeignTable());
        if (!primary || !foreign) continue;
        std::string from, to;
        bool all = true;
        for (const auto& field : relation->Fields()) {
            from += (from.empty() ? "" : ",") + field->ForeignName();
            to += (to.empty() ? "" : ",") + field->Name();
            all = all && madeColumn(*primary, field->Name()) && madeColumn(*foreign, field->ForeignName());
        }
        if (all) lines.insert("foreign key " + foreign->Name() + " (" + from + ") -> " + primary->Name() + " (" + to + ")");
    }
    return lines;
}

}  // namespace testsupport
