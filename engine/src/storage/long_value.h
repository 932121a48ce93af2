// Long values (Memo and OLE columns): the 12-byte field in the row says
// whether the value is inline, in one long-value row, or in a chain of
// long-value rows. Layout: docs/jet-format.md#lval.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "io/page_file.h"

namespace jet::storage {

inline constexpr std::uint8_t kLongValueInline = 0x80;    // jet-format.md#lval
inline constexpr std::uint8_t kLongValueSingle = 0x40;    // jet-format.md#lval
inline constexpr std::uint8_t kLongValueChain = 0x00;     // jet-format.md#lval
inline constexpr std::uint32_t kMaxLongValueLength = 0x3FFFFFFF;  // 30-bit length field

// The complete bytes of the long value whose row field is `field` (at least
// 12 bytes). Throws jet::Error(3049) when the field or the rows it points to
// are damaged: an unknown kind, a length beyond what the file can hold, a
// pointer outside the file, a chain that loops or ends early.
std::vector<std::uint8_t> readLongValue(io::PageFile& file, std::span<const std::uint8_t> field);

}  // namespace jet::storage
