// An index added to a table that is already stored (CREATE INDEX, a primary
// key or unique constraint added by ALTER TABLE): the index checked as DAO
// checks a new one, its pages built from the table's rows, and the
// rewritten definition committed with them, or nothing written.
#include <set>

#include "dao/catalog_entries.h"
#include "dao/database_impl.h"
#include "dao/object_builders.h"
#include "dao/object_names.h"
#include "jet/types.h"
#include "storage/table_reader.h"
#include "write/page_store.h"
#include "write/relationship_writer.h"
#include "write/table_layout.h"
#include "write/table_writer.h"

namespace jet {
namespace {

constexpr std::size_t kMaxIndexColumns = 10;

}  // namespace

void DatabaseImpl::appendIndex(const std::string& tableName, const Index& index) {
    dao::requireWritable(*this);
    int position = -1;
    for (int i = 0; i < tableDefs.Count(); ++i)
        if (namesEqual(tableDefs[i].Name(), tableName)) position = i;
    if (position < 0) throw Error(kErrNoSuchTableOrConstraint, "Cannot find table or constraint.", "table '" + tableName + "'");
    TableDef& table = tableDefs[position];
    const std::uint32_t tdefPage = tdefPages[static_cast<std::size_t>(position)];
    // A linked table's indexes are its source's; the catalog's own tables
    // are Jet's to index.
    if (tdefPage == 0 || (table.Attributes() & dbSystemObject) == dbSystemObject)
        throw Error(kErrOperationNotSupported, "Operation is not supported for this type of object.",
                    "an index on table '" + table.Name() + "'");
    if (!isValidObjectName(index.Name())) throw invalidNameError(index.Name());
    dao::requireStorableName(*this, index.Name());
    if (index.Fields().Count() == 0) throw Error(kErrNoFields, "No field defined--cannot append TableDef or Index.");

    storage::TableDefinition def = storage::readTableDefinition(*file, tdefPage);
    for (const auto& logical : def.logicalIndexes)
        if (namesEqual(logical.name, index.Name())) throw Error(kErrIndexExists, "Index already exists.");
    if (index.Primary())
        for (const auto& logical : def.logicalIndexes)
            if (logical.isPrimary()) throw Error(kErrSecondPrimaryKey, "Primary key already exists.");
    dao::requireRoomForIndexes(def, 1, table.Name());

    storage::RealIndex real;
    std::set<std::uint16_t> seen;
    for (const auto& member : index.Fields()) {
        const storage::ColumnDef* column = def.findColumn(member->Name());
        if (!column) throw Error(kErrItemNotFound, "Item not found in this collection.", "field '" + member->Name() + "'");
        if (!seen.insert(column->number).second || seen.size() > kMaxIndexColumns)
            throw Error(kErrInvalidIndexDefinition, "Invalid index definition.");
        real.columns.push_back({column->number, (member->Attributes() & dbDescending) == 0});
    }
    if (index.Primary()) real.flags |= storage::idxflag::kUnique | storage::idxflag::kRequired;
    if (index.Unique()) real.flags |= storage::idxflag::kUnique;
    if (index.Required()) real.flags |= storage::idxflag::kRequired;
    if (index.IgnoreNulls()) real.flags |= storage::idxflag::kIgnoreNulls;

    write::PageStore store(*file);
    write::TableWriter writer(store, def, dao::writeCodePage(*this));
    std::optional<std::uint32_t> realNumber = write::sharedRealIndex(def, real);
    if (!realNumber) {
        // The existing rows enter the new index; a unique one refuses
        // duplicates (3022), a required one a Null (3058).
        std::vector<storage::Row> rows;
        storage::TableReader reader(*file, def);
        storage::Row row;
        while (reader.next(row)) rows.push_back(std::move(row));
        realNumber = writer.addRealIndex(std::move(real), rows);
    }
    storage::LogicalIndex logical;
    logical.name = index.Name();
    logical.indexNumber = write::nextIndexNumber(def);
    logical.realIndexNumber = *realNumber;
    logical.indexType = index.Primary() ? storage::kIndexTypePrimary : storage::kIndexTypeNormal;
    logical.cascadeUpdates = logical.cascadeDeletes = storage::kNotForeignKeyCascade;
    write::insertInNameOrder(def, std::move(logical));
    writer.saveDefinition();
    commit(store);

    table.Indexes().clear();
    dao::addIndexes(storage::readTableDefinition(*file, tdefPage), table.Indexes());
}

}  // namespace jet
