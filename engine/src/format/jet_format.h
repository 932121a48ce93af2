// One set of layout constants per file-format version, so that the readers
// branch on values rather than on version tests scattered through the code.
// Every offset here is described in docs/jet-format.md.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace jet::format {

enum class JetVersion {
    Jet3,   // Access 95/97
    Jet4,   // Access 2000-2003
    Ace12,  // Access 2007
    Ace14,  // Access 2010
    Ace15,  // Access 2013
    Ace16,  // Access 2016
    Ace17,  // Access 2019 and later
};

// Offsets and sizes of one format version. Instances are the constants
// returned by forVersion(); callers hold them by reference.
struct JetFormat {
    JetVersion version;
    std::string_view name;           // "Jet 3", "Jet 4", "ACE 12", ...
    std::size_t pageSize;            // jet-format.md#pages
    bool unicodeText;                // UCS-2 text (jet-format.md#text)
    std::size_t headerMaskLength;    // masked bytes after 0x18 (jet-format.md#header-mask)
    std::size_t passwordLength;      // stored password bytes at 0x42 (jet-format.md#header)
    std::size_t sortOrderOffset;     // collating order id (jet-format.md#header)

    // Data pages (jet-format.md#data-pages)
    std::size_t dataRowCountOffset;  // u16 number of row slots
    std::size_t dataRowTableOffset;  // first u16 row slot

    // Table definitions (jet-format.md#tdef)
    std::size_t tdefRowCountOffset;
    std::size_t tdefAutoNumberOffset;
    std::size_t tdefTableTypeOffset;
    std::size_t tdefMaxColumnsOffset;
    std::size_t tdefVarColumnsOffset;
    std::size_t tdefColumnCountOffset;
    std::size_t tdefLogicalIndexCountOffset;
    std::size_t tdefRealIndexCountOffset;
    std::size_t tdefOwnedPagesOffset;
    std::size_t tdefFreePagesOffset;
    std::size_t tdefHeaderEnd;          // first real-index count block
    std::size_t tdefRealIndexCountSize; // per real index, before the columns
    std::size_t tdefColumnSize;         // one column descriptor
    std::size_t tdefRealIndexSize;      // one real index block
    std::size_t tdefLogicalIndexSize;   // one logical index block
    std::size_t nameLengthSize;         // 1 (Jet 3) or 2 bytes before a name

    // Data rows (jet-format.md#rows)
    std::size_t rowCountFieldSize;      // 1 (Jet 3) or 2: column count and offsets

    // Usage maps (jet-format.md#usage-maps)
    std::size_t usageMapPageHeader;     // bytes before the bitmap of a map page

    // Long values (jet-format.md#lval)
    std::size_t longValueHeaderSize = 12;

    bool isJet3() const { return version == JetVersion::Jet3; }
    bool isAce() const { return version >= JetVersion::Ace12; }
};

// The format for the version byte at offset 0x14 of page 0, or nullptr when
// the byte names no version this engine reads.
const JetFormat* formatForVersionByte(std::uint8_t versionByte);

const JetFormat& jet3Format();
const JetFormat& jet4Format();

}  // namespace jet::format
