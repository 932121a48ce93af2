#include "dao/query_create.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include "catalog/dao_codes.h"
#include "catalog/system_tables.h"
#include "dao/catalog_entries.h"
#include "dao/database_impl.h"
#include "dao/object_builders.h"
#include "dao/object_names.h"
#include "write/page_store.h"
#include "write/property_blob_writer.h"
#include "write/query_catalog.h"
#include "write/system_catalog.h"
#include "write/table_writer.h"

namespace jet::dao {
namespace {

// Queries take their ids from the sequence Access also numbers forms,
// reports and its own containers from: the high bit set, one past the
// highest in use.
// The output columns of a table or saved query already known, so that "*"
// in the new query names them as in a query read from the file.
queries::SourceColumns knownColumns(const DatabaseImpl& db) {
    return [&db](const std::string& source) -> std::optional<std::vector<std::string>> {
        std::vector<std::string> names;
        if (const TableDef* table = db.tableDefs.find(source)) {
            for (const auto& field : table->Fields()) names.push_back(field->Name());
        } else if (const QueryDef* query = db.queryDefs.find(source)) {
            for (const auto& field : query->Fields()) names.push_back(field->Name());
        }
        if (names.empty()) return std::nullopt;
        return names;
    };
}

// A Jet 3 file has no LvExtra column: a Text parameter's length is not
// kept, and a query must describe what its file can keep.
void dropLengthsNotKept(std::vector<queries::QueryRow>& rows, bool kept) {
    if (kept) return;
    for (auto& row : rows) row.extra.reset();
}

std::unique_ptr<QueryDef> temporaryQuery(DatabaseImpl& db, const std::string& sql, const sql::ParseOptions& options) {
    catalog::CatalogObject unnamed;
    if (sql.empty()) return buildQueryDef(unnamed, nullptr, *db.file, db.updatable);
    sql::ParsedQuery parsed = sql::parseQuery(sql, options);
    unnamed.flags = static_cast<std::uint32_t>(parsed.type);
    dropLengthsNotKept(parsed.rows, !db.file->format().isJet3());
    const queries::RebuiltQuery rebuilt = queries::rebuildQuery(parsed.rows, parsed.type, knownColumns(db));
    return buildQueryDef(unnamed, &rebuilt, *db.file, db.updatable);
}

// Checks the name and the file before anything is parsed or written.
void requireNewQuery(DatabaseImpl& db, const std::string& name) {
    requireWritable(db);
    if (!isValidObjectName(name)) throw invalidNameError(name);
    requireStorableName(db, name);
    if (db.tableDefs.find(name) || db.queryDefs.find(name))
        throw Error(kErrDuplicateObject, "Object '" + name + "' already exists.");
}

// Stores a query of `rows` (their ObjectId set here) with its catalog
// entry in one commit, adds it to db.queryDefs and returns a second
// description of it. `flags` are the catalog entry's, which carry its kind.
std::unique_ptr<QueryDef> storeQuery(DatabaseImpl& db, const std::string& name, std::vector<queries::QueryRow> parts,
                                     int type, std::uint32_t flags) {
    const std::uint32_t queriesPage = tablePage(db, "MSysQueries");
    if (queriesPage == 0) throw Error(kErrDamaged, "The database has no MSysQueries table to store a query in.");

    const auto& format = db.file->format();
    const std::uint16_t codePage = writeCodePage(db);
    write::CatalogEntry entry;
    entry.id = nextDocumentId(db);
    // Queries are listed below the Tables container, as tables are.
    entry.parentId = containerId(db, "Tables", write::kTablesContainerId);
    entry.name = name;
    entry.type = static_cast<std::int16_t>(catalog::kObjQuery);
    entry.flags = flags;
    entry.created = write::oleNow();
    entry.owner = write::userOwner(format);
    entry.properties = write::encodePropertyBlob(write::newQueryProperties(), format, codePage);

    storage::TableDefinition msysQueries = storage::readTableDefinition(*db.file, queriesPage);
    dropLengthsNotKept(parts, msysQueries.findColumn("LvExtra") != nullptr);
    for (auto& row : parts) row.objectId = entry.id;
    const std::vector<queries::QueryRow> rows = write::jetInsertOrder(std::move(parts));
    // Rebuilt before anything is written, so that rows the reader could not
    // make a query of (3049) are refused rather than stored.
    const queries::RebuiltQuery rebuilt = queries::rebuildQuery(rows, type, knownColumns(db));

    write::PageStore store(*db.file);
    write::TableWriter writer(store, msysQueries, codePage);
    writer.keepInsertionOrder();
    for (const auto& row : rows) writer.insert(write::queryRowValues(msysQueries, row));
    writer.saveDefinition();
    addCatalogEntry(db, store, entry, kFullRightsGrants);
    db.commit(store);
    noteCatalogEntry(db, entry);

    // The new query as a reader of the file sees it, at the end of the
    // collection until Refresh sorts it in.
    const catalog::CatalogObject object = storedObject(entry);
    db.queryDefs.add(buildQueryDef(object, &rebuilt, *db.file, db.updatable));
    return buildQueryDef(object, &rebuilt, *db.file, db.updatable);
}

}  // namespace

std::unique_ptr<QueryDef> createQueryDef(DatabaseImpl& db, const std::string& name, const std::string& sql,
                                         const sql::ParseOptions& options) {
    db.requireOpen();
    if (name.empty()) return temporaryQuery(db, sql, options);
    requireNewQuery(db, name);
    sql::ParsedQuery parsed = sql::parseQuery(sql, options);
    return storeQuery(db, name, std::move(parsed.rows), parsed.type, static_cast<std::uint32_t>(parsed.type));
}

std::unique_ptr<QueryDef> copyQueryDef(DatabaseImpl& db, DatabaseImpl& source, const std::string& name) {
    db.requireOpen();
    source.requireOpen();
    requireNewQuery(db, name);
    const std::vector<catalog::CatalogObject> objects = catalog::readCatalog(*source.file);
    const auto object = std::find_if(objects.begin(), objects.end(), [&](const catalog::CatalogObject& o) {
        return o.type == catalog::kObjQuery && namesEqual(o.name, name);
    });
    if (object == objects.end()) throw Error(kErrItemNotFound, "Item not found in this collection.");
    auto rows = catalog::readQueryRows(*source.file, objects);
    auto found = rows.find(object->id);
    if (found == rows.end()) throw Error(kErrDamaged, "The query '" + name + "' has no stored definition.");
    return storeQuery(db, name, std::move(found->second), static_cast<std::int32_t>(object->flags), object->flags);
}

}  // namespace jet::dao
