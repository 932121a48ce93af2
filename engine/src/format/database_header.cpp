#include "format/database_header.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "crypto/primitives.h"
#include "format/byte_reader.h"
#include "format/format_errors.h"

namespace jet::format {
namespace {

constexpr std::size_t kMinimumHeaderSize = 2048;             // jet-format.md#header
constexpr std::size_t kEngineNameOffset = 0x04;              // jet-format.md#header
constexpr std::size_t kEngineNameLength = 16;                // jet-format.md#header
constexpr std::size_t kVersionOffset = 0x14;                 // jet-format.md#header
constexpr std::size_t kMaskStart = 0x18;                     // jet-format.md#header-mask
constexpr std::size_t kCodePageOffset = 0x3C;                // jet-format.md#header
constexpr std::size_t kEncodingKeyOffset = 0x3E;             // jet-format.md#header
constexpr std::size_t kPasswordOffset = 0x42;                // jet-format.md#header
constexpr std::size_t kCreationDateOffset = 0x72;            // jet-format.md#header
constexpr std::array<std::uint8_t, 4> kMaskKey{0xC7, 0xDA, 0x39, 0x6B};  // jet-format.md#header-mask
constexpr std::array<std::uint8_t, 4> kMagic{0x00, 0x01, 0x00, 0x00};    // jet-format.md#header

}  // namespace

void applyHeaderMask(std::span<std::uint8_t> page0, const JetFormat& format) {
    if (page0.size() < kMaskStart + format.headerMaskLength) return;
    crypto::rc4(kMaskKey, page0.subspan(kMaskStart, format.headerMaskLength));
}

DatabaseHeader parseDatabaseHeader(std::span<const std::uint8_t> page0, const std::string& path) {
    if (page0.size() < kMinimumHeaderSize) throw unrecognizedFormat(path, "file shorter than one page");
    if (!std::equal(kMagic.begin(), kMagic.end(), page0.begin()))
        throw unrecognizedFormat(path, "no database header on page 0");

    DatabaseHeader header;
    const char* name = reinterpret_cast<const char*>(page0.data() + kEngineNameOffset);
    header.engineName.assign(name, strnlen(name, kEngineNameLength));
    if (header.engineName != "Standard Jet DB" && header.engineName != "Standard ACE DB")
        throw unrecognizedFormat(path, "engine name '" + header.engineName + "'");

    header.versionByte = page0[kVersionOffset];
    header.format = formatForVersionByte(header.versionByte);
    if (!header.format) throw unrecognizedFormat(path, "unknown version " + std::to_string(header.versionByte));
    const JetFormat& format = *header.format;
    if (format.isAce() != (header.engineName == "Standard ACE DB"))
        throw unrecognizedFormat(path, "engine name does not match version");

    std::vector<std::uint8_t> plain(page0.begin(), page0.begin() + kMinimumHeaderSize);
    applyHeaderMask(plain, format);
    ByteReader in(plain, 0, "database header", path);

    header.codePage = in.u16(kCodePageOffset);
    header.encodingKey = in.u32(kEncodingKeyOffset);
    header.sortOrder = in.u16(format.sortOrderOffset);
    if (!format.isJet3()) {
        header.sortOrderVersion = in.u8(format.sortOrderOffset + 3);
        header.creationDate = in.f64(kCreationDateOffset);
    }

    auto pwd = in.bytes(kPasswordOffset, format.passwordLength);
    header.password.assign(pwd.begin(), pwd.end());
    if (!format.isJet3()) {
        // Jet 4 masks the password once more with the creation date's whole
        // days, so that equal passwords differ between files.
        double days = header.creationDate;
        std::uint32_t dateKey = 0;
        if (std::isfinite(days) && days > std::numeric_limits<std::int32_t>::min() &&
            days < std::numeric_limits<std::int32_t>::max())
            dateKey = static_cast<std::uint32_t>(static_cast<std::int32_t>(days));
        for (std::size_t i = 0; i < header.password.size(); ++i)
            header.password[i] ^= static_cast<std::uint8_t>(dateKey >> (8 * (i % 4)));
    }
    header.hasPassword = std::any_of(header.password.begin(), header.password.end(),
                                     [](std::uint8_t b) { return b != 0; });
    return header;
}

}  // namespace jet::format
