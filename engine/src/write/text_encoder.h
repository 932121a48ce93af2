// UTF-8 text to the form a database stores: the database's code page in
// Jet 3, UCS-2 little-endian in Jet 4. docs/jet-format.md#text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "format/jet_format.h"

namespace jet::write {

// Stored bytes of `utf8`. Jet 3 characters the code page lacks become '?',
// as Windows converts them.
std::vector<std::uint8_t> encodeText(const std::string& utf8, const format::JetFormat& format,
                                     std::uint16_t codePage);

// Number of characters (code points) in `utf8`.
std::size_t characterCount(const std::string& utf8);

}  // namespace jet::write
