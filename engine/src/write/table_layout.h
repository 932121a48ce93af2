// Turning column and index descriptions into a table definition: column
// numbers, fixed offsets, variable-column slots, stored lengths and flags,
// and real indexes shared by logical indexes over the same columns.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "storage/table_definition.h"

namespace jet::write {

struct NewColumn {
    std::string name;
    std::uint8_t type = 0;       // storage::coltype
    std::uint16_t size = 0;      // characters for text, bytes for binary; ignored for fixed-width types
    std::uint8_t flags = 0;      // storage::colflag beyond fixed (auto-number, hyperlink, ...)
    bool fixedText = false;      // dbFixedField on text
    std::uint8_t precision = 0, scale = 0;
};

struct NewIndex {
    std::string name;
    std::vector<std::pair<std::string, bool>> columns;  // name, ascending
    std::uint8_t flags = 0;                             // storage::idxflag
    std::uint8_t indexType = storage::kIndexTypeNormal;
};

// Stored width of a fixed-width column type, 0 for variable-length types.
std::uint16_t fixedTypeWidth(std::uint8_t type);

// The real index of `def` with the key columns, order and flags of
// `wanted`: logical indexes that agree in these share one real index, as
// Jet lays them out.
std::optional<std::uint32_t> sharedRealIndex(const storage::TableDefinition& def, const storage::RealIndex& wanted);

// A definition of `columns` and `indexes` (pages not yet assigned).
// `systemTable` marks the catalog's own tables (type 'S' and the index flag
// bit Jet 4 sets on them). Column names in indexes must exist.
storage::TableDefinition layoutTable(const std::vector<NewColumn>& columns, const std::vector<NewIndex>& indexes,
                                     const format::JetFormat& format, std::uint16_t sortOrder, bool systemTable);

}  // namespace jet::write
