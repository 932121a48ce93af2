#include "write/index_page.h"

#include <algorithm>
#include <bit>

#include "jet/error.h"
#include "write/bytes.h"

namespace jet::write {
namespace {

constexpr std::size_t kFreeSpaceOffset = 2;
constexpr std::size_t kParentOffset = 4;
constexpr std::size_t kPointerSize = 4;
constexpr std::size_t kChildSize = 4;

// Jet 4 keeps four more bytes before the sibling links.
struct PageLayout {
    std::size_t prev, next, tail, prefix, maskStart, entriesStart;
};

PageLayout layoutOf(const format::JetFormat& format) {
    return format.isJet3() ? PageLayout{0x08, 0x0C, 0x10, 0x14, 0x16, 0xF8}
                           : PageLayout{0x0C, 0x10, 0x14, 0x18, 0x1B, 0x1E0};
}

[[noreturn]] void damaged(const char* what) {
    throw Error(kErrDamaged, "The database has been damaged. Repair it before use.", std::string("index page: ") + what);
}

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}

}  // namespace

bool entryLess(const IndexEntry& a, const IndexEntry& b) {
    if (a.key != b.key) return std::lexicographical_compare(a.key.begin(), a.key.end(), b.key.begin(), b.key.end());
    return a.row.stored() < b.row.stored();
}

void setPreviousPage(std::span<std::uint8_t> page, const format::JetFormat& format, std::uint32_t prev) {
    put32(page, layoutOf(format).prev, prev);
}

std::size_t indexPageCapacity(const format::JetFormat& format) {
    const PageLayout layout = layoutOf(format);
    // The end mark of the last entry must still fall inside the bitmap.
    return std::min(format.pageSize - layout.entriesStart, (layout.entriesStart - layout.maskStart) * 8 - 1);
}

std::size_t entryBytes(const std::vector<IndexEntry>& entries, std::uint8_t type) {
    std::size_t total = 0;
    for (const auto& e : entries) total += e.key.size() + kPointerSize + (type == kIndexNodePageType ? kChildSize : 0);
    return total;
}

IndexPage readIndexPage(std::span<const std::uint8_t> page, const format::JetFormat& format) {
    if (page.size() < format.pageSize || (page[0] != kIndexLeafPageType && page[0] != kIndexNodePageType))
        damaged("not an index page");
    const PageLayout layout = layoutOf(format);
    IndexPage out;
    out.type = page[0];
    out.prev = get32(page, layout.prev);
    out.next = get32(page, layout.next);
    out.tail = get32(page, layout.tail);
    const std::size_t prefix = format.isJet3() ? page[layout.prefix] : get16(page, layout.prefix);
    const std::size_t capacity = format.pageSize - layout.entriesStart;
    const std::size_t used = capacity - std::min<std::size_t>(get16(page, kFreeSpaceOffset), capacity);
    const std::size_t trailer = kPointerSize + (out.type == kIndexNodePageType ? kChildSize : 0);
    std::vector<std::uint8_t> first;
    std::size_t start = 0;
    // Each set bit of the mask ends an entry; the mask is visited by its
    // set bits, not bit by bit.
    std::vector<std::size_t> ends;
    for (std::size_t m = 0; m * 8 <= used && layout.maskStart + m < layout.entriesStart; ++m)
        for (unsigned bits = page[layout.maskStart + m]; bits != 0; bits &= bits - 1) {
            const std::size_t bit = m * 8 + static_cast<std::size_t>(std::countr_zero(bits));
            if (bit >= 1 && bit <= used) ends.push_back(bit);
        }
    out.entries.reserve(ends.size());
    for (std::size_t bit : ends) {
        std::vector<std::uint8_t> bytes;
        if (!out.entries.empty()) {
            if (prefix > first.size()) damaged("prefix longer than the first entry");
            bytes.assign(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(prefix));
        }
        bytes.insert(bytes.end(), page.begin() + static_cast<std::ptrdiff_t>(layout.entriesStart + start),
                     page.begin() + static_cast<std::ptrdiff_t>(layout.entriesStart + bit));
        if (bytes.size() < trailer) damaged("entry shorter than its pointers");
        if (out.entries.empty()) first = bytes;
        IndexEntry e;
        std::size_t p = bytes.size() - trailer;
        e.row.page = (static_cast<std::uint32_t>(bytes[p]) << 16) | (static_cast<std::uint32_t>(bytes[p + 1]) << 8) |
                     bytes[p + 2];
        e.row.row = bytes[p + 3];
        if (out.type == kIndexNodePageType) e.child = bigEndian32(bytes.data() + p + kPointerSize);
        bytes.resize(p);
        e.key = std::move(bytes);
        out.entries.push_back(std::move(e));
        start = bit;
    }
    return out;
}

std::vector<IndexEntry> readLeafEntries(std::span<const std::uint8_t> page, const format::JetFormat& format) {
    if (page.size() < format.pageSize || page[0] != kIndexLeafPageType) damaged("not a leaf");
    return readIndexPage(page, format).entries;
}

bool writeIndexPage(std::span<std::uint8_t> page, const format::JetFormat& format, std::uint32_t tdefPage,
                    const IndexPage& content) {
    const PageLayout layout = layoutOf(format);
    const std::size_t total = entryBytes(content.entries, content.type);
    if (total > indexPageCapacity(format)) return false;

    std::fill(page.begin(), page.end(), 0);
    page[0] = content.type;
    page[1] = 0x01;
    put16(page, kFreeSpaceOffset, static_cast<std::uint16_t>(format.pageSize - layout.entriesStart - total));
    put32(page, kParentOffset, tdefPage);
    put32(page, layout.prev, content.prev);
    put32(page, layout.next, content.next);
    put32(page, layout.tail, content.tail);
    std::size_t at = 0;
    for (const auto& e : content.entries) {
        std::uint8_t* p = page.data() + layout.entriesStart + at;
        std::copy(e.key.begin(), e.key.end(), p);
        p += e.key.size();
        p[0] = static_cast<std::uint8_t>(e.row.page >> 16);
        p[1] = static_cast<std::uint8_t>(e.row.page >> 8);
        p[2] = static_cast<std::uint8_t>(e.row.page);
        p[3] = e.row.row;
        at += e.key.size() + kPointerSize;
        if (content.type == kIndexNodePageType) {
            for (int i = 0; i < 4; ++i) p[kPointerSize + i] = static_cast<std::uint8_t>(e.child >> (8 * (3 - i)));
            at += kChildSize;
        }
        page[layout.maskStart + at / 8] |= static_cast<std::uint8_t>(1u << (at % 8));
    }
    return true;
}

void writeEmptyLeaf(std::span<std::uint8_t> page, const format::JetFormat& format, std::uint32_t tdefPage) {
    // No entries always fit.
    (void)writeIndexPage(page, format, tdefPage, IndexPage{});
}

}  // namespace jet::write
