// Rows on data pages: a new data page, adding a row, marking one deleted,
// and the inline usage maps that record which pages a table owns.
// Layout: docs/jet-format.md#data-pages and #usage-maps; what the writer
// chooses: docs/jet-writing.md#data-pages.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "format/jet_format.h"
#include "storage/row_pointer.h"
#include "write/page_store.h"

namespace jet::write {

inline constexpr std::uint8_t kDataPageType = 0x01;
inline constexpr std::uint32_t kLongValueOwner = 0x4C41564C;  // "LVAL"
inline constexpr std::uint16_t kRowDeleted = 0x8000;
inline constexpr std::uint16_t kRowOverflow = 0x4000;
inline constexpr std::uint16_t kRowOffsetMask = 0x1FFF;

// An empty data page owned by the table whose definition is on page `owner`.
void initDataPage(std::span<std::uint8_t> page, const format::JetFormat& format, std::uint32_t owner);

// The functions below take the page's bytes and its number (for errors).
// They check the page as the reader does: a data page whose row count and
// row offsets stay inside it; otherwise they throw jet::Error(3049) naming
// the page, before anything is changed.

// Bytes free for one more row (its slot included) on `page`.
std::size_t freeSpace(std::span<const std::uint8_t> page, const format::JetFormat& format, std::uint32_t number);

// Adds `row` as the next slot of `page`, below its lowest row; nullopt when
// it does not fit or the page has 255 slots (a row pointer keeps 8 bits of
// slot).
[[nodiscard]] std::optional<std::uint8_t> addRow(std::span<std::uint8_t> page, const format::JetFormat& format,
                                                 std::uint32_t number, std::span<const std::uint8_t> row);

// The bytes of slot `slot` (flags ignored).
std::span<std::uint8_t> rowBytes(std::span<std::uint8_t> page, const format::JetFormat& format, std::uint32_t number,
                                 std::uint8_t slot);

// Marks slot `slot` deleted as Access does (0x8000 and 0x4000 together);
// its bytes stay until the page is compacted.
void markDeleted(std::span<std::uint8_t> page, const format::JetFormat& format, std::uint32_t number,
                 std::uint8_t slot);

// An inline usage map row covering the pages from `firstPage` on, none set
// (`allSet` marks every page, as the free-page map of page 1 starts).
std::vector<std::uint8_t> inlineUsageMap(const format::JetFormat& format, std::uint32_t firstPage, bool allSet = false);

// Sets or clears the bit of `page` in the usage map stored at `map`, inline
// or reference (a reference map gets a new bitmap page for a range it had
// none for). Returns false when the map cannot reach that page (the caller
// decides whether that is an error).
[[nodiscard]] bool markInUsageMap(PageStore& store, storage::RowPointer map, std::uint32_t page, bool set);

// Marks `page` in the map of a table or index at `map`, growing the map as
// Jet does when the page lies outside an inline map's span: the inline map
// moves its start when its pages and the new one fit the span, otherwise it
// becomes a reference map of the same row size. Throws 3049 when the map's
// row is damaged, 3026 when not even a reference map reaches the page.
void addToUsageMap(PageStore& store, storage::RowPointer map, std::uint32_t page);

// The pages the map at `map` marks, as the store holds it.
std::vector<std::uint32_t> usageMapPages(PageStore& store, storage::RowPointer map);

}  // namespace jet::write
