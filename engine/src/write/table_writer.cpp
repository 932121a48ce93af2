#include "write/table_writer.h"

#include <algorithm>

#include "jet/error.h"
#include "storage/table_reader.h"
#include "write/bytes.h"
#include "write/data_page_writer.h"
#include "write/free_page_map.h"
#include "write/index_page.h"
#include "write/index_writer.h"
#include "write/row_encoder.h"
#include "write/tdef_writer.h"

namespace jet::write {
namespace {

constexpr std::uint32_t kUsageMapOwner = 0;         // data pages holding usage maps
constexpr std::size_t kLongValueInlineLimit = 64;   // longer values leave the row
constexpr std::uint32_t kLongValueInline = 0x80000000u;
constexpr std::uint32_t kLongValueSingle = 0x40000000u;
constexpr std::size_t kLongValueFieldSize = 12;

// Finds room for a usage map row on a data page kept for maps, or makes one.
storage::RowPointer addUsageMap(PageStore& store, std::uint32_t firstPage) {
    const auto& format = store.format();
    const std::vector<std::uint8_t> row = inlineUsageMap(format, firstPage);
    // Look at the last few pages only: a map page is usually recent.
    const std::uint32_t count = store.pageCount();
    for (std::uint32_t n = count; n-- > 2 && n + 16 >= count;) {
        auto page = store.read(n);
        if (page[0] != kDataPageType || get32(page, 4) != kUsageMapOwner) continue;
        if (freeSpace(page, format, n) < row.size() + 2) continue;
        if (auto slot = addRow(store.modify(n), format, n, row)) return {n, *slot};
    }
    const std::uint32_t n = allocatePage(store);
    initDataPage(store.modify(n), format, kUsageMapOwner);
    auto slot = addRow(store.modify(n), format, n, row);
    return {n, *slot};
}

}  // namespace

TableWriter::TableWriter(PageStore& store, storage::TableDefinition& def, std::uint16_t codePage)
    : store_(store), def_(def), codePage_(codePage) {}

std::uint32_t TableWriter::create(PageStore& store, storage::TableDefinition& def, std::uint16_t codePage) {
    const auto& format = store.format();
    const std::uint32_t tdef = allocatePage(store);
    {
        auto page = store.modify(tdef);
        page[0] = storage::kTdefPageType;
        page[1] = 0x01;
    }
    def.tdefPage = tdef;
    // The maps cover the pages from the definition on: the table's pages
    // all come after it.
    def.ownedPages = addUsageMap(store, tdef);
    def.freePages = addUsageMap(store, tdef);
    for (auto& real : def.realIndexes) {
        real.usageMap = addUsageMap(store, tdef);
        real.firstPage = allocatePage(store);
        writeEmptyLeaf(store.modify(real.firstPage), format, tdef);
        addToUsageMap(store, real.usageMap, real.firstPage);
        real.rowCount = 0;
    }
    def.rowCount = 0;
    writeTableDefinition(store, tdef, def, codePage);
    return tdef;
}

void TableWriter::saveDefinition() { writeTableDefinition(store_, def_.tdefPage, def_, codePage_); }

std::uint32_t TableWriter::newDataPage(std::uint32_t owner) {
    const std::uint32_t n = allocatePage(store_);
    initDataPage(store_.modify(n), store_.format(), owner);
    // Long-value pages belong to no table's map: readers that walk a
    // table's map expect only the table's own data pages there.
    if (owner == kLongValueOwner) return n;
    addToUsageMap(store_, def_.ownedPages, n);
    addToUsageMap(store_, def_.freePages, n);
    return n;
}

storage::RowPointer TableWriter::placeRow(const std::vector<std::uint8_t>& row) {
    const auto& format = store_.format();
    if (row.size() + 2 > format.pageSize - format.dataRowTableOffset)
        throw Error(kErrRecordTooLarge, "Record is too large.");
    auto pages = usageMapPages(store_, def_.ownedPages);
    for (auto it = pages.rbegin(); it != pages.rend(); ++it) {
        if (inOrder_ && it != pages.rbegin()) break;
        if (*it >= store_.pageCount()) continue;
        auto page = store_.read(*it);
        if (page[0] != kDataPageType || get32(page, 4) != def_.tdefPage) continue;
        if (freeSpace(page, format, *it) < row.size() + 2) continue;
        if (auto slot = addRow(store_.modify(*it), format, *it, row)) return {*it, *slot};
    }
    const std::uint32_t n = newDataPage(def_.tdefPage);
    return {n, *addRow(store_.modify(n), format, n, row)};
}

std::vector<std::uint8_t> TableWriter::storeLongValue(std::span<const std::uint8_t> data) {
    const auto& format = store_.format();
    std::vector<std::uint8_t> field(kLongValueFieldSize, 0);
    if (data.size() >= (1u << 30)) throw Error(kErrRecordTooLarge, "Record is too large.");
    const auto length = static_cast<std::uint32_t>(data.size());
    if (data.size() <= kLongValueInlineLimit) {
        put32(field, 0, length | kLongValueInline);
        field.insert(field.end(), data.begin(), data.end());
        return field;
    }
    auto place = [&](std::span<const std::uint8_t> part) -> storage::RowPointer {
        if (longValuePage_ != 0) {
            if (auto slot = addRow(store_.modify(longValuePage_), format, longValuePage_, part))
                return {longValuePage_, *slot};
        }
        longValuePage_ = newDataPage(kLongValueOwner);
        return {longValuePage_, *addRow(store_.modify(longValuePage_), format, longValuePage_, part)};
    };
    const std::size_t room = format.pageSize - format.dataRowTableOffset - 2;
    if (data.size() <= room) {
        put32(field, 0, length | kLongValueSingle);
        put32(field, 4, place(data).stored());
        return field;
    }
    // A chain: each part starts with the pointer to the next; write the
    // parts from the last so that each knows its successor.
    const std::size_t partSize = room - 4;
    std::vector<std::span<const std::uint8_t>> parts;
    for (std::size_t at = 0; at < data.size(); at += partSize)
        parts.push_back(data.subspan(at, std::min(partSize, data.size() - at)));
    storage::RowPointer next;
    for (auto it = parts.rbegin(); it != parts.rend(); ++it) {
        std::vector<std::uint8_t> row(4, 0);
        put32(row, 0, next.stored());
        row.insert(row.end(), it->begin(), it->end());
        longValuePage_ = 0;  // each part of a chain takes a page of its own
        next = place(row);
    }
    put32(field, 0, length);
    put32(field, 4, next.stored());
    return field;
}

std::optional<IndexEntry> TableWriter::entryFor(const storage::RealIndex& index, const std::vector<Value>& values,
                                                storage::RowPointer where, bool* anyNull) {
    auto columns = indexKeyColumns(def_, index);
    bool someNull = false, allNull = true;
    for (const auto& kc : columns) {
        const auto position = static_cast<std::size_t>(def_.columnPosition(kc.column->number));
        const bool null = position >= values.size() || isNull(values[position]);
        someNull = someNull || null;
        allNull = allNull && null;
    }
    if (index.required() && someNull) throw Error(kErrIndexNull, "Index or primary key cannot contain a Null value.");
    if (anyNull) *anyNull = someNull;
    if (index.ignoreNulls() && allNull) return std::nullopt;
    bool exact = true;
    IndexEntry entry{indexKey(columns, values, def_, store_.format().isJet3(), &exact), where};
    keysExact_ = keysExact_ && exact;
    return entry;
}

void TableWriter::addIndexEntry(storage::RealIndex& real, const std::vector<Value>& values, storage::RowPointer where) {
    bool anyNull = false;
    auto entry = entryFor(real, values, where, &anyNull);
    // Keys holding a Null are not checked for uniqueness.
    if (entry) insertIndexEntry(store_, def_.tdefPage, real, std::move(*entry), real.unique() && !anyNull);
}

void TableWriter::addIndexEntries(const std::vector<Value>& values, storage::RowPointer where) {
    for (auto& real : def_.realIndexes) addIndexEntry(real, values, where);
}

std::uint32_t TableWriter::addRealIndex(storage::RealIndex real, const std::vector<storage::Row>& rows) {
    real.usageMap = addUsageMap(store_, def_.tdefPage);
    real.firstPage = allocatePage(store_);
    writeEmptyLeaf(store_.modify(real.firstPage), store_.format(), def_.tdefPage);
    addToUsageMap(store_, real.usageMap, real.firstPage);
    real.rowCount = 0;
    def_.realIndexes.push_back(std::move(real));
    const auto number = static_cast<std::uint32_t>(def_.realIndexes.size() - 1);
    for (const auto& row : rows) addIndexEntry(def_.realIndexes.back(), row.values, row.location);
    return number;
}

void TableWriter::removeIndexEntries(storage::RowPointer where, const std::vector<Value>* stored) {
    for (auto& real : def_.realIndexes) {
        std::optional<IndexEntry> entry;
        if (stored) {
            bool leftOut = false;
            try {
                entry = entryFor(real, *stored, where, nullptr);
                leftOut = !entry;
            } catch (const Error&) {
                // A Null where the index now requires a value: search for
                // the entry below.
            }
            if (leftOut) continue;
        }
        if (!entry || !removeIndexEntry(store_, def_.tdefPage, real, *entry))
            write::removeIndexEntries(store_, def_.tdefPage, real, where);
    }
}

storage::RowPointer TableWriter::insert(std::vector<Value> values) {
    values.resize(def_.columns.size());
    for (std::size_t i = 0; i < def_.columns.size(); ++i) {
        const auto& c = def_.columns[i];
        if ((c.flags & storage::colflag::kAutoLong) != 0 && isNull(values[i]))
            values[i] = static_cast<std::int32_t>(++def_.nextAutoNumber);
    }
    auto row = encodeRow(def_, values, store_.format(), codePage_,
                         [this](std::span<const std::uint8_t> data) { return storeLongValue(data); });
    const storage::RowPointer where = placeRow(row);
    addIndexEntries(values, where);
    ++def_.rowCount;
    return where;
}

void TableWriter::remove(storage::RowPointer where, const std::vector<Value>* stored) {
    if (where.page >= store_.pageCount()) throw Error(kErrNoCurrentRecord, "No current record.");
    auto page = store_.read(where.page);
    if (page[0] != kDataPageType || get32(page, 4) != def_.tdefPage)
        throw Error(kErrNoCurrentRecord, "No current record.");
    if (where.row >= get16(page, store_.format().dataRowCountOffset) ||
        (get16(page, store_.format().dataRowTableOffset + 2 * where.row) & kRowDeleted))
        throw Error(kErrNoCurrentRecord, "No current record.");
    markDeleted(store_.modify(where.page), store_.format(), where.page, where.row);
    removeIndexEntries(where, stored);
    if (def_.rowCount > 0) --def_.rowCount;
}

storage::RowPointer TableWriter::replace(storage::RowPointer where, std::vector<Value> values,
                                         const std::vector<Value>* stored) {
    remove(where, stored);
    return insert(std::move(values));
}

}  // namespace jet::write
