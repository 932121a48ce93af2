#include "write/tdef_writer.h"

#include <algorithm>

#include "jet/error.h"
#include "write/bytes.h"
#include "write/free_page_map.h"
#include "write/text_encoder.h"

namespace jet::write {
namespace {

constexpr std::size_t kPageHeader = 8;      // type, 0x01, free space or magic, next page
constexpr std::size_t kMaxIndexColumns = 10;
constexpr std::uint16_t kNoColumn = 0xFFFF;
// Access writes 0x00 for a descending column (readers take anything but
// 0x01 as descending, but some take only 0x00).
constexpr std::uint8_t kAscending = 0x01;
constexpr std::uint8_t kDescending = 0x00;
// Jet 4 opens every column descriptor and logical index entry with 1625,
// and every real index entry with 1923: constants Access always writes.
constexpr std::uint32_t kJet4TableMagic = 1625;
constexpr std::uint32_t kJet4IndexMagic = 1923;
// Every Jet 4 real index Access writes has this bit among its flags; Jet 3
// never sets it.
constexpr std::uint8_t kJet4IndexFlag = 0x80;
constexpr std::uint16_t kJet3Magic = 0x4356;  // "VC", where Jet 4 keeps the free space
constexpr std::uint16_t kEndOfColumnMaps = 0xFFFF;

bool isTextual(std::uint8_t type) { return type == storage::coltype::kText || type == storage::coltype::kMemo; }

void putName(ByteWriter& out, const std::string& name, const format::JetFormat& format, std::uint16_t codePage) {
    auto bytes = encodeText(name, format, codePage);
    if (format.nameLengthSize == 1) out.u8(static_cast<std::uint8_t>(bytes.size()));
    else out.u16(static_cast<std::uint16_t>(bytes.size()));
    out.append(bytes);
}

void putColumn(ByteWriter& out, const storage::ColumnDef& c, const format::JetFormat& format,
               std::uint16_t codePage) {
    const bool jet3 = format.isJet3();
    out.u8(c.type);
    if (!jet3) out.u32(kJet4TableMagic);
    out.u16(c.number);
    out.u16(c.varIndex);
    if (jet3) out.u32(0);
    else out.u16(0);
    if (c.type == storage::coltype::kNumeric) {
        out.u8(c.precision);
        out.u8(c.scale);
    } else {
        out.u16(isTextual(c.type) ? c.sortOrder : 0);
    }
    if (jet3) out.u16(isTextual(c.type) ? codePage : 0);
    else out.u16(0);
    out.u8(c.flags);
    if (!jet3) {
        out.u8(c.extFlags);
        out.u32(0);
    }
    out.u16(c.fixedOffset);
    out.u16(c.length);
}

}  // namespace

std::vector<std::uint8_t> encodeTableDefinition(const storage::TableDefinition& def,
                                                const format::JetFormat& format, std::uint16_t codePage) {
    const bool jet3 = format.isJet3();
    ByteWriter out;
    out.fill(format.tdefHeaderEnd);
    auto header = std::span<std::uint8_t>(out.bytes());
    header[0] = storage::kTdefPageType;
    header[1] = 0x01;
    put32(header, format.tdefRowCountOffset, def.rowCount);
    put32(header, format.tdefAutoNumberOffset, def.nextAutoNumber);
    header[format.tdefTableTypeOffset] = def.tableType;
    put16(header, format.tdefMaxColumnsOffset, def.maxColumns);
    put16(header, format.tdefVarColumnsOffset, def.variableColumnCount);
    put16(header, format.tdefColumnCountOffset, static_cast<std::uint16_t>(def.columns.size()));
    put32(header, format.tdefLogicalIndexCountOffset, static_cast<std::uint32_t>(def.logicalIndexes.size()));
    put32(header, format.tdefRealIndexCountOffset, static_cast<std::uint32_t>(def.realIndexes.size()));
    put32(header, format.tdefOwnedPagesOffset, def.ownedPages.stored());
    put32(header, format.tdefFreePagesOffset, def.freePages.stored());

    for (const auto& real : def.realIndexes) {
        out.u32(0);
        out.u32(real.rowCount);
        if (!jet3) out.u32(0);
    }
    for (const auto& column : def.columns) putColumn(out, column, format, codePage);
    for (const auto& column : def.columns) putName(out, column.name, format, codePage);
    for (const auto& real : def.realIndexes) {
        if (real.columns.size() > kMaxIndexColumns)
            throw Error(kErrInvalidArgument, "Invalid argument.", "more than 10 index columns");
        if (!jet3) out.u32(kJet4IndexMagic);
        for (std::size_t i = 0; i < kMaxIndexColumns; ++i) {
            if (i < real.columns.size()) {
                out.u16(real.columns[i].columnNumber);
                out.u8(real.columns[i].ascending ? kAscending : kDescending);
            } else {
                out.u16(kNoColumn);
                out.u8(0);
            }
        }
        out.u32(real.usageMap.stored());
        out.u32(real.firstPage);
        if (!jet3) out.u32(0);
        out.u8(jet3 ? real.flags : static_cast<std::uint8_t>(real.flags | kJet4IndexFlag));
        if (!jet3) out.fill(5);
    }
    for (const auto& logical : def.logicalIndexes) {
        if (!jet3) out.u32(kJet4TableMagic);
        out.u32(logical.indexNumber);
        out.u32(logical.realIndexNumber);
        out.u8(logical.relatedTableType);
        out.u32(static_cast<std::uint32_t>(logical.relatedIndexNumber));
        out.u32(logical.relatedTablePage);
        out.u8(logical.cascadeUpdates);
        out.u8(logical.cascadeDeletes);
        out.u8(logical.indexType);
        if (!jet3) out.u32(0);
    }
    for (const auto& logical : def.logicalIndexes) putName(out, logical.name, format, codePage);
    if (!jet3) {
        for (const auto& maps : def.columnUsageMaps) {
            out.u16(maps.columnNumber);
            out.u32(maps.ownedPages.stored());
            out.u32(maps.freePages.stored());
        }
        out.u16(kEndOfColumnMaps);
    }
    auto& bytes = out.bytes();
    put32(bytes, kPageHeader, static_cast<std::uint32_t>(bytes.size() - kPageHeader));
    return bytes;
}

std::vector<std::uint32_t> writeTableDefinition(PageStore& store, std::uint32_t firstPage,
                                                const storage::TableDefinition& def, std::uint16_t codePage) {
    const auto& format = store.format();
    const std::vector<std::uint8_t> bytes = encodeTableDefinition(def, format, codePage);
    const std::size_t pageSize = format.pageSize;

    // The chain the definition had (continuations are reused).
    std::vector<std::uint32_t> chain{firstPage};
    {
        auto page = store.read(firstPage);
        std::uint32_t next = page[0] == storage::kTdefPageType ? get32(page, 4) : 0;
        while (next != 0 && next < store.pageCount() &&
               std::find(chain.begin(), chain.end(), next) == chain.end()) {
            auto continuation = store.read(next);
            if (continuation[0] != storage::kTdefPageType) break;
            chain.push_back(next);
            next = get32(continuation, 4);
        }
    }
    std::vector<std::uint32_t> used;
    std::size_t at = 0;
    for (std::size_t n = 0; at < bytes.size() || n == 0; ++n) {
        std::uint32_t number;
        if (n < chain.size()) number = chain[n];
        else number = allocatePage(store);
        used.push_back(number);
        auto page = store.modify(number);
        std::fill(page.begin(), page.end(), 0);
        std::size_t take;
        if (n == 0) {
            take = std::min(bytes.size(), pageSize);
            std::copy(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(take), page.begin());
        } else {
            take = std::min(bytes.size() - at, pageSize - kPageHeader);
            std::copy(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                      bytes.begin() + static_cast<std::ptrdiff_t>(at + take), page.begin() + kPageHeader);
        }
        page[0] = storage::kTdefPageType;
        page[1] = 0x01;
        const std::size_t filled = (n == 0 ? 0 : kPageHeader) + take;
        put16(page, 2, format.isJet3() ? kJet3Magic : static_cast<std::uint16_t>(pageSize - filled));
        at += take;
    }
    // Link the chain; pages the shorter definition no longer needs stay
    // TDEF pages nobody refers to.
    for (std::size_t i = 0; i < used.size(); ++i)
        put32(store.modify(used[i]), 4, i + 1 < used.size() ? used[i + 1] : 0);
    return used;
}

}  // namespace jet::write
