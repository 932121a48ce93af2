// The sample database a new user finds beside the program: an order-entry
// database whose tables, keys, relations, queries and rows read back through
// our engine and through mdbtools.
#include <algorithm>
#include <map>
#include <set>

#include "delivered_databases.h"
#include "jet/verify.h"

namespace {

using namespace delivered;

class SampleDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(sample)) << sample << " was not made by the build";
        db = jet::DBEngine().OpenDatabase(sample.string(), false, true);
    }

    const fs::path sample = builtFile("OrderEntry.mdb");
    std::shared_ptr<jet::Database> db;
};

// Both databases the build delivers, as the engine wrote them.
TEST(DeliveredDatabases, VerifyClean) {
    for (const char* name : {"OrderEntry.mdb", "STX32.MDB"}) {
        const fs::path path = builtFile(name);
        ASSERT_TRUE(fs::exists(path)) << path << " was not made by the build";
        EXPECT_TRUE(jet::verifiedClean(jet::verifyDatabase(path.string()))) << name;
    }
}

TEST_F(SampleDatabaseTest, HasTheOrderEntryTablesEachKeyedByAnAutoNumber) {
    auto tables = userTables(*db);
    std::sort(tables.begin(), tables.end());
    EXPECT_EQ(tables, (std::vector<std::string>{"Customers", "OrderLines", "Orders", "Products", "Suppliers"}));

    std::set<int> types;
    for (const std::string& name : tables) {
        const jet::TableDef& table = db->TableDefs()[name];
        int autoNumbers = 0;
        for (const auto& field : table.Fields()) {
            types.insert(field->Type());
            if (field->Attributes() & jet::dbAutoIncrField) {
                ++autoNumbers;
                EXPECT_EQ(field->Type(), jet::dbLong) << name;
            }
        }
        EXPECT_EQ(autoNumbers, 1) << name;
        int primaryKeys = 0;
        for (const auto& index : table.Indexes()) primaryKeys += index->Primary() ? 1 : 0;
        EXPECT_EQ(primaryKeys, 1) << name;
    }
    for (int type : {jet::dbText, jet::dbInteger, jet::dbLong, jet::dbSingle, jet::dbCurrency, jet::dbDate,
                     jet::dbMemo, jet::dbBoolean})
        EXPECT_TRUE(types.count(type)) << "no field of type " << type;
}

// The rows each table holds, as mdbtools reads them too (below); reading
// them back through keys and indexes is the engine's tests' business.
TEST_F(SampleDatabaseTest, EveryTableHoldsItsRows) {
    const std::pair<const char*, long> counts[] = {
        {"Suppliers", 4}, {"Products", 8}, {"Customers", 6}, {"Orders", 8}, {"OrderLines", 14}};
    for (const auto& [table, count] : counts)
        EXPECT_EQ(db->OpenRecordset(table, jet::dbOpenTable)->RecordCount(), count) << table;
}

TEST_F(SampleDatabaseTest, RelationsAreEnforcedWithTheirCascades) {
    const std::map<std::string, std::string> expected = {
        {"SuppliersProducts", "Suppliers>Products:SupplierID"},
        {"CustomersOrders", "Customers>Orders:CustomerID"},
        {"OrdersOrderLines", "Orders>OrderLines:OrderID"},
        {"ProductsOrderLines", "Products>OrderLines:ProductID"},
    };
    std::map<std::string, std::string> found;
    for (const auto& relation : db->Relations()) {
        ASSERT_EQ(relation->Fields().Count(), 1) << relation->Name();
        const jet::Field& field = relation->Fields()[0];
        EXPECT_EQ(field.Name(), field.ForeignName()) << relation->Name();
        found[relation->Name()] = relation->Table() + ">" + relation->ForeignTable() + ":" + field.Name();
        EXPECT_FALSE(relation->Attributes() & jet::dbRelationDontEnforce) << relation->Name();
        // Jet keeps an index on the foreign side of an enforced relation.
        const jet::Index* index = db->TableDefs()[relation->ForeignTable()].Indexes().find(relation->Name());
        ASSERT_NE(index, nullptr) << relation->Name();
        EXPECT_TRUE(index->Foreign());
    }
    EXPECT_EQ(found, expected);
    EXPECT_EQ(db->Relations()["OrdersOrderLines"].Attributes() &
                  (jet::dbRelationDeleteCascade | jet::dbRelationUpdateCascade),
              jet::dbRelationDeleteCascade | jet::dbRelationUpdateCascade);
    EXPECT_TRUE(db->Relations()["CustomersOrders"].Attributes() & jet::dbRelationUpdateCascade);
}

TEST_F(SampleDatabaseTest, QueriesOfEachKindReadBack) {
    const std::map<std::string, int> expected = {
        {"Order Totals", jet::dbQSelect},        {"Orders Between Dates", jet::dbQSelect},
        {"Quantity by Category and Month", jet::dbQCrosstab}, {"All Contacts", jet::dbQSetOperation},
        {"Discontinue Sold Out Products", jet::dbQUpdate},
    };
    std::map<std::string, int> found;
    for (const auto& query : db->QueryDefs()) {
        found[query->Name()] = query->Type();
        // One clause a line, as Access shows them.
        EXPECT_GE(std::count(query->SQL().begin(), query->SQL().end(), '\n'), 2) << query->Name();
    }
    EXPECT_EQ(found, expected);
    EXPECT_EQ(db->QueryDefs()["Orders Between Dates"].SQL().rfind("PARAMETERS [Start Date] DateTime, [End Date] DateTime;", 0),
              0u);
    EXPECT_NE(db->QueryDefs()["Quantity by Category and Month"].SQL().find("PIVOT Format("), std::string::npos);
}

TEST_F(SampleDatabaseTest, MdbToolsReadsTheRows) {
    if (!haveMdbExport()) GTEST_SKIP() << "mdb-export (mdbtools) is not installed";
    auto customers = mdbExport(sample, "Customers");
    ASSERT_EQ(customers.size(), 6u);
    EXPECT_NE(customers[1].find("|BLUEH|Bluehaven Dental Clinic|Tomas Lindqvist|Strandvägen 8|Stockholm|"),
              std::string::npos)
        << customers[1];
    auto lines = mdbExport(sample, "OrderLines");
    EXPECT_EQ(lines.size(), 14u);
    const auto queries = commandOutput("mdb-queries -L -1 '" + sample.string() + "'");
    ASSERT_TRUE(queries.has_value());
    for (const char* name : {"Order Totals", "Orders Between Dates", "All Contacts"})
        EXPECT_NE(queries->find(name), std::string::npos) << name;
}

}  // namespace
