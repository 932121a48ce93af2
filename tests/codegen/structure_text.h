// A database's structure as lines of text, one per field, index and
// relation, so that a copy and its source compare line by line and a
// difference shows as the one line that differs.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "codegen/empty_copy.h"
#include "codegen/structure_walk.h"
#include "codegen/vb_text.h"

namespace testcodegen {

// A field as the copy carries it: type, Size, Required, AllowZeroLength and
// Attributes. Left out of Attributes: dbUpdatableField, which says how the
// field was opened, not what it is; and, except for text and binary, whose
// width is a choice, fixed or variable length, which the type decides (ACE
// stores calculated columns as variable whatever their type, and the copy's
// columns are plain ones).
inline std::string fieldText(const jet::Field& field) {
    long attributes = field.Attributes() & ~long{jet::dbUpdatableField};
    if (field.Type() != jet::dbText && field.Type() != jet::dbBinary)
        attributes &= ~long{jet::dbFixedField | jet::dbVariableField};
    return "field " + field.Name() + " type=" + std::to_string(field.Type()) + " size=" +
           std::to_string(field.Size()) + " required=" + std::to_string(field.Required()) +
           " azl=" + std::to_string(field.AllowZeroLength()) + " attributes=" + std::to_string(attributes);
}

// An index by its members in order (with "-" for descending ones) and the
// flags the copy carries.
inline std::string indexText(const jet::Index& index) {
    std::string text = "index " + index.Name() + " " + index.FieldsText();
    if (index.Primary()) text += " primary";
    if (index.Unique()) text += " unique";
    if (index.Required()) text += " required";
    return text;
}

inline std::string relationText(const jet::Relation& relation) {
    std::string text = "relation " + relation.Name() + " " + relation.Table() + " -> " + relation.ForeignTable() +
                       " attributes=" + std::to_string(relation.Attributes());
    for (const auto& field : relation.Fields()) text += " " + field->Name() + "=" + field->ForeignName();
    return text;
}

// Each listed table with its fields in order and its indexes (those Jet
// keeps for relations left out: they come with the relations), each listed
// query with its kind and its SQL on one line (the copy is given the SQL on
// one line, and Jet keeps a union's parts as written), then each listed
// relation; without the objects `leftOut` names.
inline std::vector<std::string> structureText(const std::vector<std::string>& entries,
                                              const codegen::SourceDatabase& db,
                                              const codegen::CopyOutcome& leftOut = {}, bool withQueries = true) {
    auto isLeftOut = [&](const std::string& kind, const std::string& name) {
        for (const auto& item : leftOut.leftOut)
            if (item.kind == kind && item.name == name) return true;
        return false;
    };
    std::vector<std::string> lines;
    for (const auto& entry : entries) {
        if (codegen::entryKind(entry) != codegen::EntryKind::Table) continue;
        if (isLeftOut("table", codegen::entryName(entry))) continue;
        const jet::TableDef& table = db.tables[codegen::entryName(entry)];
        lines.push_back("table " + table.Name());
        for (const auto& field : table.Fields())
            if (!isLeftOut("field", table.Name() + "." + field->Name())) lines.push_back("  " + fieldText(*field));
        // In name order: the order of a table's indexes is the order the
        // engine reads them in, not something the copy chooses.
        std::vector<std::string> indexes;
        for (const auto& index : table.Indexes())
            if (!index->Foreign() && !isLeftOut("index", table.Name() + "." + index->Name()))
                indexes.push_back("  " + indexText(*index));
        std::sort(indexes.begin(), indexes.end());
        lines.insert(lines.end(), indexes.begin(), indexes.end());
    }
    for (const auto& entry : entries) {
        if (!withQueries || codegen::entryKind(entry) != codegen::EntryKind::Query ||
            isLeftOut("query", codegen::entryName(entry)))
            continue;
        const jet::QueryDef& query = db.queries[codegen::entryName(entry)];
        lines.push_back("query " + query.Name() + " type=" + std::to_string(query.Type()) + " " +
                        codegen::flattenSql(query.SQL()));
    }
    for (const auto& entry : entries) {
        if (codegen::entryKind(entry) != codegen::EntryKind::Relation) continue;
        if (!isLeftOut("relation", codegen::entryName(entry)))
            lines.push_back(relationText(db.relations[codegen::entryName(entry)]));
    }
    return lines;
}

}  // namespace testcodegen
