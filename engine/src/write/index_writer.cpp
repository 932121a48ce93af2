#include "write/index_writer.h"

#include <algorithm>
#include <set>

#include "jet/error.h"
#include "write/data_page_writer.h"
#include "write/free_page_map.h"

namespace jet::write {
namespace {

// Far more levels than any index of a 24-bit page space can have: a deeper
// walk means the tree loops.
constexpr int kMaxDepth = 32;

[[noreturn]] void damaged(const std::string& what) {
    throw Error(kErrDamaged, "The database has been damaged. Repair it before use.", "index: " + what);
}

[[noreturn]] void keyTooLong() {
    throw Error(kErrOperationNotSupported, "Operation is not supported for this type of object.",
                "index entry longer than an index page holds");
}

[[noreturn]] void duplicateKey() {
    throw Error(kErrDuplicateKey,
                "The changes you requested to the table were not successful because they would create duplicate "
                "values in the index, primary key, or relationship. Change the data in the field or fields that "
                "contain duplicate data, remove the index, or redefine the index to permit duplicate entries and "
                "try again.");
}

// One page on the way from the root to a leaf, and which of its children
// the way took (entries.size() for the tail).
struct Step {
    std::uint32_t page;
    IndexPage content;
    std::size_t slot = 0;
};

IndexPage readChecked(PageStore& store, std::uint32_t page) {
    if (page == 0 || page >= store.pageCount()) damaged("child page " + std::to_string(page) + " off the file");
    return readIndexPage(store.read(page), store.format());
}

// The way down to the leaf that holds `entry`, or would: in each node the
// first child whose bound (its last entry) is not below the entry, else the
// tail.
std::vector<Step> descend(PageStore& store, const storage::RealIndex& index, const IndexEntry& entry) {
    std::vector<Step> path;
    std::uint32_t page = index.firstPage;
    for (;;) {
        if (path.size() >= static_cast<std::size_t>(kMaxDepth)) damaged("too many levels (a loop?)");
        Step step{page, readChecked(store, page)};
        if (step.content.type == kIndexLeafPageType) {
            path.push_back(std::move(step));
            return path;
        }
        const auto& entries = step.content.entries;
        step.slot = static_cast<std::size_t>(
            std::find_if(entries.begin(), entries.end(), [&](const IndexEntry& s) { return !entryLess(s, entry); }) -
            entries.begin());
        page = step.slot < entries.size() ? entries[step.slot].child : step.content.tail;
        path.push_back(std::move(step));
    }
}

// The first entry at or after `probe` in key order, following leaf links
// past leaves that hold only smaller entries (a bound left by deletions
// can send the walk to such a leaf).
const IndexEntry* firstAtOrAfter(PageStore& store, const storage::RealIndex& index, const IndexEntry& probe,
                                 IndexPage& holder) {
    holder = std::move(descend(store, index, probe).back().content);
    for (std::uint32_t hops = 0; hops <= store.pageCount(); ++hops) {
        auto at = std::lower_bound(holder.entries.begin(), holder.entries.end(), probe, entryLess);
        if (at != holder.entries.end()) return &*at;
        if (holder.next == 0) return nullptr;
        holder = readChecked(store, holder.next);
        if (holder.type != kIndexLeafPageType) damaged("leaf linked to a node");
    }
    damaged("leaf links loop");
}

void checkUnique(PageStore& store, const storage::RealIndex& index, const IndexEntry& entry) {
    IndexEntry probe{entry.key, storage::RowPointer{}};
    IndexPage holder;
    const IndexEntry* first = firstAtOrAfter(store, index, probe, holder);
    if (first && first->key == entry.key) duplicateKey();
}

std::uint32_t newIndexPage(PageStore& store, storage::RealIndex& index) {
    const std::uint32_t n = allocatePage(store);
    addToUsageMap(store, index.usageMap, n);
    return n;
}

// Where to cut an overflowing page: about half of its bytes each side. An
// entry added at the very end of the last page (keys that only grow, as
// auto-numbers do) leaves the left page full instead, as a bulk load wants.
std::size_t splitPoint(const IndexPage& page, bool appendedAtEnd) {
    const std::size_t n = page.entries.size();
    if (appendedAtEnd && page.next == 0 && page.type == kIndexLeafPageType) return n - 1;
    const std::size_t total = entryBytes(page.entries, page.type);
    std::size_t left = 0, cut = 0;
    while (cut + 1 < n && left + entryBytes({page.entries[cut]}, page.type) <= total / 2)
        left += entryBytes({page.entries[cut++]}, page.type);
    // A left node gives its last entry up to become its tail: keep one more.
    const std::size_t least = page.type == kIndexNodePageType && n > 2 ? 2 : 1;
    return std::clamp(cut, least, n - 1);
}

// Splits the content of an overflowing page into a left and right half.
// Returns the left half's bound: its last entry (for a node, the last
// entry's key with the child that becomes the left half's tail).
IndexEntry splitContent(IndexPage& page, IndexPage& right, bool appendedAtEnd) {
    const std::size_t cut = splitPoint(page, appendedAtEnd);
    right.type = page.type;
    right.entries.assign(std::make_move_iterator(page.entries.begin() + static_cast<std::ptrdiff_t>(cut)),
                         std::make_move_iterator(page.entries.end()));
    page.entries.resize(cut);
    IndexEntry bound = page.entries.back();
    if (page.type == kIndexNodePageType) {
        // The left node's last child becomes its tail; the node's old tail
        // stays with the right half.
        right.tail = page.tail;
        page.tail = page.entries.back().child;
        page.entries.pop_back();
    }
    return bound;
}

void writeOrFail(PageStore& store, std::uint32_t page, std::uint32_t tdefPage, const IndexPage& content) {
    if (!writeIndexPage(store.modify(page), store.format(), tdefPage, content)) keyTooLong();
}

// Writes the page of `path[level]`; while it overflows, splits it and hands
// a bound for the new half to its parent. The root splits into two new pages
// and becomes a node over them.
void writeUpward(PageStore& store, std::uint32_t tdefPage, storage::RealIndex& index, std::vector<Step>& path,
                 std::size_t level, bool appendedAtEnd) {
    const auto& format = store.format();
    for (;;) {
        Step& step = path[level];
        if (writeIndexPage(store.modify(step.page), format, tdefPage, step.content)) return;
        if (step.content.entries.size() < 2) keyTooLong();

        if (level == 0) {
            // The root keeps its page number, so the definition still points
            // at it: its halves move to two new pages under it.
            IndexPage left = std::move(step.content), right;
            IndexEntry bound = splitContent(left, right, appendedAtEnd);
            const std::uint32_t leftPage = newIndexPage(store, index), rightPage = newIndexPage(store, index);
            left.prev = 0;
            left.next = rightPage;
            right.prev = leftPage;
            right.next = 0;
            writeOrFail(store, leftPage, tdefPage, left);
            writeOrFail(store, rightPage, tdefPage, right);
            IndexPage root;
            root.type = kIndexNodePageType;
            bound.child = leftPage;
            root.entries.push_back(std::move(bound));
            root.tail = rightPage;
            writeOrFail(store, step.page, tdefPage, root);
            return;
        }

        IndexPage right;
        IndexEntry bound = splitContent(step.content, right, appendedAtEnd);
        const std::uint32_t rightPage = newIndexPage(store, index);
        right.prev = step.page;
        right.next = step.content.next;
        step.content.next = rightPage;
        if (right.next != 0) {
            if (readChecked(store, right.next).type != step.content.type) damaged("sibling of another level");
            setPreviousPage(store.modify(right.next), store.format(), rightPage);
        }
        writeOrFail(store, step.page, tdefPage, step.content);
        writeOrFail(store, rightPage, tdefPage, right);

        // The parent: the split page is now bounded by its left half's last
        // entry; the right half takes the old bound, or becomes the tail.
        Step& parent = path[level - 1];
        auto& entries = parent.content.entries;
        bound.child = step.page;
        if (parent.slot == entries.size()) {
            entries.push_back(std::move(bound));
            parent.content.tail = rightPage;
        } else {
            IndexEntry oldBound = std::move(entries[parent.slot]);
            entries[parent.slot] = std::move(bound);
            oldBound.child = rightPage;
            entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(parent.slot) + 1, std::move(oldBound));
        }
        appendedAtEnd = appendedAtEnd && parent.slot + 1 >= entries.size();
        --level;
    }
}

}  // namespace

void insertIndexEntry(PageStore& store, std::uint32_t tdefPage, storage::RealIndex& index, IndexEntry entry,
                      bool unique) {
    std::vector<Step> path = descend(store, index, entry);
    auto& leaf = path.back().content;
    auto at = std::lower_bound(leaf.entries.begin(), leaf.entries.end(), entry, entryLess);
    if (unique) {
        // Usually the first entry with this key is in this very leaf, after
        // some smaller one; otherwise it may lie in a leaf before.
        const IndexEntry probe{entry.key, storage::RowPointer{}};
        auto first = std::lower_bound(leaf.entries.begin(), at, probe, entryLess);
        if (first != leaf.entries.end() && first->key == entry.key) duplicateKey();
        if (first == leaf.entries.begin()) checkUnique(store, index, entry);
    }
    const bool atEnd = at == leaf.entries.end();
    leaf.entries.insert(at, std::move(entry));
    writeUpward(store, tdefPage, index, path, path.size() - 1, atEnd);
    ++index.rowCount;
}

bool removeIndexEntry(PageStore& store, std::uint32_t tdefPage, storage::RealIndex& index, const IndexEntry& entry) {
    std::vector<Step> path = descend(store, index, entry);
    Step& leaf = path.back();
    auto at = std::lower_bound(leaf.content.entries.begin(), leaf.content.entries.end(), entry, entryLess);
    if (at == leaf.content.entries.end() || at->key != entry.key || at->row != entry.row) return false;
    // An emptied leaf stays linked; its bound in the node still orders the
    // keys around it. A leaf Access filled with prefix-compressed entries
    // may not hold them all written out again even with one fewer: it is
    // split like a leaf that an insert overfills.
    leaf.content.entries.erase(at);
    writeUpward(store, tdefPage, index, path, path.size() - 1, false);
    if (index.rowCount > 0) --index.rowCount;
    return true;
}

void removeIndexEntries(PageStore& store, std::uint32_t tdefPage, storage::RealIndex& index,
                        storage::RowPointer where) {
    std::vector<std::pair<std::uint32_t, IndexPage>> changed;
    forEachIndexLeaf(store, index, [&](std::uint32_t page, const IndexPage& leaf) {
        if (std::none_of(leaf.entries.begin(), leaf.entries.end(), [&](const IndexEntry& e) { return e.row == where; }))
            return;
        changed.emplace_back(page, leaf);
    });
    for (auto& [page, leaf] : changed) {
        const std::size_t before = leaf.entries.size();
        std::erase_if(leaf.entries, [&](const IndexEntry& e) { return e.row == where; });
        index.rowCount -= std::min<std::uint32_t>(index.rowCount, static_cast<std::uint32_t>(before - leaf.entries.size()));
        writeOrFail(store, page, tdefPage, leaf);
    }
}

std::vector<storage::RowPointer> findIndexEntries(PageStore& store, const storage::RealIndex& index,
                                                  const std::vector<std::uint8_t>& key) {
    std::vector<storage::RowPointer> rows;
    IndexPage holder;
    const IndexEntry* first = firstAtOrAfter(store, index, IndexEntry{key, storage::RowPointer{}}, holder);
    if (!first) return rows;
    // Equal keys may run on into the following leaves (past leaves that
    // deletions emptied).
    auto at = holder.entries.begin() + (first - holder.entries.data());
    for (std::uint32_t hops = 0;; ++at) {
        while (at == holder.entries.end()) {
            if (holder.next == 0) return rows;
            if (++hops > store.pageCount()) damaged("leaf links loop");
            holder = readChecked(store, holder.next);
            if (holder.type != kIndexLeafPageType) damaged("leaf linked to a node");
            at = holder.entries.begin();
        }
        if (at->key != key) return rows;
        rows.push_back(at->row);
    }
}

void forEachIndexLeaf(PageStore& store, const storage::RealIndex& index,
                      const std::function<void(std::uint32_t, const IndexPage&)>& visit) {
    std::set<std::uint32_t> seen;
    std::function<void(std::uint32_t, int)> walk = [&](std::uint32_t page, int depth) {
        if (depth > kMaxDepth || !seen.insert(page).second) damaged("a page reached twice (a loop?)");
        IndexPage content = readChecked(store, page);
        if (content.type == kIndexLeafPageType) return visit(page, content);
        for (const auto& e : content.entries) walk(e.child, depth + 1);
        walk(content.tail, depth + 1);
    };
    walk(index.firstPage, 1);
}

std::vector<IndexEntry> allIndexEntries(PageStore& store, const storage::RealIndex& index) {
    std::vector<IndexEntry> out;
    forEachIndexLeaf(store, index, [&](std::uint32_t, const IndexPage& leaf) {
        out.insert(out.end(), leaf.entries.begin(), leaf.entries.end());
    });
    return out;
}

int indexDepth(PageStore& store, const storage::RealIndex& index) {
    IndexEntry lowest;
    return static_cast<int>(descend(store, index, lowest).size());
}

}  // namespace jet::write
