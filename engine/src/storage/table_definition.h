// A table definition (TDEF): columns, real (physical) indexes, logical
// indexes and the table's usage maps, gathered from the TDEF page and its
// continuation pages. Layout: docs/jet-format.md#tdef.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "io/page_file.h"
#include "storage/row_pointer.h"

namespace jet::storage {

inline constexpr std::uint8_t kTdefPageType = 0x02;   // jet-format.md#pages
inline constexpr std::uint32_t kCatalogTdefPage = 2;  // MSysObjects, jet-format.md#catalog

// Column type bytes as stored (jet-format.md#column-types).
namespace coltype {
inline constexpr std::uint8_t kBoolean = 0x01;
inline constexpr std::uint8_t kByte = 0x02;
inline constexpr std::uint8_t kInteger = 0x03;
inline constexpr std::uint8_t kLong = 0x04;
inline constexpr std::uint8_t kCurrency = 0x05;
inline constexpr std::uint8_t kSingle = 0x06;
inline constexpr std::uint8_t kDouble = 0x07;
inline constexpr std::uint8_t kDateTime = 0x08;
inline constexpr std::uint8_t kBinary = 0x09;
inline constexpr std::uint8_t kText = 0x0A;
inline constexpr std::uint8_t kOle = 0x0B;       // long binary
inline constexpr std::uint8_t kMemo = 0x0C;      // long text
inline constexpr std::uint8_t kGuid = 0x0F;
inline constexpr std::uint8_t kNumeric = 0x10;   // Decimal, 17 bytes
inline constexpr std::uint8_t kUnknown11 = 0x11; // seen in system tables; binary
inline constexpr std::uint8_t kComplex = 0x12;   // ACE attachment / multi-value: a Long id
inline constexpr std::uint8_t kBigInt = 0x13;    // ACE 16+
inline constexpr std::uint8_t kExtDateTime = 0x14;  // ACE 17: 42-byte text form
}  // namespace coltype

// Column flag bits (jet-format.md#column-flags).
namespace colflag {
inline constexpr std::uint8_t kFixed = 0x01;
inline constexpr std::uint8_t kNullable = 0x02;
inline constexpr std::uint8_t kAutoLong = 0x04;
inline constexpr std::uint8_t kReplication = 0x10;
inline constexpr std::uint8_t kAutoGuid = 0x40;
inline constexpr std::uint8_t kHyperlink = 0x80;
}  // namespace colflag

// Column extra-flag bits, Jet 4+ (jet-format.md#column-flags).
namespace colextflag {
inline constexpr std::uint8_t kCompressedUnicode = 0x01;
inline constexpr std::uint8_t kCalculated = 0xC0;  // ACE 14 calculated column
}  // namespace colextflag

// Real index flag bits (jet-format.md#real-indexes).
namespace idxflag {
inline constexpr std::uint8_t kUnique = 0x01;
inline constexpr std::uint8_t kIgnoreNulls = 0x02;
inline constexpr std::uint8_t kRequired = 0x08;
}  // namespace idxflag

struct ColumnDef {
    std::string name;
    std::uint8_t type = 0;            // coltype::
    std::uint16_t number = 0;         // stored column number (bit in the null mask)
    std::uint16_t varIndex = 0;       // slot in a row's variable-offset table
    std::uint16_t fixedOffset = 0;    // byte offset among the fixed columns
    std::uint16_t length = 0;         // bytes (text: 2 per character in Jet 4+); 0 for memo/OLE
    std::uint8_t flags = 0;           // colflag::
    std::uint8_t extFlags = 0;        // colextflag:: (Jet 4+)
    std::uint8_t precision = 0;       // Numeric
    std::uint8_t scale = 0;           // Numeric
    std::uint16_t sortOrder = 0;      // text collating order (0x409 General)
    std::uint16_t codePage = 0;       // Jet 3 text columns
    std::uint32_t complexId = 0;      // ACE complex columns
    std::size_t descriptorIndex = 0;  // position in the definition (display order)
    // Calculated columns (ACE 14+): the type of the stored result. The
    // definition does not hold it (the column's ResultType property does);
    // the catalog sets it before reading rows. While 0 the stored result is
    // returned as Bytes.
    std::uint8_t calculatedType = 0;

    bool isFixed() const { return (flags & colflag::kFixed) != 0; }
    bool isLongValue() const { return type == coltype::kMemo || type == coltype::kOle; }
    bool isAutoNumber() const { return (flags & (colflag::kAutoLong | colflag::kAutoGuid)) != 0; }
    bool isHyperlink() const { return (flags & colflag::kHyperlink) != 0; }
    bool isCompressedUnicode() const { return (extFlags & colextflag::kCompressedUnicode) != 0; }
    bool isCalculated() const { return (extFlags & colextflag::kCalculated) != 0; }
};

struct IndexColumn {
    std::uint16_t columnNumber = 0;  // ColumnDef::number
    bool ascending = true;
};

struct RealIndex {
    std::vector<IndexColumn> columns;  // key columns in key order (at most 10)
    std::uint32_t rowCount = 0;        // entries as last recorded (may be stale)
    RowPointer usageMap;               // pages of the index
    std::uint32_t firstPage = 0;       // root index page
    std::uint8_t flags = 0;            // idxflag::

    bool unique() const { return (flags & idxflag::kUnique) != 0; }
    bool ignoreNulls() const { return (flags & idxflag::kIgnoreNulls) != 0; }
    bool required() const { return (flags & idxflag::kRequired) != 0; }
};

inline constexpr std::uint8_t kIndexTypeNormal = 0x00;      // jet-format.md#logical-indexes
inline constexpr std::uint8_t kIndexTypePrimary = 0x01;     // jet-format.md#logical-indexes
inline constexpr std::uint8_t kIndexTypeForeignKey = 0x02;  // jet-format.md#logical-indexes
// The cascade bytes Access writes on an index that is not a foreign key.
inline constexpr std::uint8_t kNotForeignKeyCascade = 0x04;  // jet-format.md#logical-indexes

struct LogicalIndex {
    std::string name;
    std::uint32_t indexNumber = 0;      // as stored (not always in order)
    std::uint32_t realIndexNumber = 0;  // into TableDefinition::realIndexes
    std::uint8_t indexType = kIndexTypeNormal;
    // Foreign-key indexes: the other side of the relationship.
    std::uint8_t relatedTableType = 0;       // the other side's indexType
    std::int32_t relatedIndexNumber = -1;    // -1 when not a foreign key
    std::uint32_t relatedTablePage = 0;      // TDEF page of the other table
    // As stored: 1 on a foreign-key index that cascades; Access writes 4 on
    // its other indexes, kept so that a rewritten definition keeps them.
    std::uint8_t cascadeUpdates = 0;
    std::uint8_t cascadeDeletes = 0;

    bool isPrimary() const { return indexType == kIndexTypePrimary; }
    bool isForeignKey() const { return indexType == kIndexTypeForeignKey; }
};

// A variable-length column with its own usage maps (long values in ACE).
struct ColumnUsageMaps {
    std::uint16_t columnNumber = 0;
    RowPointer ownedPages;
    RowPointer freePages;
};

inline constexpr std::uint8_t kTableTypeUser = 0x4E;    // 'N', jet-format.md#tdef
inline constexpr std::uint8_t kTableTypeSystem = 0x53;  // 'S', jet-format.md#tdef

struct TableDefinition {
    std::uint32_t tdefPage = 0;
    std::uint8_t tableType = 0;
    std::uint32_t rowCount = 0;         // as stored; may be stale
    std::uint32_t nextAutoNumber = 0;
    std::uint32_t nextComplexAutoNumber = 0;  // ACE
    std::uint16_t maxColumns = 0;       // column numbers ever used (deleted included)
    std::uint16_t variableColumnCount = 0;
    std::vector<ColumnDef> columns;     // descriptor (display) order
    std::vector<RealIndex> realIndexes;
    std::vector<LogicalIndex> logicalIndexes;
    RowPointer ownedPages;              // usage map of the table's data pages
    RowPointer freePages;               // usage map of its pages with free space
    std::vector<ColumnUsageMaps> columnUsageMaps;

    // The column named `name` (case-insensitive ASCII), or nullptr.
    const ColumnDef* findColumn(const std::string& name) const;
    // Position in `columns` of the column with stored number `number`, or -1.
    int columnPosition(std::uint16_t number) const;
};

// Reads the definition whose first page is `tdefPage`, following its chain of
// continuation pages. Throws jet::Error(3049) when the page is not a TDEF,
// the chain loops or leaves the file, or any count, length or offset in it
// is out of range.
TableDefinition readTableDefinition(io::PageFile& file, std::uint32_t tdefPage);

}  // namespace jet::storage
