#include "storage/table_definition.h"

#include <algorithm>

#include "format/byte_reader.h"
#include "jet/collection.h"
#include "storage/text_codec.h"

namespace jet::storage {
namespace {

constexpr std::size_t kTdefNextPageOffset = 4;    // jet-format.md#tdef
constexpr std::size_t kTdefPageHeaderSize = 8;    // jet-format.md#tdef
constexpr std::size_t kComplexAutoNumberOffset = 28;  // jet-format.md#tdef (Jet 4+)
constexpr std::size_t kRealIndexRowCountOffset = 4;   // jet-format.md#tdef
constexpr std::size_t kIndexColumnSlots = 10;     // jet-format.md#real-indexes
constexpr std::uint16_t kNoIndexColumn = 0xFFFF;  // jet-format.md#real-indexes
constexpr std::uint8_t kIndexAscending = 0x01;    // jet-format.md#real-indexes
constexpr std::size_t kJet4IndexLeadSize = 4;     // jet-format.md#real-indexes
constexpr std::size_t kJet4BeforeIndexFlags = 4;  // jet-format.md#real-indexes
constexpr std::size_t kJet4AfterIndexFlags = 5;   // jet-format.md#real-indexes
constexpr std::size_t kJet4LogicalTail = 4;       // jet-format.md#logical-indexes

// Column descriptor fields, per version (jet-format.md#columns).
struct ColumnLayout {
    std::size_t number, varIndex, sortOrder, codePage, precision, scale, complexId, flags, extFlags, fixedOffset,
        length;
};
constexpr ColumnLayout kJet3Columns{1, 3, 9, 11, 11, 12, 0, 13, 0, 14, 16};
constexpr ColumnLayout kJet4Columns{5, 7, 11, 0, 11, 12, 11, 15, 16, 21, 23};

// The definition's pages joined into one buffer: the first page whole,
// then each continuation page without its 8-byte header. The pages are
// read past the page cache: the definition is decoded from the copy, and
// keeping every table's definition pages would make an open of a large
// database hold its whole catalog of pages.
void gatherPages(io::PageFile& file, std::uint32_t tdefPage, std::vector<std::uint8_t>& buffer) {
    buffer.clear();
    std::vector<std::uint8_t> scratch;
    std::vector<std::uint32_t> seen;
    std::uint32_t number = tdefPage;
    bool first = true;
    while (number != 0 || first) {
        file.checkPageNumber(number, "table definition");
        // The first page is read straight into the buffer (unless cached).
        io::Page page = file.transientPage(number, first ? buffer : scratch);
        const format::ByteReader in = file.reader(page, "table definition");
        if (std::find(seen.begin(), seen.end(), number) != seen.end())
            in.fail("table definition chain loops", kTdefNextPageOffset);
        seen.push_back(number);
        if (in.u8(0) != kTdefPageType) in.fail("not a table definition page (type " + std::to_string(in.u8(0)) + ")", 0);
        number = in.u32(kTdefNextPageOffset);
        if (first) {
            if (page.bytes.data() != buffer.data()) buffer.assign(page.bytes.begin(), page.bytes.end());
        } else {
            buffer.insert(buffer.end(), page.bytes.begin() + static_cast<std::ptrdiff_t>(kTdefPageHeaderSize),
                          page.bytes.end());
        }
        first = false;
    }
}

std::string readName(format::ByteCursor& in, const io::PageFile& file) {
    const std::size_t length = file.format().nameLengthSize == 1 ? in.u8() : in.u16();
    return decodeText(in.bytes(length), file.format(), file.header().codePage);
}

// Throws unless `count` items of `itemSize` bytes can still follow `at`.
void checkCount(const format::ByteReader& in, std::size_t at, std::uint64_t count, std::size_t itemSize,
                const char* what) {
    if (count * itemSize > in.size())
        in.fail(std::string(what) + " count " + std::to_string(count) + " does not fit the definition", at);
}

}  // namespace

const ColumnDef* TableDefinition::findColumn(const std::string& name) const {
    for (const auto& column : columns)
        if (namesEqual(column.name, name)) return &column;
    return nullptr;
}

int TableDefinition::columnPosition(std::uint16_t number) const {
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].number == number) return static_cast<int>(i);
    return -1;
}

TableDefinition readTableDefinition(io::PageFile& file, std::uint32_t tdefPage) {
    const auto& fmt = file.format();
    // One buffer for every definition a thread reads: an open of many
    // tables reads one definition after another.
    thread_local std::vector<std::uint8_t> buffer;
    gatherPages(file, tdefPage, buffer);
    format::ByteReader in(buffer, tdefPage, "table definition", file.path());

    TableDefinition def;
    def.tdefPage = tdefPage;
    def.rowCount = in.u32(fmt.tdefRowCountOffset);
    def.nextAutoNumber = in.u32(fmt.tdefAutoNumberOffset);
    if (!fmt.isJet3()) def.nextComplexAutoNumber = in.u32(kComplexAutoNumberOffset);
    def.tableType = in.u8(fmt.tdefTableTypeOffset);
    def.maxColumns = in.u16(fmt.tdefMaxColumnsOffset);
    def.variableColumnCount = in.u16(fmt.tdefVarColumnsOffset);
    const std::uint16_t columnCount = in.u16(fmt.tdefColumnCountOffset);
    const std::uint32_t logicalCount = in.u32(fmt.tdefLogicalIndexCountOffset);
    const std::uint32_t realCount = in.u32(fmt.tdefRealIndexCountOffset);
    def.ownedPages = RowPointer::fromStored(in.u32(fmt.tdefOwnedPagesOffset));
    def.freePages = RowPointer::fromStored(in.u32(fmt.tdefFreePagesOffset));

    checkCount(in, fmt.tdefRealIndexCountOffset, realCount, fmt.tdefRealIndexCountSize + fmt.tdefRealIndexSize,
               "real index");
    checkCount(in, fmt.tdefLogicalIndexCountOffset, logicalCount, fmt.tdefLogicalIndexSize, "logical index");
    checkCount(in, fmt.tdefColumnCountOffset, columnCount, fmt.tdefColumnSize, "column");

    format::ByteCursor at(in, fmt.tdefHeaderEnd);
    def.realIndexes.resize(realCount);
    for (auto& index : def.realIndexes) {
        index.rowCount = in.u32(at.position() + kRealIndexRowCountOffset);
        at.skip(fmt.tdefRealIndexCountSize);
    }

    const ColumnLayout& layout = fmt.isJet3() ? kJet3Columns : kJet4Columns;
    def.columns.resize(columnCount);
    for (std::size_t i = 0; i < columnCount; ++i) {
        const std::size_t base = at.position();
        auto& column = def.columns[i];
        column.descriptorIndex = i;
        column.type = in.u8(base);
        column.number = in.u16(base + layout.number);
        column.varIndex = in.u16(base + layout.varIndex);
        column.flags = in.u8(base + layout.flags);
        column.fixedOffset = in.u16(base + layout.fixedOffset);
        column.length = in.u16(base + layout.length);
        if (!fmt.isJet3()) column.extFlags = in.u8(base + layout.extFlags);
        if (column.type == coltype::kNumeric) {
            column.precision = in.u8(base + layout.precision);
            column.scale = in.u8(base + layout.scale);
        } else if (column.type == coltype::kText || column.type == coltype::kMemo) {
            column.sortOrder = in.u16(base + layout.sortOrder);
            if (fmt.isJet3()) column.codePage = in.u16(base + layout.codePage);
        } else if (column.type == coltype::kComplex && !fmt.isJet3()) {
            column.complexId = in.u32(base + layout.complexId);
        }
        at.skip(fmt.tdefColumnSize);
    }
    for (auto& column : def.columns) column.name = readName(at, file);

    for (auto& index : def.realIndexes) {
        if (!fmt.isJet3()) at.skip(kJet4IndexLeadSize);
        for (std::size_t slot = 0; slot < kIndexColumnSlots; ++slot) {
            const std::uint16_t number = at.u16();
            const std::uint8_t order = at.u8();
            if (number != kNoIndexColumn) index.columns.push_back(IndexColumn{number, order == kIndexAscending});
        }
        index.usageMap = RowPointer::fromStored(at.u32());
        index.firstPage = at.u32();
        if (!fmt.isJet3()) at.skip(kJet4BeforeIndexFlags);
        index.flags = at.u8();
        if (!fmt.isJet3()) at.skip(kJet4AfterIndexFlags);
    }

    def.logicalIndexes.resize(logicalCount);
    for (auto& index : def.logicalIndexes) {
        const std::size_t base = at.position();
        if (!fmt.isJet3()) at.skip(kJet4IndexLeadSize);
        index.indexNumber = at.u32();
        index.realIndexNumber = at.u32();
        if (index.realIndexNumber >= realCount)
            in.fail("logical index refers to real index " + std::to_string(index.realIndexNumber), base);
        index.relatedTableType = at.u8();
        index.relatedIndexNumber = at.i32();
        index.relatedTablePage = at.u32();
        index.cascadeUpdates = at.u8();
        index.cascadeDeletes = at.u8();
        index.indexType = at.u8();
        if (!fmt.isJet3()) at.skip(kJet4LogicalTail);
    }
    for (auto& index : def.logicalIndexes) index.name = readName(at, file);

    // Column usage maps follow in Jet 4 and later; older definitions may end
    // before them, so a short tail is not damage.
    if (!fmt.isJet3()) {
        for (std::size_t n = 0; n <= def.maxColumns && in.contains(at.position(), 10); ++n) {
            const std::uint16_t number = at.u16();
            if (number == kNoIndexColumn) break;
            ColumnUsageMaps maps;
            maps.columnNumber = number;
            maps.ownedPages = RowPointer::fromStored(at.u32());
            maps.freePages = RowPointer::fromStored(at.u32());
            def.columnUsageMaps.push_back(maps);
        }
    }
    return def;
}

}  // namespace jet::storage
