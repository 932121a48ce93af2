// What every object the engine creates needs besides its own pages: a
// writable database, a free name, its MSysObjects row and the permissions
// Access grants on a new object, all written into the operation's pages.
#pragma once

#include <cstdint>
#include <string>

#include "catalog/system_tables.h"
#include "write/page_store.h"
#include "write/system_catalog.h"

namespace jet {
class DatabaseImpl;
}

namespace jet::dao {

// Throws 3027 unless the database may be written: opened for writing, a Jet
// 3 or Jet 4 file, pages not encoded.
void requireWritable(const DatabaseImpl& db);

// The code page text of a Jet 3 file is written in (1252 when the header
// names none).
std::uint16_t writeCodePage(const DatabaseImpl& db);

// The definition page of a table TableDefs lists (system tables included);
// 0 when there is none or it is linked.
std::uint32_t tablePage(const DatabaseImpl& db, const std::string& name);

// Adds `entry` to MSysObjects and gives the creator and the Users group full
// rights on it in MSysACEs (when the file has that table).
void insertCatalogEntry(DatabaseImpl& db, write::PageStore& store, const write::CatalogEntry& entry);

// The catalog object `entry` becomes, as a reader of the file sees it.
catalog::CatalogObject storedObject(const write::CatalogEntry& entry);

}  // namespace jet::dao
