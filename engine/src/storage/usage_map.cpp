#include "storage/usage_map.h"

#include <bit>

#include "storage/data_page.h"

namespace jet::storage {
namespace {

constexpr std::size_t kInlineStartOffset = 1;   // jet-format.md#usage-maps
constexpr std::size_t kInlineBitmapOffset = 5;  // jet-format.md#usage-maps
constexpr std::size_t kReferenceListOffset = 1; // jet-format.md#usage-maps

}  // namespace

void collectMarkedPages(std::span<const std::uint8_t> bitmap, std::uint64_t first, std::uint64_t limit,
                        std::vector<std::uint32_t>& out) {
    // Maps are mostly empty: only the set bits are visited.
    for (std::size_t i = 0; i < bitmap.size(); ++i)
        for (unsigned bits = bitmap[i]; bits != 0; bits &= bits - 1) {
            const std::uint64_t page = first + i * 8 + static_cast<std::uint64_t>(std::countr_zero(bits));
            if (page >= limit) return;
            out.push_back(static_cast<std::uint32_t>(page));
        }
}

std::vector<std::uint32_t> readUsageMap(io::PageFile& file, RowPointer where) {
    file.checkPageNumber(where.page, "usage map");
    DataPage page(file, where.page);
    RowSlot slot = page.row(where.row);
    format::ByteReader in(slot.bytes, where.page, "usage map row " + std::to_string(where.row), file.path());
    if (slot.deleted) in.fail("usage map row is deleted", 0);

    std::vector<std::uint32_t> pages;
    const std::uint8_t kind = in.u8(0);
    if (kind == kUsageMapInline) {
        const std::uint32_t start = in.u32(kInlineStartOffset);
        collectMarkedPages(in.bytes(kInlineBitmapOffset, in.size() - std::min(in.size(), kInlineBitmapOffset)), start,
                    file.pageCount(), pages);
    } else if (kind == kUsageMapReference) {
        const std::size_t perMapPage = (file.pageSize() - file.format().usageMapPageHeader) * 8;
        for (std::size_t k = 0; kReferenceListOffset + 4 * (k + 1) <= in.size(); ++k) {
            const std::uint32_t mapPage = in.u32(kReferenceListOffset + 4 * k);
            if (mapPage == 0) continue;
            const std::uint64_t first = static_cast<std::uint64_t>(k) * perMapPage;
            if (first >= file.pageCount()) break;
            file.checkPageNumber(mapPage, "usage map page");
            io::Page map = file.page(mapPage);
            format::ByteReader mapIn = file.reader(map, "usage map page");
            if (mapIn.u8(0) != kUsageMapPageType)
                mapIn.fail("not a usage map page (type " + std::to_string(mapIn.u8(0)) + ")", 0);
            const std::size_t header = file.format().usageMapPageHeader;
            collectMarkedPages(mapIn.bytes(header, map.bytes.size() - header), first, file.pageCount(), pages);
        }
    } else {
        in.fail("unknown usage map kind " + std::to_string(kind), 0);
    }
    return pages;
}

}  // namespace jet::storage
