#include "format/jet_format.h"

namespace jet::format {
namespace {

// Jet 3: 2 KB pages, single-byte text, 1-byte lengths and row offsets.
// Every figure: jet-format.md#tdef, #data-pages, #rows.
constexpr JetFormat kJet3{
    .version = JetVersion::Jet3,
    .name = "Jet 3",
    .pageSize = 2048,
    .unicodeText = false,
    .headerMaskLength = 126,
    .passwordLength = 20,
    .sortOrderOffset = 0x3A,
    .dataRowCountOffset = 8,
    .dataRowTableOffset = 10,
    .tdefRowCountOffset = 12,
    .tdefAutoNumberOffset = 16,
    .tdefTableTypeOffset = 20,
    .tdefMaxColumnsOffset = 21,
    .tdefVarColumnsOffset = 23,
    .tdefColumnCountOffset = 25,
    .tdefLogicalIndexCountOffset = 27,
    .tdefRealIndexCountOffset = 31,
    .tdefOwnedPagesOffset = 35,
    .tdefFreePagesOffset = 39,
    .tdefHeaderEnd = 43,
    .tdefRealIndexCountSize = 8,
    .tdefColumnSize = 18,
    .tdefRealIndexSize = 39,
    .tdefLogicalIndexSize = 20,
    .nameLengthSize = 1,
    .rowCountFieldSize = 1,
    .usageMapPageHeader = 4,
};

// Jet 4 and ACE share one layout: 4 KB pages, UCS-2 text, 2-byte fields.
constexpr JetFormat jet4Layout(JetVersion version, std::string_view name) {
    return JetFormat{
        .version = version,
        .name = name,
        .pageSize = 4096,
        .unicodeText = true,
        .headerMaskLength = 128,
        .passwordLength = 40,
        .sortOrderOffset = 0x6E,
        .dataRowCountOffset = 12,
        .dataRowTableOffset = 14,
        .tdefRowCountOffset = 16,
        .tdefAutoNumberOffset = 20,
        .tdefTableTypeOffset = 40,
        .tdefMaxColumnsOffset = 41,
        .tdefVarColumnsOffset = 43,
        .tdefColumnCountOffset = 45,
        .tdefLogicalIndexCountOffset = 47,
        .tdefRealIndexCountOffset = 51,
        .tdefOwnedPagesOffset = 55,
        .tdefFreePagesOffset = 59,
        .tdefHeaderEnd = 63,
        .tdefRealIndexCountSize = 12,
        .tdefColumnSize = 25,
        .tdefRealIndexSize = 52,
        .tdefLogicalIndexSize = 28,
        .nameLengthSize = 2,
        .rowCountFieldSize = 2,
        .usageMapPageHeader = 4,
    };
}

constexpr JetFormat kJet4 = jet4Layout(JetVersion::Jet4, "Jet 4");
constexpr JetFormat kAce12 = jet4Layout(JetVersion::Ace12, "ACE 12");
constexpr JetFormat kAce14 = jet4Layout(JetVersion::Ace14, "ACE 14");
constexpr JetFormat kAce15 = jet4Layout(JetVersion::Ace15, "ACE 15");
constexpr JetFormat kAce16 = jet4Layout(JetVersion::Ace16, "ACE 16");
constexpr JetFormat kAce17 = jet4Layout(JetVersion::Ace17, "ACE 17");

}  // namespace

const JetFormat* formatForVersionByte(std::uint8_t versionByte) {
    switch (versionByte) {  // jet-format.md#header
    case 0x00: return &kJet3;
    case 0x01: return &kJet4;
    case 0x02: return &kAce12;
    case 0x03: return &kAce14;
    case 0x04: return &kAce15;
    case 0x05: return &kAce16;
    case 0x06: return &kAce17;
    default: return nullptr;
    }
}

const JetFormat& jet3Format() { return kJet3; }
const JetFormat& jet4Format() { return kJet4; }

}  // namespace jet::format
