// Index keys: the bytes an index entry sorts by, column after column.
// Each column's part starts with a flag byte (Null or not, ascending or
// descending); numbers are big-endian with the sign bit turned; text uses the
// General sort order's character codes (text_key.h). Layout: docs/jet-writing.md#index-keys.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "jet/value.h"
#include "storage/table_definition.h"

namespace jet::write {

struct KeyColumn {
    const storage::ColumnDef* column = nullptr;
    bool ascending = true;
};

// Appends the key part of `value` for `column`. Returns false when a Jet 3
// text holds a character without a place in the order (see text_key.h).
bool appendKey(std::vector<std::uint8_t>& key, const storage::ColumnDef& column, const Value& value,
               bool ascending, bool jet3);

// The key of a row for an index over `columns`; `exact` is cleared when any
// text part used a stand-in code.
std::vector<std::uint8_t> indexKey(const std::vector<KeyColumn>& columns, const std::vector<Value>& rowValues,
                                   const storage::TableDefinition& def, bool jet3, bool* exact = nullptr);

// The key columns of `index`, a real index of `def`, in key order. Throws
// 3049 when the index names a column the table lacks.
std::vector<KeyColumn> indexKeyColumns(const storage::TableDefinition& def, const storage::RealIndex& index);

// The key of a row over `columns`, or nullopt when any of them is Null: such
// a key refers to no row of a relation's other side.
std::optional<std::vector<std::uint8_t>> completeKey(const std::vector<KeyColumn>& columns,
                                                     const std::vector<Value>& rowValues,
                                                     const storage::TableDefinition& def, bool jet3);

}  // namespace jet::write
