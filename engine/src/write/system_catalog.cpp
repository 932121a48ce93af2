#include "write/system_catalog.h"

#include <chrono>
#include <ctime>

#include "write/table_layout.h"

namespace jet::write {
namespace {

namespace ct = storage::coltype;
namespace fl = storage::idxflag;
constexpr std::uint8_t kSidFlag = 0x20;  // set on the SID columns of the catalog

NewColumn col(const char* name, std::uint8_t type, std::uint16_t size = 0, std::uint8_t flags = 0) {
    NewColumn c;
    c.name = name;
    c.type = type;
    c.size = size;
    c.flags = flags;
    return c;
}

NewIndex idx(const char* name, std::vector<std::pair<std::string, bool>> columns, std::uint8_t flags,
              std::uint8_t type = storage::kIndexTypeNormal) {
    NewIndex i;
    i.name = name;
    i.columns = std::move(columns);
    i.flags = flags;
    i.indexType = type;
    return i;
}

std::uint16_t binarySize(const format::JetFormat& format) { return format.unicodeText ? 510 : 255; }

}  // namespace

storage::TableDefinition msysObjectsDefinition(const format::JetFormat& format, std::uint16_t sortOrder) {
    const std::uint16_t bin = binarySize(format);
    std::vector<NewColumn> columns{
        col("Id", ct::kLong), col("ParentId", ct::kLong), col("Name", ct::kText, 255), col("Type", ct::kInteger),
        col("DateCreate", ct::kDateTime), col("DateUpdate", ct::kDateTime), col("Owner", ct::kBinary, bin, kSidFlag),
        col("Flags", ct::kLong), col("Database", ct::kMemo), col("Connect", ct::kMemo),
        col("ForeignName", ct::kText, 255), col("RmtInfoShort", ct::kBinary, bin), col("RmtInfoLong", ct::kOle),
        col("Lv", ct::kOle), col("LvProp", ct::kOle), col("LvModule", ct::kOle), col("LvExtra", ct::kOle),
    };
    std::vector<NewIndex> indexes{
        idx("ParentIdName", {{"ParentId", true}, {"Name", true}}, fl::kUnique),
        idx("Id", {{"Id", true}}, fl::kUnique, storage::kIndexTypePrimary),
    };
    auto def = layoutTable(columns, indexes, format, sortOrder, true);
    // Jet lists the primary key first.
    std::swap(def.logicalIndexes[0], def.logicalIndexes[1]);
    return def;
}

storage::TableDefinition msysAcesDefinition(const format::JetFormat& format, std::uint16_t sortOrder) {
    std::vector<NewColumn> columns{col("ObjectId", ct::kLong), col("SID", ct::kBinary, binarySize(format), kSidFlag),
                                    col("ACM", ct::kLong), col("FInheritable", ct::kBoolean)};
    return layoutTable(columns, {idx("ObjectId", {{"ObjectId", true}}, fl::kRequired)}, format, sortOrder, true);
}

storage::TableDefinition msysQueriesDefinition(const format::JetFormat& format, std::uint16_t sortOrder) {
    std::vector<NewColumn> columns{col("ObjectId", ct::kLong),   col("Attribute", ct::kByte),
                                    col("Order", ct::kBinary, binarySize(format)), col("Name1", ct::kText, 255),
                                    col("Name2", ct::kText, 255), col("Expression", ct::kMemo),
                                    col("Flag", ct::kInteger)};
    if (!format.isJet3()) columns.push_back(col("LvExtra", ct::kLong));
    return layoutTable(columns,
                       {idx("ObjectIdAttribute", {{"ObjectId", true}, {"Attribute", true}, {"Order", true}},
                            fl::kUnique, storage::kIndexTypePrimary)},
                       format, sortOrder, true);
}

storage::TableDefinition msysRelationshipsDefinition(const format::JetFormat& format, std::uint16_t sortOrder) {
    std::vector<NewColumn> columns{
        col("szRelationship", ct::kText, 255), col("grbit", ct::kLong), col("ccolumn", ct::kLong),
        col("icolumn", ct::kLong), col("szObject", ct::kText, 255), col("szColumn", ct::kText, 255),
        col("szReferencedObject", ct::kText, 255), col("szReferencedColumn", ct::kText, 255),
    };
    std::vector<NewIndex> indexes{
        idx("szRelationship", {{"szRelationship", true}}, fl::kIgnoreNulls),
        idx("szObject", {{"szObject", true}}, fl::kIgnoreNulls),
        idx("szReferencedObject", {{"szReferencedObject", true}}, fl::kIgnoreNulls),
    };
    return layoutTable(columns, indexes, format, sortOrder, true);
}

std::vector<Value> catalogRow(const storage::TableDefinition& catalog, const CatalogEntry& e) {
    std::vector<Value> row(catalog.columns.size());
    auto set = [&](const char* name, Value v) {
        if (const auto* c = catalog.findColumn(name)) row[static_cast<std::size_t>(catalog.columnPosition(c->number))] = std::move(v);
    };
    set("Id", e.id);
    set("ParentId", e.parentId);
    set("Name", e.name);
    set("Type", e.type);
    set("DateCreate", DateTime{e.created});
    set("DateUpdate", DateTime{e.created});
    if (!e.owner.empty()) set("Owner", Bytes(e.owner));
    set("Flags", static_cast<std::int32_t>(e.flags));
    if (!e.properties.empty()) set("LvProp", Bytes(e.properties));
    return row;
}

std::vector<std::uint8_t> engineOwner(const format::JetFormat& format) {
    if (format.isJet3()) return {0x02, 0x03};
    return {0xA7, 0x31};
}

std::vector<std::uint8_t> userOwner(const format::JetFormat& format) {
    if (format.isJet3()) return {0x03, 0x01};
    return {0xA6, 0x33};
}

std::vector<Value> aceRow(const storage::TableDefinition& aces, const AceEntry& e, const format::JetFormat& format) {
    std::vector<std::uint8_t> sid;
    switch (e.account) {
    case AceAccount::AdminUser: sid = format.isJet3() ? std::vector<std::uint8_t>{0x03, 0x01} : std::vector<std::uint8_t>{0xA6, 0x33}; break;
    case AceAccount::UsersGroup: sid = format.isJet3() ? std::vector<std::uint8_t>{0x02, 0x01} : std::vector<std::uint8_t>{0xA7, 0x33}; break;
    case AceAccount::Other: sid = format.isJet3() ? std::vector<std::uint8_t>{0x02, 0x04} : std::vector<std::uint8_t>{0xA7, 0x36}; break;
    }
    std::vector<Value> row(aces.columns.size());
    auto set = [&](const char* name, Value v) {
        if (const auto* c = aces.findColumn(name)) row[static_cast<std::size_t>(aces.columnPosition(c->number))] = std::move(v);
    };
    set("ObjectId", e.objectId);
    set("SID", Bytes(sid));
    set("ACM", e.rights);
    set("FInheritable", e.inheritable);
    return row;
}

double oleNow() {
    using namespace std::chrono;
    const std::time_t now = system_clock::to_time_t(system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    // Days from 1899-12-30 (25569 days before 1970-01-01) to the local
    // date, then the time of day.
    const long long unixDays = static_cast<long long>(timegm(&local) / 86400);
    const double fraction = (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) / 86400.0;
    return static_cast<double>(unixDays + 25569) + fraction;
}

}  // namespace jet::write
