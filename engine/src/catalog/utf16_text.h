// UTF-8 from little-endian UCS-2 / UTF-16 bytes, as Jet 4 stores text.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace jet::catalog {

// Surrogate pairs are joined; a lone surrogate becomes U+FFFD. An odd last
// byte is ignored.
std::string utf16leToUtf8(std::span<const std::uint8_t> bytes);

// Appends one code point as UTF-8.
void appendUtf8(std::string& out, std::uint32_t codePoint);

}  // namespace jet::catalog
