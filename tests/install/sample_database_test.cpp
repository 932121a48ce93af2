// The sample database a new user finds beside the program: an order-entry
// database whose tables, keys and rows read back through our engine and
// through mdbtools.
#include <algorithm>
#include <set>

#include "delivered_databases.h"

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

    const jet::TableDefs& defs = db->TableDefs();
    EXPECT_EQ(defs["OrderLines"].Indexes()["PrimaryKey"].FieldsText(), "+OrderID;+LineNumber");
    EXPECT_TRUE(defs["OrderLines"].Indexes()["LineID"].Unique());
    EXPECT_EQ(defs["Orders"].Indexes()["OrderDate"].FieldsText(), "-OrderDate");
    EXPECT_EQ(defs["Products"].Indexes()["PriceHighToLow"].FieldsText(), "-UnitPrice");
    EXPECT_TRUE(defs["Customers"].Indexes()["CustomerCode"].Unique());
    EXPECT_TRUE(defs["Customers"].Fields()["CompanyName"].Required());
    EXPECT_FALSE(defs["Orders"].Fields()["ShippedDate"].Required());
}

TEST_F(SampleDatabaseTest, RowsReadBackInKeyOrder) {
    const std::pair<const char*, long> counts[] = {
        {"Suppliers", 4}, {"Products", 8}, {"Customers", 6}, {"Orders", 8}, {"OrderLines", 14}};
    for (const auto& [table, count] : counts)
        EXPECT_EQ(db->OpenRecordset(table, jet::dbOpenTable)->RecordCount(), count) << table;

    // Text outside ASCII survives in the file's code page.
    auto suppliers = db->OpenRecordset("Suppliers", jet::dbOpenTable);
    suppliers->SetIndex("PrimaryKey");
    suppliers->Seek("=", {std::int32_t{4}});
    ASSERT_FALSE(suppliers->NoMatch());
    EXPECT_EQ((*suppliers)["CompanyName"], jet::Value(std::string("Kessler Möbelbau")));
    EXPECT_EQ((*suppliers)["ContactName"], jet::Value(std::string("Jonas Keßler")));

    // The descending index leads with the newest order, unshipped ones
    // included.
    auto orders = db->OpenRecordset("Orders", jet::dbOpenTable);
    orders->SetIndex("OrderDate");
    orders->MoveFirst();
    EXPECT_EQ((*orders)["OrderID"], jet::Value(std::int32_t{8}));
    EXPECT_TRUE(jet::isNull((*orders)["ShippedDate"]));
    EXPECT_EQ(jet::valueToString((*orders)["OrderDate"]).substr(0, 10), "2024-03-21");

    // The two-part key finds a line by order and line number.
    auto lines = db->OpenRecordset("OrderLines", jet::dbOpenTable);
    lines->SetIndex("PrimaryKey");
    lines->Seek("=", {std::int32_t{3}, std::int16_t{2}});
    ASSERT_FALSE(lines->NoMatch());
    EXPECT_EQ((*lines)["ProductID"], jet::Value(std::int32_t{6}));
    EXPECT_EQ((*lines)["UnitPrice"], jet::Value(jet::Currency{235000}));

    // Every line names an order and a product that exist.
    auto products = db->OpenRecordset("Products", jet::dbOpenTable);
    products->SetIndex("PrimaryKey");
    orders->SetIndex("PrimaryKey");
    lines->SetIndex("PrimaryKey");
    for (lines->MoveFirst(); !lines->Eof(); lines->MoveNext()) {
        orders->Seek("=", {(*lines)["OrderID"]});
        EXPECT_FALSE(orders->NoMatch()) << jet::valueToString((*lines)["LineID"]);
        products->Seek("=", {(*lines)["ProductID"]});
        EXPECT_FALSE(products->NoMatch()) << jet::valueToString((*lines)["LineID"]);
    }
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
}

}  // namespace
