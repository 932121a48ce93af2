// Adding an object to the catalog of an open database: its MSysObjects row
// and the permissions (MSysACEs rows) Access grants on it, written into the
// page store of the operation that creates the object.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "write/page_store.h"
#include "write/system_catalog.h"

namespace jet {
class DatabaseImpl;
}

namespace jet::dao {

struct Grant {
    write::AceAccount account;
    std::int32_t rights;
};

void addCatalogEntry(DatabaseImpl& db, write::PageStore& store, const write::CatalogEntry& entry,
                     const std::vector<Grant>& grants);

// The id for a new object that is not a table: one past the highest id
// Access gave such an object (0x80000000 upwards).
std::int32_t nextDocumentId(DatabaseImpl& db);

// The id of the container named `name` (Tables, Relationships, ...), or
// `fallback` when the catalog has none.
std::int32_t containerId(DatabaseImpl& db, const char* name, std::int32_t fallback);

}  // namespace jet::dao
