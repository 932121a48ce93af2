// Row slots of a data page (type 0x01) or long-value page (same layout,
// "LVAL" in place of the owner): the slot table and the byte range of each
// row. Layout: docs/jet-format.md#data-pages.
#pragma once

#include <cstdint>
#include <span>

#include "format/jet_format.h"
#include "io/page_file.h"

namespace jet::storage {

inline constexpr std::uint8_t kDataPageType = 0x01;  // jet-format.md#pages

struct RowSlot {
    // Slot flag 0x8000. Also set on the rows that overflow pointers lead to,
    // so that a page scan does not list them twice.
    bool deleted = false;
    bool overflow = false;  // slot flag 0x4000: the row holds a RowPointer to the real row
    // The row's bytes; empty for a deleted slot whose range is invalid.
    std::span<const std::uint8_t> bytes;
};

class DataPage {
public:
    // Reads page `number` of `file` (which must outlive this object).
    // Throws jet::Error(3049) unless it is a data page (type 0x01).
    DataPage(io::PageFile& file, std::uint32_t number);
    // The same over `page` as read already (whose bytes must outlive this
    // object), e.g. one PageFile::transientPage() did not keep.
    DataPage(io::PageFile& file, io::Page page);

    std::uint32_t number() const { return page_.number; }

    // The table definition page that owns this page ("LVAL" pages: 0x4C41564C).
    std::uint32_t owner() const { return owner_; }
    std::uint16_t rowCount() const { return rowCount_; }

    // Slot `index` (0-based). Throws jet::Error(3049) when the index is past
    // rowCount() or a live slot's row range leaves the page.
    RowSlot row(std::uint16_t index) const;

private:
    format::ByteReader reader() const;

    io::PageFile& file_;
    io::Page page_;
    const format::JetFormat& format_;
    std::uint32_t owner_ = 0;
    std::uint16_t rowCount_ = 0;
};

}  // namespace jet::storage
