// Writing one table: a new table's pages (definition, usage maps, empty
// index leaves), and rows added, replaced and deleted with every index of the
// table kept in step. Everything goes into a PageStore, so that a failure
// (3022 on a unique index, a value that does not convert, an index page that
// would overflow) leaves the file as it was: the caller drops the store.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "jet/value.h"
#include "storage/table_definition.h"
#include "storage/table_reader.h"
#include "write/index_key.h"
#include "write/index_page.h"
#include "write/page_store.h"

namespace jet::write {

class TableWriter {
public:
    // A writer for the table `def` describes (def.tdefPage set). `def` is
    // updated as rows come and go; saveDefinition() stores it.
    TableWriter(PageStore& store, storage::TableDefinition& def, std::uint16_t codePage);

    // Gives `def` (columns and indexes filled in, pages not yet) its pages:
    // the definition page, its usage maps, one empty leaf per real index;
    // writes the definition. Returns the definition page.
    static std::uint32_t create(PageStore& store, storage::TableDefinition& def, std::uint16_t codePage);

    // Adds a row (values in def.columns order); auto-numbers given as Null
    // are assigned. Returns where the row went. Throws jet::Error 3022 when
    // a unique index already holds the key, 3058 when a required index key
    // is Null.
    storage::RowPointer insert(std::vector<Value> values);
    // Deletes the row at `where` and its index entries. Given the row's
    // values (`stored`, as read), each entry is found through its key;
    // otherwise, or when a key does not lead to it, every leaf is searched.
    void remove(storage::RowPointer where, const std::vector<Value>* stored = nullptr);
    // Replaces the row at `where` (holding `stored` when given) by `values`;
    // the row may move. Returns where it is now.
    storage::RowPointer replace(storage::RowPointer where, std::vector<Value> values,
                                const std::vector<Value>* stored = nullptr);

    // Rows inserted from now on follow each other in the table's stored
    // order (the order a scan and equal index keys give them): each goes to
    // the table's last page or a new one, never back into room on an
    // earlier page. The rows of a saved query are read in that order.
    void keepInsertionOrder() { inOrder_ = true; }

    // Adds `real` (columns and flags set) to the table with its usage map and
    // root leaf, and enters `rows` (the table's rows as read, with where each
    // lies) into it. Returns its number among the real indexes. Throws 3022
    // when it is unique and two rows share a key; saveDefinition() stores it.
    std::uint32_t addRealIndex(storage::RealIndex real, const std::vector<storage::Row>& rows);

    // Writes the definition (row counts, next auto-number) back.
    void saveDefinition();

    // Whether every text key written so far used exact General-order codes.
    bool keysExact() const { return keysExact_; }

private:
    void addIndexEntries(const std::vector<Value>& values, storage::RowPointer where);
    void addIndexEntry(storage::RealIndex& real, const std::vector<Value>& values, storage::RowPointer where);
    void removeIndexEntries(storage::RowPointer where, const std::vector<Value>* stored);
    // The entry `values` give in `index`, or nullopt when the index leaves
    // such a row out; `anyNull` tells whether a key column is Null.
    std::optional<IndexEntry> entryFor(const storage::RealIndex& index, const std::vector<Value>& values,
                                       storage::RowPointer where, bool* anyNull);
    storage::RowPointer placeRow(const std::vector<std::uint8_t>& row);
    std::vector<std::uint8_t> storeLongValue(std::span<const std::uint8_t> data);
    std::uint32_t newDataPage(std::uint32_t owner);

    PageStore& store_;
    storage::TableDefinition& def_;
    std::uint16_t codePage_;
    std::uint32_t longValuePage_ = 0;
    bool keysExact_ = true;
    bool inOrder_ = false;
};

}  // namespace jet::write
