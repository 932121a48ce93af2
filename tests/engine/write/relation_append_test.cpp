// Relations.Append on Jet 3 and Jet 4 files: enforced relations with their
// foreign-key indexes (shared with an existing index or built over the rows
// already there), unenforced ones with rows only, a table related to itself,
// the relation as DAO reads it back and DAO's errors (the file left byte
// for byte as it was). The corpus relations test compares the written
// entries with Access's and asks the referee.
#include <gtest/gtest.h>

#include "dao/database_impl.h"
#include "engine/write/write_support.h"
#include "jet/dao.h"
#include "storage/table_definition.h"
#include "support/planned_structure.h"
#include "write/index_writer.h"
#include "write/page_store.h"

namespace {

using writetest::errorOf;
using writetest::TempFolder;
using testsupport::appendRelation;
using testsupport::appendTable;

void addRows(jet::Database& db, const char* table, const std::vector<writetest::Row>& rows) {
    for (const auto& row : rows) writetest::insert(db, table, row);
}

// The stored definition of a table, as the file holds it now.
jet::storage::TableDefinition definitionOf(jet::Database& db, const std::string& table) {
    for (int i = 0; i < db.TableDefs().Count(); ++i)
        if (db.TableDefs()[i].Name() == table)
            return jet::storage::readTableDefinition(*db.impl().file, db.impl().tdefPages[static_cast<std::size_t>(i)]);
    throw std::runtime_error("no table " + table);
}

const jet::storage::LogicalIndex* logicalNamed(const jet::storage::TableDefinition& def, const std::string& name) {
    for (const auto& logical : def.logicalIndexes)
        if (logical.name == name) return &logical;
    return nullptr;
}

class RelationAppendTest : public ::testing::TestWithParam<int> {
protected:
    std::shared_ptr<jet::Database> create(const std::string& path) {
        return jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral, GetParam());
    }

    // Customers(ID key, Name) and Orders(OrderID key, CustomerID indexed).
    void customersAndOrders(jet::Database& db) {
        appendTable(db,
                    {"Customers", {{"ID", jet::dbLong}, {"Name", jet::dbText, 30}}, {{"PrimaryKey", {{"ID", 0}}, true}}});
        appendTable(db, {"Orders",
                         {{"OrderID", jet::dbLong}, {"CustomerID", jet::dbLong}, {"Code", jet::dbText, 10}},
                         {{"PrimaryKey", {{"OrderID", 0}}, true}, {"CustomerID", {{"CustomerID", 0}}}}});
    }
};

TEST_P(RelationAppendTest, EnforcedRelationWritesBothForeignKeyIndexes) {
    TempFolder folder;
    const std::string path = folder.file("orders.mdb");
    const long cascades = jet::dbRelationUpdateCascade | jet::dbRelationDeleteCascade;
    {
        auto db = create(path);
        customersAndOrders(*db);
        addRows(*db, "Customers", {{{"ID", 1}, {"Name", std::string("Ann")}}, {{"ID", 2}, {"Name", std::string("Bo")}}});
        addRows(*db, "Orders", {{{"OrderID", 10}, {"CustomerID", 1}}, {{"OrderID", 11}, {"CustomerID", 2}},
                                {{"OrderID", 12}}});
        // The program's spelling of tables and fields; the catalog's is stored.
        appendRelation(*db, {"CustomersOrders", "customers", "ORDERS", {{"id", "customerid"}}, cascades});
        // Usable at once: the relation, and the foreign table's new index.
        ASSERT_EQ(db->Relations().Count(), 1);
        EXPECT_EQ(db->Relations()[0].Table(), "Customers");
        EXPECT_TRUE(db->TableDefs()["Orders"].Indexes()["CustomersOrders"].Foreign());
    }
    auto db = jet::DBEngine().OpenDatabase(path);
    const jet::Relation& r = db->Relations()["CustomersOrders"];
    EXPECT_EQ(r.Table() + ">" + r.ForeignTable() + " " + r.Fields()[0].Name() + ">" + r.Fields()[0].ForeignName(),
              "Customers>Orders ID>CustomerID");
    // The corpus test compares the attributes, both tables' indexes as DAO
    // lists them and their entries with Access's; the entries' order in the
    // definition (by name, the new one among them) only here.
    std::vector<std::string> names;
    for (const auto& logical : definitionOf(*db, "Orders").logicalIndexes) names.push_back(logical.name);
    EXPECT_EQ(names, (std::vector<std::string>{"CustomerID", "CustomersOrders", "PrimaryKey"}));
}

// Two fields named in another order than the primary key's, and a foreign
// table without an index over them: a new real index, built over the rows
// already there and kept up by later writes.
TEST_P(RelationAppendTest, TwoFieldsGetANewIndexOverExistingRows) {
    TempFolder folder;
    const std::string path = folder.file("two.mdb");
    auto db = create(path);
    appendTable(*db, {"Parent", {{"Region", jet::dbText, 10}, {"No", jet::dbInteger}, {"Label", jet::dbText, 20}},
                      {{"PrimaryKey", {{"Region", 0}, {"No", 0}}, true}}});
    appendTable(*db, {"Child", {{"ID", jet::dbLong}, {"PNo", jet::dbInteger}, {"PRegion", jet::dbText, 10}},
                      {{"PrimaryKey", {{"ID", 0}}, true}}});
    addRows(*db, "Parent", {{{"Region", std::string("North")}, {"No", std::int16_t{1}}},
                            {{"Region", std::string("South")}, {"No", std::int16_t{1}}}});
    // Text keys compare as Jet compares them: without regard to case.
    addRows(*db, "Child", {{{"ID", 1}, {"PRegion", std::string("north")}, {"PNo", std::int16_t{1}}},
                           {{"ID", 2}, {"PRegion", std::string("South")}, {"PNo", std::int16_t{1}}},
                           {{"ID", 3}, {"PRegion", std::string("West")}}});
    appendRelation(*db, {"ParentChild", "Parent", "Child", {{"No", "PNo"}, {"Region", "PRegion"}}});

    const jet::Relation& r = db->Relations()["ParentChild"];
    ASSERT_EQ(r.Fields().Count(), 2);
    EXPECT_EQ(r.Fields()[0].Name(), "No");
    EXPECT_EQ(r.Fields()[1].ForeignName(), "PRegion");
    EXPECT_EQ(db->TableDefs()["Child"].Indexes()["ParentChild"].FieldsText(), "+PRegion;+PNo");

    auto child = definitionOf(*db, "Child");
    const auto* fk = logicalNamed(child, "ParentChild");
    ASSERT_TRUE(fk);
    ASSERT_EQ(child.realIndexes.size(), 2u);
    EXPECT_EQ(fk->realIndexNumber, 1u);
    EXPECT_EQ(child.realIndexes[1].flags, GetParam() == jet::dbVersion40 ? 0x80 : 0x00);
    jet::write::PageStore store(*db->impl().file);
    EXPECT_EQ(jet::write::allIndexEntries(store, child.realIndexes[1]).size(), 3u);
    EXPECT_EQ(child.realIndexes[1].rowCount, 3u);

    addRows(*db, "Child", {{{"ID", 4}, {"PRegion", std::string("North")}, {"PNo", std::int16_t{1}}}});
    child = definitionOf(*db, "Child");
    jet::write::PageStore after(*db->impl().file);
    EXPECT_EQ(jet::write::allIndexEntries(after, child.realIndexes[1]).size(), 4u);
}

// Unenforced relations (here with a join type) are rows only: no index, and
// no unique index needed on the primary side.
TEST_P(RelationAppendTest, UnenforcedRelationWritesRowsOnly) {
    TempFolder folder;
    const std::string path = folder.file("loose.mdb");
    const long attributes = jet::dbRelationDontEnforce | jet::dbRelationLeft;
    {
        auto db = create(path);
        customersAndOrders(*db);
        const auto before = definitionOf(*db, "Orders");
        appendRelation(*db, {"ByCode", "Orders", "Customers", {{"Code", "Name"}}, attributes});
        appendRelation(*db, {"Rightward", "Customers", "Orders", {{"ID", "CustomerID"}},
                             jet::dbRelationDontEnforce | jet::dbRelationRight});
        const auto after = definitionOf(*db, "Orders");
        EXPECT_EQ(after.logicalIndexes.size(), before.logicalIndexes.size());
        EXPECT_EQ(after.realIndexes.size(), before.realIndexes.size());
    }
    auto db = jet::DBEngine().OpenDatabase(path);
    ASSERT_EQ(db->Relations().Count(), 2);
    EXPECT_EQ(db->Relations()["ByCode"].Attributes(), attributes);
    EXPECT_EQ(db->Relations()["Rightward"].Attributes(), jet::dbRelationDontEnforce | jet::dbRelationRight);
    EXPECT_EQ(db->Relations()["ByCode"].Fields()[0].ForeignName(), "Name");
    EXPECT_EQ(db->TableDefs()["Orders"].Indexes().Count(), 2);
}

// A table related to itself gets both indexes, numbered one after the other.
TEST_P(RelationAppendTest, TableRelatedToItself) {
    TempFolder folder;
    auto db = create(folder.file("self.mdb"));
    appendTable(*db, {"Staff", {{"ID", jet::dbLong}, {"Boss", jet::dbLong}}, {{"PrimaryKey", {{"ID", 0}}, true}}});
    addRows(*db, "Staff", {{{"ID", 1}}, {{"ID", 2}, {"Boss", 1}}});
    appendRelation(*db, {"StaffStaff", "Staff", "Staff", {{"ID", "Boss"}}});
    const auto staff = definitionOf(*db, "Staff");
    const auto* onPrimary = logicalNamed(staff, ".rB");
    const auto* onForeign = logicalNamed(staff, "StaffStaff");
    ASSERT_TRUE(onPrimary && onForeign);
    EXPECT_EQ(onPrimary->indexNumber, 1u);
    EXPECT_EQ(onForeign->indexNumber, 2u);
    EXPECT_EQ(onPrimary->relatedIndexNumber, 2);
    EXPECT_EQ(onForeign->relatedIndexNumber, 1);
    EXPECT_EQ(onPrimary->relatedTablePage, staff.tdefPage);
    EXPECT_EQ(staff.realIndexes.size(), 2u);
    EXPECT_EQ(db->TableDefs()["Staff"].Indexes().Count(), 2);
}

// Between two uniquely indexed sides the relation is one-to-one, and Jet
// marks it so.
TEST_P(RelationAppendTest, OneToOneIsMarkedUnique) {
    TempFolder folder;
    auto db = create(folder.file("one.mdb"));
    appendTable(*db, {"Person", {{"ID", jet::dbLong}}, {{"PrimaryKey", {{"ID", 0}}, true}}});
    appendTable(*db, {"Passport", {{"PersonID", jet::dbLong}, {"Number", jet::dbText, 12}},
                      {{"PrimaryKey", {{"PersonID", 0}}, true}}});
    appendRelation(*db, {"PersonPassport", "Person", "Passport", {{"ID", "PersonID"}}});
    EXPECT_EQ(db->Relations()[0].Attributes(), jet::dbRelationUnique);
    const auto passport = definitionOf(*db, "Passport");
    // The foreign side shares the primary key's real index.
    EXPECT_EQ(passport.realIndexes.size(), 1u);
    EXPECT_EQ(logicalNamed(passport, "PersonPassport")->realIndexNumber, 0u);
}

TEST_P(RelationAppendTest, BadRelationsChangeNothing) {
    TempFolder folder;
    const std::string path = folder.file("errors.mdb");
    auto db = create(path);
    customersAndOrders(*db);
    appendTable(*db, {"Notes", {{"ID", jet::dbLong}, {"Text", jet::dbText, 30}, {"Other", jet::dbLong}}, {}});
    addRows(*db, "Customers", {{{"ID", 1}}});
    addRows(*db, "Orders", {{{"OrderID", 1}, {"CustomerID", 1}}});
    appendRelation(*db, {"First", "Customers", "Orders", {{"ID", "CustomerID"}}});
    const auto before = writetest::readFile(path);
    auto append = [&](const char* name, const char* table, const char* foreign, long attributes,
                      std::vector<std::pair<std::string, std::string>> pairs) {
        return errorOf([&] { appendRelation(*db, {name, table, foreign, pairs, attributes}); });
    };
    const long loose = jet::dbRelationDontEnforce;

    EXPECT_EQ(append("first", "Customers", "Orders", 0, {{"ID", "OrderID"}}), 3012);
    EXPECT_EQ(append("Empty", "Customers", "Orders", 0, {}), 3366);
    EXPECT_EQ(append("Bad.Name", "Customers", "Orders", loose, {{"ID", "CustomerID"}}), 3125);
    EXPECT_EQ(append("", "Customers", "Orders", loose, {{"ID", "CustomerID"}}), 3125);
    EXPECT_EQ(append("NoTable", "Clients", "Orders", loose, {{"ID", "CustomerID"}}), 3265);
    EXPECT_EQ(append("NoForeignTable", "Customers", "Sales", loose, {{"ID", "CustomerID"}}), 3265);
    EXPECT_EQ(append("NoField", "Customers", "Orders", loose, {{"Number", "CustomerID"}}), 3265);
    EXPECT_EQ(append("NoForeignField", "Customers", "Orders", loose, {{"ID", "Client"}}), 3265);
    EXPECT_EQ(append("NoForeignName", "Customers", "Orders", loose, {{"ID", ""}}), 3265);
    EXPECT_EQ(append("Types", "Customers", "Orders", loose, {{"ID", "Code"}}), 3368);
    EXPECT_EQ(append("NotUnique", "Notes", "Orders", 0, {{"Other", "CustomerID"}}), 3609);
    EXPECT_EQ(append("PartOfKey", "Customers", "Notes", 0, {{"ID", "ID"}, {"Name", "Text"}}), 3609);
    EXPECT_EQ(append("PrimaryKey", "Customers", "Orders", 0, {{"ID", "OrderID"}}), 3284);
    EXPECT_EQ(append("OneForeignTwice", "Orders", "Notes", 0, {{"OrderID", "Other"}, {"CustomerID", "Other"}}), 3285);
    EXPECT_EQ(append("Orphans", "Customers", "Notes", 0, {{"ID", "Other"}}), 0);  // no rows yet
    // A note of a customer (Orphans is enforced now) that is no order.
    addRows(*db, "Customers", {{{"ID", 2}}});
    addRows(*db, "Notes", {{{"ID", 7}, {"Other", 2}}});
    const auto withNote = writetest::readFile(path);
    EXPECT_EQ(append("Orphans2", "Orders", "Notes", 0, {{"OrderID", "Other"}}), 3379);
    EXPECT_EQ(writetest::readFile(path), withNote);

    // Attached to a Relation object: a field twice.
    auto twice = db->CreateRelation("Twice", "Customers", "Orders");
    twice->Fields().Append(twice->CreateField("ID"));
    EXPECT_EQ(errorOf([&] { twice->Fields().Append(twice->CreateField("id")); }), 3191);
    EXPECT_EQ(errorOf([&] { db->Relations().Append(nullptr); }), 3001);

    db->Relations().Refresh();
    EXPECT_EQ(db->Relations().Count(), 2);
    EXPECT_NE(before, withNote);
}

// Too many indexes: Jet keeps at most 32 per table.
TEST_P(RelationAppendTest, IndexLimit) {
    TempFolder folder;
    auto db = create(folder.file("many.mdb"));
    testsupport::PlannedTable full{"Full", {{"ID", jet::dbLong}}, {{"PrimaryKey", {{"ID", 0}}, true}}};
    for (int i = 0; i < 31; ++i) {
        const std::string name = "F" + std::to_string(i);
        full.fields.push_back({name, jet::dbLong});
        full.indexes.push_back({name, {{name, 0}}});
    }
    appendTable(*db, full);
    appendTable(*db, {"Key", {{"ID", jet::dbLong}}, {{"PrimaryKey", {{"ID", 0}}, true}}});
    EXPECT_EQ(errorOf([&] { appendRelation(*db, {"KeyFull", "Key", "Full", {{"ID", "F0"}}}); }), 3626);
    EXPECT_EQ(errorOf([&] {
        appendRelation(*db, {"KeyFull", "Key", "Full", {{"ID", "F0"}}, jet::dbRelationDontEnforce});
    }), 0);
}

TEST(RelationAppendReadOnly, ReadOnlyDatabaseRefuses) {
    TempFolder folder;
    const std::string path = folder.file("ro.mdb");
    {
        auto db = jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral);
        appendTable(*db, {"A", {{"ID", jet::dbLong}}, {{"PrimaryKey", {{"ID", 0}}, true}}});
    }
    auto db = jet::DBEngine().OpenDatabase(path, false, true);
    EXPECT_EQ(errorOf([&] { appendRelation(*db, {"AA", "A", "A", {{"ID", "ID"}}}); }), 3027);
}

INSTANTIATE_TEST_SUITE_P(Versions, RelationAppendTest, ::testing::Values(0, static_cast<int>(jet::dbVersion40)),
                         [](const auto& info) { return std::string(info.param ? "Jet4" : "Jet3"); });

}  // namespace
