// Keeping one index B-tree up to date: entries added (with the unique check)
// and removed, at any depth. An insert walks from the root to the leaf whose
// bound admits the entry; a page that overflows is split in two and its
// parent gets a bound for the new half, up to the root. A root that
// overflows keeps its page number and becomes the node over its two halves,
// so the definition's root pointer never changes. docs/jet-writing.md#index-pages.
#pragma once

#include <cstdint>
#include <functional>

#include "storage/table_definition.h"
#include "write/index_page.h"
#include "write/page_store.h"

namespace jet::write {

// Adds `entry` to `index` of the table defined on `tdefPage`; updates its
// entry count. Throws 3022 when `unique` and an entry has the same key
// (nothing is changed then), 3049 when the tree is damaged (a child pointer
// off the file, a loop, a level of the wrong page type).
void insertIndexEntry(PageStore& store, std::uint32_t tdefPage, storage::RealIndex& index, IndexEntry entry,
                      bool unique);

// Removes the entry with exactly `entry`'s key and row pointer, found by
// walking down by key. Returns false when it is not where its key puts it.
[[nodiscard]] bool removeIndexEntry(PageStore& store, std::uint32_t tdefPage, storage::RealIndex& index, const IndexEntry& entry);

// Removes the entries that point at `where`, searching every leaf; updates
// the entry count. For rows whose key cannot be computed as Jet did.
void removeIndexEntries(PageStore& store, std::uint32_t tdefPage, storage::RealIndex& index,
                        storage::RowPointer where);

// The rows whose entry in `index` has exactly `key`, in index order.
// Throws 3049 on a damaged tree.
std::vector<storage::RowPointer> findIndexEntries(PageStore& store, const storage::RealIndex& index,
                                                  const std::vector<std::uint8_t>& key);

// Calls `visit` for each leaf of `index`, left to right (page number and
// content). Throws 3049 on a damaged tree.
void forEachIndexLeaf(PageStore& store, const storage::RealIndex& index,
                      const std::function<void(std::uint32_t, const IndexPage&)>& visit);

// Every entry of `index` in order (tests, verification).
std::vector<IndexEntry> allIndexEntries(PageStore& store, const storage::RealIndex& index);

// Levels of `index` from the root to the leaves (1: the root is a leaf).
int indexDepth(PageStore& store, const storage::RealIndex& index);

}  // namespace jet::write
