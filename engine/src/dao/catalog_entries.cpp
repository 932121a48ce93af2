#include "dao/catalog_entries.h"

#include <limits>

#include "catalog/system_tables.h"
#include "dao/database_impl.h"
#include "storage/table_definition.h"
#include "write/table_writer.h"

namespace jet::dao {

void addCatalogEntry(DatabaseImpl& db, write::PageStore& store, const write::CatalogEntry& entry,
                     const std::vector<Grant>& grants) {
    const auto& format = db.file->format();
    const std::uint16_t codePage = db.file->header().codePage ? db.file->header().codePage : 1252;
    storage::TableDefinition objects = storage::readTableDefinition(*db.file, storage::kCatalogTdefPage);
    write::TableWriter catalogWriter(store, objects, codePage);
    catalogWriter.insert(write::catalogRow(objects, entry));
    catalogWriter.saveDefinition();

    for (int i = 0; i < db.tableDefs.Count(); ++i) {
        const std::uint32_t page = db.tdefPages[static_cast<std::size_t>(i)];
        if (!namesEqual(db.tableDefs[i].Name(), "MSysACEs") || page == 0) continue;
        storage::TableDefinition aces = storage::readTableDefinition(*db.file, page);
        write::TableWriter acesWriter(store, aces, codePage);
        for (const Grant& grant : grants)
            acesWriter.insert(write::aceRow(aces, {entry.id, grant.account, grant.rights, false}, format));
        acesWriter.saveDefinition();
    }
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
