// Index pages: leaves hold entries (key bytes, then the row pointer); nodes
// hold one entry per child but the last (the child's last key and row
// pointer, then the child's page number), the last child being the node's
// tail. A bitmap marks where each entry ends; leaves are linked to their
// neighbours. A new index is one empty leaf, which is also the root.
// Layout: docs/jet-writing.md#index-pages.
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
    std::uint32_t child = 0;  // node entries only
};

// Key bytes first, then row pointer: the order Jet keeps entries in.
bool entryLess(const IndexEntry& a, const IndexEntry& b);

struct IndexPage {
    std::uint8_t type = kIndexLeafPageType;
    std::uint32_t prev = 0, next = 0, tail = 0;
    std::vector<IndexEntry> entries;
};

// An index page with its prefix compression undone. Throws jet::Error(3049)
// when the page is no index page or its entries are damaged.
IndexPage readIndexPage(std::span<const std::uint8_t> page, const format::JetFormat& format);

// The entries of leaf `page`. Throws jet::Error(3049) when it is no leaf.
std::vector<IndexEntry> readLeafEntries(std::span<const std::uint8_t> page, const format::JetFormat& format);

// Writes `content` (entries already in order) as the whole of `page`, of the
// table whose definition is on `tdefPage`, without prefix compression.
// Returns false, leaving the page as it was, when it does not fit.
[[nodiscard]] bool writeIndexPage(std::span<std::uint8_t> page, const format::JetFormat& format, std::uint32_t tdefPage,
                    const IndexPage& content);

// Points `page`'s link to its left neighbour at `prev`, leaving its entries
// as they are stored (a page Access wrote with prefix compression may not
// hold them written out again).
void setPreviousPage(std::span<std::uint8_t> page, const format::JetFormat& format, std::uint32_t prev);

// An empty root leaf without neighbours: a new index's first page.
void writeEmptyLeaf(std::span<std::uint8_t> page, const format::JetFormat& format, std::uint32_t tdefPage);

// Bytes `entries` take on a page of `type`.
std::size_t entryBytes(const std::vector<IndexEntry>& entries, std::uint8_t type);
// Bytes an index page of `format` has for entries.
std::size_t indexPageCapacity(const format::JetFormat& format);

}  // namespace jet::write
