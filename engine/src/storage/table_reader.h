// Reading the rows of one table: its data pages come from the table's usage
// map, and each live row is decoded into values in TableDefinition::columns
// order. Deleted rows are skipped; overflow rows are followed; long values
// are read in full; text is UTF-8. Layout: docs/jet-format.md#rows.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "io/page_file.h"
#include "jet/value.h"
#include "storage/row_pointer.h"
#include "storage/table_definition.h"

namespace jet::storage {

struct Row {
    RowPointer location;             // the slot the row is listed under
    std::vector<jet::Value> values;  // one per TableDefinition::columns entry
};

// Decodes the row bytes `bytes` of a table with definition `def`. Columns
// the row predates (added later) are Null. Throws jet::Error(3049) when an
// offset or length in the row leaves it. `where` names the row in errors.
std::vector<jet::Value> decodeRow(io::PageFile& file, const TableDefinition& def,
                                  std::span<const std::uint8_t> bytes, RowPointer where);

class TableReader {
public:
    // `file` and `def` must outlive the reader. Reads the usage map at once:
    // throws jet::Error(3049) when it is damaged.
    TableReader(io::PageFile& file, const TableDefinition& def);

    // The next live row in page order, then slot order. Returns false at
    // the end. Throws jet::Error(3049) on a damaged page or row; the reader
    // is then positioned after that row (or page), so a caller may go on.
    bool next(Row& row);

    // Back to the first row.
    void rewind();

    // The row at `where` (after following an overflow pointer), or nullopt
    // when that slot is deleted or not a row of this table. Throws
    // jet::Error(3049) when the page or row is damaged.
    std::optional<Row> readAt(RowPointer where);

    const TableDefinition& definition() const { return def_; }

private:
    // The row's bytes at `where`; `current` is the page the scan holds,
    // read past the page cache, used when the row lies on it.
    std::optional<std::span<const std::uint8_t>> resolve(RowPointer where, const io::Page* current = nullptr);
    void nextPage();

    io::PageFile& file_;
    const TableDefinition& def_;
    std::vector<std::uint32_t> pages_;
    // The page the scan is on: a scan reads each page once, so its pages
    // are not kept in the page cache.
    std::vector<std::uint8_t> scanBuffer_;
    io::Page scanPage_;
    bool scanPageRead_ = false;
    std::size_t pageIndex_ = 0;
    std::uint16_t slot_ = 0;
};

}  // namespace jet::storage
