// Builds small databases byte by byte for the storage tests, so that they
// run without the corpus: a header page, table definitions, data pages with
// rows, usage maps and long values, in Jet 3 or Jet 4 layout. The encoders
// follow docs/jet-format.md independently of the readers under test.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "format/jet_format.h"

namespace fixture {

namespace format = jet::format;

using Bytes = std::vector<std::uint8_t>;

// Little-endian appends and patches.
struct Writer {
    Bytes out;
    void u8(std::uint32_t v) { out.push_back(static_cast<std::uint8_t>(v)); }
    void u16(std::uint32_t v) { u8(v); u8(v >> 8); }
    void u32(std::uint32_t v) { u16(v); u16(v >> 16); }
    void bytes(const Bytes& b) { out.insert(out.end(), b.begin(), b.end()); }
    void zeros(std::size_t n) { out.insert(out.end(), n, 0); }
};
void put16(Bytes& b, std::size_t at, std::uint32_t v);
void put32(Bytes& b, std::size_t at, std::uint32_t v);

struct Column {
    std::string name;
    std::uint8_t type = 0;
    std::uint16_t length = 0;  // bytes
    bool fixed = false;
    std::uint16_t number = 0;
    std::uint16_t varIndex = 0;
    std::uint16_t fixedOffset = 0;
    std::uint8_t flags = 0;    // extra flag bits besides fixed/nullable
    std::uint8_t precision = 0, scale = 0;
};

struct Table {
    std::vector<Column> columns;  // descriptor order; no indexes
    std::uint32_t rowCount = 0;
    std::uint32_t ownedMap = 0;  // stored row pointer of the usage map
    std::uint16_t maxColumns = 0;  // 0: the column count
};

inline Table tableOf(std::vector<Column> columns) {
    Table t;
    t.columns = std::move(columns);
    return t;
}

// Columns with numbers, variable indexes and fixed offsets assigned in the
// order given, the way a freshly created table has them.
std::vector<Column> layoutColumns(const format::JetFormat& fmt, std::vector<Column> columns);

// One value per column in `Table::columns`: nullopt is Null; a Boolean's
// value is a one-byte vector {0} or {1}; fixed values in stored byte form.
using RowValues = std::vector<std::optional<Bytes>>;

// The bytes of one row, short enough that a Jet 3 row needs no jump table.
// `storedColumns` (0: all) lets a test write a row from before later
// columns were added.
Bytes encodeRow(const format::JetFormat& fmt, const std::vector<Column>& columns, const RowValues& values,
                std::size_t storedColumns = 0);

// Table definition bytes, to be split over pages by Database::addTdef.
Bytes encodeTdefBody(const format::JetFormat& fmt, const Table& table);

// Text in stored form: code page bytes (Jet 3, the input taken as Latin-1
// compatible ASCII) or UCS-2.
Bytes storedText(const format::JetFormat& fmt, const std::string& ascii);

struct Slot {
    Bytes bytes;
    bool deleted = false;
    bool overflow = false;
};

class Database {
public:
    explicit Database(const format::JetFormat& fmt, std::uint16_t codePage = 1252);

    const format::JetFormat& format() const { return fmt_; }
    std::uint32_t addPage();  // zero-filled
    Bytes& page(std::uint32_t n) { return pages_.at(n); }
    std::uint32_t pageCount() const { return static_cast<std::uint32_t>(pages_.size()); }

    // A data page (type 0x01) owned by `owner` ("LVAL" for long values).
    std::uint32_t addDataPage(std::uint32_t owner, const std::vector<Slot>& slots);
    // Writes `body` as a table definition starting on page `first`,
    // continuing on new pages when it does not fit.
    void writeTdef(std::uint32_t first, const Bytes& body);
    // An inline usage map row marking `pages`; returns its stored pointer.
    std::uint32_t addInlineUsageMap(const std::vector<std::uint32_t>& pages);

    void setPassword(const std::string& ascii);
    void setEncodingKey(std::uint32_t key) { encodingKey_ = key; }
    void setSortOrder(std::uint16_t id) { sortOrder_ = id; }
    void setCreationDate(double d) { creationDate_ = d; }

    // The file: header masked, pages encoded when an encoding key is set.
    Bytes bytes() const;

    static constexpr std::uint32_t kLval = 0x4C41564C;  // "LVAL"

private:
    const format::JetFormat& fmt_;
    std::vector<Bytes> pages_;
    std::uint16_t codePage_;
    std::uint16_t sortOrder_ = 0x409;
    std::uint32_t encodingKey_ = 0;
    double creationDate_ = 38000.5;
    Bytes password_;
};

inline std::uint32_t pointer(std::uint32_t page, std::uint8_t row) { return (page << 8) | row; }

// A long-value field (12 bytes, plus the data when inline).
Bytes longValueInline(const Bytes& data);
Bytes longValueSingle(std::uint32_t length, std::uint32_t rowPointer);
Bytes longValueChain(std::uint32_t length, std::uint32_t firstRowPointer);

Bytes le32(std::uint32_t v);
Bytes le64(std::uint64_t v);
Bytes leDouble(double v);

}  // namespace fixture
