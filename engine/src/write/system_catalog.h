// The catalog a new database starts with, and catalog rows for objects added
// later. MSysObjects lists every object: the containers (Tables, Databases,
// Relationships and those Access keeps for its own objects), the database
// object MSysDb with the database's properties, and each table.
// What a blank database holds: docs/jet-writing.md#catalog.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "jet/value.h"
#include "storage/table_definition.h"
#include "write/page_store.h"

namespace jet::write {

// Catalog ids and types (MSysObjects.Id, ParentId, Type).
inline constexpr std::int32_t kRootId = 0x0F000000;
inline constexpr std::int32_t kTablesContainerId = 0x0F000001;
inline constexpr std::int32_t kDatabasesContainerId = 0x0F000002;
inline constexpr std::int32_t kRelationshipsContainerId = 0x0F000003;
inline constexpr std::int32_t kDatabaseObjectId = 0x10000000;  // MSysDb
inline constexpr std::int16_t kTypeTable = 1;
inline constexpr std::int16_t kTypeDatabase = 2;
inline constexpr std::int16_t kTypeContainer = 3;
inline constexpr std::int16_t kTypeDocument = -32757;  // SummaryInfo, UserDefined
inline constexpr std::uint32_t kSystemObjectFlags = 0x80000000u;

// The definitions of Jet's system tables, pages not yet assigned.
storage::TableDefinition msysObjectsDefinition(const format::JetFormat& format, std::uint16_t sortOrder);
storage::TableDefinition msysAcesDefinition(const format::JetFormat& format, std::uint16_t sortOrder);
storage::TableDefinition msysQueriesDefinition(const format::JetFormat& format, std::uint16_t sortOrder);
storage::TableDefinition msysRelationshipsDefinition(const format::JetFormat& format, std::uint16_t sortOrder);

struct CatalogEntry {
    std::int32_t id = 0;
    std::int32_t parentId = 0;
    std::string name;
    std::int16_t type = 0;
    std::uint32_t flags = 0;
    double created = 0;                       // OLE date
    std::vector<std::uint8_t> owner;          // SID of the owner
    std::vector<std::uint8_t> properties;     // LvProp; empty for none
};

// The MSysObjects row of `entry`, in the column order of `catalog`.
std::vector<Value> catalogRow(const storage::TableDefinition& catalog, const CatalogEntry& entry);

// The SID written as owner: the engine's own objects, and the user's.
std::vector<std::uint8_t> engineOwner(const format::JetFormat& format);
std::vector<std::uint8_t> userOwner(const format::JetFormat& format);

// Permissions (MSysACEs rows): which SID may do what with an object. The
// SIDs are those of the default workgroup's Admin user and Users group, and
// of a third account blank databases also grant (Jet 3 and Jet 4 spell
// them differently); the workgroup's own Admins group is not written, as it
// differs between workgroups.
enum class AceAccount { AdminUser, UsersGroup, Other };
struct AceEntry {
    std::int32_t objectId = 0;
    AceAccount account = AceAccount::AdminUser;
    std::int32_t rights = 0;
    bool inheritable = false;
};
std::vector<Value> aceRow(const storage::TableDefinition& aces, const AceEntry& entry, const format::JetFormat& format);
// Full rights, as a new table's creator and the Users group get them.
inline constexpr std::int32_t kAceFullTableRights = 1048319;
// A relationship's rights: its creator's, and everyone else's in the Users
// group (as Access grants them).
inline constexpr std::int32_t kAceRelationshipOwnerRights = 983294;
inline constexpr std::int32_t kAceRelationshipRights = 1048575;
inline constexpr std::int16_t kTypeRelationship = 8;

// Now as an OLE date (local time, as Jet stamps objects).
double oleNow();

}  // namespace jet::write
