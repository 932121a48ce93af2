#include "write/relationship_writer.h"

#include <algorithm>

#include "catalog/name_order.h"
#include "jet/collection.h"
#include "jet/error.h"

namespace jet::write {
namespace {

// Jet 4 sets this bit on the real indexes of every table Access writes.
constexpr std::uint8_t kJet4IndexFlag = 0x80;
// The related-table type of a foreign-key index names the side it sits on.
constexpr std::uint8_t kOnPrimaryTable = 1;
constexpr std::uint8_t kOnForeignTable = 2;
// ".rA" to ".rZ", then ".ra" to ".rz".
constexpr std::uint32_t kIndexLetters = 52;

char indexLetter(std::uint32_t n) {
    return n < 26 ? static_cast<char>('A' + n) : static_cast<char>('a' + (n - 26));
}

bool hasIndexNamed(const storage::TableDefinition& def, const std::string& name) {
    return std::any_of(def.logicalIndexes.begin(), def.logicalIndexes.end(),
                       [&](const auto& logical) { return namesEqual(logical.name, name); });
}

bool sameColumns(const storage::RealIndex& real, const std::vector<std::uint16_t>& columns) {
    if (real.columns.size() != columns.size()) return false;
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (real.columns[i].columnNumber != columns[i] || !real.columns[i].ascending) return false;
    return true;
}

}  // namespace

std::uint32_t nextIndexNumber(const storage::TableDefinition& def) {
    std::uint32_t next = 0;
    for (const auto& logical : def.logicalIndexes) next = std::max(next, logical.indexNumber + 1);
    return next;
}

// Access keeps a definition's logical index entries in name order (their
// numbers keep the order they were made in); a definition this engine wrote
// unsorted is sorted with the new entry.
void insertInNameOrder(storage::TableDefinition& def, storage::LogicalIndex logical) {
    def.logicalIndexes.push_back(std::move(logical));
    std::stable_sort(def.logicalIndexes.begin(), def.logicalIndexes.end(),
                     [](const auto& a, const auto& b) { return catalog::catalogNameLess(a.name, b.name); });
}

std::vector<std::vector<Value>> relationshipRows(const storage::TableDefinition& msysRelationships,
                                                 const NewRelationship& relationship) {
    std::vector<std::vector<Value>> rows;
    const auto count = static_cast<std::int32_t>(relationship.columns.size());
    for (std::int32_t i = 0; i < count; ++i) {
        std::vector<Value> row(msysRelationships.columns.size());
        auto set = [&](const char* name, Value v) {
            if (const auto* c = msysRelationships.findColumn(name))
                row[static_cast<std::size_t>(msysRelationships.columnPosition(c->number))] = std::move(v);
        };
        const auto& [primaryColumn, foreignColumn] = relationship.columns[static_cast<std::size_t>(i)];
        set("ccolumn", count);
        set("grbit", relationship.attributes);
        set("icolumn", i);
        set("szColumn", foreignColumn);
        set("szObject", relationship.foreignTable);
        set("szReferencedColumn", primaryColumn);
        set("szReferencedObject", relationship.table);
        set("szRelationship", relationship.name);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::optional<std::uint32_t> uniqueIndexOver(const storage::TableDefinition& def,
                                             const std::vector<std::uint16_t>& columns) {
    auto sorted = columns;
    std::sort(sorted.begin(), sorted.end());
    auto covers = [&](const storage::RealIndex& real) {
        std::vector<std::uint16_t> own;
        for (const auto& c : real.columns) own.push_back(c.columnNumber);
        std::sort(own.begin(), own.end());
        return own == sorted;
    };
    std::optional<std::uint32_t> found;
    for (const auto& logical : def.logicalIndexes) {
        if (logical.realIndexNumber >= def.realIndexes.size()) continue;
        const auto& real = def.realIndexes[logical.realIndexNumber];
        if (!covers(real) || !(real.unique() || logical.isPrimary())) continue;
        if (logical.isPrimary()) return logical.realIndexNumber;
        if (!found) found = logical.realIndexNumber;
    }
    return found;
}

std::optional<std::uint32_t> indexOver(const storage::TableDefinition& def, const std::vector<std::uint16_t>& columns) {
    for (std::size_t r = 0; r < def.realIndexes.size(); ++r)
        if (sameColumns(def.realIndexes[r], columns)) return static_cast<std::uint32_t>(r);
    return std::nullopt;
}

std::vector<std::size_t> keyOrder(const storage::RealIndex& unique, const std::vector<std::uint16_t>& primaryColumns) {
    std::vector<std::size_t> order;
    for (const auto& member : unique.columns)
        for (std::size_t k = 0; k < primaryColumns.size(); ++k)
            if (primaryColumns[k] == member.columnNumber) order.push_back(k);
    return order;
}

storage::RealIndex foreignKeyRealIndex(const std::vector<std::uint16_t>& columns, bool jet3) {
    storage::RealIndex real;
    for (std::uint16_t c : columns) real.columns.push_back({c, true});
    real.flags = jet3 ? 0 : kJet4IndexFlag;
    return real;
}

std::string primaryIndexName(const storage::TableDefinition& def, std::uint32_t number) {
    for (std::uint32_t k = 0; k < kIndexLetters; ++k) {
        std::string name = std::string(".r") + indexLetter((number + k) % kIndexLetters);
        if (!hasIndexNamed(def, name)) return name;
    }
    throw Error(kErrIndexExists, "Index already exists.", "no free name for a relationship index");
}

void addForeignKeyIndexes(storage::TableDefinition& primary, storage::TableDefinition& foreign,
                          const ForeignKeyLink& link) {
    // The primary side's index is numbered first, as Access numbers them: in
    // a table related to itself the foreign side's comes right after it.
    storage::LogicalIndex onPrimary;
    onPrimary.indexNumber = nextIndexNumber(primary);
    onPrimary.name = primaryIndexName(primary, onPrimary.indexNumber);
    onPrimary.realIndexNumber = link.primaryReal;
    onPrimary.indexType = storage::kIndexTypeForeignKey;
    onPrimary.relatedTableType = kOnPrimaryTable;
    onPrimary.relatedTablePage = foreign.tdefPage;
    onPrimary.cascadeUpdates = link.cascadeUpdates ? 1 : 0;
    onPrimary.cascadeDeletes = link.cascadeDeletes ? 1 : 0;

    storage::LogicalIndex onForeign = onPrimary;
    onForeign.name = link.name;
    onForeign.indexNumber = &primary == &foreign ? onPrimary.indexNumber + 1 : nextIndexNumber(foreign);
    onForeign.realIndexNumber = link.foreignReal;
    onForeign.relatedTableType = kOnForeignTable;
    onForeign.relatedTablePage = primary.tdefPage;
    onForeign.relatedIndexNumber = static_cast<std::int32_t>(onPrimary.indexNumber);
    onPrimary.relatedIndexNumber = static_cast<std::int32_t>(onForeign.indexNumber);

    insertInNameOrder(primary, std::move(onPrimary));
    insertInNameOrder(foreign, std::move(onForeign));
}

}  // namespace jet::write
