#include "storage/data_page.h"

namespace jet::storage {
namespace {

constexpr std::size_t kOwnerOffset = 4;            // jet-format.md#data-pages
constexpr std::uint16_t kSlotDeleted = 0x8000;     // jet-format.md#data-pages
constexpr std::uint16_t kSlotOverflow = 0x4000;    // jet-format.md#data-pages
constexpr std::uint16_t kSlotOffsetMask = 0x1FFF;  // jet-format.md#data-pages

}  // namespace

DataPage::DataPage(io::PageFile& file, std::uint32_t number) : DataPage(file, file.page(number)) {}

DataPage::DataPage(io::PageFile& file, io::Page bytes) : file_(file), page_(bytes), format_(file.format()) {
    const auto& page = page_;
    const auto& format = format_;
    format::ByteReader in = reader();
    if (in.u8(0) != kDataPageType) in.fail("not a data page (type " + std::to_string(in.u8(0)) + ")", 0);
    owner_ = in.u32(kOwnerOffset);
    rowCount_ = in.u16(format.dataRowCountOffset);
    if (format.dataRowTableOffset + 2u * rowCount_ > page.bytes.size())
        in.fail("row count " + std::to_string(rowCount_) + " does not fit the page", format.dataRowCountOffset);
}

format::ByteReader DataPage::reader() const { return file_.reader(page_, "data page"); }

RowSlot DataPage::row(std::uint16_t index) const {
    format::ByteReader in = reader();
    if (index >= rowCount_) in.fail("row " + std::to_string(index) + " past the row count", format_.dataRowCountOffset);
    const std::size_t slotAt = format_.dataRowTableOffset + 2u * index;
    const std::uint16_t slot = in.u16(slotAt);
    RowSlot out;
    out.deleted = (slot & kSlotDeleted) != 0;
    out.overflow = (slot & kSlotOverflow) != 0;

    // Rows are packed from the end of the page downwards: a row ends where
    // the row before it in the slot table begins.
    const std::size_t start = slot & kSlotOffsetMask;
    const std::size_t end = index == 0 ? page_.bytes.size() : (in.u16(slotAt - 2) & kSlotOffsetMask);
    const std::size_t tableEnd = format_.dataRowTableOffset + 2u * rowCount_;
    const bool valid = start >= tableEnd && end <= page_.bytes.size() && start <= end;
    // A deleted slot's range means nothing once its space is reused; only
    // the target of an overflow pointer (flagged deleted) is ever read.
    if (!valid && out.deleted) return out;
    if (!valid)
        in.fail("row " + std::to_string(index) + " spans [" + std::to_string(start) + ", " + std::to_string(end) +
                    ") outside the row area",
                slotAt);
    out.bytes = in.bytes(start, end - start);
    return out;
}

}  // namespace jet::storage
