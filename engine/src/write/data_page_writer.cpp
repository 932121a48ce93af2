#include "write/data_page_writer.h"

#include <algorithm>
#include <string>

#include "jet/error.h"
#include "storage/usage_map.h"
#include "write/bytes.h"
#include "write/free_page_map.h"

namespace jet::write {
namespace {

constexpr std::size_t kFreeSpaceOffset = 2;
constexpr std::size_t kOwnerOffset = 4;
constexpr std::size_t kMaxSlots = 255;
// Inline map: kind byte, first page (4), then the bitmap. Reference map:
// kind byte, then the numbers of bitmap pages (type 0x05, bitmap from byte 4).
constexpr std::size_t kInlineMapHeader = 5;
using storage::kUsageMapInline;
using storage::kUsageMapReference;
constexpr std::uint8_t kMapPageType = storage::kUsageMapPageType;
constexpr std::size_t kMapPageHeader = 4;

std::size_t bitmapBytes(const format::JetFormat& format) {
    // As Access sizes them: 64 bytes (512 pages) in Jet 4, 128 in Jet 3.
    return format.isJet3() ? 128 : 64;
}

[[noreturn]] void damagedPage(std::uint32_t number, const std::string& what) {
    throw Error(kErrDamaged, "The database has been damaged. Repair it before use.",
                "page " + std::to_string(number) + ": " + what);
}

// The slot count of data page `number`, checked as the reader checks it: a
// data page whose slot table fits the page.
std::uint16_t slotCount(std::span<const std::uint8_t> page, const format::JetFormat& format, std::uint32_t number) {
    if (page.size() != format.pageSize || page[0] != kDataPageType) damagedPage(number, "not a data page");
    const std::uint16_t count = get16(page, format.dataRowCountOffset);
    if (format.dataRowTableOffset + 2u * count > format.pageSize)
        damagedPage(number, "row count " + std::to_string(count) + " does not fit the page");
    return count;
}

std::size_t rowStart(std::span<const std::uint8_t> page, const format::JetFormat& format, std::size_t slot) {
    return get16(page, format.dataRowTableOffset + 2 * slot) & kRowOffsetMask;
}

// Where the rows of data page `number` begin: the lowest start of a slot
// whose bytes may still be read (live rows, and deleted ones, which the
// targets of overflow pointers are). A live row outside the row area, or
// one that ends before it starts, is damage: a row added below it would
// land on other bytes.
std::size_t lowestRow(std::span<const std::uint8_t> page, const format::JetFormat& format, std::uint32_t number) {
    const std::uint16_t count = slotCount(page, format, number);
    const std::size_t tableEnd = format.dataRowTableOffset + 2u * count;
    std::size_t lowest = format.pageSize;
    std::size_t end = format.pageSize;
    for (std::size_t slot = 0; slot < count; ++slot) {
        const std::size_t start = rowStart(page, format, slot);
        const bool deleted = (get16(page, format.dataRowTableOffset + 2 * slot) & kRowDeleted) != 0;
        const bool valid = start >= tableEnd && start <= end;
        if (!valid && !deleted)
            damagedPage(number, "row " + std::to_string(slot) + " starts at " + std::to_string(start) +
                                    " outside the row area");
        if (valid) {
            lowest = std::min(lowest, start);
            end = start;
        }
    }
    return lowest;
}

[[noreturn]] void beyondReach() {
    throw Error(kErrDiskFull, "Not enough space on disk.", "page beyond the reach of a usage map");
}

}  // namespace

void initDataPage(std::span<std::uint8_t> page, const format::JetFormat& format, std::uint32_t owner) {
    std::fill(page.begin(), page.end(), 0);
    page[0] = kDataPageType;
    page[1] = 0x01;
    put16(page, kFreeSpaceOffset, static_cast<std::uint16_t>(format.pageSize - format.dataRowTableOffset));
    put32(page, kOwnerOffset, owner);
}

std::size_t freeSpace(std::span<const std::uint8_t> page, const format::JetFormat& format, std::uint32_t number) {
    const std::size_t lowest = lowestRow(page, format, number);
    const std::size_t tableEnd = format.dataRowTableOffset + 2u * slotCount(page, format, number);
    return lowest > tableEnd ? lowest - tableEnd : 0;
}

std::optional<std::uint8_t> addRow(std::span<std::uint8_t> page, const format::JetFormat& format,
                                   std::uint32_t number, std::span<const std::uint8_t> row) {
    const std::uint16_t count = slotCount(page, format, number);
    if (count >= kMaxSlots) return std::nullopt;
    const std::size_t lowest = lowestRow(page, format, number);
    // The new slot takes two bytes of the gap, the row the rest it needs.
    const std::size_t tableEnd = format.dataRowTableOffset + 2u * (count + 1u);
    if (lowest < tableEnd || lowest - tableEnd < row.size()) return std::nullopt;
    const std::size_t start = lowest - row.size();
    std::copy(row.begin(), row.end(), page.begin() + static_cast<std::ptrdiff_t>(start));
    put16(page, format.dataRowTableOffset + 2 * count, static_cast<std::uint16_t>(start));
    put16(page, format.dataRowCountOffset, static_cast<std::uint16_t>(count + 1));
    put16(page, kFreeSpaceOffset, static_cast<std::uint16_t>(start - tableEnd));
    return static_cast<std::uint8_t>(count);
}

std::span<std::uint8_t> rowBytes(std::span<std::uint8_t> page, const format::JetFormat& format, std::uint32_t number,
                                 std::uint8_t slot) {
    const std::uint16_t count = slotCount(page, format, number);
    if (slot >= count) damagedPage(number, "row " + std::to_string(slot) + " past the row count");
    const std::size_t start = rowStart(page, format, slot);
    const std::size_t end = slot == 0 ? format.pageSize : rowStart(page, format, slot - 1u);
    if (start < format.dataRowTableOffset + 2u * count || start > end || end > format.pageSize)
        damagedPage(number, "row " + std::to_string(slot) + " outside the row area");
    return page.subspan(start, end - start);
}

void markDeleted(std::span<std::uint8_t> page, const format::JetFormat& format, std::uint32_t number,
                 std::uint8_t slot) {
    if (slot >= slotCount(page, format, number)) damagedPage(number, "row " + std::to_string(slot) + " past the row count");
    // Access sets both flags on a row it deletes; readers that take 0x4000
    // alone for "deleted" (mdbtools) would show a row with only 0x8000 as
    // live, since that bit alone marks the target of an overflow pointer.
    const std::size_t at = format.dataRowTableOffset + 2 * slot;
    put16(page, at, static_cast<std::uint16_t>(get16(page, at) | kRowDeleted | kRowOverflow));
}

std::vector<std::uint8_t> inlineUsageMap(const format::JetFormat& format, std::uint32_t firstPage, bool allSet) {
    std::vector<std::uint8_t> row(kInlineMapHeader + bitmapBytes(format), allSet ? 0xFF : 0x00);
    row[0] = 0x00;  // inline
    put32(row, 1, firstPage);
    return row;
}

bool markInUsageMap(PageStore& store, storage::RowPointer map, std::uint32_t page, bool set) {
    const auto& format = store.format();
    auto bytes = rowBytes(store.modify(map.page), format, map.page, map.row);
    if (bytes.size() < kInlineMapHeader) damagedPage(map.page, "usage map row too short");
    auto setBit = [&](std::uint8_t& b, std::uint32_t bit) {
        if (set) b = static_cast<std::uint8_t>(b | (1u << (bit % 8)));
        else b = static_cast<std::uint8_t>(b & ~(1u << (bit % 8)));
    };
    if (bytes[0] == kUsageMapInline) {
        const std::uint32_t first = get32(bytes, 1);
        if (page < first) return false;
        const std::uint32_t bit = page - first;
        if (bit / 8 >= bytes.size() - kInlineMapHeader) return false;
        setBit(bytes[kInlineMapHeader + bit / 8], bit);
        return true;
    }
    if (bytes[0] != kUsageMapReference)
        damagedPage(map.page, "usage map of unknown kind " + std::to_string(bytes[0]));
    // A reference map: entry k names the bitmap page of the k-th range of
    // pages; a range without one gets a new bitmap page when a page in it
    // is marked.
    const std::size_t perPage = (format.pageSize - kMapPageHeader) * 8;
    const std::size_t entry = 1 + 4 * (page / perPage);
    if (entry + 4 > bytes.size()) return false;
    std::uint32_t mapPage = get32(bytes, entry);
    if (mapPage == 0) {
        if (!set) return true;
        mapPage = allocatePage(store);
        auto fresh = store.modify(mapPage);
        fresh[0] = kMapPageType;
        fresh[1] = 0x01;
        put32(rowBytes(store.modify(map.page), format, map.page, map.row), entry, mapPage);
    }
    if (mapPage >= store.pageCount() || store.read(mapPage)[0] != kMapPageType)
        damagedPage(mapPage, "usage map bitmap page is not one");
    const std::uint32_t bit = static_cast<std::uint32_t>(page % perPage);
    setBit(store.modify(mapPage)[kMapPageHeader + bit / 8], bit);
    return true;
}

void addToUsageMap(PageStore& store, storage::RowPointer map, std::uint32_t page) {
    if (markInUsageMap(store, map, page, true)) return;
    if (rowBytes(store.modify(map.page), store.format(), map.page, map.row)[0] != kUsageMapInline) beyondReach();
    // Marks past the end of the file are left over from compaction: they
    // need not keep their place.
    std::vector<std::uint32_t> pages = usageMapPages(store, map);
    std::erase_if(pages, [&](std::uint32_t p) { return p >= store.pageCount(); });
    pages.push_back(page);
    const auto [lowest, highest] = std::minmax_element(pages.begin(), pages.end());
    auto bytes = rowBytes(store.modify(map.page), store.format(), map.page, map.row);
    const std::size_t span = (bytes.size() - kInlineMapHeader) * 8;
    const bool staysInline = *highest - *lowest < span;
    const std::uint32_t start = *lowest;
    std::fill(bytes.begin(), bytes.end(), 0);
    if (staysInline) {
        bytes[0] = kUsageMapInline;
        put32(bytes, 1, start);
    } else {
        bytes[0] = kUsageMapReference;
    }
    for (std::uint32_t p : pages)
        if (!markInUsageMap(store, map, p, true)) beyondReach();
}

std::vector<std::uint32_t> usageMapPages(PageStore& store, storage::RowPointer map) {
    // Every mark counts here, past the end of the file too: the callers
    // decide what to do with those.
    constexpr std::uint64_t kNoLimit = ~std::uint64_t{0};
    const auto& format = store.format();
    auto page = store.read(map.page);
    std::vector<std::uint8_t> copy(page.begin(), page.end());
    auto bytes = rowBytes(copy, format, map.page, map.row);
    std::vector<std::uint32_t> pages;
    if (bytes.size() < kInlineMapHeader) damagedPage(map.page, "usage map row too short");
    if (bytes[0] == kUsageMapInline) {
        storage::collectMarkedPages(bytes.subspan(kInlineMapHeader), get32(bytes, 1), kNoLimit, pages);
        return pages;
    }
    if (bytes[0] != kUsageMapReference)
        damagedPage(map.page, "usage map of unknown kind " + std::to_string(bytes[0]));
    const std::size_t perPage = (format.pageSize - kMapPageHeader) * 8;
    for (std::size_t entry = 1, k = 0; entry + 4 <= bytes.size(); entry += 4, ++k) {
        const std::uint32_t mapPage = get32(bytes, entry);
        if (mapPage == 0 || mapPage >= store.pageCount()) continue;
        auto bitmap = store.read(mapPage);
        if (bitmap[0] != kMapPageType)
            damagedPage(mapPage, "usage map bitmap page is not one");
        storage::collectMarkedPages(bitmap.subspan(kMapPageHeader, format.pageSize - kMapPageHeader),
                                    static_cast<std::uint64_t>(k) * perPage, kNoLimit, pages);
    }
    return pages;
}

}  // namespace jet::write
