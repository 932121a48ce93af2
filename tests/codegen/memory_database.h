// Databases built in memory from the engine's objects, for tests that need
// exact, small structures the engine would not write.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "codegen/structure_walk.h"
#include "jet/dao.h"
#include "jet/types.h"
#include "support/memory_objects.h"

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
        auto table = testsupport::makeTable(name, attributes);
        for (const auto& f : fields)
            table->Fields().add(testsupport::makeField(f.name, f.type, f.size, f.attributes, f.required, f.allowZeroLength));
        return tables.add(std::move(table));
    }
    jet::Index& addIndex(jet::TableDef& table, const std::string& name,
                         const std::vector<std::pair<std::string, long>>& members, bool primary, bool unique,
                         bool required) {
        return table.Indexes().add(testsupport::makeIndex(name, members, primary, unique, required));
    }
    jet::QueryDef& addQuery(const std::string& name, const std::string& sql) {
        return queries.add(testsupport::makeQuery(name, sql));
    }
    jet::Relation& addRelation(const std::string& name, const std::string& table, const std::string& foreignTable,
                               const std::vector<std::pair<std::string, std::string>>& members, long attributes,
                               bool partialReplica = false) {
        auto& relation = relations.add(testsupport::makeRelation(name, table, foreignTable, members, attributes));
        relation.SetPartialReplica(partialReplica);
        return relation;
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

// A database with what one output or another cannot make: ACE's attachment,
// multi-valued and calculated fields, a GUID auto-number, a table of
// attachments only, a linked table, a pass-through query, and relations to
// these and to a system table, and a table and a query whose definitions
// the engine could not read. Returns its listing.
inline std::vector<std::string> buildWhatOutputsCannotHold(MemoryDatabase& db) {
    auto& people = db.addTable("People", {{"ID", jet::dbLong, 4}, {"Photos", jet::dbAttachment, 0},
                                          {"Tags", jet::dbComplexText, 0}, {"Twice", jet::dbLong, 4},
                                          {"Key", jet::dbGUID, 16, false, false, jet::dbFixedField}});
    people.Fields()["Twice"].Properties().add(
        std::make_unique<jet::Property>("Expression", jet::dbText, jet::Value(std::string("[ID]*2"))));
    people.Fields()["Key"].SetDefaultValue("GenGUID()");
    db.addIndex(people, "PrimaryKey", {{"ID", 0}}, true, true, true);
    db.addIndex(people, "ByTags", {{"ID", 0}, {"Tags", 0}}, false, false, false);
    db.addTable("Only Photos", {{"Photos", jet::dbAttachment, 0}});
    auto& elsewhere = db.addTable("Elsewhere", {}, jet::dbAttachedTable);
    elsewhere.SetConnect(";DATABASE=C:\\Data\\Other.mdb");
    elsewhere.SetSourceTableName("Places");
    db.addTable("Visits", {{"PersonID", jet::dbLong, 4}});
    db.addTable("MSysNavPaneGroups", {{"Id", jet::dbLong, 4}}, jet::dbSystemObject);
    auto& remote = db.addQuery("Remote Sales", "EXEC GetSales 2003\r\n");
    remote.SetType(jet::dbQSQLPassThrough);
    remote.SetConnect("ODBC;DSN=Sales");
    db.addTable("Torn", {}).SetDamage("page 7 (table definition) offset 0: not a table definition page (type 1)");
    db.addQuery("Torn Query", "").SetDamage("no MSysQueries rows");
    db.addRelation("PeopleVisits", "People", "Visits", {{"ID", "PersonID"}}, 0);
    db.addRelation("ElsewhereVisits", "Elsewhere", "Visits", {{"ID", "PersonID"}}, 0);
    db.addRelation("LooseVisits", "Elsewhere", "Visits", {{"ID", "PersonID"}}, jet::dbRelationDontEnforce);
    db.addRelation("TagsVisits", "People", "Visits", {{"Tags", "PersonID"}}, 0);
    db.addRelation("MSysNavPaneGroupsVisits", "MSysNavPaneGroups", "Visits", {{"Id", "PersonID"}}, 0);
    return {"Tbl: People",       "Tbl: Only Photos",     "Tbl: Elsewhere",    "Tbl: Visits",
            "Tbl: Torn",         "Qdf: Remote Sales",    "Qdf: Torn Query",   "Rel: PeopleVisits",    "Rel: ElsewhereVisits", "Rel: LooseVisits",
            "Rel: TagsVisits",   "Rel: MSysNavPaneGroupsVisits"};
}

}  // namespace testcodegen
