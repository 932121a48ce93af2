#include "write/free_page_map.h"

#include <algorithm>
#include <vector>

#include "jet/error.h"
#include "write/bytes.h"
#include "write/data_page_writer.h"

namespace jet::write {
namespace {

constexpr std::uint32_t kMapPage = 1;
constexpr storage::RowPointer kFreePageMap{kMapPage, 0};
constexpr std::size_t kInlineHeader = 5;  // kind byte, first page
constexpr std::size_t kOwnerOffset = 4;
// Access lengthens the bitmap in steps of 4 bytes (32 pages).
constexpr std::size_t kGrowthStep = 4;

[[noreturn]] void damaged(const char* what) {
    throw Error(kErrDamaged, "The database has been damaged. Repair it before use.", what);
}

// Puts `rows` back on page 1 in slot order, or returns false (page 1 as it
// was) when they do not fit.
bool rewriteMapPage(PageStore& store, const std::vector<std::vector<std::uint8_t>>& rows) {
    const auto& format = store.format();
    std::vector<std::uint8_t> page(format.pageSize);
    initDataPage(page, format, get32(store.read(kMapPage), kOwnerOffset));
    for (const auto& row : rows)
        if (!addRow(page, format, kMapPage, row)) return false;
    auto target = store.modify(kMapPage);
    std::copy(page.begin(), page.end(), target.begin());
    return true;
}

// Page 1 lets the inline map grow no further: it becomes a reference map
// (kind 1, bitmap pages of type 0x05) of the size of a table's map, which
// reaches every page a file can have, marking the same free pages.
void convertToReference(PageStore& store, std::vector<std::vector<std::uint8_t>> rows, std::uint32_t inUse) {
    const auto& format = store.format();
    std::vector<std::uint32_t> free = usageMapPages(store, kFreePageMap);
    std::erase_if(free, [&](std::uint32_t p) { return p >= store.pageCount() || p == inUse; });
    rows[0] = inlineUsageMap(format, 0);
    std::fill(rows[0].begin(), rows[0].end(), 0);
    rows[0][0] = 0x01;  // reference
    if (!rewriteMapPage(store, rows)) damaged("map of free pages");
    for (std::uint32_t p : free)
        if (!markInUsageMap(store, kFreePageMap, p, true)) damaged("map of free pages");
}

// The inline map of free pages ends before `page` (the page just added,
// the file's last): lengthen its bitmap to reach it, the pages between
// marked in use (written without a map that reached them) and those after
// it free, as Access leaves them.
void growFreePageMap(PageStore& store, std::uint32_t page) {
    const auto& format = store.format();
    auto stored = store.read(kMapPage);
    const std::uint16_t count = get16(stored, format.dataRowCountOffset);
    if (stored[0] != kDataPageType || count == 0) damaged("map of free pages");
    std::vector<std::vector<std::uint8_t>> rows;
    {
        std::vector<std::uint8_t> copy(stored.begin(), stored.end());
        for (std::uint16_t i = 0; i < count; ++i) {
            auto bytes = rowBytes(copy, format, kMapPage, static_cast<std::uint8_t>(i));
            rows.emplace_back(bytes.begin(), bytes.end());
        }
    }
    std::vector<std::uint8_t>& map = rows[0];
    if (map.size() < kInlineHeader || map[0] != 0x00) {
        throw Error(kErrDiskFull, "Not enough space on disk.", "page beyond the reach of the map of free pages");
    }
    const std::uint32_t first = get32(map, 1);
    if (page < first) damaged("map of free pages");
    const std::size_t covered = (map.size() - kInlineHeader) * 8;
    std::size_t bytes = (page - first) / 8 + 1;
    bytes = (bytes + kGrowthStep - 1) / kGrowthStep * kGrowthStep;
    map.resize(kInlineHeader + bytes, 0);
    for (std::size_t bit = covered; bit < bytes * 8; ++bit)
        if (first + bit > page) map[kInlineHeader + bit / 8] |= static_cast<std::uint8_t>(1u << (bit % 8));
    if (!rewriteMapPage(store, rows)) convertToReference(store, std::move(rows), page);
}

}  // namespace

std::uint32_t allocatePage(PageStore& store) {
    const std::uint32_t n = store.allocate();
    // Pages 0 and 1 come before the map exists; the new database marks them.
    if (n <= kMapPage) return n;
    if (!markInUsageMap(store, kFreePageMap, n, false)) growFreePageMap(store, n);
    return n;
}

}  // namespace jet::write
