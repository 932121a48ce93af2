// UTF-8 text to the form a database stores: the database's code page in
// Jet 3, UCS-2 little-endian in Jet 4. docs/jet-format.md#text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "format/jet_format.h"

namespace jet::write {

// Stored bytes of `utf8`. A Jet 3 character the code page lacks is refused
// with jet::Error(3421) naming it and the code page: stored as '?' (as
// Windows converts it) it would no longer match the key built from it, and
// two names would become one.
std::vector<std::uint8_t> encodeText(const std::string& utf8, const format::JetFormat& format,
                                     std::uint16_t codePage);

// Empty when every character of `utf8` can be stored in a file of
// `format` and `codePage`; else "the character 'X' (U+XXXX) is not in code
// page N", for an error's context.
std::string unstorableCharacter(const std::string& utf8, const format::JetFormat& format, std::uint16_t codePage);

// Number of characters (code points) in `utf8`.
std::size_t characterCount(const std::string& utf8);

}  // namespace jet::write
