// Recordset writes under enforced relations: refusals leave the file byte for
// byte as it was, accepted writes verify clean, cascades reach two levels and
// run through a table related to itself, open recordsets follow them, a
// cascade is all or nothing under a failing write, and Access's own
// relations in Northwind hold.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/write/fail_every_step.h"
#include "support/corpus.h"
#include "support/planned_structure.h"

namespace {

using writetest::errorOf;
using writetest::faults;
using writetest::readFile;
using writetest::TempFolder;
using writetest::insert;
using writetest::Row;
using testsupport::appendRelation;
using Action = std::function<void(jet::Database&)>;

constexpr long kCascades = jet::dbRelationUpdateCascade | jet::dbRelationDeleteCascade;

// A table of `fields` (Long unless typed as text), the first its primary
// key unless `key` lists other fields, holding `rows`.
void addTable(jet::Database& db, const char* name, std::vector<const char*> fields, std::vector<Row> rows = {},
              std::vector<const char*> text = {}, std::vector<const char*> key = {}) {
    testsupport::PlannedTable table{name, {}, {{"PrimaryKey", {}, true}}};
    for (const char* f : fields) {
        const bool isText = std::find(text.begin(), text.end(), std::string_view(f)) != text.end();
        table.fields.push_back({f, isText ? jet::dbText : jet::dbLong, isText ? 10 : 0});
    }
    for (const char* f : key.empty() ? std::vector<const char*>{fields.front()} : key)
        table.indexes[0].members.emplace_back(f, 0);
    testsupport::appendTable(db, table);
    for (auto& row : rows) insert(db, name, row);
}

// Customers 1-3; orders 10 and 11 of customer 1, 12 of 2; lines 100 and 101
// of order 10, 102 of 11, 103 of 12.
void shop(jet::Database& db, long customerOrders, long orderLines) {
    addTable(db, "Customers", {"CustomerID"}, {{{"CustomerID", 1}}, {{"CustomerID", 2}}, {{"CustomerID", 3}}});
    addTable(db, "Orders", {"OrderID", "CustomerID"},
             {{{"OrderID", 10}, {"CustomerID", 1}}, {{"OrderID", 11}, {"CustomerID", 1}},
              {{"OrderID", 12}, {"CustomerID", 2}}});
    addTable(db, "Lines", {"LineID", "OrderID"},
             {{{"LineID", 100}, {"OrderID", 10}}, {{"LineID", 101}, {"OrderID", 10}},
              {{"LineID", 102}, {"OrderID", 11}}, {{"LineID", 103}, {"OrderID", 12}}});
    appendRelation(db, {"CustomerOrders", "Customers", "Orders", {{"CustomerID", "CustomerID"}}, customerOrders});
    appendRelation(db, {"OrderLines", "Orders", "Lines", {{"OrderID", "OrderID"}}, orderLines});
}

// The rows as "a/b" ("-" for Null), in the order of the current index.
std::string rowsOf(jet::Recordset& rs) {
    std::string out;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        out += out.empty() ? "" : " ";
        for (int i = 0; i < rs.Fields().Count(); ++i) {
            const jet::Value& v = rs.Fields()[i].Value();
            out += (i ? "/" : "") + (jet::isNull(v) ? std::string("-") : jet::valueToString(v));
        }
    }
    return out;
}

std::unique_ptr<jet::Recordset> byKey(jet::Database& db, const char* table, const char* index = "PrimaryKey") {
    auto rs = db.OpenRecordset(table, jet::dbOpenTable);
    rs->SetIndex(index);
    return rs;
}

std::string rowsOf(jet::Database& db, const char* table) { return rowsOf(*byKey(db, table)); }

// Sets `field` of the row whose key is `key`; a Null field deletes the row.
void change(jet::Database& db, const char* table, std::int32_t key, const char* field = nullptr,
            jet::Value value = {}) {
    auto rs = byKey(db, table);
    rs->Seek("=", {key});
    ASSERT_FALSE(rs->NoMatch()) << table << " " << key;
    if (!field) return rs->Delete();
    rs->Edit();
    rs->SetValue(field, value);
    rs->Update();
}

class RelationEnforceTest : public ::testing::TestWithParam<int> {
protected:
    std::shared_ptr<jet::Database> create() {
        std::filesystem::remove(path_);
        return jet::DBEngine().CreateDatabase(path_, jet::dbLangGeneral, GetParam());
    }
    TempFolder folder_;
    std::string path_ = folder_.file("shop.mdb");
};

TEST_P(RelationEnforceTest, RefusedWritesLeaveTheFileAsItWas) {
    const std::string required =
        "You cannot add or change a record because a related record is required in table 'Customers'.";
    const std::string related = "The record cannot be deleted or changed because table '%' includes related records.";
    auto includes = [&](const char* table) { return std::string(related).replace(related.find('%'), 1, table); };
    const std::vector<std::tuple<const char*, long, long, Action, std::string>> cases = {
        {"an order of no customer", 0, 0, [](auto& db) { insert(db, "Orders", {{"OrderID", 13}, {"CustomerID", 9}}); },
         required},
        {"an order moved to no customer", kCascades, 0, [](auto& db) { change(db, "Orders", 12, "CustomerID", 9); },
         required},
        {"a customer with orders", jet::dbRelationUpdateCascade, 0, [](auto& db) { change(db, "Customers", 2); },
         includes("Orders")},
        {"a customer's key under orders", jet::dbRelationDeleteCascade, 0,
         [](auto& db) { change(db, "Customers", 1, "CustomerID", 5); }, includes("Orders")},
        {"an order's key under lines", kCascades, jet::dbRelationDeleteCascade,
         [](auto& db) { change(db, "Orders", 10, "OrderID", 20); }, includes("Lines")},
        // The cascade reaches lines that may not go: none of it stays.
        {"a customer whose orders have lines", kCascades, jet::dbRelationUpdateCascade,
         [](auto& db) { change(db, "Customers", 1); }, includes("Lines")},
    };
    for (const auto& [what, customerOrders, orderLines, action, message] : cases) {
        SCOPED_TRACE(what);
        auto db = create();
        shop(*db, customerOrders, orderLines);
        const auto before = readFile(path_);
        auto orders = byKey(*db, "Orders");
        try {
            action(*db);
            ADD_FAILURE() << "not refused";
        } catch (const jet::Error& e) {
            EXPECT_EQ(e.number(), message == required ? jet::kErrRelatedRecordRequired : jet::kErrRelatedRecordsExist);
            EXPECT_EQ(e.what(), message);
        }
        EXPECT_EQ(readFile(path_), before);
        EXPECT_EQ(rowsOf(*orders), "10/1 11/1 12/2");
    }
}

TEST_P(RelationEnforceTest, AllowedWritesGoThroughAndVerifyClean) {
    const std::vector<std::tuple<const char*, long, Action, const char*>> cases = {
        // A key with a Null part refers to nothing, as Jet allows.
        {"an order of no one", 0, [](auto& db) { insert(db, "Orders", {{"OrderID", 13}}); }, "10/1 11/1 12/2 13/-"},
        {"an order taken from its customer, then given another", 0,
         [](auto& db) {
             change(db, "Orders", 12, "CustomerID", jet::Value{});
             change(db, "Orders", 11, "CustomerID", 3);
         },
         "10/1 11/3 12/-"},
        {"a customer without orders, re-keyed and deleted", 0,
         [](auto& db) {
             change(db, "Customers", 3, "CustomerID", 4);
             change(db, "Customers", 4);
         },
         "10/1 11/1 12/2"},
        // Not enforced: nothing is checked and nothing cascades.
        {"orphans of a relation not enforced", jet::dbRelationDontEnforce | kCascades,
         [](auto& db) {
             insert(db, "Orders", {{"OrderID", 13}, {"CustomerID", 9}});
             change(db, "Customers", 1);
             change(db, "Customers", 2, "CustomerID", 5);
         },
         "10/1 11/1 12/2 13/9"},
    };
    for (const auto& [what, customerOrders, action, orders] : cases) {
        SCOPED_TRACE(what);
        {
            auto db = create();
            shop(*db, customerOrders, 0);
            action(*db);
            EXPECT_EQ(rowsOf(*db, "Orders"), orders);
        }
        EXPECT_EQ(faults(path_), "");
    }
}

// Cascades over two levels, checked in our rows, in a recordset open since
// before, in the relation's index and by the referee, which shows no row
// the cascade deleted (deleted rows carry both flags, as Access marks them).
TEST_P(RelationEnforceTest, CascadesReachTwoLevels) {
    {
        auto db = create();
        shop(*db, kCascades, kCascades);
        auto lines = db->OpenRecordset("Lines", jet::dbOpenDynaset);
        auto editing = byKey(*db, "Orders");
        editing->Seek("=", {std::int32_t{11}});
        editing->Edit();
        change(*db, "Customers", 2, "CustomerID", 8);
        change(*db, "Orders", 11, "OrderID", 21);
        // The edit under way would put the old order number back over the
        // change: a conflict, as between two users.
        EXPECT_EQ(errorOf([&] { editing->Update(); }), jet::kErrWriteConflict);
        EXPECT_EQ(rowsOf(*lines), "100/10 101/10 102/21 103/12");
        change(*db, "Customers", 1);
        EXPECT_EQ(rowsOf(*lines), "103/12");
        EXPECT_EQ(rowsOf(*db, "Orders"), "12/8");
        auto byCustomer = byKey(*db, "Orders", "CustomerOrders");
        byCustomer->Seek("=", {std::int32_t{8}});
        EXPECT_FALSE(byCustomer->NoMatch());
        EXPECT_EQ(errorOf([&] { change(*db, "Orders", 12, "CustomerID", 2); }), jet::kErrRelatedRecordRequired);
    }
    EXPECT_EQ(faults(path_), "");
    if (!writetest::haveMdbTools()) return;
    const std::string orders = writetest::run("mdb-export -H " + writetest::quoted(path_) + " Orders");
    EXPECT_NE(("\n" + orders).find("\n12,8\n"), std::string::npos) << orders;
    EXPECT_EQ(writetest::run("mdb-export -H " + writetest::quoted(path_) + " Lines"), "103,12\n");
}

// A table related to itself: a row may be its own parent, and is checked
// once the cascade has given it its new key; the writer's rows follow.
TEST_P(RelationEnforceTest, TableRelatedToItselfCascadesThroughItsOwnRows) {
    {
        auto db = create();
        addTable(*db, "Staff", {"ID", "Boss"},
                 {{{"ID", 1}, {"Boss", 1}}, {{"ID", 2}, {"Boss", 1}}, {{"ID", 3}, {"Boss", 2}}, {{"ID", 4}}});
        appendRelation(*db, {"Reports", "Staff", "Staff", {{"ID", "Boss"}}, kCascades});
        auto staff = byKey(*db, "Staff");
        staff->Seek("=", {std::int32_t{1}});
        staff->Edit();
        staff->SetValue("ID", 9);
        staff->Update();
        EXPECT_EQ(rowsOf(*staff), "2/9 3/2 4/- 9/9");
        staff->Seek("=", {std::int32_t{2}});
        staff->Delete();
        EXPECT_EQ(rowsOf(*staff), "4/- 9/9");
    }
    EXPECT_EQ(faults(path_), "");
}

// Two fields named in another order than the primary key's: keys match part
// by part as the index compares them (text without regard to case).
TEST_P(RelationEnforceTest, TwoFieldKeysMatchAsTheIndexComparesThem) {
    auto db = create();
    addTable(*db, "Areas", {"Region", "No"}, {{{"Region", std::string("north")}, {"No", 1}}}, {"Region"},
             {"Region", "No"});
    addTable(*db, "Sites", {"ID", "No", "Region"}, {}, {"Region"});
    appendRelation(*db, {"AreaSites", "Areas", "Sites", {{"No", "No"}, {"Region", "Region"}}});
    auto site = [&](int id, jet::Value region, jet::Value no) {
        return errorOf([&] { insert(*db, "Sites", {{"ID", id}, {"Region", region}, {"No", no}}); });
    };
    EXPECT_EQ(site(1, std::string("NORTH"), 1), 0);
    EXPECT_EQ(site(2, std::string("north"), 2), jet::kErrRelatedRecordRequired);
    EXPECT_EQ(site(3, std::string("south"), 1), jet::kErrRelatedRecordRequired);
    EXPECT_EQ(site(4, jet::Value{}, 2), 0);
    auto areas = byKey(*db, "Areas");
    areas->MoveFirst();
    EXPECT_EQ(errorOf([&] { areas->Delete(); }), jet::kErrRelatedRecordsExist);
}

INSTANTIATE_TEST_SUITE_P(Versions, RelationEnforceTest, ::testing::Values(0, static_cast<int>(jet::dbVersion40)),
                         [](const auto& info) { return info.param ? "Jet4" : "Jet3"; });

// A cascading delete cut short at each step of its commit: the customer,
// its orders and their lines all stay, byte for byte.
TEST(RelationEnforceCrash, CascadingDeleteIsAllOrNothing) {
    for (auto how : {writetest::Failure::DiskFull, writetest::Failure::Crash}) {
        TempFolder folder;
        const std::string path = folder.file("shop.mdb");
        shop(*jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral, jet::dbVersion40), kCascades, kCascades);
        EXPECT_GE(writetest::failEveryStep(path, how, [](jet::Database& db) { change(db, "Customers", 1); }), 5);
        auto db = jet::DBEngine().OpenDatabase(path, false, true);
        EXPECT_EQ(rowsOf(*db, "Orders") + " " + rowsOf(*db, "Lines"), "12/2 103/12");
    }
}

// Access's own relations in Northwind refuse as Jet does, with the file
// unchanged, and an order takes its details along.
TEST(RelationEnforceCorpus, NorthwindKeepsItsRelations) {
    STRUX_REQUIRE_CORPUS();
    TempFolder folder;
    const std::string path = folder.file("nwind.mdb");
    testsupport::copyCorpusFile("real/nwind-jet3.mdb", path);
    {
        auto db = jet::DBEngine().OpenDatabase(path);
        const auto bytes = readFile(path);
        auto first = [&](const char* table) {
            auto rs = db->OpenRecordset(table, jet::dbOpenTable);
            rs->MoveFirst();
            return rs;
        };
        for (const char* table : {"Categories", "Suppliers", "Shippers", "Products"})
            EXPECT_EQ(errorOf([&] { first(table)->Delete(); }), jet::kErrRelatedRecordsExist) << table;
        auto product = first("Products");
        product->Edit();
        product->SetValue("CategoryID", 999);
        EXPECT_EQ(errorOf([&] { product->Update(); }), jet::kErrRelatedRecordRequired);
        EXPECT_EQ(readFile(path), bytes);

        auto details = db->OpenRecordset("Order Details", jet::dbOpenDynaset);
        const std::string ofFirstOrder = "OrderID = " + jet::valueToString(first("Orders")->Fields()["OrderID"].Value());
        first("Orders")->Delete();
        details->FindFirst(ofFirstOrder);
        EXPECT_TRUE(details->NoMatch());
    }
    EXPECT_EQ(faults(path), "");
}

}  // namespace
