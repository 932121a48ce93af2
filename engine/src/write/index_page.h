// Index leaf pages: their entries (key bytes, then the row pointer) and the
// bitmap that marks where each entry ends. A new index is one empty leaf,
// which is also the root. Layout: docs/jet-writing.md#index-pages.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "format/jet_format.h"
#include "storage/row_pointer.h"

namespace jet::write {

inline constexpr std::uint8_t kIndexNodePageType = 0x03;
inline constexpr std::uint8_t kIndexLeafPageType = 0x04;

struct IndexEntry {
    std::vector<std::uint8_t> key;
    storage::RowPointer row;
};

// Key bytes first, then row pointer: the order Jet keeps entries in.
bool entryLess(const IndexEntry& a, const IndexEntry& b);

// The entries of leaf `page`, prefix compression undone. Throws
// jet::Error(3049) when the page is not a leaf or its entries are damaged.
std::vector<IndexEntry> readLeafEntries(std::span<const std::uint8_t> page, const format::JetFormat& format);

// Writes `entries` (already in order) as the whole content of leaf `page`,
// a root without siblings, of the table whose definition is on `tdefPage`.
// Returns false, leaving the page as it was, when they do not fit one page.
bool writeLeaf(std::span<std::uint8_t> page, const format::JetFormat& format, std::uint32_t tdefPage,
               const std::vector<IndexEntry>& entries);

}  // namespace jet::write
