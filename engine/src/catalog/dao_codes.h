// How the stored codes of a Jet file read as DAO's codes: column type bytes
// and flags as Field.Type, Size and Attributes; index flags; catalog types
// and flags as TableDef.Attributes; the header's sort order as
// Database.CollatingOrder.
#pragma once

#include <cstdint>

namespace jet::catalog {

// Column type bytes of a table definition.
enum ColumnType : std::uint8_t {
    kColBoolean = 0x01,
    kColByte = 0x02,
    kColInteger = 0x03,
    kColLong = 0x04,
    kColCurrency = 0x05,
    kColSingle = 0x06,
    kColDouble = 0x07,
    kColDateTime = 0x08,
    kColBinary = 0x09,
    kColText = 0x0A,
    kColOle = 0x0B,
    kColMemo = 0x0C,
    kColGuid = 0x0F,
    kColNumeric = 0x10,
    kColVarBinary = 0x11,  // seen in system tables only
    kColComplex = 0x12,
    kColBigInt = 0x13,
    kColDateTimeExtended = 0x14,
};

// Column flag bits of a table definition.
enum ColumnFlag : std::uint8_t {
    kColFlagFixed = 0x01,
    kColFlagAutoLong = 0x04,
    kColFlagReplication = 0x10,
    kColFlagAutoGuid = 0x40,
    kColFlagHyperlink = 0x80,
};

// Index flag bits of a logical index.
enum IndexFlag : std::uint8_t {
    kIdxFlagUnique = 0x01,
    kIdxFlagIgnoreNulls = 0x02,
    kIdxFlagRequired = 0x08,
};

// MSysObjects.Type values.
enum ObjectType : int {
    kObjLocalTable = 1,
    kObjLinkedOdbc = 4,
    kObjQuery = 5,
    kObjLinkedTable = 6,
};

// Catalog flag bits of MSysObjects.Flags.
inline constexpr std::uint32_t kCatalogSystemBits = 0x80000002u;
inline constexpr std::uint32_t kCatalogHidden = 0x00000008u;

// Field.Type for a column type byte. `complexKind` is the DAO code of the
// values a complex (ACE multi-value or attachment) column holds, when known;
// without it a complex column reads as dbAttachment. Unknown bytes give 0.
int daoFieldType(std::uint8_t columnType, int complexKind = 0);

// Field.Size: characters for text (`unicodeText` when the file stores two
// bytes per character), 0 for memo and OLE, the byte width for numbers and
// the stored length for binary columns.
long daoFieldSize(std::uint8_t columnType, std::uint16_t storedLength, bool unicodeText);

// Field.Attributes of a table's column as DAO's TableDef fields report them:
// fixed or variable, auto-increment, hyperlink. `replicationColumn` marks the
// columns replication adds (s_GUID, s_Lineage, Gen_...), which DAO flags as
// system fields; the same flag bit on the columns of system tables is not.
long daoFieldAttributes(std::uint8_t columnType, std::uint8_t columnFlags, bool replicationColumn = false);

// TableDef.Attributes from the catalog row: system and hidden bits, and the
// attachment bits of a linked table (type 6, or ODBC type 4).
long daoTableDefAttributes(int objectType, std::uint32_t catalogFlags);

// Database.CollatingOrder from the sort order stored in the header: DAO
// reports the stored locale id; 0 (none stored) reads as dbSortUndefined.
int daoCollatingOrder(int storedSortOrder);

}  // namespace jet::catalog
