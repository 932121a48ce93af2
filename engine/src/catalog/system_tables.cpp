#include "catalog/system_tables.h"

#include <algorithm>

#include "catalog/dao_codes.h"
#include "jet/collection.h"
#include "jet/error.h"
#include "jet/types.h"
#include "storage/table_reader.h"

namespace jet::catalog {
namespace {

const Value kNull = Null{};

std::vector<std::vector<Value>> readAllRows(io::PageFile& file, const storage::TableDefinition& def) {
    std::vector<std::vector<Value>> rows;
    storage::TableReader reader(file, def);
    storage::Row row;
    while (reader.next(row)) rows.push_back(std::move(row.values));
    return rows;
}

}  // namespace

ColumnMap::ColumnMap(const storage::TableDefinition& definition) : definition_(definition) {}

ColumnMap::Column ColumnMap::column(const char* name) const {
    const storage::ColumnDef* def = definition_.findColumn(name);
    if (!def) return {};
    return {static_cast<int>(def - definition_.columns.data())};
}

const Value& ColumnMap::get(const std::vector<Value>& row, Column column) const {
    const auto position = static_cast<std::size_t>(column.position);
    return column.position >= 0 && position < row.size() ? row[position] : kNull;
}

Value ColumnMap::take(std::vector<Value>& row, Column column) const {
    const auto position = static_cast<std::size_t>(column.position);
    return column.position >= 0 && position < row.size() ? std::move(row[position]) : Value{};
}

std::optional<std::int64_t> optionalIntegerOf(const Value& v) {
    if (auto p = std::get_if<std::int32_t>(&v)) return *p;
    if (auto p = std::get_if<std::int16_t>(&v)) return *p;
    if (auto p = std::get_if<std::uint8_t>(&v)) return *p;
    if (auto p = std::get_if<std::int64_t>(&v)) return *p;
    if (auto p = std::get_if<bool>(&v)) return *p ? -1 : 0;
    return std::nullopt;
}

std::int64_t integerOf(const Value& v, std::int64_t fallback) { return optionalIntegerOf(v).value_or(fallback); }

std::string textOf(const Value& v) {
    if (auto p = std::get_if<std::string>(&v)) return *p;
    return {};
}

std::vector<std::uint8_t> bytesOf(const Value& v) {
    if (auto p = std::get_if<Bytes>(&v)) return *p;
    return {};
}

std::optional<DateTime> dateOf(const Value& v) {
    if (auto p = std::get_if<DateTime>(&v)) return *p;
    if (auto p = std::get_if<double>(&v)) return DateTime{*p};
    return std::nullopt;
}

std::vector<CatalogObject> readCatalog(io::PageFile& file) {
    storage::TableDefinition def = storage::readTableDefinition(file, storage::kCatalogTdefPage);
    ColumnMap columns(def);
    if (!def.findColumn("Id") || !def.findColumn("Name") || !def.findColumn("Type"))
        throw Error(kErrUnrecognizedFormat, "Unrecognized database format '" + file.path() + "'.",
                    "page 2 holds no catalog");
    const auto id = columns.column("Id"), parentId = columns.column("ParentId"), name = columns.column("Name"),
               type = columns.column("Type"), flags = columns.column("Flags"), created = columns.column("DateCreate"),
               updated = columns.column("DateUpdate"), database = columns.column("Database"),
               connect = columns.column("Connect"), foreignName = columns.column("ForeignName"),
               properties = columns.column("LvProp");
    auto text = [&](std::vector<Value>& row, ColumnMap::Column column) {
        Value v = columns.take(row, column);
        if (auto p = std::get_if<std::string>(&v)) return std::move(*p);
        return std::string();
    };
    std::vector<CatalogObject> objects;
    // The stored count is a hint only: a damaged one must not reserve much.
    objects.reserve(std::min<std::size_t>(def.rowCount, 1u << 16));
    storage::TableReader reader(file, def);
    storage::Row row;
    while (reader.next(row)) {
        auto& values = row.values;
        CatalogObject o;
        o.id = static_cast<std::int32_t>(integerOf(columns.get(values, id)));
        o.parentId = static_cast<std::int32_t>(integerOf(columns.get(values, parentId)));
        o.name = text(values, name);
        o.type = static_cast<int>(integerOf(columns.get(values, type)));
        o.flags = static_cast<std::uint32_t>(integerOf(columns.get(values, flags)));
        o.created = dateOf(columns.get(values, created));
        o.updated = dateOf(columns.get(values, updated));
        o.database = text(values, database);
        o.connect = text(values, connect);
        o.foreignName = text(values, foreignName);
        Value blob = columns.take(values, properties);
        if (auto p = std::get_if<Bytes>(&blob)) o.properties = std::move(*p);
        objects.push_back(std::move(o));
    }
    return objects;
}

std::vector<std::vector<Value>> readSystemTable(io::PageFile& file, const std::vector<CatalogObject>& catalog,
                                                const std::string& tableName,
                                                storage::TableDefinition* definitionOut) {
    for (const auto& o : catalog) {
        if (o.type != kObjLocalTable || !namesEqual(o.name, tableName)) continue;
        storage::TableDefinition def = storage::readTableDefinition(file, o.tdefPage());
        auto rows = readAllRows(file, def);
        if (definitionOut) *definitionOut = std::move(def);
        return rows;
    }
    return {};
}

std::vector<RelationshipRow> readRelationships(io::PageFile& file, const std::vector<CatalogObject>& catalog) {
    storage::TableDefinition def;
    auto rows = readSystemTable(file, catalog, "MSysRelationships", &def);
    std::vector<RelationshipRow> result;
    if (rows.empty()) return result;
    ColumnMap columns(def);
    for (const auto& row : rows) {
        RelationshipRow r;
        r.name = textOf(columns.get(row, "szRelationship"));
        r.table = textOf(columns.get(row, "szReferencedObject"));
        r.column = textOf(columns.get(row, "szReferencedColumn"));
        r.foreignTable = textOf(columns.get(row, "szObject"));
        r.foreignColumn = textOf(columns.get(row, "szColumn"));
        r.columnIndex = static_cast<std::int32_t>(integerOf(columns.get(row, "icolumn")));
        r.columnCount = static_cast<std::int32_t>(integerOf(columns.get(row, "ccolumn")));
        r.attributes = static_cast<std::uint32_t>(integerOf(columns.get(row, "grbit")));
        result.push_back(std::move(r));
    }
    return result;
}

std::map<std::int32_t, std::vector<queries::QueryRow>> readQueryRows(io::PageFile& file,
                                                                     const std::vector<CatalogObject>& catalog) {
    storage::TableDefinition def;
    auto rows = readSystemTable(file, catalog, "MSysQueries", &def);
    std::map<std::int32_t, std::vector<queries::QueryRow>> result;
    if (rows.empty()) return result;
    ColumnMap columns(def);
    auto optionalText = [](const Value& v) -> std::optional<std::string> {
        if (isNull(v)) return std::nullopt;
        return textOf(v);
    };
    for (const auto& row : rows) {
        queries::QueryRow q;
        q.objectId = static_cast<std::int32_t>(integerOf(columns.get(row, "ObjectId")));
        q.attribute = static_cast<int>(integerOf(columns.get(row, "Attribute")));
        if (auto flag = optionalIntegerOf(columns.get(row, "Flag"))) q.flag = static_cast<int>(*flag);
        q.name1 = optionalText(columns.get(row, "Name1"));
        q.name2 = optionalText(columns.get(row, "Name2"));
        q.expression = optionalText(columns.get(row, "Expression"));
        q.order = bytesOf(columns.get(row, "Order"));
        if (auto extra = optionalIntegerOf(columns.get(row, "LvExtra"))) q.extra = static_cast<std::int32_t>(*extra);
        result[q.objectId].push_back(std::move(q));
    }
    return result;
}

int complexKindFromTypeTable(const std::string& typeTableName) {
    static const struct {
        const char* suffix;
        int type;
    } kKinds[] = {
        {"Attachment", dbAttachment},   {"UnsignedByte", dbComplexByte}, {"Short", dbComplexInteger},
        {"Long", dbComplexLong},        {"IEEESingle", dbComplexSingle}, {"IEEEDouble", dbComplexDouble},
        {"GUID", dbComplexGUID},        {"Decimal", dbComplexDecimal},   {"Text", dbComplexText},
    };
    const std::string prefix = "MSysComplexType_";
    if (typeTableName.rfind(prefix, 0) == 0) {
        std::string suffix = typeTableName.substr(prefix.size());
        for (const auto& k : kKinds)
            if (namesEqual(suffix, k.suffix)) return k.type;
    }
    // The version history of an append-only memo keeps text.
    if (typeTableName.rfind("MSysComplexTypeVH_", 0) == 0) return dbComplexText;
    return 0;
}

std::map<std::uint32_t, int> readComplexColumnKinds(io::PageFile& file, const std::vector<CatalogObject>& catalog) {
    storage::TableDefinition def;
    auto rows = readSystemTable(file, catalog, "MSysComplexColumns", &def);
    std::map<std::uint32_t, int> kinds;
    if (rows.empty()) return kinds;
    ColumnMap columns(def);
    for (const auto& row : rows) {
        auto typeObject = static_cast<std::int32_t>(integerOf(columns.get(row, "ComplexTypeObjectID")));
        auto complexId = static_cast<std::uint32_t>(integerOf(columns.get(row, "ComplexID")));
        for (const auto& o : catalog) {
            if (o.id != typeObject) continue;
            if (int kind = complexKindFromTypeTable(o.name)) kinds[complexId] = kind;
            break;
        }
    }
    return kinds;
}

}  // namespace jet::catalog
