// Usage maps: the set of pages owned by a table (or index, or long-value
// column). A map is stored as a row; inline maps carry a start page and a
// bitmap, reference maps list pages of type 0x05 that hold the bitmaps.
// Layout: docs/jet-format.md#usage-maps.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "io/page_file.h"
#include "storage/row_pointer.h"

namespace jet::storage {

inline constexpr std::uint8_t kUsageMapInline = 0x00;     // jet-format.md#usage-maps
inline constexpr std::uint8_t kUsageMapReference = 0x01;  // jet-format.md#usage-maps
inline constexpr std::uint8_t kUsageMapPageType = 0x05;   // jet-format.md#pages

// The pages marked in the map stored at `where`, ascending, each below
// file.pageCount() (marks beyond the end of the file are ignored, as Jet
// leaves them behind after compaction). Throws jet::Error(3049) when the
// map's row or its map pages are damaged.
std::vector<std::uint32_t> readUsageMap(io::PageFile& file, RowPointer where);

// Adds to `out` the pages whose bits are set in `bitmap`, bit 0 of byte 0
// being page `first`, ascending; the first mark at or past `limit` ends it.
void collectMarkedPages(std::span<const std::uint8_t> bitmap, std::uint64_t first, std::uint64_t limit,
                        std::vector<std::uint32_t>& out);

}  // namespace jet::storage
