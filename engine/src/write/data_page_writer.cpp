#include "write/data_page_writer.h"

#include <algorithm>

#include "jet/error.h"
#include "write/bytes.h"

namespace jet::write {
namespace {

constexpr std::size_t kFreeSpaceOffset = 2;
constexpr std::size_t kOwnerOffset = 4;
constexpr std::size_t kMaxSlots = 255;
// Inline map: kind byte, first page (4), then the bitmap.
constexpr std::size_t kInlineMapHeader = 5;

std::size_t bitmapBytes(const format::JetFormat& format) {
    // As Access sizes them: 64 bytes (512 pages) in Jet 4, 128 in Jet 3.
    return format.isJet3() ? 128 : 64;
}

std::uint16_t slotCount(std::span<const std::uint8_t> page, const format::JetFormat& format) {
    return get16(page, format.dataRowCountOffset);
}

std::size_t rowStart(std::span<const std::uint8_t> page, const format::JetFormat& format, std::size_t slot) {
    return get16(page, format.dataRowTableOffset + 2 * slot) & kRowOffsetMask;
}

}  // namespace

void initDataPage(std::span<std::uint8_t> page, const format::JetFormat& format, std::uint32_t owner) {
    std::fill(page.begin(), page.end(), 0);
    page[0] = kDataPageType;
    page[1] = 0x01;
    put16(page, kFreeSpaceOffset, static_cast<std::uint16_t>(format.pageSize - format.dataRowTableOffset));
    put32(page, kOwnerOffset, owner);
}

std::size_t freeSpace(std::span<const std::uint8_t> page, const format::JetFormat& format) {
    const std::uint16_t count = slotCount(page, format);
    const std::size_t tableEnd = format.dataRowTableOffset + 2 * count;
    const std::size_t lowest = count == 0 ? format.pageSize : rowStart(page, format, count - 1);
    return lowest > tableEnd ? lowest - tableEnd : 0;
}

std::optional<std::uint8_t> addRow(std::span<std::uint8_t> page, const format::JetFormat& format,
                                   std::span<const std::uint8_t> row) {
    const std::uint16_t count = slotCount(page, format);
    if (count >= kMaxSlots) return std::nullopt;
    if (freeSpace(page, format) < row.size() + 2) return std::nullopt;
    const std::size_t end = count == 0 ? format.pageSize : rowStart(page, format, count - 1);
    const std::size_t start = end - row.size();
    std::copy(row.begin(), row.end(), page.begin() + static_cast<std::ptrdiff_t>(start));
    put16(page, format.dataRowTableOffset + 2 * count, static_cast<std::uint16_t>(start));
    put16(page, format.dataRowCountOffset, static_cast<std::uint16_t>(count + 1));
    put16(page, kFreeSpaceOffset, static_cast<std::uint16_t>(freeSpace(page, format)));
    return static_cast<std::uint8_t>(count);
}

std::span<std::uint8_t> rowBytes(std::span<std::uint8_t> page, const format::JetFormat& format, std::uint8_t slot) {
    const std::uint16_t count = slotCount(page, format);
    if (slot >= count) throw Error(kErrDamaged, "The database has been damaged. Repair it before use.", "row slot");
    const std::size_t start = rowStart(page, format, slot);
    const std::size_t end = slot == 0 ? format.pageSize : rowStart(page, format, slot - 1u);
    if (start > end || end > format.pageSize)
        throw Error(kErrDamaged, "The database has been damaged. Repair it before use.", "row bounds");
    return page.subspan(start, end - start);
}

void markDeleted(std::span<std::uint8_t> page, const format::JetFormat& format, std::uint8_t slot) {
    const std::size_t at = format.dataRowTableOffset + 2 * slot;
    put16(page, at, static_cast<std::uint16_t>(get16(page, at) | kRowDeleted));
}

std::vector<std::uint8_t> inlineUsageMap(const format::JetFormat& format, std::uint32_t firstPage, bool allSet) {
    std::vector<std::uint8_t> row(kInlineMapHeader + bitmapBytes(format), allSet ? 0xFF : 0x00);
    row[0] = 0x00;  // inline
    put32(row, 1, firstPage);
    return row;
}

bool markInUsageMap(PageStore& store, storage::RowPointer map, std::uint32_t page, bool set) {
    auto bytes = rowBytes(store.modify(map.page), store.format(), map.row);
    if (bytes.size() < kInlineMapHeader || bytes[0] != 0x00)
        throw Error(kErrOperationNotSupported, "Operation is not supported for this type of object.",
                    "usage map is not inline");
    const std::uint32_t first = get32(bytes, 1);
    if (page < first) return false;
    const std::uint32_t bit = page - first;
    if (bit / 8 >= bytes.size() - kInlineMapHeader) return false;
    std::uint8_t& b = bytes[kInlineMapHeader + bit / 8];
    if (set) b = static_cast<std::uint8_t>(b | (1u << (bit % 8)));
    else b = static_cast<std::uint8_t>(b & ~(1u << (bit % 8)));
    return true;
}

}  // namespace jet::write
