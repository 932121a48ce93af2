// Text as stored in rows, names and long values, decoded to UTF-8.
// Jet 3: single-byte text in the database's code page (through iconv).
// Jet 4/ACE: UCS-2 little-endian, or its compressed form (marker FF FE, then
// runs that alternate between one byte per character and two).
// Layout: docs/jet-format.md#text.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "format/jet_format.h"

namespace jet::storage {

// Decodes stored text. `codePage` applies to Jet 3 only (0 means 1252).
// Never throws on odd bytes: an unpaired trailing byte is dropped and
// unpaired surrogates become U+FFFD, so damaged text still displays.
std::string decodeText(std::span<const std::uint8_t> bytes, const format::JetFormat& format,
                       std::uint16_t codePage);

// UCS-2 little-endian (with the compressed form when it starts FF FE) to UTF-8.
std::string decodeUcs2Text(std::span<const std::uint8_t> bytes);

// Single-byte text in Windows code page `codePage` to UTF-8. Unknown code
// pages fall back to 1252; bytes iconv rejects become U+FFFD.
std::string decodeCodePageText(std::span<const std::uint8_t> bytes, std::uint16_t codePage);

// UTF-8 to UCS-2 little-endian (uncompressed); for tests and writers.
std::string encodeUcs2(const std::string& utf8);

}  // namespace jet::storage
