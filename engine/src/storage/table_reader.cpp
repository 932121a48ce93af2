#include "storage/table_reader.h"

#include <algorithm>
#include <optional>

#include "format/byte_reader.h"
#include "jet/error.h"
#include "storage/data_page.h"
#include "storage/long_value.h"
#include "storage/text_codec.h"
#include "storage/usage_map.h"

namespace jet::storage {
namespace {

constexpr std::size_t kJet3JumpSpan = 256;   // jet-format.md#rows
constexpr std::uint8_t kNumericNegative = 0x80;  // jet-format.md#fixed-values
constexpr int kMaxOverflowHops = 16;          // overflow rows point at most once in practice
constexpr std::size_t kCalculatedLengthOffset = 16;  // jet-format.md#calculated
constexpr std::size_t kCalculatedDataOffset = 20;    // jet-format.md#calculated

// Stored width of a fixed-length value; 0 when the column's own length is used.
std::size_t fixedWidth(std::uint8_t type) {
    switch (type) {  // jet-format.md#column-types
    case coltype::kBoolean: return 0;
    case coltype::kByte: return 1;
    case coltype::kInteger: return 2;
    case coltype::kLong:
    case coltype::kSingle:
    case coltype::kComplex: return 4;
    case coltype::kCurrency:
    case coltype::kDouble:
    case coltype::kDateTime:
    case coltype::kBigInt: return 8;
    case coltype::kGuid: return 16;
    case coltype::kNumeric: return 17;
    default: return 0;
    }
}

jet::Decimal readDecimal(const format::ByteReader& in, std::size_t at, const ColumnDef& column) {
    jet::Decimal d;
    d.negative = (in.u8(at) & kNumericNegative) != 0;
    d.scale = column.scale;
    d.precision = column.precision;
    // Four little-endian words follow, the most significant first; the top
    // word is beyond Decimal's 96 bits and always zero in valid data.
    if (in.u32(at + 1) != 0) in.fail("decimal value wider than 96 bits", at);
    d.magnitude[2] = in.u32(at + 5);
    d.magnitude[1] = in.u32(at + 9);
    d.magnitude[0] = in.u32(at + 13);
    return d;
}

jet::Value fixedValue(const format::ByteReader& in, std::size_t at, const ColumnDef& column, io::PageFile& file) {
    switch (column.type) {
    case coltype::kByte: return in.u8(at);
    case coltype::kInteger: return in.i16(at);
    case coltype::kLong:
    case coltype::kComplex: return in.i32(at);
    case coltype::kCurrency: return jet::Currency{in.i64(at)};
    case coltype::kSingle: return in.f32(at);
    case coltype::kDouble: return in.f64(at);
    case coltype::kDateTime: return jet::DateTime{in.f64(at)};
    case coltype::kBigInt: return in.i64(at);
    case coltype::kGuid: {
        jet::Guid g;
        auto bytes = in.bytes(at, g.bytes.size());
        std::copy(bytes.begin(), bytes.end(), g.bytes.begin());
        return g;
    }
    case coltype::kNumeric: return readDecimal(in, at, column);
    case coltype::kText: {
        auto bytes = in.bytes(at, column.length);
        return decodeText(bytes, file.format(), column.codePage ? column.codePage : file.header().codePage);
    }
    case coltype::kExtDateTime: {
        // Stored as ASCII text; kept as the text so nothing is lost.
        auto bytes = in.bytes(at, column.length);
        std::string text(bytes.begin(), bytes.end());
        while (!text.empty() && (text.back() == '\0' || text.back() == ' ')) text.pop_back();
        return text;
    }
    default: {
        auto bytes = in.bytes(at, column.length);
        return jet::Bytes(bytes.begin(), bytes.end());
    }
    }
}

jet::Value variableValue(std::span<const std::uint8_t> bytes, const ColumnDef& column, io::PageFile& file,
                         RowPointer where) {
    const std::uint16_t codePage = column.codePage ? column.codePage : file.header().codePage;
    if (const std::size_t width = fixedWidth(column.type); width != 0) {
        // A fixed-size type kept among the variable columns (seen in system
        // tables) is still decoded by its type.
        format::ByteReader in(bytes, where.page, "column '" + column.name + "'", file.path());
        return fixedValue(in, 0, column, file);
    }
    switch (column.type) {
    case coltype::kText: return decodeText(bytes, file.format(), codePage);
    case coltype::kMemo:
        if (bytes.empty()) return std::string();
        return decodeText(readLongValue(file, bytes), file.format(), codePage);
    case coltype::kOle:
        if (bytes.empty()) return jet::Bytes();
        return readLongValue(file, bytes);
    default: return jet::Bytes(bytes.begin(), bytes.end());
    }
}

// A calculated column (ACE 14+) stores its last result behind a 20-byte
// prefix whose bytes 16-19 give the result's length.
jet::Value calculatedValue(std::span<const std::uint8_t> raw, const ColumnDef& column, io::PageFile& file,
                           RowPointer where) {
    // A result of unbounded length (memo) sits in a long value, prefix and all.
    std::vector<std::uint8_t> longValue;
    if (column.length == 0) {
        if (raw.empty()) return jet::Null{};
        longValue = readLongValue(file, raw);
        raw = longValue;
    }
    format::ByteReader in(raw, where.page, "calculated column '" + column.name + "'", file.path());
    const std::uint32_t length = in.u32(kCalculatedLengthOffset);
    auto inner = in.bytes(kCalculatedDataOffset, length);
    if (column.calculatedType == 0) return jet::Bytes(inner.begin(), inner.end());
    ColumnDef result = column;
    result.type = column.calculatedType;
    result.extFlags = 0;
    if (result.type == coltype::kBoolean) return !inner.empty() && inner[0] != 0;
    if (result.type == coltype::kNumeric) {
        // Calculated decimals keep the 16-byte form of an OLE DECIMAL: a
        // 16-bit word (here the precision), scale, sign, the high 32 bits of
        // the magnitude, then its low 64 bits.
        format::ByteReader value(inner, where.page, "calculated decimal '" + column.name + "'", file.path());
        jet::Decimal d;
        d.precision = static_cast<std::uint8_t>(value.u16(0));
        d.scale = value.u8(2);
        d.negative = (value.u8(3) & kNumericNegative) != 0;
        d.magnitude[2] = value.u32(4);
        d.magnitude[0] = value.u32(8);
        d.magnitude[1] = value.u32(12);
        return d;
    }
    // The long value is already read: a memo result is its text.
    if (result.type == coltype::kMemo) result.type = coltype::kText;
    if (result.type == coltype::kOle) result.type = coltype::kBinary;
    return variableValue(inner, result, file, where);
}

// Offsets of the variable columns in a row, plus the end of the variable
// data as the last entry. `tableStart` receives where the offset table
// begins, which the variable data must not reach past.
std::vector<std::size_t> variableOffsets(const format::ByteReader& in, std::size_t nullMaskAt,
                                         const format::JetFormat& fmt, std::size_t& tableStart) {
    std::vector<std::size_t> offsets;
    if (fmt.rowCountFieldSize == 2) {
        if (nullMaskAt < 2) in.fail("row too short for its variable column count", 0);
        const std::size_t count = in.u16(nullMaskAt - 2);
        if ((count + 1) * 2 + 2 > nullMaskAt) in.fail("variable column count " + std::to_string(count) + " too large", nullMaskAt - 2);
        offsets.resize(count + 1);
        for (std::size_t i = 0; i <= count; ++i) offsets[i] = in.u16(nullMaskAt - 2 - 2 * (i + 1));
        tableStart = nullMaskAt - 2 - 2 * (count + 1);
        return offsets;
    }
    // Jet 3 keeps one byte per offset; a jump table before the count says
    // from which column on each further 256 must be added.
    if (nullMaskAt < 1) in.fail("row too short for its variable column count", 0);
    const std::size_t count = in.u8(nullMaskAt - 1);
    const std::size_t jumps = (in.size() - 1) / kJet3JumpSpan;
    if (count + 1 + jumps + 1 > nullMaskAt) in.fail("variable column count " + std::to_string(count) + " too large", nullMaskAt - 1);
    const std::size_t jumpAt = nullMaskAt - 1 - jumps;  // lowest jump entry
    const std::size_t tableEnd = jumpAt;                 // var table ends below the jumps
    offsets.resize(count + 1);
    for (std::size_t i = 0; i <= count; ++i) {
        std::size_t high = 0;
        for (std::size_t j = 0; j < jumps; ++j)
            if (in.u8(jumpAt + j) <= i) ++high;
        offsets[i] = in.u8(tableEnd - 1 - i) + kJet3JumpSpan * high;
    }
    tableStart = tableEnd - 1 - count;
    return offsets;
}

}  // namespace

std::vector<jet::Value> decodeRow(io::PageFile& file, const TableDefinition& def, std::span<const std::uint8_t> bytes,
                                  RowPointer where) {
    const auto& fmt = file.format();
    format::ByteReader in(bytes, where.page, "row " + std::to_string(where.row), file.path());
    const std::size_t countSize = fmt.rowCountFieldSize;
    const std::size_t columnCount = countSize == 1 ? in.u8(0) : in.u16(0);
    const std::size_t maskSize = (columnCount + 7) / 8;
    if (maskSize + countSize > in.size()) in.fail("null mask of " + std::to_string(columnCount) + " columns does not fit", 0);
    const std::size_t maskAt = in.size() - maskSize;
    auto present = [&](std::uint16_t number) {
        if (number >= columnCount) return false;
        return (in.u8(maskAt + number / 8) & (1u << (number % 8))) != 0;
    };

    std::vector<std::size_t> offsets;
    std::size_t tableStart = maskAt;
    if (def.variableColumnCount > 0) offsets = variableOffsets(in, maskAt, fmt, tableStart);
    const std::size_t varDataEnd = offsets.empty() ? maskAt : offsets.back();
    if (varDataEnd > tableStart) in.fail("variable data ends past the offset table", tableStart);

    std::vector<jet::Value> values(def.columns.size());
    for (std::size_t i = 0; i < def.columns.size(); ++i) {
        const ColumnDef& column = def.columns[i];
        const bool calculated = column.isCalculated();
        if (column.type == coltype::kBoolean && !calculated) {
            values[i] = present(column.number);
            continue;
        }
        if (!present(column.number)) continue;  // Null
        if (column.isFixed()) {
            const std::size_t width = fixedWidth(column.type);
            const std::size_t at = countSize + column.fixedOffset;
            const std::size_t size = width ? width : column.length;
            // A row written before the column was added has no room for it.
            const std::size_t fixedEnd = offsets.empty() ? tableStart : offsets.front();
            if (at + size > fixedEnd) continue;
            values[i] = calculated ? calculatedValue(in.bytes(at, size), column, file, where)
                                   : fixedValue(in, at, column, file);
        } else {
            if (column.varIndex + 1u >= offsets.size()) continue;  // the row predates the column
            const std::size_t start = offsets[column.varIndex];
            const std::size_t end = offsets[column.varIndex + 1];
            if (start > end || end > varDataEnd)
                in.fail("variable column '" + column.name + "' spans [" + std::to_string(start) + ", " +
                            std::to_string(end) + ")",
                        start);
            auto raw = in.bytes(start, end - start);
            values[i] = calculated ? calculatedValue(raw, column, file, where) : variableValue(raw, column, file, where);
        }
    }
    return values;
}

TableReader::TableReader(io::PageFile& file, const TableDefinition& def)
    : file_(file), def_(def), pages_(readUsageMap(file, def.ownedPages)) {}

void TableReader::rewind() {
    pageIndex_ = 0;
    slot_ = 0;
    scanPageRead_ = false;
}

std::optional<std::span<const std::uint8_t>> TableReader::resolve(RowPointer where, const io::Page* current) {
    for (int hop = 0; hop <= kMaxOverflowHops; ++hop) {
        file_.checkPageNumber(where.page, "row pointer");
        DataPage page = current && current->number == where.page ? DataPage(file_, *current) : DataPage(file_, where.page);
        if (page.owner() != def_.tdefPage || where.row >= page.rowCount()) return std::nullopt;
        RowSlot slot = page.row(where.row);
        // Only the first slot may be deleted for real; later hops land on
        // overflow targets, which carry the deleted flag by design.
        if (slot.deleted && hop == 0) return std::nullopt;
        if (!slot.overflow) {
            if (slot.bytes.empty() && slot.deleted) return std::nullopt;
            return slot.bytes;
        }
        format::ByteReader in(slot.bytes, where.page, "overflow row", file_.path());
        where = RowPointer::fromStored(in.u32(0));
    }
    format::ByteReader({}, where.page, "overflow row", file_.path()).fail("overflow rows chain too long", 0);
}

std::optional<Row> TableReader::readAt(RowPointer where) {
    auto bytes = resolve(where);
    if (!bytes) return std::nullopt;
    Row row;
    row.location = where;
    row.values = decodeRow(file_, def_, *bytes, where);
    return row;
}

void TableReader::nextPage() {
    ++pageIndex_;
    slot_ = 0;
    scanPageRead_ = false;
}

bool TableReader::next(Row& row) {
    while (pageIndex_ < pages_.size()) {
        const std::uint32_t number = pages_[pageIndex_];
        std::optional<DataPage> page;
        try {
            if (!scanPageRead_) {
                scanPage_ = file_.transientPage(number, scanBuffer_);
                scanPageRead_ = true;
            }
            if (scanPage_.bytes[0] == kDataPageType) page.emplace(file_, scanPage_);
        } catch (const jet::Error&) {
            nextPage();  // a caller that goes on after the error starts on the next page
            throw;
        }
        // The map may list pages since reused for other tables or kinds.
        // A row pointer addresses 256 slots at most.
        if (!page || page->owner() != def_.tdefPage || slot_ >= page->rowCount() || slot_ > 0xFF) {
            nextPage();
            continue;
        }
        const RowPointer where{number, static_cast<std::uint8_t>(slot_)};
        ++slot_;
        auto bytes = resolve(where, &scanPage_);
        if (!bytes) continue;
        row.location = where;
        row.values = decodeRow(file_, def_, *bytes, where);
        return true;
    }
    return false;
}

}  // namespace jet::storage
