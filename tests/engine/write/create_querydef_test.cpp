// Database.CreateQueryDef: queries stored in Jet 3 and Jet 4 files read back
// with the SQL Access shows; the catalog entry, permissions and MSysQueries
// rows as Jet writes them; refusals that leave the file byte for byte as it
// was; temporary queries. The corpus round trip compares the MSysQueries
// rows with Access's and reads them with the referee.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "catalog/system_tables.h"
#include "dao/database_impl.h"
#include "io/page_file.h"
#include "jet/dao.h"
#include "support/corpus.h"
#include "support/planned_structure.h"
#include "engine/write/write_support.h"

namespace {

using writetest::TempFolder;

// Texts as Access shows them, so that reading back must give them unchanged.
const std::string kSelectSql =
    "PARAMETERS [Which City] Text ( 40 );\r\n"
    "SELECT Customers.Name, Customers.City\r\n"
    "FROM Customers\r\n"
    "WHERE (((Customers.City)=[Which City]))\r\n"
    "ORDER BY Customers.Name;\r\n";
const std::string kUpdateSql = "UPDATE Customers\r\nSET Customers.City = \"Bonn\"\r\nWHERE (((Customers.City) Is Null));\r\n";
const std::string kUnionSql = "SELECT Name FROM Customers\r\nUNION ALL SELECT Name FROM Suppliers;\r\n";

using writetest::errorOf;

class CreateQueryDefTest : public ::testing::TestWithParam<int> {
protected:
    bool jet4() const { return GetParam() != 0; }
    std::string create() {
        path_ = folder_.file("q.mdb");
        jet::DBEngine().CreateDatabase(path_, jet::dbLangGeneral, GetParam());
        return path_;
    }
    // The query objects of the catalog, in stored order.
    std::vector<jet::catalog::CatalogObject> storedQueries() {
        auto file = jet::io::PageFile::open(path_, {});
        std::vector<jet::catalog::CatalogObject> out;
        for (auto& o : jet::catalog::readCatalog(*file))
            if (o.type == 5) out.push_back(std::move(o));
        return out;
    }
    std::string parametersLine() const {
        // Jet 3 keeps no declared length for a Text parameter.
        return jet4() ? "PARAMETERS [Which City] Text ( 40 );\r\n" : "PARAMETERS [Which City] Text;\r\n";
    }

    TempFolder folder_;
    std::string path_;
};

TEST_P(CreateQueryDefTest, StoredQueriesReadBackWithTheirCatalogRowsAndPermissions) {
    const std::string expectedSelect = parametersLine() + kSelectSql.substr(kSelectSql.find("SELECT"));
    {
        auto db = jet::DBEngine().OpenDatabase(create());
        auto created = db->CreateQueryDef("City Customers", kSelectSql);
        EXPECT_EQ(created->SQL(), expectedSelect);
        EXPECT_EQ(created->Type(), jet::dbQSelect);
        db->CreateQueryDef("Fill City", kUpdateSql);
        db->CreateQueryDef("Everyone", kUnionSql);
        // In the collection at once, with what a reader of the file sees.
        ASSERT_EQ(db->QueryDefs().Count(), 3);
        EXPECT_EQ(db->QueryDefs()["fill city"].SQL(), kUpdateSql);
        EXPECT_EQ(db->QueryDefs()["Everyone"].Type(), jet::dbQSetOperation);
    }
    {
        auto db = jet::DBEngine().OpenDatabase(path_);
        ASSERT_EQ(db->QueryDefs().Count(), 3);
        const jet::QueryDef& select = db->QueryDefs()["City Customers"];
        EXPECT_EQ(select.SQL(), expectedSelect);
        EXPECT_TRUE(select.ReturnsRecords());
        EXPECT_GT(select.DateCreated().days, 40000);
        ASSERT_EQ(select.Fields().Count(), 2);
        EXPECT_EQ(select.Fields()[1].Name(), "City");
        // The properties Jet gives a query made from code.
        EXPECT_EQ(select.Properties()["ODBCTimeout"].Value(), jet::Value(std::int16_t{60}));
        EXPECT_EQ(select.Properties()["MaxRecords"].Value(), jet::Value(std::int32_t{0}));
        const jet::QueryDef& update = db->QueryDefs()["Fill City"];
        EXPECT_EQ(update.SQL(), kUpdateSql);
        EXPECT_EQ(update.Type(), jet::dbQUpdate);
        EXPECT_FALSE(update.ReturnsRecords());
        EXPECT_EQ(db->QueryDefs()["Everyone"].SQL(), kUnionSql);
    }

    const auto queries = storedQueries();
    ASSERT_EQ(queries.size(), 3u);
    // Ids and containers: catalog_ids_test.
    EXPECT_EQ(queries[0].flags, 0u);
    EXPECT_EQ(queries[1].flags, 48u);  // the kind of query, as DAO numbers it

    // Full rights for the creator and the Users group, as for a table.
    auto db = jet::DBEngine().OpenDatabase(path_, false, true);
    for (const auto& q : queries) EXPECT_EQ(writetest::grantsOn(*db, q.id), std::vector<std::int32_t>(2, 1048319)) << q.name;
}

// A criterion longer than a row keeps inline goes on a long-value page.
// Queries of uneven size fill MSysQueries' pages unevenly; a row must never
// go back into room left on an earlier page, or it would be read ahead of
// the rows before it and the query's columns would change places.
TEST_P(CreateQueryDefTest, LongExpressionsStarColumnsAndRowsOfManyQueriesInOrder) {
    std::string criterion = "(";
    for (int i = 0; i < 60; ++i) criterion += (i ? " Or " : "") + std::string("Customers.Name=\"N") + std::to_string(i) + "\"";
    const std::string longSql = "SELECT Customers.Name\r\nFROM Customers\r\nWHERE " + criterion + ");\r\n";
    ASSERT_GT(longSql.size(), 1000u);
    std::vector<std::string> texts;
    {
        auto db = jet::DBEngine().OpenDatabase(create());
        testsupport::appendTable(*db, {"Customers", {{"ID", jet::dbLong}, {"Name", jet::dbText, 40}}});
        EXPECT_EQ(db->CreateQueryDef("All", "SELECT Customers.*\r\nFROM Customers;\r\n")->Fields()[1].Name(), "Name");
        db->CreateQueryDef("Long", longSql);
        for (int q = 0; q < 40; ++q) {
            std::string columns;
            const int count = 1 + (q * 7) % 11;
            for (int c = 0; c < count; ++c)
                columns += (c ? ", " : "") + std::string("[A Table With A Long Name].[Column ") + std::to_string(c) +
                           std::string(static_cast<std::size_t>((q * 13 + c * 5) % 90), 'x') + "]";
            texts.push_back("SELECT " + columns + "\r\nFROM [A Table With A Long Name];\r\n");
            db->CreateQueryDef("Q" + std::to_string(q), texts.back());
        }
    }
    auto db = jet::DBEngine().OpenDatabase(path_);
    EXPECT_EQ(db->QueryDefs()["Long"].SQL(), longSql);
    EXPECT_EQ(db->QueryDefs()["All"].Fields().Count(), 2);
    for (int q = 0; q < 40; ++q) EXPECT_EQ(db->QueryDefs()["Q" + std::to_string(q)].SQL(), texts[q]) << q;
}

TEST_P(CreateQueryDefTest, RefusalsLeaveTheFileAsItWas) {
    auto db = jet::DBEngine().OpenDatabase(create());
    db->CreateQueryDef("Existing", kUpdateSql);
    const auto before = writetest::readFile(path_);
    auto attempt = [&](const std::string& name, const std::string& sql) {
        return errorOf([&] { db->CreateQueryDef(name, sql); });
    };
    EXPECT_EQ(attempt("MSysObjects", kUpdateSql), 3012);  // a table's name
    EXPECT_EQ(attempt("EXISTING", kUpdateSql), 3012);     // names compare without case
    EXPECT_EQ(attempt("a.b", kUpdateSql), 3125);
    EXPECT_EQ(attempt(std::string(65, 'q'), kUpdateSql), 3125);
    EXPECT_EQ(attempt("Broken", "SELECT a FROM t INNER JOIN u;"), 3135);
    EXPECT_EQ(attempt("Broken", "SELECT a FROM t; x"), 3142);
    EXPECT_EQ(attempt("Broken", "SELECT a FROM t WHERE (a = 1"), 3075);
    EXPECT_EQ(attempt("Broken", "SELECT [a FROM t"), 3126);
    // A name longer than the catalog's column for it.
    EXPECT_EQ(attempt("Broken", "SELECT a AS [" + std::string(300, 'n') + "] FROM t;"), 3163);
    // DAO would store a query without text, to be given SQL later; this
    // engine's QueryDef cannot write SQL back, so it is refused.
    EXPECT_EQ(attempt("Broken", ""), 3129);
    // A write that fails at commit leaves the collection as the file is.
    db->impl().commitOverride = [](jet::write::PageStore&) { throw jet::Error(jet::kErrDiskFull, "Disk full."); };
    EXPECT_EQ(attempt("Late", kUpdateSql), 3026);
    db->impl().commitOverride = nullptr;
    EXPECT_EQ(writetest::readFile(path_), before);
    EXPECT_EQ(db->QueryDefs().Count(), 1);
}

TEST_P(CreateQueryDefTest, TemporaryQueriesAreNotStored) {
    create();
    const auto before = writetest::readFile(path_);
    // Read-only too: nothing is written.
    auto db = jet::DBEngine().OpenDatabase(path_, false, true);
    auto temporary = db->CreateQueryDef("", kUpdateSql);
    EXPECT_EQ(temporary->Name(), "");
    EXPECT_EQ(temporary->SQL(), kUpdateSql);
    EXPECT_EQ(temporary->Type(), jet::dbQUpdate);
    EXPECT_EQ(db->CreateQueryDef()->SQL(), "");
    EXPECT_EQ(db->CreateQueryDef("", kSelectSql)->SQL(), parametersLine() + kSelectSql.substr(kSelectSql.find("SELECT")));
    EXPECT_EQ(errorOf([&] { db->CreateQueryDef("", "SELECT FROM"); }), 3131);
    EXPECT_EQ(db->QueryDefs().Count(), 0);
    EXPECT_EQ(errorOf([&] { db->CreateQueryDef("Stored", kUpdateSql); }), 3027);
    db->Close();
    EXPECT_EQ(errorOf([&] { db->CreateQueryDef("", kUpdateSql); }), 3420);
    EXPECT_EQ(writetest::readFile(path_), before);
}

INSTANTIATE_TEST_SUITE_P(Versions, CreateQueryDefTest, ::testing::Values(0, static_cast<int>(jet::dbVersion40)),
                         [](const auto& info) { return std::string(info.param ? "Jet4" : "Jet3"); });

// Access's own blob for a query created from code, in a Jet 4 file: ours
// must be the same bytes.
TEST(CreateQueryDefProperties, BlobMatchesAccessForQueriesMadeFromCode) {
    STRUX_REQUIRE_CORPUS();
    auto access = jet::io::PageFile::open(testsupport::corpusFile("real/northwind-small-jet4.mdb").string(),
                                          {.readOnly = true});
    std::vector<std::uint8_t> accessBlob;
    for (const auto& o : jet::catalog::readCatalog(*access))
        if (o.name == "qry_sel_Categories") accessBlob = o.properties;
    ASSERT_FALSE(accessBlob.empty());

    TempFolder folder;
    const std::string path = folder.file("p.mdb");
    jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral, jet::dbVersion40)->CreateQueryDef("Q", kUpdateSql);
    auto ours = jet::io::PageFile::open(path, {});
    for (const auto& o : jet::catalog::readCatalog(*ours))
        if (o.name == "Q") EXPECT_EQ(o.properties, accessBlob);
}

}  // namespace
