#include "dao/catalog_entries.h"

#include <limits>

#include "catalog/system_tables.h"
#include "dao/database_impl.h"
#include "storage/table_definition.h"
#include "write/table_writer.h"

namespace jet::dao {

void requireWritable(const DatabaseImpl& db) {
    db.requireOpen();
    // Page-encoded files are read, not written.
    if (!db.updatable || db.file->readOnly() || db.file->header().encodingKey != 0)
        throw Error(kErrReadOnly, "Cannot update. Database or object is read-only.");
}

std::uint16_t writeCodePage(const DatabaseImpl& db) {
    const std::uint16_t codePage = db.file->header().codePage;
    return codePage ? codePage : 1252;
}

std::uint32_t tablePage(const DatabaseImpl& db, const std::string& name) {
    for (int i = 0; i < db.tableDefs.Count(); ++i)
        if (namesEqual(db.tableDefs[i].Name(), name)) return db.tdefPages[static_cast<std::size_t>(i)];
    return 0;
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

std::int32_t nextDocumentId(DatabaseImpl& db) {
    std::int32_t highest = std::numeric_limits<std::int32_t>::min();
    bool any = false;
    for (const auto& object : catalog::readCatalog(*db.file)) {
        if (object.id >= 0) continue;
        highest = std::max(highest, object.id);
        any = true;
    }
    if (!any) return std::numeric_limits<std::int32_t>::min();
    if (highest == -1) throw Error(kErrDiskFull, "Not enough space on disk.", "no catalog id left");
    return highest + 1;
}

std::int32_t containerId(DatabaseImpl& db, const char* name, std::int32_t fallback) {
    for (const auto& object : catalog::readCatalog(*db.file))
        if (object.type == write::kTypeContainer && object.parentId == write::kRootId && namesEqual(object.name, name))
            return object.id;
    return fallback;
}

}  // namespace jet::dao
