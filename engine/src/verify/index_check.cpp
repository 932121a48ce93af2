// Each real index as a B-tree over the table's rows. The tree is walked
// from its root whatever its depth; a node's entry bounds the keys of its
// child, leaves are linked left to right, and every entry sits in (key, row)
// order. The entries must then be exactly the table's live rows (less the
// all-Null keys an ignore-nulls index leaves out), and each key must be the
// key the engine's encoder computes for its row, where that encoder is
// known to reproduce Jet's bytes.
#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "jet/error.h"
#include "storage/data_page.h"
#include "storage/usage_map.h"
#include "verify/checks.h"
#include "write/bytes.h"
#include "write/index_key.h"
#include "write/index_page.h"
#include "write/text_key.h"

namespace jet::verify {
namespace {

namespace ct = storage::coltype;
using write::IndexEntry;

constexpr int kDeepestTree = 8;  // far beyond any real index

// Key types whose bytes the encoder reproduces whatever the sort order.
bool sortOrderFree(std::uint8_t type) {
    switch (type) {
    case ct::kBoolean: case ct::kByte: case ct::kInteger: case ct::kLong: case ct::kCurrency:
    case ct::kSingle: case ct::kDouble: case ct::kDateTime: case ct::kBinary: case ct::kGuid:
        return true;
    default:
        return false;
    }
}

std::string indexNames(const storage::TableDefinition& def, std::size_t real) {
    std::string names;
    for (const auto& logical : def.logicalIndexes) {
        if (logical.realIndexNumber != real) continue;
        if (!names.empty()) names += ", ";
        names += logical.name;
    }
    return names.empty() ? "real index " + std::to_string(real) : names;
}

std::string hex(const std::vector<std::uint8_t>& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (auto b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

class IndexChecker {
public:
    IndexChecker(io::PageFile& file, const CheckedTable& table, std::size_t real, Findings& findings)
        : file_(file), table_(table), index_(table.def.realIndexes[real]), findings_(findings),
          name_(indexNames(table.def, real)) {}

    void run() {
        const std::uint32_t root = index_.firstPage;
        if (root == 0 || root >= file_.pageCount()) {
            fault(0, "root page " + std::to_string(root) + " is outside the file");
            return;
        }
        for (std::size_t i = 0; i < table_.rows.size(); ++i) rowAt_[table_.rows[i].location.stored()] = i;
        walk(root, 0, std::nullopt, std::nullopt);
        checkLeafChain();
        checkUsageMap();
        checkOrder();
        checkAgainstRows();
    }

    const std::set<std::uint32_t>& pages() const { return visited_; }

private:
    void fault(std::uint32_t page, std::string text) { findings_.fault(table_.name, name_, page, std::move(text)); }

    // Collects the leaves under `page` in order. `low` (exclusive) and
    // `high` (inclusive) are the bounds the parents put on its entries.
    void walk(std::uint32_t page, int depth, std::optional<IndexEntry> low, std::optional<IndexEntry> high) {
        if (depth > kDeepestTree) {
            fault(page, "index tree deeper than " + std::to_string(kDeepestTree) + " levels");
            treeWhole_ = false;
            return;
        }
        if (page == 0 || page >= file_.pageCount()) {
            fault(page, "child page " + std::to_string(page) + " is outside the file");
            treeWhole_ = false;
            return;
        }
        if (!visited_.insert(page).second) {
            fault(page, "page is reached twice in the index tree");
            treeWhole_ = false;
            return;
        }
        auto bytes = file_.page(page).bytes;
        write::IndexPage content;
        try {
            content = write::readIndexPage(bytes, file_.format());
        } catch (const Error& e) {
            fault(page, "unreadable index page: " + errorText(e));
            treeWhole_ = false;
            return;
        }
        if (write::get32(bytes, 4) != table_.def.tdefPage)
            fault(page, "index page belongs to definition page " + std::to_string(write::get32(bytes, 4)));
        for (const auto& e : content.entries) {
            if ((low && !write::entryLess(*low, e)) || (high && write::entryLess(*high, e))) {
                fault(page, "entry for " + rowName(e.row) + " lies outside the bounds its parent node gives");
                break;
            }
        }
        if (content.type == write::kIndexLeafPageType) {
            leaves_.push_back({page, content.prev, content.next});
            for (auto& e : content.entries) entries_.push_back({std::move(e), page});
            return;
        }
        if (content.tail == 0 && content.entries.empty()) {
            fault(page, "index node without children");
            treeWhole_ = false;
            return;
        }
        std::optional<IndexEntry> previous = low;
        for (const auto& e : content.entries) {
            walk(e.child, depth + 1, previous, e);
            previous = e;
        }
        if (content.tail != 0) walk(content.tail, depth + 1, previous, high);
    }

    void checkLeafChain() {
        for (std::size_t i = 0; i < leaves_.size(); ++i) {
            const std::uint32_t wantPrev = i == 0 ? 0 : leaves_[i - 1].page;
            const std::uint32_t wantNext = i + 1 == leaves_.size() ? 0 : leaves_[i + 1].page;
            if (leaves_[i].prev != wantPrev)
                fault(leaves_[i].page, "leaf links back to page " + std::to_string(leaves_[i].prev) + ", not " +
                                           std::to_string(wantPrev));
            if (leaves_[i].next != wantNext)
                fault(leaves_[i].page, "leaf links on to page " + std::to_string(leaves_[i].next) + ", not " +
                                           std::to_string(wantNext));
        }
    }

    void checkUsageMap() {
        std::vector<std::uint32_t> marked;
        try {
            marked = storage::readUsageMap(file_, index_.usageMap);
        } catch (const Error& e) {
            fault(index_.usageMap.page, "unreadable usage map: " + errorText(e));
            return;
        }
        for (std::uint32_t page : visited_)
            if (!std::binary_search(marked.begin(), marked.end(), page))
                fault(page, "index page is not marked in the index's usage map");
    }

    void checkOrder() {
        for (std::size_t i = 1; i < entries_.size(); ++i) {
            const auto& a = entries_[i - 1].entry;
            const auto& b = entries_[i].entry;
            if (!write::entryLess(a, b)) {
                fault(entries_[i].page, "entry for " + rowName(b.row) + " is not after the entry for " +
                                            rowName(a.row));
            } else if (index_.unique() && a.key == b.key && !keyHasNull(a.row)) {
                fault(entries_[i].page, "unique index holds the same key for " + rowName(a.row) + " and " +
                                            rowName(b.row));
            }
        }
    }

    bool keyHasNull(storage::RowPointer where) const {
        auto found = rowAt_.find(where.stored());
        if (found == rowAt_.end()) return false;
        const auto& values = table_.rows[found->second].values;
        for (const auto& c : index_.columns) {
            int position = table_.def.columnPosition(c.columnNumber);
            if (position < 0 || static_cast<std::size_t>(position) >= values.size() ||
                isNull(values[static_cast<std::size_t>(position)]))
                return true;
        }
        return false;
    }

    bool allNull(const std::vector<Value>& values) const {
        for (const auto& c : index_.columns) {
            int position = table_.def.columnPosition(c.columnNumber);
            if (position >= 0 && static_cast<std::size_t>(position) < values.size() &&
                !isNull(values[static_cast<std::size_t>(position)]))
                return false;
        }
        return true;
    }

    void checkAgainstRows() {
        std::vector<write::KeyColumn> columns;
        bool keysKnown = true;
        const auto& header = file_.header();
        const bool generalOrder = !file_.format().isAce() && write::encodesSortOrder(header.sortOrder, header.sortOrderVersion);
        for (const auto& c : index_.columns) {
            int position = table_.def.columnPosition(c.columnNumber);
            if (position < 0) {
                fault(0, "key column number " + std::to_string(c.columnNumber) + " is not a column of the table");
                return;
            }
            const auto& column = table_.def.columns[static_cast<std::size_t>(position)];
            columns.push_back({&column, c.ascending});
            if (!sortOrderFree(column.type) && !(column.type == ct::kText && generalOrder)) keysKnown = false;
        }

        std::set<std::uint32_t> seen;
        std::size_t inexact = 0;
        for (const auto& [entry, page] : entries_) {
            auto found = rowAt_.find(entry.row.stored());
            if (found == rowAt_.end()) {
                if (table_.rowsComplete) fault(page, "entry points at " + rowName(entry.row) + ", which holds no row of the table");
                continue;
            }
            if (!seen.insert(entry.row.stored()).second) {
                fault(page, "second entry for " + rowName(entry.row));
                continue;
            }
            if (!keysKnown) continue;
            bool exact = true;
            auto key = write::indexKey(columns, table_.rows[found->second].values, table_.def,
                                       file_.format().isJet3(), &exact);
            if (!exact) {
                ++inexact;
            } else if (key != entry.key) {
                fault(page, "key of " + rowName(entry.row) + " is " + hex(entry.key) + ", its row gives " + hex(key));
            }
        }
        // Rows under a part of the tree that could not be walked are not
        // missing; the part is reported already.
        for (const auto& row : table_.rows) {
            if (!treeWhole_) break;
            if (seen.count(row.location.stored())) continue;
            if (index_.ignoreNulls() && allNull(row.values)) continue;
            fault(0, rowName(row.location) + " has no entry");
        }
        if (!keysKnown)
            findings_.note(table_.name, name_, 0,
                           "key bytes not compared (the sort order or a key column's type is one the key encoder "
                           "does not reproduce); entries checked against rows and order only");
        else if (inexact > 0)
            findings_.note(table_.name, name_, 0,
                           "key bytes of " + std::to_string(inexact) + (inexact == 1 ? " entry" : " entries") +
                               " not compared (characters the key encoder does not reproduce); their rows "
                               "and order checked only");
    }

    struct Leaf {
        std::uint32_t page, prev, next;
    };
    struct PlacedEntry {
        IndexEntry entry;
        std::uint32_t page;
    };

    io::PageFile& file_;
    const CheckedTable& table_;
    const storage::RealIndex& index_;
    Findings& findings_;
    std::string name_;
    std::set<std::uint32_t> visited_;
    bool treeWhole_ = true;
    std::vector<Leaf> leaves_;
    std::vector<PlacedEntry> entries_;
    std::map<std::uint32_t, std::size_t> rowAt_;
};

}  // namespace

void checkIndexes(io::PageFile& file, const CheckedTable& table, Findings& findings,
                  std::set<std::uint32_t>& treePages) {
    for (std::size_t i = 0; i < table.def.realIndexes.size(); ++i) {
        IndexChecker checker(file, table, i, findings);
        checker.run();
        treePages.insert(checker.pages().begin(), checker.pages().end());
    }
}

}  // namespace jet::verify
