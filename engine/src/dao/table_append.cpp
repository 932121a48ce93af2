// TableDefs.Append and Refresh: a program-built TableDef checked as DAO
// checks it, laid out, and written with its catalog row in one commit.
#include <algorithm>

#include "catalog/dao_codes.h"
#include "catalog/system_tables.h"
#include "dao/catalog_entries.h"
#include "dao/database_impl.h"
#include "dao/object_builders.h"
#include "dao/object_names.h"
#include "jet/types.h"
#include "storage/table_definition.h"
#include "write/page_sink.h"
#include "write/page_store.h"
#include "write/property_blob_writer.h"
#include "write/system_catalog.h"
#include "write/table_layout.h"
#include "write/table_writer.h"

namespace jet {
namespace {

namespace ct = storage::coltype;
constexpr long kDefaultTextSize = 50;
constexpr long kMaxTextSize = 255;
constexpr long kMaxJet4BinarySize = 510;
constexpr std::uint8_t kDefaultDecimalPrecision = 18;

[[noreturn]] void invalidType() { throw Error(kErrInvalidType, "Invalid field data type."); }

write::NewColumn newColumn(const Field& field, const format::JetFormat& format) {
    write::NewColumn wanted;
    wanted.name = field.Name();
    const long size = field.Size();
    switch (field.Type()) {
    case dbBoolean: wanted.type = ct::kBoolean; break;
    case dbByte: wanted.type = ct::kByte; break;
    case dbInteger: wanted.type = ct::kInteger; break;
    case dbLong: wanted.type = ct::kLong; break;
    case dbCurrency: wanted.type = ct::kCurrency; break;
    case dbSingle: wanted.type = ct::kSingle; break;
    case dbDouble: wanted.type = ct::kDouble; break;
    case dbDate: wanted.type = ct::kDateTime; break;
    case dbGUID: wanted.type = ct::kGuid; break;
    case dbLongBinary: wanted.type = ct::kOle; break;
    case dbMemo: wanted.type = ct::kMemo; break;
    case dbText:
    case dbChar:
        wanted.type = ct::kText;
        wanted.fixedText = field.Type() == dbChar || (field.Attributes() & dbFixedField) != 0;
        if (size < 0 || size > kMaxTextSize) invalidType();
        wanted.size = static_cast<std::uint16_t>(size == 0 ? kDefaultTextSize : size);
        break;
    case dbBinary:
    case dbVarBinary:
        wanted.type = ct::kBinary;
        // Jet 4 keeps up to 510 bytes in a binary column (Access makes
        // MSysCompactError.ErrorRecid that long); Jet 3 up to 255.
        if (size < 0 || size > (format.isJet3() ? kMaxTextSize : kMaxJet4BinarySize)) invalidType();
        wanted.size = static_cast<std::uint16_t>(size == 0 ? kMaxTextSize : size);
        break;
    case dbDecimal:
        if (format.isJet3()) invalidType();  // Jet 3 has no Decimal
        wanted.type = ct::kNumeric;
        wanted.precision = kDefaultDecimalPrecision;
        break;
    default: invalidType();
    }
    const long attributes = field.Attributes();
    if (attributes & dbAutoIncrField) {
        if (wanted.type != ct::kLong) invalidType();
        wanted.flags |= storage::colflag::kAutoLong;
    }
    if (attributes & dbHyperlinkField) {
        if (wanted.type != ct::kMemo) invalidType();
        wanted.flags |= storage::colflag::kHyperlink;
    }
    return wanted;
}

catalog::PropertyBlock columnProperties(const Field& field) {
    catalog::PropertyBlock block;
    block.objectName = field.Name();
    auto add = [&](const char* name, int type, Value value, bool ddl) {
        catalog::StoredProperty p;
        p.name = name;
        p.type = type;
        p.value = std::move(value);
        p.ddl = ddl;
        block.properties.push_back(std::move(p));
    };
    if (field.Required()) add("Required", dbBoolean, true, true);
    if (field.AllowZeroLength()) add("AllowZeroLength", dbBoolean, true, true);
    if (!field.DefaultValue().empty()) add("DefaultValue", dbText, field.DefaultValue(), true);
    if (!field.ValidationRule().empty()) add("ValidationRule", dbText, field.ValidationRule(), true);
    if (!field.ValidationText().empty()) add("ValidationText", dbText, field.ValidationText(), true);
    return block;
}

}  // namespace

void TableDefs::Append(std::unique_ptr<TableDef> table) {
    if (!table) throw Error(kErrInvalidArgument, "Invalid argument.");
    db_->appendTable(std::move(table));
}

void TableDefs::Refresh() { db_->reload(); }

void DatabaseImpl::appendTable(std::unique_ptr<TableDef> table) {
    dao::requireWritable(*this);
    const std::string& name = table->Name();
    if (!isValidObjectName(name)) throw invalidNameError(name);
    dao::requireStorableName(*this, name);
    if (tableDefs.find(name) || queryDefs.find(name))
        throw Error(kErrTableExists, "Table '" + name + "' already exists.");
    if (table->Fields().Count() == 0) throw Error(kErrNoFields, "No field defined--cannot append TableDef or Index.");

    const auto& format = file->format();
    const std::uint16_t codePage = dao::writeCodePage(*this);
    std::vector<write::NewColumn> columns;
    catalog::PropertyBlob properties;
    for (const auto& field : table->Fields()) {
        if (!isValidObjectName(field->Name())) throw invalidNameError(field->Name());
        dao::requireStorableName(*this, field->Name());
        columns.push_back(newColumn(*field, format));
        catalog::PropertyBlock block = columnProperties(*field);
        if (!block.properties.empty()) properties.blocks.push_back(std::move(block));
    }
    std::vector<write::NewIndex> indexes;
    int primaryKeys = 0;
    for (const auto& index : table->Indexes()) {
        if (index->Fields().Count() == 0)
            throw Error(kErrNoFields, "No field defined--cannot append TableDef or Index.");
        dao::requireStorableName(*this, index->Name());
        write::NewIndex wanted;
        wanted.name = index->Name();
        for (const auto& member : index->Fields()) {
            if (!table->Fields().find(member->Name())) throw Error(kErrItemNotFound, "Item not found in this collection.");
            wanted.columns.emplace_back(member->Name(), (member->Attributes() & dbDescending) == 0);
        }
        if (index->Primary()) {
            if (++primaryKeys > 1) throw Error(kErrSecondPrimaryKey, "Primary key already exists.");
            wanted.indexType = storage::kIndexTypePrimary;
            wanted.flags |= storage::idxflag::kUnique | storage::idxflag::kRequired;
        }
        if (index->Unique()) wanted.flags |= storage::idxflag::kUnique;
        if (index->Required()) wanted.flags |= storage::idxflag::kRequired;
        if (index->IgnoreNulls()) wanted.flags |= storage::idxflag::kIgnoreNulls;
        indexes.push_back(std::move(wanted));
    }

    write::PageStore store(*file);
    storage::TableDefinition def =
        write::layoutTable(columns, indexes, format, file->header().sortOrder ? file->header().sortOrder : 0x0409, false);
    const std::uint32_t tdefPage = write::TableWriter::create(store, def, codePage);

    write::CatalogEntry entry;
    entry.id = static_cast<std::int32_t>(tdefPage);
    entry.parentId = write::kTablesContainerId;
    entry.name = name;
    entry.type = write::kTypeTable;
    entry.created = write::oleNow();
    entry.owner = write::userOwner(format);
    entry.properties = write::encodePropertyBlob(properties, format, codePage);
    dao::addCatalogEntry(*this, store, entry, dao::kFullRightsGrants);

    commit(store);
    dao::noteCatalogEntry(*this, entry);

    // The new table as a reader of the file sees it, at the end of the
    // collection until Refresh sorts it in.
    const catalog::CatalogObject object = dao::storedObject(entry);
    storage::TableDefinition stored = storage::readTableDefinition(*file, tdefPage);
    tableDefs.add(dao::buildTableDef(object, &stored, *file, updatable));
    tdefPages.push_back(tdefPage);
}

void DatabaseImpl::reload() {
    requireOpen();
    tableDefs.clear();
    queryDefs.clear();
    relations.clear();
    properties.clear();
    tdefPages.clear();
    load();
}

}  // namespace jet
