#include "dao/object_builders.h"

#include <algorithm>
#include <map>

#include "catalog/dao_codes.h"
#include "catalog/name_order.h"
#include "storage/text_codec.h"

namespace jet::dao {
namespace {

const Value* storedValue(const catalog::PropertyBlock* block, const char* name) {
    if (!block) return nullptr;
    const catalog::StoredProperty* p = block->find(name);
    return p ? &p->value : nullptr;
}

bool storedFlag(const catalog::PropertyBlock* block, const char* name) {
    const Value* v = storedValue(block, name);
    if (!v) return false;
    if (auto b = std::get_if<bool>(v)) return *b;
    return catalog::integerOf(*v) != 0;
}

std::string storedText(const catalog::PropertyBlock* block, const char* name) {
    const Value* v = storedValue(block, name);
    return v ? valueToString(*v) : std::string();
}

// A calculated column (ACE) stores its result behind a fixed header and keeps
// the result's kind, as a column type byte, in its ResultType property.
constexpr std::uint16_t kCalculatedHeaderLength = 23;

std::unique_ptr<Field> buildField(const storage::ColumnDef& column, int ordinal, bool unicodeText,
                                  const catalog::PropertyBlock* block, int complexKind) {
    std::uint8_t type = column.type;
    std::uint16_t length = column.length;
    if ((column.extFlags & storage::colextflag::kCalculated) != 0) {
        if (const Value* result = storedValue(block, "ResultType")) {
            auto resultType = catalog::integerOf(*result);
            if (resultType > 0 && resultType < 0x100) type = static_cast<std::uint8_t>(resultType);
        }
        if (length >= kCalculatedHeaderLength) length = static_cast<std::uint16_t>(length - kCalculatedHeaderLength);
    }
    auto field = std::make_unique<Field>(column.name, catalog::daoFieldType(type, complexKind),
                                         catalog::daoFieldSize(type, length, unicodeText));
    const bool replication = column.name.rfind("s_", 0) == 0 || column.name.rfind("Gen_", 0) == 0;
    field->SetAttributes(catalog::daoFieldAttributes(type, column.flags, replication));
    field->SetOrdinalPosition(ordinal);
    // DAO reads these from the column's stored properties; an absent one
    // is False or empty.
    field->SetRequired(storedFlag(block, "Required"));
    field->SetAllowZeroLength(storedFlag(block, "AllowZeroLength"));
    field->SetDefaultValue(storedText(block, "DefaultValue"));
    field->SetValidationRule(storedText(block, "ValidationRule"));
    field->SetValidationText(storedText(block, "ValidationText"));
    addStoredProperties(field->Properties(), block);
    return field;
}

// The index Jet keeps on the primary table of an enforced relationship
// serves the relationship only; DAO lists just the foreign table's one. The
// reference names the type of the table the index sits on: 1 for the
// primary table.
constexpr std::uint8_t kReferencePrimaryTable = 1;

bool isPrimarySideOfRelationship(const storage::LogicalIndex& logical) {
    return logical.isForeignKey() && logical.relatedTableType == kReferencePrimaryTable;
}

std::unique_ptr<Index> buildIndex(const storage::LogicalIndex& logical, const storage::TableDefinition& definition) {
    auto index = std::make_unique<Index>(logical.name);
    index->SetPrimary(logical.isPrimary());
    index->SetForeign(logical.isForeignKey());
    if (logical.realIndexNumber < definition.realIndexes.size()) {
        const storage::RealIndex& real = definition.realIndexes[logical.realIndexNumber];
        index->Fields().reserve(static_cast<int>(real.columns.size()));
        // A primary key is unique and admits no Null whatever its flags say.
        index->SetUnique(real.unique() || logical.isPrimary());
        index->SetRequired(real.required() || logical.isPrimary());
        index->SetIgnoreNulls(real.ignoreNulls());
        for (const auto& member : real.columns) {
            int position = definition.columnPosition(member.columnNumber);
            if (position < 0) continue;
            auto field = index->CreateField(definition.columns[static_cast<std::size_t>(position)].name);
            if (!member.ascending) field->SetAttributes(dbDescending);
            index->Fields().add(std::move(field));
        }
    }
    return index;
}

std::string linkConnect(const catalog::CatalogObject& object) {
    if (object.type == catalog::kObjLinkedOdbc) {
        // The catalog keeps the ODBC string without the "ODBC;" DAO shows.
        if (object.connect.rfind("ODBC;", 0) == 0) return object.connect;
        return "ODBC;" + object.connect;
    }
    return object.connect + ";DATABASE=" + object.database;
}

}  // namespace

void addStoredProperties(Collection<Property>& out, const catalog::PropertyBlock* block) {
    if (!block) return;
    for (const auto& p : block->properties)
        if (!out.find(p.name)) out.add(std::make_unique<Property>(p.name, p.type, p.value));
}

catalog::PropertyBlob readProperties(const catalog::CatalogObject& object, const io::PageFile& file) {
    if (object.properties.empty()) return {};
    const std::uint16_t codePage = file.header().codePage;
    const format::JetFormat& format = file.format();
    try {
        return catalog::parsePropertyBlob(object.properties, [&](std::span<const std::uint8_t> bytes) {
            return storage::decodeText(bytes, format, codePage);
        });
    } catch (const Error&) {
        return {};
    }
}

std::unique_ptr<TableDef> listedTableDef(const catalog::CatalogObject& object) {
    auto table = std::make_unique<TableDef>(object.name);
    table->SetAttributes(catalog::daoTableDefAttributes(object.type, object.flags));
    if (object.type == catalog::kObjLinkedTable || object.type == catalog::kObjLinkedOdbc) {
        table->SetConnect(linkConnect(object));
        table->SetSourceTableName(object.foreignName);
    }
    return table;
}

std::unique_ptr<TableDef> buildTableDef(const catalog::CatalogObject& object,
                                        const storage::TableDefinition* definition, const io::PageFile& file,
                                        bool databaseUpdatable, const std::map<std::uint32_t, int>& complexKinds) {
    auto table = std::make_unique<TableDef>(object.name);
    table->SetAttributes(catalog::daoTableDefAttributes(object.type, object.flags));
    const bool system = (object.flags & catalog::kCatalogSystemBits) != 0;
    table->SetUpdatable(databaseUpdatable && !system);
    catalog::PropertyBlob blob = readProperties(object, file);
    addStoredProperties(table->Properties(), blob.block(""));

    if (!definition) {
        table->SetConnect(linkConnect(object));
        table->SetSourceTableName(object.foreignName);
        table->SetRecordCount(-1);
        return table;
    }
    table->SetRecordCount(static_cast<long>(definition->rowCount));
    const bool unicode = file.format().unicodeText;
    int ordinal = 0;
    table->Fields().reserve(static_cast<int>(definition->columns.size()));
    table->Indexes().reserve(static_cast<int>(definition->logicalIndexes.size()));
    for (const auto& column : definition->columns) {
        auto kind = complexKinds.find(column.complexId);
        int complexKind = kind == complexKinds.end() ? 0 : kind->second;
        table->Fields().add(buildField(column, ordinal++, unicode, blob.block(column.name), complexKind));
    }
    addIndexes(*definition, table->Indexes());
    return table;
}

void addIndexes(const storage::TableDefinition& definition, Collection<Index>& out) {
    for (const auto& logical : definition.logicalIndexes) {
        if (isPrimarySideOfRelationship(logical)) continue;
        out.add(buildIndex(logical, definition));
    }
}

std::unique_ptr<QueryDef> buildQueryDef(const catalog::CatalogObject& object, const queries::RebuiltQuery* rebuilt,
                                        const io::PageFile& file, bool databaseUpdatable) {
    auto query = std::make_unique<QueryDef>(object.name);
    if (object.created) query->SetDateCreated(*object.created);
    if (object.updated) query->SetLastUpdated(*object.updated);
    query->SetUpdatable(databaseUpdatable);
    if (rebuilt) {
        query->SetType(rebuilt->type);
        query->SetSQL(rebuilt->sql);
        query->SetReturnsRecords(rebuilt->returnsRecords);
        query->SetConnect(rebuilt->connect);
        for (const auto& name : rebuilt->outputFields) query->Fields().add(std::make_unique<Field>(name, 0, 0));
    } else {
        // The catalog flags carry the query's kind in their upper nibble.
        query->SetType(static_cast<int>(object.flags & 0xF0));
    }
    catalog::PropertyBlob blob = readProperties(object, file);
    const catalog::PropertyBlock* own = blob.block("");
    if (own) {
        if (const auto* p = own->find("MaxRecords")) query->SetMaxRecords(static_cast<long>(catalog::integerOf(p->value)));
        if (const auto* p = own->find("ReturnsRecords")) query->SetReturnsRecords(catalog::integerOf(p->value) != 0);
    }
    addStoredProperties(query->Properties(), own);
    return query;
}

void buildRelations(const std::vector<catalog::RelationshipRow>& rows, Collection<Relation>& out) {
    std::vector<std::string> names;
    std::map<std::string, std::vector<const catalog::RelationshipRow*>> byName;
    for (const auto& row : rows) {
        auto& group = byName[row.name];
        if (group.empty()) names.push_back(row.name);
        group.push_back(&row);
    }
    catalog::sortInCatalogOrder(names, [](const std::string& name) { return std::string_view(name); });
    for (const auto& name : names) {
        auto& group = byName[name];
        std::stable_sort(group.begin(), group.end(),
                         [](auto* a, auto* b) { return a->columnIndex < b->columnIndex; });
        const catalog::RelationshipRow& first = *group.front();
        auto relation = std::make_unique<Relation>(name, first.table, first.foreignTable);
        relation->SetAttributes(static_cast<long>(first.attributes));
        for (const auto* row : group) {
            auto field = relation->CreateField(row->column);
            field->SetForeignName(row->foreignColumn);
            relation->Fields().add(std::move(field));
        }
        out.add(std::move(relation));
    }
}

}  // namespace jet::dao
