#include "dao/catalog_entries.h"

#include <limits>

#include "catalog/system_tables.h"
#include "dao/database_impl.h"
#include "dao/object_names.h"
#include "storage/table_definition.h"
#include "write/table_writer.h"
#include "write/text_encoder.h"

namespace jet::dao {

void requireWritable(const DatabaseImpl& db) {
    db.requireOpen();
    // Encoded and encrypted files are read, not written: this engine would
    // store their pages in the clear.
    if (const auto* codec = db.file->codec())
        throw Error(kErrReadOnly, "Cannot update. Database or object is read-only.",
                    db.file->path() + ": " + codec->description());
    if (!db.updatable || db.file->readOnly())
        throw Error(kErrReadOnly, "Cannot update. Database or object is read-only.");
}

std::uint16_t writeCodePage(const DatabaseImpl& db) {
    const std::uint16_t codePage = db.file->header().codePage;
    return codePage ? codePage : 1252;
}

void requireRoomForIndexes(const storage::TableDefinition& def, std::size_t added, const std::string& table) {
    constexpr std::size_t kMaxIndexesPerTable = 32;
    if (def.logicalIndexes.size() + added > kMaxIndexesPerTable)
        throw Error(kErrTooManyIndexes, "The operation failed. There are too many indexes on table '" + table +
                                            "'. Delete some of the indexes on the table and try the operation again.");
}

void requireStorableName(const DatabaseImpl& db, const std::string& name) {
    const std::string missing = write::unstorableCharacter(name, db.file->format(), writeCodePage(db));
    if (missing.empty()) return;
    const Error invalid = invalidNameError(name);
    throw Error(invalid.number(), invalid.what(), missing);
}

std::uint32_t tablePage(const DatabaseImpl& db, const std::string& name) {
    const int position = db.tableDefs.indexOf(name);
    return position < 0 ? 0 : db.tdefPages[static_cast<std::size_t>(position)];
}

void addCatalogEntry(DatabaseImpl& db, write::PageStore& store, const write::CatalogEntry& entry,
                     const std::vector<Grant>& grants) {
    const auto& format = db.file->format();
    const std::uint16_t codePage = writeCodePage(db);
    storage::TableDefinition objects = storage::readTableDefinition(*db.file, storage::kCatalogTdefPage);
    write::TableWriter catalogWriter(store, objects, codePage);
    catalogWriter.insert(write::catalogRow(objects, entry));
    catalogWriter.saveDefinition();

    const std::uint32_t acesPage = tablePage(db, "MSysACEs");
    if (acesPage == 0) return;
    storage::TableDefinition aces = storage::readTableDefinition(*db.file, acesPage);
    write::TableWriter acesWriter(store, aces, codePage);
    for (const Grant& grant : grants)
        acesWriter.insert(write::aceRow(aces, {entry.id, grant.account, grant.rights, false}, format));
    acesWriter.saveDefinition();
}

catalog::CatalogObject storedObject(const write::CatalogEntry& entry) {
    catalog::CatalogObject object;
    object.id = entry.id;
    object.parentId = entry.parentId;
    object.name = entry.name;
    object.type = entry.type;
    object.flags = entry.flags;
    object.created = object.updated = DateTime{entry.created};
    object.properties = entry.properties;
    return object;
}

namespace {

bool isRootContainer(int type, std::int32_t parentId) {
    return type == write::kTypeContainer && parentId == write::kRootId;
}

// Tables take their definition page as id; every other object takes an id
// from 0x80000000 upwards.
void noteId(DatabaseImpl::CatalogIds& ids, std::int32_t id) {
    if (id < 0 && (!ids.highestDocumentId || id > *ids.highestDocumentId)) ids.highestDocumentId = id;
}

}  // namespace

DatabaseImpl::CatalogIds catalogIdsOf(const std::vector<catalog::CatalogObject>& objects) {
    DatabaseImpl::CatalogIds ids;
    for (const auto& object : objects) {
        noteId(ids, object.id);
        if (isRootContainer(object.type, object.parentId))
            ids.containers.emplace_back(object.name, object.id);
    }
    return ids;
}

void noteCatalogEntry(DatabaseImpl& db, const write::CatalogEntry& entry) {
    noteId(db.catalogIds, entry.id);
    if (isRootContainer(entry.type, entry.parentId)) db.catalogIds.containers.emplace_back(entry.name, entry.id);
}

std::int32_t nextDocumentId(const DatabaseImpl& db) {
    const auto& highest = db.catalogIds.highestDocumentId;
    if (!highest) return std::numeric_limits<std::int32_t>::min();
    if (*highest == -1) throw Error(kErrDiskFull, "Not enough space on disk.", "no catalog id left");
    return *highest + 1;
}

std::int32_t containerId(const DatabaseImpl& db, const char* name, std::int32_t fallback) {
    for (const auto& [containerName, id] : db.catalogIds.containers)
        if (namesEqual(containerName, name)) return id;
    return fallback;
}

}  // namespace jet::dao
