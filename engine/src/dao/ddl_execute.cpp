// Database.Execute for Jet's data-definition statements: each statement
// read by the DDL parser and carried out through the same appends a
// program makes (TableDefs, Relations, an index on a stored table). Jet runs
// one statement per Execute.
#include <algorithm>

#include "dao/catalog_entries.h"
#include "dao/database_impl.h"
#include "jet/database.h"
#include "jet/types.h"
#include "sql/ddl_parser.h"
#include "sql/sql_parser.h"

namespace jet {
namespace {

using sql::DdlConstraint;
using sql::DdlStatement;

[[noreturn]] void noTable(const std::string& name) {
    throw Error(kErrNoSuchTableOrConstraint, "Cannot find table or constraint.", "table '" + name + "'");
}

TableDef* tableNamed(DatabaseImpl& db, const std::string& name) { return db.tableDefs.find(name); }

std::unique_ptr<Index> constraintIndex(const DdlConstraint& c) {
    auto index = std::make_unique<Index>(c.name);
    index->SetPrimary(c.kind == DdlConstraint::Kind::PrimaryKey);
    index->SetUnique(true);
    index->SetRequired(c.kind == DdlConstraint::Kind::PrimaryKey);
    for (const auto& field : c.fields) index->Fields().Append(index->CreateField(field));
    return index;
}

// A field's type and the unique indexes of one side of a foreign key, as
// the stored table or the table being created gives them.
struct ReferencedSide {
    const Collection<Field>* fields = nullptr;
    const Collection<Index>* indexes = nullptr;
};

// The referenced fields of `c` (the primary key's when the constraint
// names none). Throws 3609 when the referenced table has no primary key.
std::vector<std::string> referencedFields(const DdlConstraint& c, const ReferencedSide& side) {
    if (!c.referencedFields.empty()) return c.referencedFields;
    for (const auto& index : *side.indexes)
        if (index->Primary()) {
            std::vector<std::string> names;
            for (const auto& member : index->Fields()) names.push_back(member->Name());
            return names;
        }
    throw Error(kErrNoUniqueIndex, "No unique index found for the referenced field of the primary table.");
}

// The checks Relations.Append makes that a new table's foreign key could
// fail, made before the table is written, so that a refused statement
// leaves nothing behind.
void checkReference(const DdlConstraint& c, const std::vector<std::string>& primaryFields, const ReferencedSide& primary,
                    const Collection<Field>& foreignFields) {
    if (primaryFields.size() != c.fields.size()) throw Error(3289, "Syntax error in CONSTRAINT clause.");
    for (std::size_t i = 0; i < c.fields.size(); ++i) {
        const Field* from = foreignFields.find(c.fields[i]);
        const Field* to = primary.fields->find(primaryFields[i]);
        if (!from || !to) throw Error(kErrItemNotFound, "Item not found in this collection.", "field '" + (from ? primaryFields[i] : c.fields[i]) + "'");
        if (from->Type() != to->Type())
            throw Error(kErrRelationFieldTypes, "Relationship must be on the same number of fields with the same data types.");
    }
    for (const auto& index : *primary.indexes) {
        if (!(index->Primary() || index->Unique()) || index->Fields().Count() != static_cast<int>(primaryFields.size()))
            continue;
        bool covers = true;
        for (const auto& member : index->Fields())
            covers = covers && std::any_of(primaryFields.begin(), primaryFields.end(),
                                           [&](const std::string& f) { return namesEqual(f, member->Name()); });
        if (covers) return;
    }
    throw Error(kErrNoUniqueIndex, "No unique index found for the referenced field of the primary table.");
}

void addForeignKey(Database& db, const std::string& foreignTable, const DdlConstraint& c,
                   const std::vector<std::string>& primaryFields) {
    long attributes = 0;
    if (c.cascadeUpdates) attributes |= dbRelationUpdateCascade;
    if (c.cascadeDeletes) attributes |= dbRelationDeleteCascade;
    auto relation = db.CreateRelation(c.name, c.referencedTable, foreignTable, attributes);
    for (std::size_t i = 0; i < c.fields.size(); ++i) {
        auto field = relation->CreateField(primaryFields[i]);
        field->SetForeignName(c.fields[i]);
        relation->Fields().Append(std::move(field));
    }
    db.Relations().Append(std::move(relation));
}

ReferencedSide storedSide(DatabaseImpl& db, const std::string& name) {
    TableDef* table = tableNamed(db, name);
    if (!table) noTable(name);
    return {&table->Fields(), &table->Indexes()};
}

void createTable(Database& db, const DdlStatement& s) {
    DatabaseImpl& impl = db.impl();
    auto table = db.CreateTableDef(s.table);
    for (const auto& f : s.fields) {
        auto field = table->CreateField(f.name, f.type, f.size);
        field->SetRequired(f.notNull);
        if (f.counter) field->SetAttributes(dbAutoIncrField);
        table->Fields().Append(std::move(field));
    }
    for (const auto& c : s.constraints)
        if (c.kind != DdlConstraint::Kind::ForeignKey) table->Indexes().Append(constraintIndex(c));
    if (tableNamed(impl, s.table) || impl.queryDefs.find(s.table))
        throw Error(kErrTableExists, "Table '" + s.table + "' already exists.");

    std::vector<std::pair<const DdlConstraint*, std::vector<std::string>>> foreignKeys;
    for (const auto& c : s.constraints) {
        if (c.kind != DdlConstraint::Kind::ForeignKey) continue;
        // A relation's index in this table takes the relation's name.
        if (table->Indexes().find(c.name) ||
            std::count_if(s.constraints.begin(), s.constraints.end(),
                          [&](const DdlConstraint& other) { return namesEqual(other.name, c.name); }) > 1)
            throw Error(kErrIndexExists, "Index already exists.");
        if (impl.relations.find(c.name))
            throw Error(kErrDuplicateObject, "Object '" + c.name + "' already exists.");
        const bool self = namesEqual(c.referencedTable, s.table);
        const ReferencedSide side = self ? ReferencedSide{&table->Fields(), &table->Indexes()} : storedSide(impl, c.referencedTable);
        std::vector<std::string> primaryFields = referencedFields(c, side);
        checkReference(c, primaryFields, side, table->Fields());
        foreignKeys.emplace_back(&c, std::move(primaryFields));
    }
    const std::string name = table->Name();
    db.TableDefs().Append(std::move(table));
    for (const auto& [c, primaryFields] : foreignKeys) addForeignKey(db, name, *c, primaryFields);
}

void createIndex(Database& db, const DdlStatement& s) {
    TableDef* table = tableNamed(db.impl(), s.table);
    if (!table) noTable(s.table);
    if (table->Indexes().find(s.index))
        throw Error(kErrTableHasIndex, "Table '" + table->Name() + "' already has an index named '" + s.index + "'.");
    Index index(s.index);
    index.SetPrimary(s.primary);
    index.SetUnique(s.unique || s.primary);
    index.SetRequired(s.disallowNull || s.primary);
    index.SetIgnoreNulls(s.ignoreNull);
    for (const auto& m : s.members) {
        auto member = index.CreateField(m.name);
        if (m.descending) member->SetAttributes(dbDescending);
        index.Fields().Append(std::move(member));
    }
    db.impl().appendIndex(table->Name(), index);
}

void addConstraint(Database& db, const DdlStatement& s) {
    TableDef* table = tableNamed(db.impl(), s.table);
    if (!table) noTable(s.table);
    const DdlConstraint& c = s.constraints.front();
    if (c.kind != DdlConstraint::Kind::ForeignKey) {
        if (table->Indexes().find(c.name))
            throw Error(kErrTableHasIndex, "Table '" + table->Name() + "' already has an index named '" + c.name + "'.");
        db.impl().appendIndex(table->Name(), *constraintIndex(c));
        return;
    }
    const ReferencedSide side = storedSide(db.impl(), c.referencedTable);
    addForeignKey(db, table->Name(), c, referencedFields(c, side));
}

}  // namespace

void Database::Execute(const std::string& text) {
    impl_->requireOpen();
    if (!sql::isDdlStatement(text)) {
        // Anything else must at least be a statement Jet reads.
        const sql::ParsedQuery query = sql::parseQuery(text);
        if (query.type == dbQSelect || query.type == dbQCrosstab || query.type == dbQSetOperation)
            throw Error(kErrCannotExecuteSelect, "Cannot execute a select query.");
        throw Error(kErrOperationNotSupported, "Operation is not supported for this type of object.",
                    "Execute runs data-definition statements only");
    }
    dao::requireWritable(*impl_);
    const DdlStatement s = sql::parseDdl(text, impl_->file->format().isJet3());
    switch (s.kind) {
    case DdlStatement::Kind::CreateTable: createTable(*this, s); break;
    case DdlStatement::Kind::CreateIndex: createIndex(*this, s); break;
    case DdlStatement::Kind::AddConstraint: addConstraint(*this, s); break;
    case DdlStatement::Kind::DropTable:
    case DdlStatement::Kind::DropIndex:
        throw Error(kErrOperationNotSupported, "Operation is not supported for this type of object.",
                    "DROP is not supported: tables and indexes are only added");
    }
}

}  // namespace jet
