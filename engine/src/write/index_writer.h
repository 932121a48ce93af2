// Keeping one index B-tree up to date: entries added (with the unique check)
// and removed. Handles a root leaf and a root node over leaves; a root leaf
// that overflows becomes a node over new leaves, a full leaf under a node is
// split in two. A node that would overflow (a third level) is refused with
// 3251 before anything is written. docs/jet-writing.md#index-pages.
#pragma once

#include <cstdint>

#include "storage/table_definition.h"
#include "write/index_page.h"
#include "write/page_store.h"

namespace jet::write {

// Adds `entry` to `index` of the table defined on `tdefPage`; updates its
// entry count. Throws 3022 when `unique` and an entry has the same key.
void insertIndexEntry(PageStore& store, std::uint32_t tdefPage, storage::RealIndex& index, IndexEntry entry,
                      bool unique);

// Removes the entries that point at `where`; updates the entry count.
void removeIndexEntries(PageStore& store, std::uint32_t tdefPage, storage::RealIndex& index,
                        storage::RowPointer where);

// Every entry of `index` in order (tests, verification).
std::vector<IndexEntry> allIndexEntries(PageStore& store, const storage::RealIndex& index);

}  // namespace jet::write
