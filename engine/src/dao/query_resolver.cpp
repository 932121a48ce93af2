#include "dao/query_resolver.h"

namespace jet::dao {

QueryResolver::QueryResolver(const std::vector<const catalog::CatalogObject*>& queries,
                             const std::map<std::int32_t, std::vector<queries::QueryRow>>& rows,
                             const Collection<TableDef>& tables)
    : queries_(queries), rows_(rows), tables_(tables) {}

const queries::RebuiltQuery* QueryResolver::rebuilt(const catalog::CatalogObject& query) {
    auto known = done_.find(query.id);
    if (known != done_.end()) return known->second ? &*known->second : nullptr;
    if (inProgress_.count(query.id)) return nullptr;

    static const std::vector<queries::QueryRow> kNoRows;
    auto rows = rows_.find(query.id);
    inProgress_.insert(query.id);
    std::optional<queries::RebuiltQuery> result;
    try {
        result = queries::rebuildQuery(rows == rows_.end() ? kNoRows : rows->second,
                                       static_cast<std::int32_t>(query.flags),
                                       [this](const std::string& source) { return columnsOf(source); });
    } catch (const Error& e) {
        result.reset();
        failures_.emplace(query.id, e);
    }
    inProgress_.erase(query.id);
    auto& slot = done_[query.id] = std::move(result);
    return slot ? &*slot : nullptr;
}

const Error* QueryResolver::failure(const catalog::CatalogObject& query) const {
    auto found = failures_.find(query.id);
    return found == failures_.end() ? nullptr : &found->second;
}

std::optional<std::vector<std::string>> QueryResolver::columnsOf(const std::string& source) {
    if (const TableDef* table = tables_.find(source)) {
        // A linked table's columns live in its source, which is not opened.
        if (table->Fields().Count() == 0) return std::nullopt;
        std::vector<std::string> names;
        for (const auto& field : table->Fields()) names.push_back(field->Name());
        return names;
    }
    for (const auto* query : queries_) {
        if (!namesEqual(query->name, source)) continue;
        const queries::RebuiltQuery* q = rebuilt(*query);
        if (!q) return std::nullopt;
        return q->outputFields;
    }
    return std::nullopt;
}

}  // namespace jet::dao
