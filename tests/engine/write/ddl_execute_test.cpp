// Database.Execute of Jet's DDL: what each statement builds, an index
// added to a table that holds rows, and the refusals, each leaving the
// file as it was.
#include "write_support.h"

#include "support/corpus.h"

namespace {

using writetest::errorOf;
using writetest::faults;

// Both formats, as the scripts of both are run.
class DdlExecute : public ::testing::TestWithParam<int> {
protected:
    std::shared_ptr<jet::Database> create() {
        return jet::DBEngine().CreateDatabase(path, ";LANGID=0x0409;CP=1252;COUNTRY=0", GetParam());
    }
    writetest::TempFolder folder;
    std::string path = folder / "ddl.mdb";
};

const char* const kCustomers =
    "CREATE TABLE [Customers] ([ID] COUNTER CONSTRAINT [PrimaryKey] PRIMARY KEY, [Name] TEXT(40) NOT NULL, "
    "[Region] TEXT(2), [Since] DATETIME, CONSTRAINT [NameRegion] UNIQUE ([Name], [Region]))";
const char* const kOrders =
    "CREATE TABLE Orders (OrderID LONG NOT NULL, CustomerID LONG, Amount CURRENCY, Note MEMO, "
    "CONSTRAINT PK PRIMARY KEY (OrderID), CONSTRAINT ByCustomer FOREIGN KEY (CustomerID) REFERENCES Customers);";

}  // namespace

TEST_P(DdlExecute, CreateTableBuildsFieldsKeysAndRelations) {
    auto db = create();
    db->Execute(kCustomers);
    db->Execute(kOrders);
    jet::TableDef& customers = db->TableDefs()["Customers"];
    EXPECT_EQ(customers.Fields()["ID"].Attributes() & jet::dbAutoIncrField, jet::dbAutoIncrField);
    EXPECT_EQ(customers.Fields()["Name"].Size(), 40);
    EXPECT_TRUE(customers.Fields()["Name"].Required());
    EXPECT_TRUE(customers.Indexes()["PrimaryKey"].Primary());
    EXPECT_EQ(customers.Indexes()["NameRegion"].FieldsText(), "+Name;+Region");
    EXPECT_TRUE(customers.Indexes()["NameRegion"].Unique());
    ASSERT_EQ(db->Relations().Count(), 1);
    const jet::Relation& relation = db->Relations()[0];
    EXPECT_EQ(relation.Name(), "ByCustomer");
    EXPECT_EQ(relation.Table(), "Customers");
    EXPECT_EQ(relation.ForeignTable(), "Orders");
    EXPECT_EQ(relation.Fields()[0].Name(), "ID");
    EXPECT_TRUE(db->TableDefs()["Orders"].Indexes()["ByCustomer"].Foreign());
    db->Close();
    EXPECT_EQ(faults(path), "");
}

// An index added to a table with rows holds every row: a Seek through it
// finds them, a unique one refuses a duplicate later, and one the rows
// break is refused with nothing written.
TEST_P(DdlExecute, CreateIndexOnStoredRows) {
    auto db = create();
    db->Execute(kCustomers);
    {
        auto rs = db->OpenRecordset("Customers");
        // Zorn has no region: a Null key.
        const std::pair<const char*, jet::Value> rows[] = {
            {"Maier", std::string("BE")}, {"Abel", std::string("BE")}, {"Zorn", jet::Null{}}, {"Abel", std::string("ZH")}};
        for (const auto& [name, region] : rows) {
            rs->AddNew();
            rs->SetValue("Name", std::string(name));
            rs->SetValue("Region", region);
            rs->Update();
        }
    }
    const auto before = writetest::readFile(path);
    EXPECT_EQ(errorOf([&] { db->Execute("CREATE UNIQUE INDEX ByName ON Customers (Name)"); }), jet::kErrDuplicateKey);
    EXPECT_EQ(errorOf([&] { db->Execute("CREATE INDEX ByRegion ON Customers (Region) WITH DISALLOW NULL"); }),
              jet::kErrIndexNull);
    EXPECT_EQ(writetest::readFile(path), before);

    db->Execute("CREATE INDEX ByNameDown ON Customers (Name DESC, Since) WITH IGNORE NULL;");
    const jet::Index& index = db->TableDefs()["Customers"].Indexes()["ByNameDown"];
    EXPECT_EQ(index.FieldsText(), "-Name;+Since");
    EXPECT_TRUE(index.IgnoreNulls());
    {
        auto rs = db->OpenRecordset("Customers");
        rs->SetIndex("ByNameDown");
        std::vector<std::string> names;
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) names.push_back(jet::valueToString((*rs)["Name"]));
        EXPECT_EQ(names, (std::vector<std::string>{"Zorn", "Maier", "Abel", "Abel"}));
    }
    db->Execute("ALTER TABLE Customers ADD CONSTRAINT RegionName UNIQUE (Region, Since, Name)");
    db->Close();
    EXPECT_EQ(faults(path), "");
}

// Indexes built over a table of hundreds or thousands of rows, past one
// index page: every row is in each, and the file stays verify-clean (the
// verifier checks each index's entries against the rows and their order).
TEST(DdlExecuteCorpus, CreateIndexOverManyRows) {
    STRUX_REQUIRE_CORPUS();
    writetest::TempFolder folder;
    struct Case {
        const char* file;
        std::string table, first, second, third;
    };
    const Case cases[] = {{"real/nwind-jet3.mdb", "Order Details", "UnitPrice", "OrderID", "ProductID"},
                          {"V2000/compIndexTestV2000.mdb", "Table1", "RS_AGENTE", "DC_AGENTE", "CD_AGENTE"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = folder / std::filesystem::path(c.file).filename();
        testsupport::copyCorpusFile(c.file, path);
        auto db = jet::DBEngine().OpenDatabase(path);
        db->Execute("CREATE INDEX [ByValueDown] ON [" + c.table + "] ([" + c.first + "] DESC, [" + c.second + "])");
        db->Execute("ALTER TABLE [" + c.table + "] ADD CONSTRAINT [ByAll] UNIQUE ([" + c.second + "], [" + c.first +
                    "], [" + c.third + "])");
        auto rs = db->OpenRecordset(c.table);
        const long rows = rs->RecordCount();
        EXPECT_GT(rows, 500);
        for (const char* index : {"ByValueDown", "ByAll"}) {
            rs->SetIndex(index);
            long seen = 0;
            for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) ++seen;
            EXPECT_EQ(seen, rows) << index;
        }
        rs->Close();
        db->Close();
        EXPECT_EQ(faults(path), "");
    }
}

// Each statement refused with Jet's number, and nothing written.
TEST_P(DdlExecute, RefusesWithJetsErrors) {
    const bool jet3 = GetParam() == jet::dbVersion30;
    struct Case {
        const char* sql;
        long error;
    };
    const Case cases[] = {
        {"CREATE TABLE", 3290},
        {"CREATE TABLE T ()", 3292},
        {"CREATE TABLE T (A TEXT(10)", 3290},
        {"CREATE TABLE T (A NUMBERISH)", 3292},
        {"CREATE TABLE T (A TEXT(0))", 3292},
        {"CREATE TABLE T (A TEXT(300))", jet::kErrInvalidType},
        {"CREATE TABLE T (A COUNTER(5, 2))", 3292},
        {"CREATE TABLE T (A LONG, A TEXT(5))", jet::kErrDuplicateField},
        {"CREATE TABLE T (A LONG CONSTRAINT PRIMARY KEY)", 3289},
        {"CREATE TABLE T (A LONG, CONSTRAINT K CHECK (A))", 3289},
        {"CREATE TABLE T (A LONG, CONSTRAINT K PRIMARY KEY (B))", jet::kErrItemNotFound},
        {"CREATE TABLE T (A LONG, B LONG, CONSTRAINT K1 PRIMARY KEY (A), CONSTRAINT K2 PRIMARY KEY (B))",
         jet::kErrSecondPrimaryKey},
        {"CREATE TABLE Customers (A LONG)", jet::kErrTableExists},
        {"CREATE TABLE T (A LONG, CONSTRAINT F FOREIGN KEY (A) REFERENCES Nowhere)", jet::kErrNoSuchTableOrConstraint},
        {"CREATE TABLE T (A TEXT(5), CONSTRAINT F FOREIGN KEY (A) REFERENCES Customers)", jet::kErrRelationFieldTypes},
        {"CREATE TABLE T (A TEXT(2), CONSTRAINT F FOREIGN KEY (A) REFERENCES Customers (Region))", jet::kErrNoUniqueIndex},
        {"CREATE TABLE T (A LONG, CONSTRAINT F FOREIGN KEY (A) REFERENCES Customers ON DELETE SET NULL)", 3289},
        {"CREATE TABLE T (A LONG, CONSTRAINT K UNIQUE (A), CONSTRAINT K FOREIGN KEY (A) REFERENCES Customers)",
         jet::kErrIndexExists},
        {"CREATE TABLE T (A LONG) garbage", 3290},
        {"CREATE INDEX ON Customers (Name)", 3291},
        {"CREATE INDEX X ON Customers (Name) WITH NOTHING", 3291},
        {"CREATE INDEX X ON Nowhere (Name)", jet::kErrNoSuchTableOrConstraint},
        {"CREATE INDEX X ON Customers (Missing)", jet::kErrItemNotFound},
        {"CREATE INDEX X ON Customers (Name, Name)", jet::kErrDuplicateField},
        {"CREATE INDEX PrimaryKey ON Customers (Name)", jet::kErrTableHasIndex},
        {"CREATE INDEX X ON Customers (Name) WITH PRIMARY", jet::kErrSecondPrimaryKey},
        {"CREATE INDEX X ON MSysObjects (Name)", jet::kErrOperationNotSupported},
        {"ALTER TABLE Customers ADD COLUMN X LONG", jet::kErrOperationNotSupported},
        {"ALTER TABLE Customers ADD CONSTRAINT", 3289},
        {"ALTER TABLE Nowhere ADD CONSTRAINT K UNIQUE (A)", jet::kErrNoSuchTableOrConstraint},
        {"DROP TABLE Customers", jet::kErrOperationNotSupported},
        {"DROP INDEX PrimaryKey", 3295},
        {"SELECT * FROM Customers", jet::kErrCannotExecuteSelect},
        {"CREATE VIEW V AS SELECT 1", 3129},
        {"CREATE TABLE [Open (A LONG)", 3126},
    };
    auto db = create();
    db->Execute(kCustomers);
    db->Close();
    const auto before = writetest::readFile(path);
    db = jet::DBEngine().OpenDatabase(path);
    for (const Case& c : cases) EXPECT_EQ(errorOf([&] { db->Execute(c.sql); }), c.error) << c.sql;
    db->Close();
    EXPECT_EQ(writetest::readFile(path), before);
    db = jet::DBEngine().OpenDatabase(path, false, true);
    EXPECT_EQ(errorOf([&] { db->Execute("CREATE TABLE T (A LONG)"); }), jet::kErrReadOnly);
    db->Close();
    // Cascades are Jet 4's.
    db = jet::DBEngine().OpenDatabase(path);
    EXPECT_EQ(errorOf([&] {
                  db->Execute("CREATE TABLE T (A LONG, CONSTRAINT F FOREIGN KEY (A) REFERENCES Customers ON UPDATE CASCADE)");
              }),
              jet3 ? 3289 : 0);
}

INSTANTIATE_TEST_SUITE_P(Formats, DdlExecute, ::testing::Values(jet::dbVersion30, jet::dbVersion40),
                         [](const auto& info) { return info.param == jet::dbVersion30 ? "Jet3" : "Jet4"; });
