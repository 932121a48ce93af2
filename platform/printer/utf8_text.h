// UTF-8 to code points and back, for surfaces that lay text out one
// character per cell.
#pragma once

#include <string>
#include <string_view>

namespace printer {

// Malformed sequences become U+FFFD, one per offending byte, so that every
// byte of the input is accounted for and nothing is silently dropped.
std::u32string decodeUtf8(std::string_view utf8);
std::string encodeUtf8(std::u32string_view text);

}  // namespace printer
