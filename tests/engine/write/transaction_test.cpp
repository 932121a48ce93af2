// Workspace transactions: what a level writes is seen by the database that
// wrote it and by no other opener until the outermost CommitTrans; Rollback
// gives back one level, nested levels included; a commit the file refuses
// keeps the transaction open. Every file is checked by the verifier.
#include <gtest/gtest.h>

#include "dao/database_impl.h"
#include "engine/write/write_support.h"
#include "jet/dao.h"
#include "write/page_store.h"

namespace {

using writetest::errorOf;
using writetest::faults;
using writetest::insert;
using writetest::TempFolder;

// The keys of table "T" as a reader opening the file afresh sees them.
std::string keysOnDisk(const std::string& path) {
    auto db = jet::DBEngine().OpenDatabase(path, false, true);
    std::string keys;
    auto rs = db->OpenRecordset("T", jet::dbOpenTable);
    rs->SetIndex("PrimaryKey");
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) keys += jet::valueToString((*rs)["Key"]);
    return keys;
}

std::string keysOf(jet::Recordset& rs) {
    std::string keys;
    rs.SetIndex("PrimaryKey");
    if (rs.RecordCount() == 0) return keys;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) keys += jet::valueToString(rs["Key"]);
    return keys;
}

class TransactionTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        auto db = jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral, GetParam());
        writetest::appendTable(*db, "T");
        insert(*db, "T", {{"Key", std::string("a")}});
    }
    void add(const std::string& key) { insert(*db, "T", {{"Key", key}}); }

    TempFolder folder;
    const std::string path = folder.file("t.mdb");
    jet::DBEngine engine;
    std::shared_ptr<jet::Database> db;
};

TEST_P(TransactionTest, HeldUntilTheOutermostCommitThenOneCommit) {
    db = engine.OpenDatabase(path);
    engine.BeginTrans();
    add("b");
    engine.BeginTrans();
    add("c");
    // Many rows, so that the level needs new pages as well as changed ones.
    for (int i = 0; i < 300; ++i) add("k" + std::to_string(1000 + i));
    engine.CommitTrans();
    writetest::appendTable(*db, "Added");
    auto rs = db->OpenRecordset("T", jet::dbOpenTable);
    EXPECT_EQ(rs->RecordCount(), 303);
    EXPECT_EQ(keysOnDisk(path), "a");  // another opener sees the file as it was
    EXPECT_EQ(db->impl().file->durablePageCount(), jet::DBEngine().OpenDatabase(path, false, true)->impl().file->pageCount());
    engine.CommitTrans();
    EXPECT_EQ(keysOnDisk(path).substr(0, 3), "abc");
    EXPECT_EQ(jet::DBEngine().OpenDatabase(path, false, true)->OpenRecordset("T")->RecordCount(), 303);
    EXPECT_NE(jet::DBEngine().OpenDatabase(path, false, true)->TableDefs().find("Added"), nullptr);
    db.reset();
    EXPECT_EQ(faults(path), "");
}

TEST_P(TransactionTest, RollbackGivesBackOneLevel) {
    db = engine.OpenDatabase(path);
    auto rs = db->OpenRecordset("T", jet::dbOpenTable);
    engine.BeginTrans();
    add("b");
    engine.BeginTrans();
    add("c");
    writetest::appendTable(*db, "Gone");
    for (int i = 0; i < 300; ++i) add("k" + std::to_string(1000 + i));
    engine.Rollback();  // c, the table and the 300 rows
    EXPECT_EQ(keysOf(*rs), "ab");
    EXPECT_EQ(db->TableDefs().find("Gone"), nullptr);
    engine.BeginTrans();
    add("d");
    engine.CommitTrans();  // into the outer level
    engine.BeginTrans();
    add("e");
    engine.Rollback();
    EXPECT_EQ(keysOf(*rs), "abd");
    engine.CommitTrans();
    EXPECT_EQ(keysOnDisk(path), "abd");
    // The file and the database go on from there.
    add("f");
    engine.BeginTrans();
    add("g");
    engine.Rollback();
    EXPECT_EQ(keysOf(*rs), "abdf");
    EXPECT_EQ(keysOnDisk(path), "abdf");
    db.reset();
    rs.reset();
    EXPECT_EQ(faults(path), "");
}

TEST_P(TransactionTest, MisuseAndFailures) {
    db = engine.OpenDatabase(path);
    EXPECT_EQ(errorOf([&] { engine.CommitTrans(); }), 3034);
    EXPECT_EQ(errorOf([&] { engine.Rollback(); }), 3034);
    for (int level = 0; level < 5; ++level) engine.BeginTrans();
    EXPECT_EQ(errorOf([&] { engine.BeginTrans(); }), 3003);
    for (int level = 0; level < 4; ++level) engine.CommitTrans();
    EXPECT_EQ(engine.Workspaces(0).TransactionDepth(), 1);
    EXPECT_EQ(errorOf([&] { engine.Workspaces(1); }), 3265);

    // A file that refuses the commit: the level stays open with its rows.
    add("b");
    db->impl().commitOverride = [](jet::write::PageStore&) {
        throw jet::Error(jet::kErrDiskFull, "Not enough space on disk.");
    };
    EXPECT_EQ(errorOf([&] { engine.CommitTrans(); }), 3026);
    EXPECT_EQ(engine.Workspaces(0).TransactionDepth(), 1);
    EXPECT_EQ(keysOf(*db->OpenRecordset("T")), "ab");
    db->impl().commitOverride = nullptr;
    engine.Rollback();
    EXPECT_EQ(keysOf(*db->OpenRecordset("T")), "a");

    // A database opened inside a transaction joins it; closing one gives up
    // what it held.
    engine.BeginTrans();
    auto second = engine.OpenDatabase(path);
    insert(*second, "T", {{"Key", std::string("z")}});
    second->Close();
    engine.CommitTrans();
    EXPECT_EQ(keysOnDisk(path), "a");
    second.reset();
    db.reset();

    // A workspace that goes rolls back what it held: later writes of its
    // databases reach the file.
    std::shared_ptr<jet::Database> third;
    {
        jet::DBEngine passing;
        third = passing.OpenDatabase(path);
        passing.BeginTrans();
        insert(*third, "T", {{"Key", std::string("y")}});
    }
    insert(*third, "T", {{"Key", std::string("x")}});
    third.reset();
    EXPECT_EQ(keysOnDisk(path), "ax");
    EXPECT_EQ(faults(path), "");
}

INSTANTIATE_TEST_SUITE_P(Formats, TransactionTest, ::testing::Values(jet::dbVersion30, jet::dbVersion40),
                         [](const auto& info) { return info.param == jet::dbVersion30 ? "Jet3" : "Jet4"; });

}  // namespace
