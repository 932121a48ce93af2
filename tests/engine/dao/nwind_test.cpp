// The Access 97 Northwind read in detail: what the program's windows, the
// report and the code generator take from it.
#include <gtest/gtest.h>

#include "jet/dao.h"
#include "support/corpus.h"
#include "jet/error.h"
#include "support/error_number.h"

namespace {

class Nwind : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!testsupport::haveCorpus()) return;
        db_ = jet::DBEngine().OpenDatabase(testsupport::corpusFile("real/nwind-jet3.mdb").string(), false, true);
    }
    static void TearDownTestSuite() { db_.reset(); }
    void SetUp() override { STRUX_REQUIRE_CORPUS(); }

    static std::shared_ptr<jet::Database> db_;
};
std::shared_ptr<jet::Database> Nwind::db_;

std::string propertyText(const jet::Collection<jet::Property>& properties, const char* name) {
    const jet::Property* p = properties.find(name);
    return p ? jet::valueToString(p->Value()) : std::string("<absent>");
}

}  // namespace

TEST_F(Nwind, DatabaseProperties) {
    EXPECT_EQ(db_->Version(), "3.0");
    EXPECT_EQ(db_->CollatingOrder(), jet::dbSortGeneral);
    EXPECT_EQ(db_->CodePage(), 1252);
    EXPECT_TRUE(db_->Transactions());
    EXPECT_FALSE(db_->Updatable());  // opened read-only
    EXPECT_EQ(propertyText(db_->Properties(), "AccessVersion"), "07.53");
    EXPECT_EQ(propertyText(db_->Properties(), "CollatingOrder"), "1033");
}

// Names, types, sizes, flags, index members and relations are compared
// with the independent reading for every corpus file
// (catalog/corpus_reference_test.cpp); what follows is what that reading
// does not hold.
TEST_F(Nwind, StoredPropertiesAndValues) {
    EXPECT_EQ(db_->TableDefs()["MSysObjects"].Attributes(), -2147483646L);
    const jet::Field& id = db_->TableDefs()["Categories"].Fields()[0];
    EXPECT_EQ(propertyText(id.Properties(), "Caption"), "Category ID");
    EXPECT_EQ(propertyText(id.Properties(), "Description"), "Number automatically assigned to a new category.");
    const jet::Field& birth = db_->TableDefs()["Employees"].Fields()["BirthDate"];
    EXPECT_EQ(birth.ValidationRule(), "<Date()");
    EXPECT_EQ(birth.ValidationText(), "Birth date can't be in the future.");
    EXPECT_EQ(propertyText(birth.Properties(), "Format"), "Medium Date");

    EXPECT_FALSE(db_->Relations()["CategoriesProducts"].PartialReplica());
}

TEST_F(Nwind, QueriesWithDatesFieldsAndSql) {
    const jet::QueryDef& catalog = db_->QueryDefs()["Catalog"];
    EXPECT_EQ(jet::valueToString(catalog.DateCreated()), "1996-06-21T18:19:56");
    EXPECT_EQ(jet::valueToString(catalog.LastUpdated()), "1996-09-23T15:23:42");
    EXPECT_EQ(catalog.MaxRecords(), 0);
    EXPECT_EQ(catalog.Connect(), "");
    EXPECT_TRUE(catalog.ReturnsRecords());
    EXPECT_EQ(catalog.Fields().Count(), 7);
    EXPECT_EQ(catalog.Fields()[0].Name(), "CategoryName");

    // "*" over a query and over a table stands for their columns.
    const jet::QueryDef& filter = db_->QueryDefs()["Invoices Filter"];
    ASSERT_EQ(filter.Fields().Count(), db_->QueryDefs()["Invoices"].Fields().Count());
    EXPECT_EQ(filter.Fields().Count(), 26);
    EXPECT_EQ(filter.Fields()[0].Name(), "ShipName");
    const jet::QueryDef& alphabetical = db_->QueryDefs()["Alphabetical List of Products"];
    ASSERT_EQ(alphabetical.Fields().Count(), db_->TableDefs()["Products"].Fields().Count() + 1);
    EXPECT_EQ(alphabetical.Fields()[0].Name(), "ProductID");
    EXPECT_EQ(alphabetical.Fields()[alphabetical.Fields().Count() - 1].Name(), "CategoryName");

    // Output fields of a crosstab (its pivot headings), a union (its first
    // part) and columns named by their table where two tables share a name.
    using Names = std::vector<std::string>;
    auto names = [&](const char* query) {
        Names out;
        for (const auto& f : db_->QueryDefs()[query].Fields()) out.push_back(f->Name());
        return out;
    };
    EXPECT_EQ(names("Quarterly Orders by Product"),
              (Names{"ProductName", "CustomerID", "OrderYear", "Qtr 1", "Qtr 2", "Qtr 3", "Qtr 4"}));
    EXPECT_EQ(names("Customers and Suppliers by City"), (Names{"City", "CompanyName", "ContactName", "Relationship"}));
    EXPECT_EQ(names("Sales by Year"), (Names{"ShippedDate", "OrderID", "Subtotal", "Year"}));
    const Names invoices = names("Invoices");
    ASSERT_EQ(invoices.size(), 26u);
    EXPECT_EQ(invoices[7], "Customers.CompanyName");
    EXPECT_EQ(invoices[18], "Shippers.CompanyName");
    EXPECT_EQ(invoices[24], "ExtendedPrice");
}

TEST_F(Nwind, TableRecordsetSeeksThePrimaryKey) {
    auto rs = db_->OpenRecordset("Order Details", jet::dbOpenTable);
    EXPECT_EQ(rs->RecordCount(), 2155);
    rs->SetIndex("PrimaryKey");
    EXPECT_EQ(std::get<std::int32_t>((*rs)["OrderID"]), 10248);
    EXPECT_EQ(std::get<std::int32_t>((*rs)["ProductID"]), 11);
    rs->Seek("=", {std::int32_t{10248}, std::int32_t{42}});
    ASSERT_FALSE(rs->NoMatch());
    EXPECT_EQ(std::get<std::int16_t>((*rs)["Quantity"]), 10);
    EXPECT_EQ(std::get<jet::Currency>((*rs)["UnitPrice"]).scaled, 98000);
    rs->Seek("=", {std::int32_t{1}, std::int32_t{1}});
    EXPECT_TRUE(rs->NoMatch());
    rs->Close();
}

TEST_F(Nwind, DynasetFindsTextWithDoubledQuotes) {
    auto rs = db_->OpenRecordset("Customers", jet::dbOpenDynaset);
    rs->FindFirst("CompanyName = 'B''s Beverages'");
    ASSERT_FALSE(rs->NoMatch());
    EXPECT_EQ(std::get<std::string>((*rs)["CustomerID"]), "BSBEV");
    rs->FindFirst("CompanyName = 'Around the Horn' OR CustomerID = 'BSBEV'");
    EXPECT_EQ(std::get<std::string>((*rs)["CustomerID"]), "AROUT");
    long count = 0;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) ++count;
    EXPECT_EQ(count, 91);
}

TEST_F(Nwind, RecordsetsOnlyForTablesOfThisFile) {
    auto errorOf = [&](const char* name, int type) {
        return testsupport::errorNumber<jet::Error>([&] { db_->OpenRecordset(name, type); });
    };
    EXPECT_EQ(errorOf("No Such Table", jet::dbOpenTable), jet::kErrInputTableNotFound);
    EXPECT_EQ(errorOf("Catalog", jet::dbOpenDynaset), jet::kErrOperationNotSupported);
    EXPECT_EQ(errorOf("Orders", 99), jet::kErrInvalidArgument);
}
