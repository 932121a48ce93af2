#include "write/index_writer.h"

#include <algorithm>

#include "jet/error.h"
#include "write/data_page_writer.h"
#include "write/table_writer.h"

namespace jet::write {
namespace {

[[noreturn]] void tooDeep() {
    throw Error(kErrOperationNotSupported, "Operation is not supported for this type of object.",
                "index with more than two levels");
}

[[noreturn]] void duplicateKey() {
    throw Error(kErrDuplicateKey,
                "The changes you requested to the table were not successful because they would create duplicate "
                "values in the index, primary key, or relationship. Change the data in the field or fields that "
                "contain duplicate data, remove the index, or redefine the index to permit duplicate entries and "
                "try again.");
}

void checkUnique(const std::vector<IndexEntry>& entries, std::vector<IndexEntry>::const_iterator at,
                 const IndexEntry& entry) {
    if ((at != entries.end() && at->key == entry.key) || (at != entries.begin() && (at - 1)->key == entry.key))
        duplicateKey();
}

// The separator a node keeps for a child: its last key and row pointer.
IndexEntry separator(const std::vector<IndexEntry>& leafEntries, std::uint32_t child) {
    IndexEntry s = leafEntries.back();
    s.child = child;
    return s;
}

std::uint32_t newIndexPage(PageStore& store, storage::RealIndex& index) {
    const std::uint32_t n = allocatePage(store);
    if (!markInUsageMap(store, index.usageMap, n, true)) {
        convertToReferenceMap(store, index.usageMap);
        if (!markInUsageMap(store, index.usageMap, n, true))
            throw Error(kErrDiskFull, "Not enough space on disk.", "index outgrew its usage map");
    }
    return n;
}

// Splits `entries` into runs that fill pages to about three quarters, so
// that later inserts find room.
std::vector<std::vector<IndexEntry>> runs(std::vector<IndexEntry> entries, std::size_t capacity) {
    std::vector<std::vector<IndexEntry>> out(1);
    std::size_t used = 0;
    for (auto& e : entries) {
        const std::size_t size = entryBytes({e}, kIndexLeafPageType);
        if (!out.back().empty() && used + size > capacity * 3 / 4) {
            out.emplace_back();
            used = 0;
        }
        used += size;
        out.back().push_back(std::move(e));
    }
    return out;
}

}  // namespace

void insertIndexEntry(PageStore& store, std::uint32_t tdefPage, storage::RealIndex& index, IndexEntry entry,
                      bool unique) {
    const auto& format = store.format();
    IndexPage root = readIndexPage(store.read(index.firstPage), format);

    if (root.type == kIndexLeafPageType) {
        auto at = std::lower_bound(root.entries.begin(), root.entries.end(), entry, entryLess);
        if (unique) checkUnique(root.entries, at, entry);
        root.entries.insert(at, std::move(entry));
        ++index.rowCount;
        if (writeIndexPage(store.modify(index.firstPage), format, tdefPage, root)) return;
        // The root leaf is full: its entries move to new leaves and the root
        // becomes the node over them (the definition keeps its root page).
        auto parts = runs(std::move(root.entries), indexPageCapacity(format));
        std::vector<std::uint32_t> pages;
        for (std::size_t i = 0; i < parts.size(); ++i) pages.push_back(newIndexPage(store, index));
        IndexPage node;
        node.type = kIndexNodePageType;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            IndexPage leaf;
            leaf.prev = i > 0 ? pages[i - 1] : 0;
            leaf.next = i + 1 < pages.size() ? pages[i + 1] : 0;
            leaf.entries = parts[i];
            if (!writeIndexPage(store.modify(pages[i]), format, tdefPage, leaf)) tooDeep();
            if (i + 1 < parts.size()) node.entries.push_back(separator(parts[i], pages[i]));
        }
        node.tail = pages.back();
        if (!writeIndexPage(store.modify(index.firstPage), format, tdefPage, node)) tooDeep();
        return;
    }

    // A node over leaves: the entry goes to the first child whose last key is
    // not below it, or to the tail.
    auto slot = std::find_if(root.entries.begin(), root.entries.end(),
                             [&](const IndexEntry& s) { return !entryLess(s, entry); });
    const std::uint32_t childPage = slot != root.entries.end() ? slot->child : root.tail;
    if (childPage == 0 || childPage >= store.pageCount()) tooDeep();
    IndexPage leaf = readIndexPage(store.read(childPage), format);
    if (leaf.type != kIndexLeafPageType) tooDeep();
    auto at = std::lower_bound(leaf.entries.begin(), leaf.entries.end(), entry, entryLess);
    if (unique) checkUnique(leaf.entries, at, entry);
    leaf.entries.insert(at, std::move(entry));
    ++index.rowCount;
    if (writeIndexPage(store.modify(childPage), format, tdefPage, leaf)) return;

    // The leaf is full: its upper half moves to a new leaf after it.
    const std::uint32_t right = newIndexPage(store, index);
    IndexPage upper;
    upper.prev = childPage;
    upper.next = leaf.next;
    upper.entries.assign(leaf.entries.begin() + static_cast<std::ptrdiff_t>(leaf.entries.size() / 2), leaf.entries.end());
    leaf.entries.resize(leaf.entries.size() / 2);
    leaf.next = right;
    if (upper.next != 0) {
        IndexPage after = readIndexPage(store.read(upper.next), format);
        after.prev = right;
        if (!writeIndexPage(store.modify(upper.next), format, tdefPage, after)) tooDeep();
    }
    if (!writeIndexPage(store.modify(childPage), format, tdefPage, leaf) ||
        !writeIndexPage(store.modify(right), format, tdefPage, upper))
        tooDeep();
    // The node: the split child is bounded by its new last key; the new leaf
    // takes the old bound, or becomes the tail.
    if (slot == root.entries.end()) {
        root.entries.push_back(separator(leaf.entries, childPage));
        root.tail = right;
    } else {
        IndexEntry oldBound = *slot;
        *slot = separator(leaf.entries, childPage);
        oldBound.child = right;
        root.entries.insert(slot + 1, oldBound);
    }
    if (!writeIndexPage(store.modify(index.firstPage), format, tdefPage, root)) tooDeep();
}

void removeIndexEntries(PageStore& store, std::uint32_t tdefPage, storage::RealIndex& index,
                        storage::RowPointer where) {
    const auto& format = store.format();
    IndexPage root = readIndexPage(store.read(index.firstPage), format);
    std::vector<std::uint32_t> leaves;
    if (root.type == kIndexLeafPageType) leaves.push_back(index.firstPage);
    else {
        for (const auto& s : root.entries) leaves.push_back(s.child);
        leaves.push_back(root.tail);
    }
    for (std::uint32_t page : leaves) {
        if (page == 0 || page >= store.pageCount()) continue;
        IndexPage leaf = readIndexPage(store.read(page), format);
        if (leaf.type != kIndexLeafPageType) tooDeep();
        const std::size_t before = leaf.entries.size();
        std::erase_if(leaf.entries, [&](const IndexEntry& e) { return e.row == where; });
        if (leaf.entries.size() == before) continue;
        index.rowCount -= std::min<std::uint32_t>(index.rowCount, static_cast<std::uint32_t>(before - leaf.entries.size()));
        // An emptied leaf stays linked; its bound in the node still orders
        // the keys around it.
        writeIndexPage(store.modify(page), format, tdefPage, leaf);
    }
}

std::vector<IndexEntry> allIndexEntries(PageStore& store, const storage::RealIndex& index) {
    const auto& format = store.format();
    IndexPage root = readIndexPage(store.read(index.firstPage), format);
    if (root.type == kIndexLeafPageType) return root.entries;
    std::vector<IndexEntry> out;
    std::vector<std::uint32_t> leaves;
    for (const auto& s : root.entries) leaves.push_back(s.child);
    leaves.push_back(root.tail);
    for (std::uint32_t page : leaves) {
        IndexPage leaf = readIndexPage(store.read(page), format);
        out.insert(out.end(), leaf.entries.begin(), leaf.entries.end());
    }
    return out;
}

}  // namespace jet::write
