// Relations.Append and Refresh: a program-built Relation checked as DAO
// checks it, then its catalog entry, its MSysRelationships rows and (when
// enforced) the foreign-key indexes of both tables written in one commit.
#include <algorithm>
#include <set>

#include "catalog/system_tables.h"
#include "dao/catalog_entries.h"
#include "dao/database_impl.h"
#include "dao/object_builders.h"
#include "dao/object_names.h"
#include "jet/types.h"
#include "storage/table_reader.h"
#include "write/index_key.h"
#include "write/page_store.h"
#include "write/relationship_writer.h"
#include "write/system_catalog.h"
#include "write/table_writer.h"

namespace jet {
namespace {

[[noreturn]] void notFound(const std::string& what) {
    throw Error(kErrItemNotFound, "Item not found in this collection.", what);
}

// One side of the relation as the catalog knows it.
struct Side {
    std::string name;         // as the catalog spells it
    std::uint32_t tdefPage = 0;  // 0: a query or a linked table
};

Side findSide(DatabaseImpl& db, const std::string& name) {
    if (const int i = db.tableDefs.indexOf(name); i >= 0)
        return {db.tableDefs[i].Name(), db.tdefPages[static_cast<std::size_t>(i)]};
    if (const QueryDef* query = db.queryDefs.find(name)) return {query->Name(), 0};
    notFound("table '" + name + "'");
}

const storage::ColumnDef& column(const storage::TableDefinition& def, const std::string& name,
                                 const std::string& table) {
    const storage::ColumnDef* c = def.findColumn(name);
    if (!c) notFound("field '" + name + "' of table '" + table + "'");
    return *c;
}

std::vector<storage::Row> readRows(io::PageFile& file, const storage::TableDefinition& def) {
    std::vector<storage::Row> rows;
    storage::TableReader reader(file, def);
    storage::Row row;
    while (reader.next(row)) rows.push_back(std::move(row));
    return rows;
}

// The key of `row` over `columns` as an index compares it; nullopt when any
// part is Null (such a row refers to nothing and is not checked).
std::optional<std::vector<std::uint8_t>> keyOf(const storage::TableDefinition& def,
                                               const std::vector<const storage::ColumnDef*>& columns,
                                               const storage::Row& row, bool jet3) {
    std::vector<write::KeyColumn> keyColumns;
    for (const auto* c : columns) keyColumns.push_back({c, true});
    return write::completeKey(keyColumns, row.values, def, jet3);
}

bool hasDuplicates(const std::vector<const storage::ColumnDef*>& columns) {
    std::set<std::uint16_t> seen;
    for (const auto* c : columns)
        if (!seen.insert(c->number).second) return true;
    return false;
}

std::vector<std::uint16_t> numbersOf(const std::vector<const storage::ColumnDef*>& columns) {
    std::vector<std::uint16_t> numbers;
    for (const auto* c : columns) numbers.push_back(c->number);
    return numbers;
}

}  // namespace

void Relations::Append(std::unique_ptr<Relation> relation) {
    if (!relation) throw Error(kErrInvalidArgument, "Invalid argument.");
    db_->appendRelation(std::move(relation));
}

void Relations::Refresh() { db_->reloadRelations(); }

void DatabaseImpl::appendRelation(std::unique_ptr<Relation> relation) {
    dao::requireWritable(*this);
    const std::string& name = relation->Name();
    if (!isValidObjectName(name)) throw invalidNameError(name);
    dao::requireStorableName(*this, name);
    if (relations.find(name)) throw duplicateNameError(*relation);
    if (relation->Fields().Count() == 0)
        throw Error(kErrRelationWithoutFields, "Cannot append a relation with no fields defined.");

    const auto& format = file->format();
    const bool jet3 = format.isJet3();
    const bool enforced = (relation->Attributes() & dbRelationDontEnforce) == 0;
    const Side primary = findSide(*this, relation->Table());
    const Side foreign = findSide(*this, relation->ForeignTable());
    // Jet keeps referential integrity only between tables of this file.
    if (enforced && (primary.tdefPage == 0 || foreign.tdefPage == 0))
        throw Error(kErrOperationNotSupported, "Operation is not supported for this type of object.",
                    "an enforced relation needs two local tables");

    write::NewRelationship stored;
    stored.name = name;
    stored.table = primary.name;
    stored.foreignTable = foreign.name;
    stored.attributes = static_cast<std::int32_t>(relation->Attributes());

    // Local tables: fields by their stored names, of the same types.
    storage::TableDefinition primaryDef, foreignStorage;
    const bool selfRelated = primary.tdefPage != 0 && primary.tdefPage == foreign.tdefPage;
    if (primary.tdefPage) primaryDef = storage::readTableDefinition(*file, primary.tdefPage);
    if (foreign.tdefPage && !selfRelated) foreignStorage = storage::readTableDefinition(*file, foreign.tdefPage);
    storage::TableDefinition& foreignDef = selfRelated ? primaryDef : foreignStorage;
    std::vector<const storage::ColumnDef*> primaryColumns, foreignColumns;
    for (const auto& field : relation->Fields()) {
        std::string primaryName = field->Name(), foreignName = field->ForeignName();
        if (primary.tdefPage) {
            primaryColumns.push_back(&column(primaryDef, primaryName, primary.name));
            primaryName = primaryColumns.back()->name;
        }
        if (foreign.tdefPage) {
            foreignColumns.push_back(&column(foreignDef, foreignName, foreign.name));
            foreignName = foreignColumns.back()->name;
        }
        if (foreignName.empty()) notFound("foreign field of '" + primaryName + "'");
        if (primary.tdefPage && foreign.tdefPage && primaryColumns.back()->type != foreignColumns.back()->type)
            throw Error(kErrRelationFieldTypes,
                        "Relationship must be on the same number of fields with the same data types.");
        stored.columns.emplace_back(primaryName, foreignName);
    }

    std::optional<std::uint32_t> primaryReal, foreignReal;
    if (primary.tdefPage && foreign.tdefPage) {
        primaryReal = write::uniqueIndexOver(primaryDef, numbersOf(primaryColumns));
        // A relation between uniquely indexed fields is one-to-one.
        if (primaryReal && write::uniqueIndexOver(foreignDef, numbersOf(foreignColumns)))
            stored.attributes |= dbRelationUnique;
    }

    std::vector<storage::Row> foreignRows;
    std::vector<std::uint16_t> foreignKeyColumns;
    if (enforced) {
        if (hasDuplicates(primaryColumns) || hasDuplicates(foreignColumns))
            throw Error(kErrInvalidIndexDefinition, "Invalid index definition.");
        if (!primaryReal)
            throw Error(kErrNoUniqueIndex, "No unique index found for the referenced field of the primary table.");
        // The pages this operation writes as catalog tables must not also be
        // rewritten as one of the related tables.
        for (const char* system : {"MSysObjects", "MSysACEs", "MSysRelationships"})
            if (const int i = tableDefs.indexOf(system);
                i >= 0 && (tdefPages[static_cast<std::size_t>(i)] == primary.tdefPage ||
                           tdefPages[static_cast<std::size_t>(i)] == foreign.tdefPage))
                throw Error(kErrOperationNotSupported, "Operation is not supported for this type of object.",
                            "relation on a catalog table");
        for (const auto& logical : foreignDef.logicalIndexes)
            if (namesEqual(logical.name, name)) throw Error(kErrIndexExists, "Index already exists.");
        const std::size_t added = selfRelated ? 2 : 1;
        for (const auto* side : {&primary, &foreign})
            dao::requireRoomForIndexes(side == &primary ? primaryDef : foreignDef, added, side->name);

        std::vector<const storage::ColumnDef*> orderedPrimary, orderedForeign;
        for (std::size_t k : write::keyOrder(primaryDef.realIndexes[*primaryReal], numbersOf(primaryColumns))) {
            orderedPrimary.push_back(primaryColumns[k]);
            orderedForeign.push_back(foreignColumns[k]);
        }
        foreignKeyColumns = numbersOf(orderedForeign);
        foreignReal = write::indexOver(foreignDef, foreignKeyColumns);

        // Every foreign row with a complete key must find its primary row.
        std::set<std::vector<std::uint8_t>> primaryKeys;
        for (const auto& row : readRows(*file, primaryDef))
            if (auto key = keyOf(primaryDef, orderedPrimary, row, jet3)) primaryKeys.insert(std::move(*key));
        foreignRows = readRows(*file, foreignDef);
        for (const auto& row : foreignRows) {
            auto key = keyOf(foreignDef, orderedForeign, row, jet3);
            if (key && !primaryKeys.count(*key))
                throw Error(kErrIntegrityViolation,
                            "Cannot create relationships to enforce referential integrity. Existing data in table '" +
                                foreign.name + "' violates referential integrity rules in table '" + primary.name +
                                "'.");
        }
    }

    // Everything is checked: write.
    const std::uint16_t codePage = dao::writeCodePage(*this);
    write::PageStore store(*file);

    if (enforced) {
        write::TableWriter foreignWriter(store, foreignDef, codePage);
        if (!foreignReal)
            foreignReal = foreignWriter.addRealIndex(write::foreignKeyRealIndex(foreignKeyColumns, jet3), foreignRows);
        write::ForeignKeyLink link;
        link.primaryReal = *primaryReal;
        link.foreignReal = *foreignReal;
        link.name = name;
        link.cascadeUpdates = (stored.attributes & dbRelationUpdateCascade) != 0;
        link.cascadeDeletes = (stored.attributes & dbRelationDeleteCascade) != 0;
        write::addForeignKeyIndexes(primaryDef, foreignDef, link);
        foreignWriter.saveDefinition();
        if (!selfRelated) write::TableWriter(store, primaryDef, codePage).saveDefinition();
    }

    const int relationshipsAt = tableDefs.indexOf("MSysRelationships");
    const std::uint32_t relationshipsPage = relationshipsAt < 0 ? 0 : tdefPages[static_cast<std::size_t>(relationshipsAt)];
    if (relationshipsPage == 0) notFound("table 'MSysRelationships'");
    storage::TableDefinition relationships = storage::readTableDefinition(*file, relationshipsPage);
    write::TableWriter relationshipsWriter(store, relationships, codePage);
    for (auto& row : write::relationshipRows(relationships, stored)) relationshipsWriter.insert(std::move(row));
    relationshipsWriter.saveDefinition();

    write::CatalogEntry entry;
    entry.id = dao::nextDocumentId(*this);
    entry.parentId = dao::containerId(*this, "Relationships", write::kRelationshipsContainerId);
    entry.name = name;
    entry.type = write::kTypeRelationship;
    entry.created = write::oleNow();
    entry.owner = write::userOwner(format);
    dao::addCatalogEntry(*this, store, entry,
                         {{write::AceAccount::AdminUser, write::kAceRelationshipOwnerRights},
                          {write::AceAccount::UsersGroup, write::kAceRelationshipRights}});

    commit(store);
    dao::noteCatalogEntry(*this, entry);

    // The new relation as a reader of the file sees it, at the end of the
    // collection until Refresh sorts it in; the tables it changed list their
    // indexes anew.
    std::vector<catalog::RelationshipRow> rows;
    for (std::size_t i = 0; i < stored.columns.size(); ++i) {
        catalog::RelationshipRow row;
        row.name = stored.name;
        row.table = stored.table;
        row.column = stored.columns[i].first;
        row.foreignTable = stored.foreignTable;
        row.foreignColumn = stored.columns[i].second;
        row.columnIndex = static_cast<std::int32_t>(i);
        row.columnCount = static_cast<std::int32_t>(stored.columns.size());
        row.attributes = static_cast<std::uint32_t>(stored.attributes);
        rows.push_back(std::move(row));
    }
    dao::buildRelations(rows, relations);
    if (enforced) {
        for (const Side* side : {&primary, &foreign}) {
            if (side == &foreign && selfRelated) continue;
            TableDef& table = tableDefs[tableDefs.indexOf(side->name)];
            table.Indexes().clear();
            dao::addIndexes(storage::readTableDefinition(*file, side->tdefPage), table.Indexes());
        }
    }
}

void DatabaseImpl::reloadRelations() {
    requireOpen();
    relations.clear();
    dao::buildRelations(catalog::readRelationships(*file, catalog::readCatalog(*file)), relations);
}

}  // namespace jet
