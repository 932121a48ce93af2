// Recordset writes under enforced relations: refused writes leave the file
// byte for byte as it was, accepted ones verify clean, cascades reach two
// levels and through a table related to itself, open recordsets follow, a
// cascade is all or nothing under a failing write, and the referee reads
// its result.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "dao/database_impl.h"
#include "engine/write/write_support.h"
#include "io/rollback_journal.h"
#include "jet/dao.h"
#include "jet/verify.h"
#include "support/corpus.h"
#include "write/page_sink.h"
#include "write/page_store.h"

namespace {

using writetest::errorOf;
using writetest::readFile;
using writetest::TempFolder;
using Row = std::vector<std::pair<const char*, jet::Value>>;

constexpr long kCascades = jet::dbRelationUpdateCascade | jet::dbRelationDeleteCascade;

// A table of Long fields, the first its primary key, and `rows` in it.
void longTable(jet::Database& db, const char* name, std::vector<const char*> fields, std::vector<Row> rows) {
    auto t = db.CreateTableDef(name);
    for (const char* f : fields) t->Fields().Append(t->CreateField(f, jet::dbLong));
    writetest::addIndex(*t, "PrimaryKey", {{fields.front(), false}}, true);
    db.TableDefs().Append(std::move(t));
    auto rs = db.OpenRecordset(name, jet::dbOpenTable);
    for (auto& row : rows) {
        rs->AddNew();
        for (auto& [field, value] : row) rs->SetValue(field, value);
        rs->Update();
    }
}

void relate(jet::Database& db, const char* name, const char* table, const char* field, const char* foreign,
            const char* foreignField, long attributes) {
    auto r = db.CreateRelation(name, table, foreign, attributes);
    r->Fields().Append(r->CreateField(field));
    r->Fields()[field].SetForeignName(foreignField);
    db.Relations().Append(std::move(r));
}

// Customers 1-3; orders 10 and 11 of customer 1, 12 of customer 2; lines
// 100 and 101 of order 10, 102 of 11, 103 of 12.
void shop(jet::Database& db, long customerOrders, long orderLines) {
    longTable(db, "Customers", {"ID"}, {{{"ID", 1}}, {{"ID", 2}}, {{"ID", 3}}});
    longTable(db, "Orders", {"OrderID", "CustomerID"},
              {{{"OrderID", 10}, {"CustomerID", 1}}, {{"OrderID", 11}, {"CustomerID", 1}},
               {{"OrderID", 12}, {"CustomerID", 2}}});
    longTable(db, "Lines", {"LineID", "OrderID"},
              {{{"LineID", 100}, {"OrderID", 10}}, {{"LineID", 101}, {"OrderID", 10}},
               {{"LineID", 102}, {"OrderID", 11}}, {{"LineID", 103}, {"OrderID", 12}}});
    relate(db, "CustomerOrders", "Customers", "ID", "Orders", "CustomerID", customerOrders);
    relate(db, "OrderLines", "Orders", "OrderID", "Lines", "OrderID", orderLines);
}

// The rows of `table` as "a/b" in primary key order ("-" for Null).
std::string rowsOf(jet::Recordset& rs) {
    std::string out;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        if (!out.empty()) out += ' ';
        for (int i = 0; i < rs.Fields().Count(); ++i) {
            const jet::Value& v = rs.Fields()[i].Value();
            out += (i ? "/" : "") + (jet::isNull(v) ? std::string("-") : jet::valueToString(v));
        }
    }
    return out;
}

std::string rowsOf(jet::Database& db, const char* table) {
    auto rs = db.OpenRecordset(table, jet::dbOpenTable);
    rs->SetIndex("PrimaryKey");
    return rowsOf(*rs);
}

// Puts the recordset on the row whose primary key is `key`.
void seek(jet::Recordset& rs, std::int32_t key) {
    rs.SetIndex("PrimaryKey");
    rs.Seek("=", {key});
    ASSERT_FALSE(rs.NoMatch()) << key;
}

void insert(jet::Database& db, const char* table, Row row) {
    auto rs = db.OpenRecordset(table, jet::dbOpenTable);
    rs->AddNew();
    for (auto& [field, value] : row) rs->SetValue(field, value);
    rs->Update();
}

void change(jet::Database& db, const char* table, std::int32_t key, const char* field, jet::Value value) {
    auto rs = db.OpenRecordset(table, jet::dbOpenTable);
    seek(*rs, key);
    rs->Edit();
    rs->SetValue(field, value);
    rs->Update();
}

void remove(jet::Database& db, const char* table, std::int32_t key) {
    auto rs = db.OpenRecordset(table, jet::dbOpenTable);
    seek(*rs, key);
    rs->Delete();
}

// Whether the relation's index on Orders leads to an order of `customer`.
bool indexedOrdersOf(jet::Database& db, std::int32_t customer) {
    auto orders = db.OpenRecordset("Orders", jet::dbOpenTable);
    orders->SetIndex("CustomerOrders");
    orders->Seek("=", {customer});
    return !orders->NoMatch();
}

std::string faults(const std::string& path) {
    std::string out;
    for (const auto& f : jet::verifyDatabase(path))
        if (f.isFault()) out += jet::describeFinding(f) + "\n";
    return out;
}

class RelationEnforceTest : public ::testing::TestWithParam<int> {
protected:
    std::shared_ptr<jet::Database> shopDatabase(long customerOrders, long orderLines) {
        auto db = jet::DBEngine().CreateDatabase(path_, jet::dbLangGeneral, GetParam());
        shop(*db, customerOrders, orderLines);
        return db;
    }
    TempFolder folder_;
    std::string path_ = folder_.file("shop.mdb");
};

TEST_P(RelationEnforceTest, RefusedWritesLeaveTheFileAsItWas) {
    const std::string required =
        "You cannot add or change a record because a related record is required in table 'Customers'.";
    auto includes = [](const char* table) {
        return "The record cannot be deleted or changed because table '" + std::string(table) +
               "' includes related records.";
    };
    struct Case {
        const char* what;
        long customerOrders, orderLines;
        std::function<void(jet::Database&)> action;
        long error;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"an order of no customer", 0, 0, [](auto& db) { insert(db, "Orders", {{"OrderID", 13}, {"CustomerID", 9}}); },
         jet::kErrRelatedRecordRequired, required},
        {"an order moved to no customer", kCascades, 0, [](auto& db) { change(db, "Orders", 12, "CustomerID", 9); },
         jet::kErrRelatedRecordRequired, required},
        {"a customer with orders", jet::dbRelationUpdateCascade, 0, [](auto& db) { remove(db, "Customers", 2); },
         jet::kErrRelatedRecordsExist, includes("Orders")},
        {"a customer's key under orders", jet::dbRelationDeleteCascade, 0,
         [](auto& db) { change(db, "Customers", 1, "ID", 5); }, jet::kErrRelatedRecordsExist, includes("Orders")},
        {"an order's key under lines", kCascades, jet::dbRelationDeleteCascade,
         [](auto& db) { change(db, "Orders", 10, "OrderID", 20); }, jet::kErrRelatedRecordsExist, includes("Lines")},
        // The cascade reaches lines that may not go: none of it stays.
        {"a customer whose orders have lines", kCascades, jet::dbRelationUpdateCascade,
         [](auto& db) { remove(db, "Customers", 1); }, jet::kErrRelatedRecordsExist, includes("Lines")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(path_);
        auto db = shopDatabase(c.customerOrders, c.orderLines);
        const auto before = readFile(path_);
        auto orders = db->OpenRecordset("Orders", jet::dbOpenTable);
        try {
            c.action(*db);
            ADD_FAILURE() << "not refused";
        } catch (const jet::Error& e) {
            EXPECT_EQ(e.number(), c.error);
            EXPECT_EQ(e.what(), c.message);
        }
        EXPECT_EQ(readFile(path_), before);
        EXPECT_EQ(rowsOf(*orders), "10/1 11/1 12/2");
    }
}

TEST_P(RelationEnforceTest, AllowedWritesGoThroughAndVerifyClean) {
    struct Case {
        const char* what;
        long customerOrders;
        std::function<void(jet::Database&)> action;
        const char* orders;  // the Orders rows after
    };
    const std::vector<Case> cases = {
        {"an order of an existing customer", 0,
         [](auto& db) { insert(db, "Orders", {{"OrderID", 13}, {"CustomerID", 3}}); }, "10/1 11/1 12/2 13/3"},
        // A key with a Null part refers to nothing, as Jet allows.
        {"an order of no one", 0, [](auto& db) { insert(db, "Orders", {{"OrderID", 13}}); }, "10/1 11/1 12/2 13/-"},
        {"an order taken from its customer", 0, [](auto& db) { change(db, "Orders", 12, "CustomerID", jet::Value{}); },
         "10/1 11/1 12/-"},
        {"an order moved to another customer", 0, [](auto& db) { change(db, "Orders", 12, "CustomerID", 3); },
         "10/1 11/1 12/3"},
        {"a customer without orders, deleted and re-keyed", 0,
         [](auto& db) {
             change(db, "Customers", 3, "ID", 4);
             remove(db, "Customers", 4);
         },
         "10/1 11/1 12/2"},
        {"an order's key changed where no relation cascades", 0,
         [](auto& db) { change(db, "Orders", 12, "OrderID", 20); }, "10/1 11/1 20/2"},
        // Not enforced: nothing is checked and nothing cascades.
        {"orphans of a relation not enforced", jet::dbRelationDontEnforce | kCascades,
         [](auto& db) {
             insert(db, "Orders", {{"OrderID", 13}, {"CustomerID", 9}});
             remove(db, "Customers", 1);
             change(db, "Customers", 2, "ID", 5);
         },
         "10/1 11/1 12/2 13/9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(path_);
        {
            auto db = shopDatabase(c.customerOrders, 0);
            if (std::string(c.what).starts_with("an order's key")) remove(*db, "Lines", 103);
            c.action(*db);
            EXPECT_EQ(rowsOf(*db, "Orders"), c.orders);
        }
        EXPECT_EQ(faults(path_), "");
    }
}

TEST_P(RelationEnforceTest, CascadeDeleteReachesTwoLevels) {
    {
        auto db = shopDatabase(kCascades, kCascades);
        auto openBefore = db->OpenRecordset("Lines", jet::dbOpenDynaset);
        auto customers = db->OpenRecordset("Customers", jet::dbOpenTable);
        seek(*customers, 1);
        customers->Delete();
        // The writer is on the row that followed; a recordset open on a
        // table the cascade reached holds what the file holds.
        EXPECT_EQ(jet::valueToString(customers->Fields()["ID"].Value()), "2");
        EXPECT_EQ(rowsOf(*openBefore), "103/12");
        EXPECT_EQ(rowsOf(*customers), "2 3");
    }
    EXPECT_EQ(faults(path_), "");
    auto db = jet::DBEngine().OpenDatabase(path_);
    EXPECT_EQ(rowsOf(*db, "Orders"), "12/2");
    EXPECT_EQ(rowsOf(*db, "Lines"), "103/12");
    // The relation's index on Orders lost the deleted orders' entries.
    EXPECT_FALSE(indexedOrdersOf(*db, 1));
}

TEST_P(RelationEnforceTest, CascadeUpdateGivesRelatedRowsTheNewKey) {
    {
        auto db = shopDatabase(jet::dbRelationUpdateCascade, jet::dbRelationUpdateCascade);
        // An edit under way while the cascade changes its row: its buffer
        // still holds the old key, which no longer names a customer.
        auto editing = db->OpenRecordset("Orders", jet::dbOpenTable);
        seek(*editing, 11);
        editing->Edit();
        change(*db, "Customers", 1, "ID", 7);
        EXPECT_EQ(errorOf([&] { editing->Update(); }), jet::kErrRelatedRecordRequired);
        editing->CancelUpdate();
        EXPECT_EQ(jet::valueToString(editing->Fields()["CustomerID"].Value()), "7");
        change(*db, "Orders", 10, "OrderID", 20);
        EXPECT_EQ(rowsOf(*db, "Orders"), "11/7 12/2 20/7");
        EXPECT_EQ(rowsOf(*db, "Lines"), "100/20 101/20 102/11 103/12");
        // The related rows are reached through the relation's index under
        // their new key, and the new key must still name a customer.
        EXPECT_TRUE(indexedOrdersOf(*db, 7));
        EXPECT_EQ(errorOf([&] { change(*db, "Orders", 12, "CustomerID", 1); }), jet::kErrRelatedRecordRequired);
    }
    EXPECT_EQ(faults(path_), "");
}

// A table related to itself: a row may be its own parent, so it is checked
// once its cascade has given it the new key; the writer's rows follow the
// cascade through its own table.
TEST_P(RelationEnforceTest, TableRelatedToItselfCascadesThroughItsOwnRows) {
    {
        auto db = jet::DBEngine().CreateDatabase(path_, jet::dbLangGeneral, GetParam());
        longTable(*db, "Staff", {"ID", "Boss"},
                  {{{"ID", 1}, {"Boss", 1}}, {{"ID", 2}, {"Boss", 1}}, {{"ID", 3}, {"Boss", 2}}, {{"ID", 4}}});
        relate(*db, "Reports", "Staff", "ID", "Staff", "Boss", kCascades);
        auto staff = db->OpenRecordset("Staff", jet::dbOpenTable);
        seek(*staff, 1);
        staff->Edit();
        staff->SetValue("ID", 9);
        staff->Update();
        EXPECT_EQ(rowsOf(*staff), "2/9 3/2 4/- 9/9");
        seek(*staff, 2);
        staff->Delete();
        EXPECT_EQ(rowsOf(*staff), "4/- 9/9");
        EXPECT_EQ(rowsOf(*db, "Staff"), "4/- 9/9");
    }
    EXPECT_EQ(faults(path_), "");
}

// Two fields, named in the other order than the primary key's: keys are
// matched part by part as the index compares them (text without regard to
// case), and one Null part frees the row from the check.
TEST_P(RelationEnforceTest, TwoFieldKeysMatchAsTheIndexComparesThem) {
    auto db = jet::DBEngine().CreateDatabase(path_, jet::dbLangGeneral, GetParam());
    for (const char* name : {"Areas", "Sites"}) {
        auto t = db->CreateTableDef(name);
        if (name[0] == 'S') t->Fields().Append(t->CreateField("ID", jet::dbLong));
        t->Fields().Append(t->CreateField("Region", jet::dbText, 10));
        t->Fields().Append(t->CreateField("No", jet::dbLong));
        if (name[0] == 'S') writetest::addIndex(*t, "PrimaryKey", {{"ID", false}}, true);
        else writetest::addIndex(*t, "PrimaryKey", {{"Region", false}, {"No", false}}, true);
        db->TableDefs().Append(std::move(t));
    }
    insert(*db, "Areas", {{"Region", std::string("north")}, {"No", 1}});
    auto r = db->CreateRelation("AreaSites", "Areas", "Sites", 0);
    for (const char* f : {"No", "Region"}) {
        r->Fields().Append(r->CreateField(f));
        r->Fields()[f].SetForeignName(f);
    }
    db->Relations().Append(std::move(r));

    auto site = [&](int id, jet::Value region, jet::Value no) {
        return errorOf([&] { insert(*db, "Sites", {{"ID", id}, {"Region", region}, {"No", no}}); });
    };
    EXPECT_EQ(site(1, std::string("NORTH"), 1), 0);
    EXPECT_EQ(site(2, std::string("north"), 2), jet::kErrRelatedRecordRequired);
    EXPECT_EQ(site(3, std::string("south"), 1), jet::kErrRelatedRecordRequired);
    EXPECT_EQ(site(4, jet::Value{}, 2), 0);
    EXPECT_EQ(errorOf([&] { change(*db, "Sites", 4, "Region", std::string("north")); }),
              jet::kErrRelatedRecordRequired);
    auto areas = db->OpenRecordset("Areas", jet::dbOpenTable);
    EXPECT_EQ(errorOf([&] { areas->Delete(); }), jet::kErrRelatedRecordsExist);
    db.reset();
    EXPECT_EQ(faults(path_), "");
}

// mdbtools 1.0 lists deleted rows as well (its issue 378), so the referee
// is asked for the rows a cascade wrote, not for the absence of others.
TEST_P(RelationEnforceTest, RefereeReadsTheCascadedRows) {
    STRUX_REQUIRE_MDBTOOLS();
    {
        auto db = shopDatabase(kCascades, kCascades);
        change(*db, "Customers", 2, "ID", 8);
        change(*db, "Orders", 11, "OrderID", 21);
    }
    auto exported = [&](const char* table) {
        bool ok = false;
        const std::string out = writetest::run("mdb-export -H " + writetest::quoted(path_) + " " + table, &ok);
        EXPECT_TRUE(ok) << table;
        return "\n" + out;
    };
    EXPECT_NE(exported("Customers").find("\n8\n"), std::string::npos);
    EXPECT_NE(exported("Orders").find("\n12,8\n"), std::string::npos);
    EXPECT_NE(exported("Orders").find("\n21,1\n"), std::string::npos);
    EXPECT_NE(exported("Lines").find("\n102,21\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Versions, RelationEnforceTest, ::testing::Values(0, static_cast<int>(jet::dbVersion40)),
                         [](const auto& info) { return info.param ? "Jet4" : "Jet3"; });

// Fails the n-th step of a commit (keeping the journal, a page, a sync,
// dropping the journal); after a crash no later step gets through either.
class FailAt : public jet::write::PageSink {
public:
    FailAt(jet::write::PageSink& file, int n, bool crash) : file_(file), n_(n), crash_(crash) {}
    void writePage(std::uint32_t page, std::span<const std::uint8_t> bytes) override {
        step();
        file_.writePage(page, bytes);
    }
    void flush() override {
        step();
        file_.flush();
    }
    void saveUndo(std::span<const std::uint32_t> pages) override {
        step();
        file_.saveUndo(pages);
    }
    void endCommit() override {
        step();
        file_.endCommit();
    }
    void undo() override {
        if (failed && crash_) step();
        file_.undo();
    }
    bool failed = false;

private:
    void step() {
        if (++steps_ == n_ || (failed && crash_)) {
            failed = true;
            throw jet::Error(jet::kErrDiskFull, "Not enough space on disk.");
        }
    }
    jet::write::PageSink& file_;
    int n_, steps_ = 0;
    bool crash_;
};

// A cascading delete cut short at each step of its commit, as a full disk
// (the engine puts the pages back) and as a crash (the next opener does):
// the customer, its orders and their lines all stay, byte for byte.
TEST(RelationEnforceCrash, CascadingDeleteIsAllOrNothing) {
    for (bool crash : {false, true}) {
        SCOPED_TRACE(crash ? "crash" : "disk full");
        TempFolder folder;
        const std::string path = folder.file("shop.mdb");
        shop(*jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral, jet::dbVersion40), kCascades, kCascades);
        const auto before = readFile(path);
        int failures = 0;
        for (int n = 1;; ++n) {
            auto db = jet::DBEngine().OpenDatabase(path);
            bool failed = false;
            db->impl().commitOverride = [&](jet::write::PageStore& store) {
                auto& file = *db->impl().file;
                jet::write::FilePageSink target(file.descriptor(), file.pageSize(), path);
                FailAt sink(target, n, crash);
                try {
                    store.commit(sink);
                } catch (...) {
                    failed = sink.failed;
                    throw;
                }
            };
            const long error = errorOf([&] { remove(*db, "Customers", 1); });
            db.reset();
            if (!failed) {
                EXPECT_EQ(error, 0);
                break;
            }
            ++failures;
            EXPECT_EQ(error, jet::kErrDiskFull) << "step " << n;
            jet::DBEngine().OpenDatabase(path).reset();  // applies a journal a crash left
            EXPECT_EQ(readFile(path), before) << "step " << n;
            EXPECT_FALSE(std::filesystem::exists(jet::io::journalPath(path))) << "step " << n;
        }
        EXPECT_GE(failures, 5);
        EXPECT_EQ(faults(path), "");
        auto db = jet::DBEngine().OpenDatabase(path, false, true);
        EXPECT_EQ(rowsOf(*db, "Orders"), "12/2");
        EXPECT_EQ(rowsOf(*db, "Lines"), "103/12");
    }
}

// Access's own relations in Northwind: each refuses as Jet does, with the
// file unchanged, and an order goes with its details (a cascading delete).
TEST(RelationEnforceCorpus, NorthwindKeepsItsRelations) {
    STRUX_REQUIRE_CORPUS();
    TempFolder folder;
    const std::string path = folder.file("nwind.mdb");
    testsupport::copyCorpusFile("real/nwind-jet3.mdb", path);
    auto first = [](jet::Database& db, const char* table) {
        auto rs = db.OpenRecordset(table, jet::dbOpenTable);
        rs->MoveFirst();
        return rs;
    };
    const std::vector<std::tuple<const char*, long, const char*>> refused = {
        {"Categories", jet::kErrRelatedRecordsExist, "Products"},
        {"Suppliers", jet::kErrRelatedRecordsExist, "Products"},
        {"Shippers", jet::kErrRelatedRecordsExist, "Orders"},
        {"Products", jet::kErrRelatedRecordsExist, "Order Details"},
        {"Products", jet::kErrRelatedRecordRequired, "Categories"},  // given a category that is not there
    };
    {
        auto db = jet::DBEngine().OpenDatabase(path);
        const auto bytes = readFile(path);
        for (const auto& [table, number, named] : refused) {
            SCOPED_TRACE(std::string(table) + " / " + named);
            try {
                auto rs = first(*db, table);
                if (number == jet::kErrRelatedRecordRequired) {
                    rs->Edit();
                    rs->SetValue("CategoryID", 999);
                    rs->Update();
                } else {
                    rs->Delete();
                }
                ADD_FAILURE() << "not refused";
            } catch (const jet::Error& e) {
                EXPECT_EQ(e.number(), number);
                EXPECT_NE(std::string(e.what()).find("table '" + std::string(named) + "'"), std::string::npos) << e.what();
            }
        }
        EXPECT_EQ(readFile(path), bytes);

        auto order = first(*db, "Orders");
        const jet::Value id = order->Fields()["OrderID"].Value();
        const long details = db->OpenRecordset("Order Details", jet::dbOpenTable)->RecordCount();
        auto detailsOf = db->OpenRecordset("Order Details", jet::dbOpenDynaset);
        detailsOf->FindFirst("OrderID = " + jet::valueToString(id));
        ASSERT_FALSE(detailsOf->NoMatch());
        order->Delete();
        long left = 0;
        for (detailsOf->FindFirst("OrderID = " + jet::valueToString(id)); !detailsOf->NoMatch();
             detailsOf->FindNext("OrderID = " + jet::valueToString(id)))
            ++left;
        EXPECT_EQ(left, 0);
        EXPECT_LT(db->OpenRecordset("Order Details", jet::dbOpenTable)->RecordCount(), details);
    }
    EXPECT_EQ(faults(path), "");
}

}  // namespace
