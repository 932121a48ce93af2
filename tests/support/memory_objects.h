// The engine's catalog objects made in memory, for tests that need exact,
// small structures the engine itself would refuse to write (an index over a
// missing field, a relation between unlike columns, types a format lacks).
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "jet/field.h"
#include "jet/index.h"
#include "jet/querydef.h"
#include "jet/relation.h"
#include "jet/tabledef.h"
#include "jet/types.h"

namespace testsupport {

inline std::unique_ptr<jet::Field> makeField(const std::string& name, int type, long size, long attributes,
                                             bool required = false, bool allowZeroLength = false) {
    auto field = std::make_unique<jet::Field>(name, type, size);
    field->SetAttributes(attributes);
    field->SetRequired(required);
    field->SetAllowZeroLength(allowZeroLength);
    return field;
}

inline std::unique_ptr<jet::TableDef> makeTable(const std::string& name, long attributes = 0) {
    auto table = std::make_unique<jet::TableDef>(name);
    table->SetAttributes(attributes);
    return table;
}

// Members as (name, attributes) pairs.
inline std::unique_ptr<jet::Index> makeIndex(const std::string& name,
                                             const std::vector<std::pair<std::string, long>>& members, bool primary,
                                             bool unique, bool required = false) {
    auto index = std::make_unique<jet::Index>(name);
    for (const auto& [field, attributes] : members) {
        auto member = index->CreateField(field);
        member->SetAttributes(attributes);
        index->Fields().add(std::move(member));
    }
    index->SetPrimary(primary);
    index->SetUnique(unique);
    index->SetRequired(required);
    return index;
}

// Members as (primary column, foreign column) pairs.
inline std::unique_ptr<jet::Relation> makeRelation(const std::string& name, const std::string& table,
                                                   const std::string& foreignTable,
                                                   const std::vector<std::pair<std::string, std::string>>& fields,
                                                   long attributes = 0) {
    auto relation = std::make_unique<jet::Relation>(name, table, foreignTable);
    for (const auto& [primary, foreign] : fields) {
        auto field = relation->CreateField(primary);
        field->SetForeignName(foreign);
        relation->Fields().add(std::move(field));
    }
    relation->SetAttributes(attributes);
    return relation;
}

inline std::unique_ptr<jet::QueryDef> makeQuery(const std::string& name, const std::string& sql,
                                                const std::vector<std::string>& fields = {}) {
    auto query = std::make_unique<jet::QueryDef>(name);
    query->SetSQL(sql);
    for (const auto& field : fields) query->Fields().add(std::make_unique<jet::Field>(field, jet::dbText, 50));
    return query;
}

}  // namespace testsupport
