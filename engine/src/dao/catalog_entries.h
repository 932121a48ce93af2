// What every object the engine creates needs besides its own pages: a
// writable database, a free name and id, its MSysObjects row and the
// permissions (MSysACEs rows) Access grants on it, all written into the page
// store of the operation that creates the object.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "catalog/system_tables.h"
#include "dao/database_impl.h"
#include "storage/table_definition.h"
#include "write/page_store.h"
#include "write/system_catalog.h"


namespace jet::dao {

// Throws 3027 unless the database may be written: opened for writing, a Jet
// 3 or Jet 4 file, pages not encoded.
void requireWritable(const DatabaseImpl& db);

// The code page text of a Jet 3 file is written in (1252 when the header
// names none).
std::uint16_t writeCodePage(const DatabaseImpl& db);

// Throws 3125 for `name` (its context naming the character and the code
// page) when the file cannot store one of its characters: Jet 3 names are
// in the database's code page.
void requireStorableName(const DatabaseImpl& db, const std::string& name);

// Throws 3626 when `added` more indexes would take `def`, the stored
// definition of the table `table`, past Jet's 32.
void requireRoomForIndexes(const storage::TableDefinition& def, std::size_t added, const std::string& table);

// The definition page of a table TableDefs lists (system tables included);
// 0 when there is none or it is linked.
std::uint32_t tablePage(const DatabaseImpl& db, const std::string& name);

struct Grant {
    write::AceAccount account;
    std::int32_t rights;
};

// Full rights for the creator and the Users group, as Access grants them on
// a new table or query.
inline const std::vector<Grant> kFullRightsGrants = {{write::AceAccount::AdminUser, write::kAceFullTableRights},
                                                     {write::AceAccount::UsersGroup, write::kAceFullTableRights}};

// Adds `entry` to MSysObjects and `grants` on it to MSysACEs (when the file
// has that table).
void addCatalogEntry(DatabaseImpl& db, write::PageStore& store, const write::CatalogEntry& entry,
                     const std::vector<Grant>& grants);

// The catalog object `entry` becomes, as a reader of the file sees it.
catalog::CatalogObject storedObject(const write::CatalogEntry& entry);

// The id for a new object that is not a table: one past the highest id
// Access gave such an object (0x80000000 upwards). Throws 3035 when the
// last such id is taken.
std::int32_t nextDocumentId(const DatabaseImpl& db);

// The id of the container named `name` (Tables, Relationships, ...), or
// `fallback` when the catalog has none.
std::int32_t containerId(const DatabaseImpl& db, const char* name, std::int32_t fallback);

// The ids nextDocumentId and containerId answer from, as `objects` (the
// whole catalog) holds them.
DatabaseImpl::CatalogIds catalogIdsOf(const std::vector<catalog::CatalogObject>& objects);

// Brings db.catalogIds up to date with `entry`, once its row is committed.
void noteCatalogEntry(DatabaseImpl& db, const write::CatalogEntry& entry);

}  // namespace jet::dao
