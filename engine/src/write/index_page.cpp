#include "write/index_page.h"

#include <algorithm>

#include "jet/error.h"
#include "write/bytes.h"

namespace jet::write {
namespace {

constexpr std::size_t kFreeSpaceOffset = 2;
constexpr std::size_t kParentOffset = 4;
constexpr std::size_t kPrefixOffset = 0x14;
constexpr std::size_t kPointerSize = 4;

struct LeafLayout {
    std::size_t maskStart, entriesStart;
};

LeafLayout layoutOf(const format::JetFormat& format) {
    return format.isJet3() ? LeafLayout{0x16, 0xF8} : LeafLayout{0x1B, 0x1E0};
}

[[noreturn]] void damaged(const char* what) {
    throw Error(kErrDamaged, "The database has been damaged. Repair it before use.", std::string("index page: ") + what);
}

}  // namespace

bool entryLess(const IndexEntry& a, const IndexEntry& b) {
    if (a.key != b.key) return std::lexicographical_compare(a.key.begin(), a.key.end(), b.key.begin(), b.key.end());
    return a.row.stored() < b.row.stored();
}

std::vector<IndexEntry> readLeafEntries(std::span<const std::uint8_t> page, const format::JetFormat& format) {
    if (page.size() < format.pageSize || page[0] != kIndexLeafPageType) damaged("not a leaf");
    const LeafLayout layout = layoutOf(format);
    const std::size_t prefix = get16(page, kPrefixOffset);
    const std::size_t capacity = format.pageSize - layout.entriesStart;
    const std::size_t used = capacity - std::min<std::size_t>(get16(page, kFreeSpaceOffset), capacity);
    std::vector<IndexEntry> entries;
    std::vector<std::uint8_t> first;
    std::size_t start = 0;
    for (std::size_t bit = 1; bit <= used && layout.maskStart + bit / 8 < layout.entriesStart; ++bit) {
        if ((page[layout.maskStart + bit / 8] & (1u << (bit % 8))) == 0) continue;
        std::vector<std::uint8_t> bytes;
        if (!entries.empty()) bytes.assign(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(std::min(prefix, first.size())));
        bytes.insert(bytes.end(), page.begin() + static_cast<std::ptrdiff_t>(layout.entriesStart + start),
                     page.begin() + static_cast<std::ptrdiff_t>(layout.entriesStart + bit));
        if (bytes.size() < kPointerSize) damaged("entry shorter than its row pointer");
        if (entries.empty()) first = bytes;
        IndexEntry e;
        const std::size_t p = bytes.size() - kPointerSize;
        e.row.page = (static_cast<std::uint32_t>(bytes[p]) << 16) | (static_cast<std::uint32_t>(bytes[p + 1]) << 8) | bytes[p + 2];
        e.row.row = bytes[p + 3];
        bytes.resize(p);
        e.key = std::move(bytes);
        entries.push_back(std::move(e));
        start = bit;
    }
    return entries;
}

bool writeLeaf(std::span<std::uint8_t> page, const format::JetFormat& format, std::uint32_t tdefPage,
               const std::vector<IndexEntry>& entries) {
    const LeafLayout layout = layoutOf(format);
    const std::size_t capacity = format.pageSize - layout.entriesStart;
    std::size_t total = 0;
    for (const auto& e : entries) total += e.key.size() + kPointerSize;
    // The end mark of the last entry must still fall inside the bitmap.
    if (total > capacity || total >= (layout.entriesStart - layout.maskStart) * 8) return false;

    std::fill(page.begin(), page.end(), 0);
    page[0] = kIndexLeafPageType;
    page[1] = 0x01;
    put16(page, kFreeSpaceOffset, static_cast<std::uint16_t>(capacity - total));
    put32(page, kParentOffset, tdefPage);
    std::size_t at = 0;
    for (const auto& e : entries) {
        std::copy(e.key.begin(), e.key.end(), page.begin() + static_cast<std::ptrdiff_t>(layout.entriesStart + at));
        at += e.key.size();
        std::uint8_t* p = page.data() + layout.entriesStart + at;
        p[0] = static_cast<std::uint8_t>(e.row.page >> 16);
        p[1] = static_cast<std::uint8_t>(e.row.page >> 8);
        p[2] = static_cast<std::uint8_t>(e.row.page);
        p[3] = e.row.row;
        at += kPointerSize;
        page[layout.maskStart + at / 8] |= static_cast<std::uint8_t>(1u << (at % 8));
    }
    return true;
}

}  // namespace jet::write
