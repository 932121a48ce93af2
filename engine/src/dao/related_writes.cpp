#include "dao/related_writes.h"

#include "dao/catalog_entries.h"
#include "dao/database_impl.h"
#include "jet/error.h"
#include "jet/types.h"
#include "storage/table_reader.h"
#include "write/index_key.h"
#include "write/index_writer.h"
#include "write/page_store.h"
#include "write/relationship_writer.h"
#include "write/table_writer.h"

namespace jet::dao {
namespace {

using RowKey = std::pair<std::uint32_t, std::uint32_t>;  // table page, stored row pointer

RowKey rowKey(std::uint32_t table, storage::RowPointer where) { return {table, where.stored()}; }

[[noreturn]] void damaged(const std::string& what) {
    throw Error(kErrDamaged, "The database has been damaged. Repair it before use.", what);
}

[[noreturn]] void relatedRecordsExist(const std::string& foreignTable) {
    throw Error(kErrRelatedRecordsExist, "The record cannot be deleted or changed because table '" + foreignTable +
                                             "' includes related records.");
}

[[noreturn]] void relatedRecordRequired(const std::string& primaryTable) {
    throw Error(kErrRelatedRecordRequired,
                "You cannot add or change a record because a related record is required in table '" + primaryTable +
                    "'.");
}

}  // namespace

struct RelatedWrites::Table {
    storage::TableDefinition def;
    std::unique_ptr<write::TableWriter> writer;
    std::unique_ptr<storage::TableReader> reader;  // rows as the file holds them
    bool written = false;
};

// An enforced relation between two local tables, resolved against their
// definitions.
struct RelatedWrites::Link {
    std::string primaryName, foreignName;  // as the table definitions are named
    std::uint32_t primaryPage = 0, foreignPage = 0;
    // Column positions (into each definition's columns), primary and foreign.
    std::vector<std::pair<std::size_t, std::size_t>> columns;
    std::uint32_t primaryReal = 0;  // the primary table's unique index over its columns
    std::uint32_t foreignReal = 0;  // the foreign table's index over the foreign key
    bool cascadeUpdates = false, cascadeDeletes = false;
};

RelatedWrites::RelatedWrites(DatabaseImpl& db, write::PageStore& store)
    : db_(db), store_(store), jet3_(store.format().isJet3()) {}

RelatedWrites::~RelatedWrites() = default;

RelatedWrites::Table& RelatedWrites::table(std::uint32_t page) {
    auto& slot = tables_[page];
    if (!slot) {
        slot = std::make_unique<Table>();
        slot->def = storage::readTableDefinition(*db_.file, page);
        slot->writer = std::make_unique<write::TableWriter>(store_, slot->def, writeCodePage(db_));
    }
    return *slot;
}

const std::vector<RelatedWrites::Link>& RelatedWrites::linksOf(std::uint32_t page) {
    if (auto known = links_.find(page); known != links_.end()) return known->second;
    auto& found = links_[page];
    auto localTable = [&](const std::string& name) -> std::pair<std::string, std::uint32_t> {
        for (int i = 0; i < db_.tableDefs.Count(); ++i)
            if (namesEqual(db_.tableDefs[i].Name(), name))
                return {db_.tableDefs[i].Name(), db_.tdefPages[static_cast<std::size_t>(i)]};
        return {name, 0};
    };
    for (const auto& relation : db_.relations) {
        if ((relation->Attributes() & dbRelationDontEnforce) != 0 || relation->Fields().Count() == 0) continue;
        Link link;
        std::tie(link.primaryName, link.primaryPage) = localTable(relation->Table());
        std::tie(link.foreignName, link.foreignPage) = localTable(relation->ForeignTable());
        // Jet keeps integrity only between tables of one file.
        if (link.primaryPage == 0 || link.foreignPage == 0) continue;
        // Only the relations of this table: a write reads no other table's
        // definition unless a relation leads there.
        if (link.primaryPage != page && link.foreignPage != page) continue;
        const auto& primary = table(link.primaryPage).def;
        const auto& foreign = table(link.foreignPage).def;
        std::vector<std::uint16_t> primaryNumbers, foreignNumbers;
        std::vector<std::pair<std::size_t, std::size_t>> pairs;
        for (const auto& field : relation->Fields()) {
            const auto* p = primary.findColumn(field->Name());
            const auto* f = foreign.findColumn(field->ForeignName());
            if (!p || !f) damaged("relation '" + relation->Name() + "' names a field its table lacks");
            primaryNumbers.push_back(p->number);
            foreignNumbers.push_back(f->number);
            pairs.emplace_back(static_cast<std::size_t>(primary.columnPosition(p->number)),
                               static_cast<std::size_t>(foreign.columnPosition(f->number)));
        }
        const auto primaryReal = write::uniqueIndexOver(primary, primaryNumbers);
        if (!primaryReal) damaged("relation '" + relation->Name() + "' without a unique index on its primary table");
        std::vector<std::uint16_t> orderedForeign;
        for (std::size_t k : write::keyOrder(primary.realIndexes[*primaryReal], primaryNumbers)) {
            link.columns.push_back(pairs[k]);
            orderedForeign.push_back(foreignNumbers[k]);
        }
        const auto foreignReal = write::indexOver(foreign, orderedForeign);
        if (!foreignReal) damaged("relation '" + relation->Name() + "' without an index on its foreign table");
        link.primaryReal = *primaryReal;
        link.foreignReal = *foreignReal;
        link.cascadeUpdates = (relation->Attributes() & dbRelationUpdateCascade) != 0;
        link.cascadeDeletes = (relation->Attributes() & dbRelationDeleteCascade) != 0;
        found.push_back(std::move(link));
    }
    return found;
}

std::optional<storage::RowPointer> RelatedWrites::follow(std::uint32_t table, storage::RowPointer where) const {
    for (std::size_t hops = 0; hops <= movedTo_.size(); ++hops) {
        const RowKey key = rowKey(table, where);
        if (auto moved = movedTo_.find(key); moved != movedTo_.end()) {
            where = moved->second;
            continue;
        }
        if (gone_.count(key)) return std::nullopt;
        return where;
    }
    damaged("a row moved in a loop");
}

std::vector<Value> RelatedWrites::rowAt(std::uint32_t page, storage::RowPointer where) {
    if (auto it = written_.find(rowKey(page, where)); it != written_.end()) return it->second;
    // Rows this operation has not written are on the file as they were.
    Table& t = table(page);
    if (!t.reader) t.reader = std::make_unique<storage::TableReader>(*db_.file, t.def);
    auto row = t.reader->readAt(where);
    if (!row) damaged("an index entry of table page " + std::to_string(page) + " leads to no row");
    return std::move(row->values);
}

// The key `from` (a row of the primary side when `fromPrimary`, else of the
// foreign side) gives in the index the relation uses on its primary or
// foreign side; nullopt when a field of it is Null.
std::optional<std::vector<std::uint8_t>> RelatedWrites::keyIn(const Link& link, bool primarySide,
                                                               const std::vector<Value>& from, bool fromPrimary) {
    const auto& def = table(primarySide ? link.primaryPage : link.foreignPage).def;
    std::vector<Value> values(def.columns.size());
    for (const auto& [p, f] : link.columns) {
        const std::size_t source = fromPrimary ? p : f;
        if (source < from.size()) values[primarySide ? p : f] = from[source];
    }
    const auto& real = def.realIndexes[primarySide ? link.primaryReal : link.foreignReal];
    return write::completeKey(write::indexKeyColumns(def, real), values, def, jet3_);
}

std::vector<storage::RowPointer> RelatedWrites::relatedRows(const Link& link, const std::vector<Value>& primaryValues) {
    auto key = keyIn(link, false, primaryValues, true);
    if (!key) return {};
    auto& def = table(link.foreignPage).def;
    return write::findIndexEntries(store_, def.realIndexes[link.foreignReal], *key);
}

void RelatedWrites::requireParents(std::uint32_t page, const std::vector<Value>& values,
                                   const std::vector<Value>* before) {
    for (const auto& link : linksOf(page)) {
        if (link.foreignPage != page) continue;
        auto key = keyIn(link, true, values, false);
        if (!key) continue;  // a key with a Null part refers to nothing
        // A key left as it was is not checked again.
        if (before && keyIn(link, true, *before, false) == key) continue;
        auto& primary = table(link.primaryPage).def;
        if (write::findIndexEntries(store_, primary.realIndexes[link.primaryReal], *key).empty())
            relatedRecordRequired(link.primaryName);
    }
}

void RelatedWrites::afterRemove(std::uint32_t page, const std::vector<Value>& stored) {
    for (const auto& link : linksOf(page)) {
        if (link.primaryPage != page) continue;
        auto rows = relatedRows(link, stored);
        if (rows.empty()) continue;
        if (!link.cascadeDeletes) relatedRecordsExist(link.foreignName);
        for (auto row : rows) pending_.push_back({link.foreignPage, row, true, {}});
    }
}

void RelatedWrites::afterReplace(std::uint32_t page, storage::RowPointer after, const std::vector<Value>& stored,
                                 const std::vector<Value>& values) {
    unchecked_.push_back({page, after, stored});
    for (const auto& link : linksOf(page)) {
        if (link.primaryPage != page) continue;
        if (keyIn(link, true, stored, true) == keyIn(link, true, values, true)) continue;
        auto rows = relatedRows(link, stored);
        if (rows.empty()) continue;
        if (!link.cascadeUpdates) relatedRecordsExist(link.foreignName);
        std::vector<std::pair<std::size_t, Value>> assignments;
        for (const auto& [p, f] : link.columns) assignments.emplace_back(f, p < values.size() ? values[p] : Value{});
        for (auto row : rows) pending_.push_back({link.foreignPage, row, false, assignments});
    }
}

// Rows are checked against their parents once every cascade is done: a row
// whose key changed may be its own parent, and gets its new key only from
// the cascade.
void RelatedWrites::checkParents() {
    for (auto& check : unchecked_) {
        auto where = follow(check.table, check.row);
        if (where) requireParents(check.table, rowAt(check.table, *where), check.before ? &*check.before : nullptr);
    }
    unchecked_.clear();
}

// Works off the related rows found so far, which may find more. A row
// reached twice (two relations, or two paths, lead to it) is taken where
// the first change left it.
void RelatedWrites::drain() {
    while (!pending_.empty()) {
        Pending next = std::move(pending_.back());
        pending_.pop_back();
        auto where = follow(next.table, next.row);
        if (!where) continue;
        std::vector<Value> stored = rowAt(next.table, *where);
        if (next.remove) {
            writeRemove(next.table, *where, stored);
            continue;
        }
        std::vector<Value> values = stored;
        for (auto& [position, value] : next.assignments)
            if (position < values.size()) values[position] = value;
        writeReplace(next.table, *where, std::move(values), stored);
    }
}

storage::RowPointer RelatedWrites::writeReplace(std::uint32_t page, storage::RowPointer where,
                                                std::vector<Value> values, const std::vector<Value>& stored) {
    Table& t = table(page);
    t.written = true;
    const storage::RowPointer after = t.writer->replace(where, values, &stored);
    committed_.changes.push_back({page, where, after});
    written_.erase(rowKey(page, where));
    if (after != where) movedTo_[rowKey(page, where)] = after;
    gone_.erase(rowKey(page, after));
    movedTo_.erase(rowKey(page, after));
    written_[rowKey(page, after)] = values;
    afterReplace(page, after, stored, values);
    return after;
}

void RelatedWrites::writeRemove(std::uint32_t page, storage::RowPointer where, const std::vector<Value>& stored) {
    Table& t = table(page);
    t.written = true;
    t.writer->remove(where, &stored);
    committed_.changes.push_back({page, where, {}});
    written_.erase(rowKey(page, where));
    gone_.insert(rowKey(page, where));
    afterRemove(page, stored);
}

storage::RowPointer RelatedWrites::insert(std::uint32_t page, std::vector<Value> values) {
    Table& t = table(page);
    t.written = true;
    const storage::RowPointer where = t.writer->insert(values);
    committed_.changes.push_back({page, {}, where});
    gone_.erase(rowKey(page, where));
    written_[rowKey(page, where)] = values;
    // Checked once the row is in: a row may name itself as its parent.
    unchecked_.push_back({page, where, std::nullopt});
    checkParents();
    return where;
}

storage::RowPointer RelatedWrites::replace(std::uint32_t page, storage::RowPointer where, std::vector<Value> values,
                                           const std::vector<Value>& stored) {
    const storage::RowPointer after = writeReplace(page, where, std::move(values), stored);
    drain();
    checkParents();
    return after;
}

void RelatedWrites::remove(std::uint32_t page, storage::RowPointer where, const std::vector<Value>& stored) {
    writeRemove(page, where, stored);
    drain();
    checkParents();
}

void RelatedWrites::saveDefinitions() {
    for (auto& [page, t] : tables_) {
        if (!t->written) continue;
        t->writer->saveDefinition();
        committed_.definitions[page] = &t->def;
    }
}

}  // namespace jet::dao
