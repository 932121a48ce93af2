// Row writes that keep the database's enforced relations, as Jet keeps them
// on every write:
//  - a row of a relation's foreign table whose key is complete (no field
//    Null) must name a row of the primary table, or the write fails with
//    3201;
//  - deleting a primary row, or changing its key, takes its related rows
//    along when the relation cascades deletes (updates), else fails with
//    3200. Cascaded rows cascade further, through any number of relations.
// Everything goes into the caller's PageStore, so that a refusal anywhere
// down a cascade leaves the file as it was, and one commit writes the row
// and all it took along. Relations that are not enforced, or that involve a
// linked table or query, are left alone. docs/jet-writing.md#relations.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "dao/row_changes.h"
#include "jet/value.h"
#include "storage/row_pointer.h"
#include "storage/table_definition.h"

namespace jet {
class DatabaseImpl;
}

namespace jet::write {
class PageStore;
class TableWriter;
}  // namespace jet::write

namespace jet::storage {
class TableReader;
}

namespace jet::dao {

class RelatedWrites {
public:
    RelatedWrites(DatabaseImpl& db, write::PageStore& store);
    ~RelatedWrites();

    // Each writes the row of the table defined on `table`, then whatever the
    // relations ask for. Throw the TableWriter's errors, 3201 and 3200;
    // the store is then to be dropped. `stored` is the row as read.
    storage::RowPointer insert(std::uint32_t table, std::vector<Value> values);
    storage::RowPointer replace(std::uint32_t table, storage::RowPointer where, std::vector<Value> values,
                                const std::vector<Value>& stored);
    void remove(std::uint32_t table, storage::RowPointer where, const std::vector<Value>& stored);

    // Writes back the definitions (row counts, auto-numbers) of the tables
    // written to. Call once, before committing the store.
    void saveDefinitions();

    // Every row written so far, in order; the definitions once saved.
    const CommittedRows& committed() const { return committed_; }

private:
    struct Table;
    struct Link;
    // A related row still to be changed: deleted (no assignments), or given
    // new foreign-key values.
    struct Pending {
        std::uint32_t table = 0;
        storage::RowPointer row;
        bool remove = false;
        std::vector<std::pair<std::size_t, Value>> assignments;  // column position, value
    };

    // A written row whose foreign keys are still to be checked.
    struct Unchecked {
        std::uint32_t table = 0;
        storage::RowPointer row;
        std::optional<std::vector<Value>> before;  // the row as it was; none when new
    };

    Table& table(std::uint32_t page);
    // The enforced relations the table on `page` takes part in, either side.
    const std::vector<Link>& linksOf(std::uint32_t page);
    std::vector<Value> rowAt(std::uint32_t table, storage::RowPointer where);
    // Where a row read before this operation is now; nullopt once deleted.
    std::optional<storage::RowPointer> follow(std::uint32_t table, storage::RowPointer where) const;

    std::optional<std::vector<std::uint8_t>> keyIn(const Link& link, bool primarySide,
                                                   const std::vector<Value>& from, bool fromPrimary);
    std::vector<storage::RowPointer> relatedRows(const Link& link, const std::vector<Value>& primaryValues);
    void requireParents(std::uint32_t table, const std::vector<Value>& values, const std::vector<Value>* before);
    void afterRemove(std::uint32_t table, const std::vector<Value>& stored);
    void afterReplace(std::uint32_t table, storage::RowPointer after, const std::vector<Value>& stored,
                      const std::vector<Value>& values);
    void drain();
    void checkParents();

    storage::RowPointer writeReplace(std::uint32_t table, storage::RowPointer where, std::vector<Value> values,
                                     const std::vector<Value>& stored);
    void writeRemove(std::uint32_t table, storage::RowPointer where, const std::vector<Value>& stored);

    DatabaseImpl& db_;
    write::PageStore& store_;
    bool jet3_;
    std::map<std::uint32_t, std::unique_ptr<Table>> tables_;
    std::map<std::uint32_t, std::vector<Link>> links_;
    CommittedRows committed_;
    std::vector<Pending> pending_;
    std::vector<Unchecked> unchecked_;
    // Rows this operation wrote, by table and stored row pointer: their
    // values as written (the file does not hold them yet), where a replaced
    // row went, and which are gone.
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::vector<Value>> written_;
    std::map<std::pair<std::uint32_t, std::uint32_t>, storage::RowPointer> movedTo_;
    std::set<std::pair<std::uint32_t, std::uint32_t>> gone_;
};

}  // namespace jet::dao
