// The database header on page 0: format version, text code page, collating
// order, password and encryption state. Part of the page is masked with a
// fixed RC4 key stream; parseDatabaseHeader() removes the mask first.
// Layout: docs/jet-format.md#header and #header-mask.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "format/jet_format.h"

namespace jet::format {

struct DatabaseHeader {
    const JetFormat* format = nullptr;
    std::uint8_t versionByte = 0;     // 0 Jet 3, 1 Jet 4, 2.. ACE
    std::string engineName;           // "Standard Jet DB" / "Standard ACE DB"
    std::uint16_t codePage = 0;       // Windows code page of Jet 3 text, e.g. 1252
    std::uint16_t sortOrder = 0;      // collating order id, e.g. 0x0409 General
    std::uint16_t sortOrderVersion = 0;  // Jet 4+: 1 for the 2010 "General" order
    std::uint32_t encodingKey = 0;    // non-zero: pages are encoded (Jet RC4) or encrypted (ACE)
    bool hasPassword = false;         // a database password is set
    std::vector<std::uint8_t> password;  // unmasked stored bytes (Jet 3 code page, Jet 4 UCS-2), zero-padded
    double creationDate = 0;          // Jet 4+: OLE date; 0 for Jet 3
};

// Removes the header mask from a copy of `page0` (bytes 0x18 onward, for
// format.headerMaskLength bytes). Exposed for tests that build headers.
void applyHeaderMask(std::span<std::uint8_t> page0, const JetFormat& format);

// Parses page 0 (at least 2048 bytes). Throws jet::Error 3343 when the page
// is not a Jet database header or names an unknown version; `path` goes into
// the message. Encryption and passwords are reported, not refused: the
// caller decides (crypto::unlockPages checks them).
DatabaseHeader parseDatabaseHeader(std::span<const std::uint8_t> page0, const std::string& path);

}  // namespace jet::format
