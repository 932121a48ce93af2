#include "storage/long_value.h"

#include <unordered_set>

#include "format/byte_reader.h"
#include "storage/data_page.h"
#include "storage/row_pointer.h"

namespace jet::storage {
namespace {

constexpr std::size_t kPointerOffset = 4;          // jet-format.md#lval
constexpr std::size_t kInlineDataOffset = 12;      // jet-format.md#lval
constexpr std::size_t kChainNextSize = 4;          // jet-format.md#lval
constexpr std::uint32_t kKindMask = 0xC0000000u;   // jet-format.md#lval

// The row's bytes are read past the page cache, into `buffer`: the value
// is copied out of them at once, and a walk over many values (the catalog's
// property blobs) would otherwise keep every page they lie on.
RowSlot longValueRow(io::PageFile& file, RowPointer where, const format::ByteReader& field,
                     std::vector<std::uint8_t>& buffer) {
    if (where.page >= file.pageCount())
        field.fail("long value row on page " + std::to_string(where.page) + " outside the file", kPointerOffset);
    DataPage page(file, file.transientPage(where.page, buffer));
    RowSlot slot = page.row(where.row);
    if (slot.deleted)
        field.fail("long value row " + std::to_string(where.page) + ":" + std::to_string(where.row) + " is deleted",
                   kPointerOffset);
    return slot;
}

}  // namespace

std::vector<std::uint8_t> readLongValue(io::PageFile& file, std::span<const std::uint8_t> fieldBytes) {
    format::ByteReader field(fieldBytes, 0, "long value field", file.path());
    const std::uint32_t word = field.u32(0);
    const std::size_t length = word & kMaxLongValueLength;
    const std::uint8_t kind = static_cast<std::uint8_t>((word & kKindMask) >> 24);
    const RowPointer pointer = RowPointer::fromStored(field.u32(kPointerOffset));

    // A value cannot be longer than the file that holds it; checking first
    // keeps a damaged length from turning into a huge allocation.
    if (length > static_cast<std::uint64_t>(file.pageCount()) * file.pageSize())
        field.fail("long value length " + std::to_string(length) + " exceeds the file", 0);

    if (kind == kLongValueInline) {
        auto data = field.bytes(kInlineDataOffset, length);
        return {data.begin(), data.end()};
    }
    std::vector<std::uint8_t> buffer;
    if (kind == kLongValueSingle) {
        RowSlot slot = longValueRow(file, pointer, field, buffer);
        if (slot.bytes.size() < length)
            field.fail("long value row holds " + std::to_string(slot.bytes.size()) + " of " + std::to_string(length) +
                           " bytes",
                       0);
        return {slot.bytes.begin(), slot.bytes.begin() + static_cast<std::ptrdiff_t>(length)};
    }
    if (kind != kLongValueChain) field.fail("unknown long value kind " + std::to_string(kind), 0);

    std::vector<std::uint8_t> out;
    out.reserve(length);
    std::unordered_set<std::uint32_t> visited;
    RowPointer at = pointer;
    while (out.size() < length) {
        if (at.isNull()) field.fail("long value chain ends after " + std::to_string(out.size()) + " bytes", 0);
        if (!visited.insert(at.stored()).second) field.fail("long value chain loops", 0);
        RowSlot slot = longValueRow(file, at, field, buffer);
        format::ByteReader row(slot.bytes, at.page, "long value row", file.path());
        const RowPointer next = RowPointer::fromStored(row.u32(0));
        const std::size_t take = std::min(length - out.size(), slot.bytes.size() - kChainNextSize);
        out.insert(out.end(), slot.bytes.begin() + kChainNextSize,
                   slot.bytes.begin() + static_cast<std::ptrdiff_t>(kChainNextSize + take));
        at = next;
    }
    return out;
}

}  // namespace jet::storage
