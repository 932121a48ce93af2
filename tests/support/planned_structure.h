// A database's structure as plain data, written into a new file by the
// engine: tests that compare or export structures change one value of a
// plan and write both.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "jet/dao.h"

namespace testsupport {

struct PlannedField {
    std::string name;
    int type;
    long size = 0;
    long attributes = 0;
    bool required = false;
    bool allowZeroLength = false;
    std::string defaultValue, validationRule, validationText;
};

struct PlannedIndex {
    std::string name;
    std::vector<std::pair<std::string, long>> members;  // field, attributes (1 descending)
    bool primary = false, unique = false, required = false, ignoreNulls = false;
};

struct PlannedTable {
    std::string name;
    std::vector<PlannedField> fields;
    std::vector<PlannedIndex> indexes;
};

struct PlannedRelation {
    std::string name, table, foreignTable;
    std::vector<std::pair<std::string, std::string>> fields;  // primary, foreign
    long attributes = 0;
};

struct PlannedQuery {
    std::string name, sql;
};

struct PlannedDatabase {
    int version = jet::dbVersion40;
    std::string locale = jet::dbLangGeneral;
    std::vector<PlannedTable> tables;
    std::vector<PlannedRelation> relations;
    std::vector<PlannedQuery> queries;

    PlannedTable& table(const std::string& name) {
        for (auto& t : tables)
            if (t.name == name) return t;
        throw std::out_of_range(name);
    }
};

inline void appendTable(jet::Database& db, const PlannedTable& table) {
    auto def = db.CreateTableDef(table.name);
    for (const auto& f : table.fields) {
        auto field = def->CreateField(f.name, f.type, f.size);
        field->SetAttributes(f.attributes);
        field->SetRequired(f.required);
        field->SetAllowZeroLength(f.allowZeroLength);
        field->SetDefaultValue(f.defaultValue);
        field->SetValidationRule(f.validationRule);
        field->SetValidationText(f.validationText);
        def->Fields().Append(std::move(field));
    }
    for (const auto& i : table.indexes) {
        auto index = def->CreateIndex(i.name);
        for (const auto& [name, attributes] : i.members) {
            auto member = index->CreateField(name);
            member->SetAttributes(attributes);
            index->Fields().Append(std::move(member));
        }
        index->SetPrimary(i.primary);
        index->SetUnique(i.unique);
        index->SetRequired(i.required);
        index->SetIgnoreNulls(i.ignoreNulls);
        def->Indexes().Append(std::move(index));
    }
    db.TableDefs().Append(std::move(def));
}

inline void appendRelation(jet::Database& db, const PlannedRelation& r) {
    auto relation = db.CreateRelation(r.name, r.table, r.foreignTable, r.attributes);
    for (const auto& [primary, foreign] : r.fields) {
        auto field = relation->CreateField(primary);
        field->SetForeignName(foreign);
        relation->Fields().Append(std::move(field));
    }
    db.Relations().Append(std::move(relation));
}

inline void writeDatabase(const PlannedDatabase& plan, const std::string& path) {
    auto db = jet::DBEngine().CreateDatabase(path, plan.locale, plan.version);
    for (const auto& table : plan.tables) appendTable(*db, table);
    for (const auto& r : plan.relations) appendRelation(*db, r);
    for (const auto& q : plan.queries) db->CreateQueryDef(q.name, q.sql);
}

// Customers and their Orders, related with cascades, with a saved query:
// one object of each kind the structure tools look at.
inline PlannedDatabase ordersPlan() {
    PlannedDatabase plan;
    plan.tables.push_back({"Customers",
                           {{"CustomerID", jet::dbLong, 4, jet::dbAutoIncrField},
                            {"Name", jet::dbText, 50, 0, true},
                            {"City", jet::dbText, 30, 0, false, true, "\"Basel\""},
                            {"Notes", jet::dbMemo},
                            // Quotes a name may hold, which every output must quote in turn.
                            {"Owner's \"Code\"", jet::dbText, 20, 0, false, false, "\"O'Brien \\ Co\""},
                            // A default longer than its field, which no row could hold.
                            {"Grade", jet::dbText, 2, 0, false, false, "\"ABC\""}},
                           {{"PrimaryKey", {{"CustomerID", 0}}, true, true, true},
                            {"ByName", {{"Name", 0}, {"City", jet::dbDescending}}, false, true},
                            {"Owner's \"Code\"", {{"Owner's \"Code\"", 0}}}}});
    plan.tables.push_back({"Orders",
                           {{"OrderID", jet::dbLong, 4, jet::dbAutoIncrField},
                            {"CustomerID", jet::dbLong, 4},
                            {"ShipDate", jet::dbDate, 8},
                            {"Amount", jet::dbCurrency, 8, 0, false, false, "0", ">=0", "Not below zero"},
                            {"Paid", jet::dbBoolean, 1}},
                           {{"PrimaryKey", {{"OrderID", 0}}, true, true, true},
                            {"ShipDate", {{"ShipDate", 0}}}}});
    plan.relations.push_back({"CustomersOrders", "Customers", "Orders", {{"CustomerID", "CustomerID"}},
                              jet::dbRelationUpdateCascade | jet::dbRelationDeleteCascade});
    plan.queries.push_back({"Big Orders", "SELECT Orders.OrderID, Orders.Amount FROM Orders WHERE Orders.Amount > 100;"});
    plan.queries.push_back({"Customer Orders",
                            "SELECT Customers.Name, [Big Orders].Amount FROM Customers INNER JOIN ([Big Orders] INNER JOIN "
                            "Orders ON [Big Orders].OrderID = Orders.OrderID) ON Customers.CustomerID = Orders.CustomerID;"});
    return plan;
}

}  // namespace testsupport
