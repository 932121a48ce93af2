#include "dao/catalog_insert.h"

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

void insertCatalogEntry(DatabaseImpl& db, write::PageStore& store, const write::CatalogEntry& entry) {
    const std::uint16_t codePage = writeCodePage(db);
    storage::TableDefinition objects = storage::readTableDefinition(*db.file, storage::kCatalogTdefPage);
    write::TableWriter catalogWriter(store, objects, codePage);
    catalogWriter.insert(write::catalogRow(objects, entry));
    catalogWriter.saveDefinition();

    const std::uint32_t acesPage = tablePage(db, "MSysACEs");
    if (acesPage == 0) return;
    storage::TableDefinition aces = storage::readTableDefinition(*db.file, acesPage);
    write::TableWriter acesWriter(store, aces, codePage);
    for (auto account : {write::AceAccount::AdminUser, write::AceAccount::UsersGroup})
        acesWriter.insert(write::aceRow(aces, {entry.id, account, write::kAceFullTableRights, false}, db.file->format()));
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

}  // namespace jet::dao
