// Protected databases: the database password of Jet 3/4 files and the
// encodings of the pages after page 0 (Jet's RC4 page encoding of .mdb
// files; Office encryption of .accdb files, RC4 or AES).
// docs/jet-format.md#pages and #office-encryption.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "format/database_header.h"

namespace jet::crypto {

// Turns a page as stored into the page as written, in place.
class PageCodec {
public:
    virtual ~PageCodec() = default;
    // Decodes page `number` (never page 0, which is stored plain).
    virtual void decode(std::uint32_t number, std::span<std::uint8_t> page) const = 0;
    // What protects the pages, for messages: "Jet's RC4 page encoding".
    virtual std::string description() const = 0;
};

// Checks `password` against the file whose header is `header` and whose
// page 0 (as stored, masked) is `page0`, and returns the codec of its pages,
// or nullptr when they are stored plain. Nothing but page 0 is read.
// Throws jet::Error 3031 ("Not a valid password.") when the file has a
// database password or is encrypted and `password` is not its password
// (an empty one included), and the errors of parseOfficeHeader() for a
// damaged or unknown encryption header.
std::unique_ptr<PageCodec> unlockPages(const format::DatabaseHeader& header, std::span<const std::uint8_t> page0,
                                       const std::string& password, const std::string& path);

}  // namespace jet::crypto
