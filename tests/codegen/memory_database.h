// Databases built in memory from the engine's objects, for tests that need
// exact, small structures. (Files written by our own engine will join them
// once it writes.)
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "codegen/structure_walk.h"
#include "jet/types.h"

namespace testcodegen {

struct FieldDefinition {
    std::string name;
    int type;
    long size;
    bool required = false;
    bool allowZeroLength = false;
    long attributes = 0;
};

class MemoryDatabase {
public:
    jet::Collection<jet::TableDef> tables;
    jet::Collection<jet::QueryDef> queries;
    jet::Collection<jet::Relation> relations;

    codegen::SourceDatabase source() { return {tables, queries, relations}; }

    jet::TableDef& addTable(const std::string& name, const std::vector<FieldDefinition>& fields, long attributes = 0) {
        auto table = std::make_unique<jet::TableDef>(name);
        table->SetAttributes(attributes);
        for (const auto& column : fields) {
            auto field = std::make_unique<jet::Field>(column.name, column.type, column.size);
            field->SetRequired(column.required);
            field->SetAllowZeroLength(column.allowZeroLength);
            field->SetAttributes(column.attributes);
            table->Fields().add(std::move(field));
        }
        return tables.add(std::move(table));
    }

    // Members as (name, attributes) pairs.
    jet::Index& addIndex(jet::TableDef& table, const std::string& name,
                         const std::vector<std::pair<std::string, long>>& members, bool primary, bool unique,
                         bool required) {
        auto index = std::make_unique<jet::Index>(name);
        index->SetPrimary(primary);
        index->SetUnique(unique);
        index->SetRequired(required);
        for (const auto& [member, attributes] : members) {
            auto field = index->CreateField(member);
            field->SetAttributes(attributes);
            index->Fields().add(std::move(field));
        }
        return table.Indexes().add(std::move(index));
    }

    jet::QueryDef& addQuery(const std::string& name, const std::string& sql) {
        auto query = std::make_unique<jet::QueryDef>(name);
        query->SetSQL(sql);
        return queries.add(std::move(query));
    }

    // Members as (primary column, foreign column) pairs.
    jet::Relation& addRelation(const std::string& name, const std::string& table, const std::string& foreignTable,
                               const std::vector<std::pair<std::string, std::string>>& members, long attributes,
                               bool partialReplica = false) {
        auto relation = std::make_unique<jet::Relation>(name, table, foreignTable);
        relation->SetAttributes(attributes);
        relation->SetPartialReplica(partialReplica);
        for (const auto& [column, foreign] : members) {
            auto field = relation->CreateField(column);
            field->SetForeignName(foreign);
            relation->Fields().add(std::move(field));
        }
        return relations.add(std::move(relation));
    }
};

// A small order database: Customers (Name text 50, ID long), Orders, a
// three-line query and a relation with cascading updates.
inline void buildOrders(MemoryDatabase& db) {
    auto& customers = db.addTable("Customers", {{"Name", jet::dbText, 50, false, true, 2},
                                                {"ID", jet::dbLong, 4, true, false, 17}});
    db.addIndex(customers, "PrimaryKey", {{"ID", 0}}, true, true, true);
    db.addIndex(customers, "ByName", {{"Name", 1}, {"ID", 0}}, false, false, false);
    auto& orders =
        db.addTable("Orders", {{"OrderID", jet::dbLong, 4, true, false, 17}, {"CustomerID", jet::dbLong, 4}});
    // The index Jet keeps for the relation below.
    db.addIndex(orders, "CustomersOrders", {{"CustomerID", 0}}, false, false, false).SetForeign(true);
    db.addQuery("Customer Names", "SELECT Customers.Name\r\nFROM Customers\r\n;\r\n");
    db.addRelation("CustomersOrders", "Customers", "Orders", {{"ID", "CustomerID"}}, 256);
}

inline std::vector<std::string> ordersListing() {
    return {"Tbl: Customers", "Tbl: Orders", "Qdf: Customer Names", "Rel: CustomersOrders"};
}

}  // namespace testcodegen
