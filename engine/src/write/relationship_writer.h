// What a relationship adds to a database: its MSysRelationships rows, and for
// an enforced one the pair of foreign-key logical indexes Jet keeps in the
// two tables' definitions, each pointing at the other. What Access writes
// and what this engine chooses: docs/jet-writing.md#relationships.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "jet/value.h"
#include "storage/table_definition.h"

namespace jet::write {

struct NewRelationship {
    std::string name;
    std::string table;         // the primary ("one") side, as the catalog spells it
    std::string foreignTable;  // the foreign ("many") side
    // Column pairs in the relation's order: primary column, foreign column.
    std::vector<std::pair<std::string, std::string>> columns;
    std::int32_t attributes = 0;  // dbRelation... bits, stored as grbit
};

// The MSysRelationships rows of `relationship`, one per column pair, in the
// column order of `msysRelationships`.
std::vector<std::vector<Value>> relationshipRows(const storage::TableDefinition& msysRelationships,
                                                 const NewRelationship& relationship);

// The real index of `def` that is unique over exactly `columns` (column
// numbers, in any order), the primary key's first; nullopt when none is.
std::optional<std::uint32_t> uniqueIndexOver(const storage::TableDefinition& def,
                                             const std::vector<std::uint16_t>& columns);

// The real index of `def` over exactly `columns`, in that order and
// ascending, whatever its flags; nullopt when none is.
std::optional<std::uint32_t> indexOver(const storage::TableDefinition& def,
                                       const std::vector<std::uint16_t>& columns);

// The order in which a relation's fields make up its key: positions in
// `primaryColumns` (the primary side's column numbers) in the key order of
// `unique`, the primary side's unique index over them. The foreign key
// lists its fields in that order, so that both keys compare part by part.
std::vector<std::size_t> keyOrder(const storage::RealIndex& unique, const std::vector<std::uint16_t>& primaryColumns);

// A new real index over `columns` (ascending) for the foreign side, with the
// flag Jet 4 sets on every real index.
storage::RealIndex foreignKeyRealIndex(const std::vector<std::uint16_t>& columns, bool jet3);

struct ForeignKeyLink {
    std::uint32_t primaryReal = 0;  // the unique real index of the primary table
    std::uint32_t foreignReal = 0;  // the real index of the foreign table's columns
    std::string name;               // the relationship's name
    bool cascadeUpdates = false;
    bool cascadeDeletes = false;
};

// Adds the two logical indexes of an enforced relationship: ".r" and a
// letter on the primary table, the relationship's name on the foreign
// table. Each is numbered after the table's last one and names the other's
// table page and number; the stored entries are kept in name order, as
// Access keeps them. `primary` and `foreign` may be the same definition (a table
// related to itself). Both definitions must have their pages.
void addForeignKeyIndexes(storage::TableDefinition& primary, storage::TableDefinition& foreign,
                          const ForeignKeyLink& link);

// The number after the highest stored logical index number of `def`.
std::uint32_t nextIndexNumber(const storage::TableDefinition& def);

// Adds `logical` to `def` in the name order Access keeps.
void insertInNameOrder(storage::TableDefinition& def, storage::LogicalIndex logical);

// The name of the primary side's index: ".r" and the letter of its number
// (A for 0), the next free letter when another index has it.
std::string primaryIndexName(const storage::TableDefinition& def, std::uint32_t number);

}  // namespace jet::write
