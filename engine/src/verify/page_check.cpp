// Usage maps against pages. A table's map may still mark pages it gave up
// (Jet leaves such marks, and readers pass pages of other owners by), so a
// mark on a foreign page is no fault. Jet also gives up whole pages with
// their rows still in place, marking them free in page 1 and dropping them
// from the table's map. The faults are: a data page of a table, holding
// live rows, that neither its table's map nor page 1 marks (rows lost from
// sight), and a page in use that page 1 calls free (the next allocation
// would overwrite it).
#include <algorithm>
#include <map>

#include "jet/error.h"
#include "storage/data_page.h"
#include "storage/usage_map.h"
#include "verify/checks.h"

namespace jet::verify {
namespace {

constexpr storage::RowPointer kFreePageMap{1, 0};

bool hasLiveRows(const storage::DataPage& page) {
    for (std::uint16_t i = 0; i < page.rowCount(); ++i)
        if (!page.row(i).deleted) return true;
    return false;
}

}  // namespace

void checkPages(io::PageFile& file, const std::vector<CheckedTable>& tables,
                const std::set<std::uint32_t>& treePages, Findings& findings) {
    std::map<std::uint32_t, const CheckedTable*> byDefinition;
    std::map<std::uint32_t, std::vector<std::uint32_t>> marked;
    std::set<std::uint32_t> inUse(treePages.begin(), treePages.end());
    for (const auto& table : tables) {
        byDefinition[table.def.tdefPage] = &table;
        inUse.insert(table.def.tdefPage);
        try {
            marked[table.def.tdefPage] = storage::readUsageMap(file, table.def.ownedPages);
        } catch (const Error& e) {
            findings.fault(table.name, {}, table.def.ownedPages.page, "unreadable usage map: " + errorText(e));
        }
    }

    std::vector<std::uint32_t> free;
    try {
        free = storage::readUsageMap(file, kFreePageMap);
    } catch (const Error& e) {
        findings.fault({}, {}, 1, "unreadable map of free pages: " + errorText(e));
    }
    auto isFree = [&free](std::uint32_t n) { return std::binary_search(free.begin(), free.end(), n); };

    // Every page of the file is looked at once: through one buffer, so that
    // memory follows the structure, not the file's length.
    std::vector<std::uint8_t> buffer;
    for (std::uint32_t n = 1; n < file.pageCount(); ++n) {
        try {
            const io::Page bytes = file.transientPage(n, buffer);
            if (bytes.bytes[0] != storage::kDataPageType) continue;
            storage::DataPage page(file, bytes);
            auto owner = byDefinition.find(page.owner());
            if (owner == byDefinition.end()) continue;
            auto map = marked.find(page.owner());
            if (map == marked.end()) continue;  // already reported unreadable
            if (std::binary_search(map->second.begin(), map->second.end(), n)) {
                inUse.insert(n);
            } else if (!isFree(n) && hasLiveRows(page)) {
                findings.fault(owner->second->name, {}, n, "data page with rows is not marked in the table's usage map");
            }
        } catch (const Error& e) {
            findings.fault({}, {}, n, "unreadable data page: " + errorText(e));
        }
    }

    for (std::uint32_t n : free)
        if (inUse.count(n)) findings.fault({}, {}, n, "page in use is marked free in the map of free pages");
}

}  // namespace jet::verify
