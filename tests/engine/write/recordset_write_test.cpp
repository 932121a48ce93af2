// AddNew / Edit / Update / Delete on table-type and dynaset recordsets:
// rows read back by our engine after reopening and by mdb-export, indexes
// kept in step (Seek, 3022 with nothing written), long values of every
// placement, and Jet 3 rows long enough to need the jump table.
#include <gtest/gtest.h>

#include <algorithm>

#include "jet/dao.h"
#include "engine/write/write_support.h"
#include "support/planned_structure.h"

namespace {

using writetest::errorOf;
using writetest::TempFolder;

class RecordsetWriteTest : public ::testing::TestWithParam<int> {
protected:
    // A settings-like table: an auto-number, a text primary key, numbers,
    // a memo and an OLE value.
    std::shared_ptr<jet::Database> create(const std::string& path) {
        auto db = jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral, GetParam());
        testsupport::appendTable(*db, {"Settings",
                                       {{"Id", jet::dbLong, 0, jet::dbAutoIncrField}, {"Title", jet::dbText, 30},
                                        {"Width", jet::dbInteger}, {"Ratio", jet::dbDouble}, {"Active", jet::dbBoolean},
                                        {"Notes", jet::dbMemo}, {"Blob", jet::dbLongBinary}},
                                       {{"PrimaryKey", {{"Title", 0}}, true}, {"Width", {{"Width", jet::dbDescending}}}}});
        return db;
    }

    static void add(jet::Recordset& rs, const std::string& title, std::int16_t width, std::string notes = {}) {
        rs.AddNew();
        rs.SetValue("Title", title);
        rs.SetValue("Width", width);
        rs.SetValue("Ratio", 0.5 * width);
        rs.SetValue("Active", width % 2 == 0);
        if (!notes.empty()) rs.SetValue("Notes", notes);
        rs.Update();
    }
};

TEST_P(RecordsetWriteTest, AddEditDeleteReadBackAfterReopening) {
    TempFolder folder;
    const std::string path = folder.file("rows.mdb");
    const std::string longNote(3000, 'n');     // a long value on a page of its own
    const std::string chainNote(20000, 'c');   // a chain of long-value pages
    {
        auto db = create(path);
        auto rs = db->OpenRecordset("Settings", jet::dbOpenTable);
        add(*rs, "Default", 80, "short");
        add(*rs, "HPLJ4 - Times NR", 96, longNote);
        add(*rs, "Third", 10, chainNote);
        EXPECT_EQ(rs->RecordCount(), 3);
        rs->SetIndex("PrimaryKey");
        rs->Seek("=", {std::string("Third")});
        ASSERT_FALSE(rs->NoMatch());
        rs->Edit();
        rs->SetValue("Width", static_cast<std::int16_t>(11));
        rs->SetValue("Blob", jet::Bytes{1, 2, 3});
        rs->Update();
        EXPECT_EQ((*rs)["Width"], jet::Value(static_cast<std::int16_t>(11)));
        rs->Seek("=", {std::string("Default")});
        ASSERT_FALSE(rs->NoMatch());
        rs->Delete();
        EXPECT_EQ(rs->RecordCount(), 2);
    }
    auto db = jet::DBEngine().OpenDatabase(path);
    auto rs = db->OpenRecordset("Settings", jet::dbOpenTable);
    ASSERT_EQ(rs->RecordCount(), 2);
    rs->SetIndex("PrimaryKey");
    rs->Seek("=", {std::string("HPLJ4 - Times NR")});
    ASSERT_FALSE(rs->NoMatch());
    EXPECT_EQ((*rs)["Id"], jet::Value(static_cast<std::int32_t>(2)));
    EXPECT_EQ((*rs)["Notes"], jet::Value(longNote));
    EXPECT_EQ((*rs)["Active"], jet::Value(true));
    EXPECT_EQ((*rs)["Ratio"], jet::Value(48.0));
    rs->Seek("=", {std::string("Third")});
    ASSERT_FALSE(rs->NoMatch());
    EXPECT_EQ((*rs)["Id"], jet::Value(static_cast<std::int32_t>(3)));  // kept through Edit
    EXPECT_EQ((*rs)["Notes"], jet::Value(chainNote));
    EXPECT_EQ((*rs)["Blob"], jet::Value(jet::Bytes{1, 2, 3}));
    EXPECT_EQ((*rs)["Active"], jet::Value(true));  // as added: Edit kept what it did not set
    rs->Seek("=", {std::string("Default")});
    EXPECT_TRUE(rs->NoMatch());

    // The indexes hold exactly the live rows, in key order.
    db.reset();
    EXPECT_EQ(writetest::faults(path), "");
}

TEST_P(RecordsetWriteTest, DuplicateKeyWritesNothing) {
    TempFolder folder;
    const std::string path = folder.file("dup.mdb");
    auto db = create(path);
    auto rs = db->OpenRecordset("Settings", jet::dbOpenDynaset);
    add(*rs, "Default", 80);
    const auto before = writetest::readFile(path);
    EXPECT_EQ(errorOf([&] { add(*rs, "DEFAULT", 1); }), 3022);  // General order ignores case
    EXPECT_EQ(writetest::readFile(path), before);
    // The failed row stays in the edit buffer; CancelUpdate drops it.
    rs->CancelUpdate();
    EXPECT_EQ(errorOf([&] { rs->Update(); }), 3020);
    // A Null primary key is refused as well.
    rs->AddNew();
    rs->SetValue("Width", static_cast<std::int16_t>(3));
    EXPECT_EQ(errorOf([&] { rs->Update(); }), 3058);
    rs->CancelUpdate();
    EXPECT_EQ(writetest::readFile(path), before);
    // Values that do not fit the column.
    rs->AddNew();
    rs->SetValue("Title", std::string(31, 'x'));
    EXPECT_EQ(errorOf([&] { rs->Update(); }), 3163);
    rs->SetValue("Title", std::string("ok"));
    rs->SetValue("Width", std::int32_t{70000});
    EXPECT_EQ(errorOf([&] { rs->Update(); }), 3421);
    // Jet 3 text outside the code page: stored as "?" it would not match
    // its key (a unique index could hold "?" twice).
    if (!GetParam()) {
        rs->SetValue("Width", std::int32_t{7});
        rs->SetValue("Title", std::string("Łaś"));
        EXPECT_EQ(errorOf([&] { rs->Update(); }), 3421);
    }
    rs->CancelUpdate();
    EXPECT_EQ(writetest::readFile(path), before);
    EXPECT_EQ(errorOf([&] { rs->SetValue("Nope", std::string()); }), 3020);
    rs->AddNew();
    EXPECT_EQ(errorOf([&] { rs->SetValue("Nope", std::string()); }), 3265);
}

TEST_P(RecordsetWriteTest, RefereeExportsTheRows) {
    STRUX_REQUIRE_MDBTOOLS();
    TempFolder folder;
    const std::string path = folder.file("export.mdb");
    {
        auto db = create(path);
        auto rs = db->OpenRecordset("Settings", jet::dbOpenDynaset);
        add(*rs, "Default", 80, "inline memo");
        add(*rs, "Long", 81, std::string(2500, 'L'));
        add(*rs, "Chain", 82, std::string(9000, 'C'));
        // A replaced and a deleted row must vanish for the referee too.
        add(*rs, "Replaced", 83);
        add(*rs, "Deleted", 84);
        rs->FindFirst("Title = 'Replaced'");
        rs->Edit();
        rs->SetValue("Width", static_cast<std::int16_t>(85));
        rs->Update();
        rs->FindFirst("Title = 'Deleted'");
        rs->Delete();
    }
    bool ok = false;
    const std::string csv =
        writetest::run("mdb-export -H -d '|' -Q " + writetest::quoted(path) + " Settings", &ok);
    EXPECT_TRUE(ok);
    const std::string activeTrue = "1", activeFalse = "0";
    EXPECT_NE(csv.find("1|Default|80|40|" + activeTrue + "|inline memo|"), std::string::npos) << csv.substr(0, 300);
    EXPECT_NE(csv.find("2|Long|81|40.5|" + activeFalse + "|" + std::string(2500, 'L') + "|"), std::string::npos);
    EXPECT_NE(csv.find("3|Chain|82|41|" + activeTrue + "|" + std::string(9000, 'C') + "|"), std::string::npos);
    EXPECT_NE(csv.find("4|Replaced|85|"), std::string::npos) << csv;
    EXPECT_EQ(csv.find("Deleted"), std::string::npos) << csv;
    EXPECT_EQ(csv.find("|83|"), std::string::npos) << csv;
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 4) << csv;
}

// The rows a writing recordset holds are changed in place, not read again:
// they must match what a recordset opened afresh reads, in the same order,
// and the current record must follow DAO's rules.
TEST_P(RecordsetWriteTest, RowsInMemoryStayInStepWithTheFile) {
    TempFolder folder;
    const std::string path = folder.file("step.mdb");
    auto db = create(path);
    auto titles = [](jet::Recordset& rs) {
        std::vector<std::string> out;
        if (rs.RecordCount() == 0) return out;
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) out.push_back(std::get<std::string>(rs["Title"]));
        return out;
    };
    {
        auto rs = db->OpenRecordset("Settings", jet::dbOpenTable);
        rs->SetIndex("PrimaryKey");
        for (const char* t : {"m", "c", "x", "a", "q"}) add(*rs, t, static_cast<std::int16_t>(t[0]));
        rs->Seek("=", {std::string("m")});
        add(*rs, "b", 1);  // after AddNew the record that was current stays current
        EXPECT_EQ((*rs)["Title"], jet::Value(std::string("m")));
        // Edit moves the row to where its new key puts it; it stays current
        // and shows what was stored (the auto-number it already had).
        rs->Edit();
        rs->SetValue("Title", std::string("z"));
        rs->Update();
        EXPECT_EQ((*rs)["Title"], jet::Value(std::string("z")));
        EXPECT_EQ((*rs)["Id"], jet::Value(std::int32_t{1}));
        rs->MoveNext();
        EXPECT_TRUE(rs->Eof());
        // Delete: the deleted record stays current until a move, and
        // MoveNext goes on to the row that followed it; after the last
        // one it reaches EOF.
        rs->Seek("=", {std::string("c")});
        rs->Delete();
        EXPECT_EQ(errorOf([&] { rs->Edit(); }), jet::kErrRecordDeleted);
        EXPECT_EQ(errorOf([&] { rs->Delete(); }), jet::kErrRecordDeleted);
        rs->MoveNext();
        EXPECT_EQ((*rs)["Title"], jet::Value(std::string("q")));
        rs->MoveLast();
        rs->Delete();
        rs->MoveNext();
        EXPECT_TRUE(rs->Eof());
        EXPECT_EQ(rs->RecordCount(), 4);
        EXPECT_EQ(titles(*rs), (std::vector<std::string>{"a", "b", "q", "x"}));
        auto fresh = db->OpenRecordset("Settings", jet::dbOpenTable);
        fresh->SetIndex("PrimaryKey");
        EXPECT_EQ(titles(*fresh), titles(*rs));
        // The descending index orders what was written as well.
        rs->SetIndex("Width");
        fresh->SetIndex("Width");
        EXPECT_EQ(titles(*rs), (std::vector<std::string>{"x", "q", "a", "b"}));
        EXPECT_EQ(titles(*fresh), titles(*rs));
    }
    // A dynaset puts added rows at its end and shows their auto-numbers.
    auto rs = db->OpenRecordset("Settings", jet::dbOpenDynaset);
    rs->MoveLast();
    add(*rs, "new", 7);
    rs->MoveLast();
    EXPECT_EQ((*rs)["Title"], jet::Value(std::string("new")));
    EXPECT_EQ((*rs)["Id"], jet::Value(std::int32_t{7}));
    EXPECT_EQ(rs->RecordCount(), 5);
    // DAO's loop that deletes as it goes, and the one that finds as it goes.
    std::vector<jet::Value> order;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) order.push_back((*rs)["Title"]);
    rs->FindFirst("Width > 0");
    rs->Delete();
    rs->FindNext("Width > 0");
    EXPECT_FALSE(rs->NoMatch());
    EXPECT_EQ((*rs)["Title"], order.at(1));
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) rs->Delete();
    EXPECT_EQ(db->OpenRecordset("Settings", jet::dbOpenTable)->RecordCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Versions, RecordsetWriteTest, ::testing::Values(0, static_cast<int>(jet::dbVersion40)),
                         [](const auto& info) { return std::string(info.param ? "Jet4" : "Jet3"); });

// Jet 3 keeps one byte per variable offset; rows past 256 bytes need the
// jump table, past 512 two entries of it.
TEST(RecordsetWriteJet3, LongRowsUseTheJumpTable) {
    TempFolder folder;
    const std::string path = folder.file("wide.mdb");
    {
        auto db = jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral);
        auto t = db->CreateTableDef("Wide");
        for (const char* name : {"A", "B", "C", "D"}) t->Fields().Append(t->CreateField(name, jet::dbText, 255));
        db->TableDefs().Append(std::move(t));
        auto rs = db->OpenRecordset("Wide");
        for (std::size_t length : {10u, 200u, 250u}) {
            rs->AddNew();
            rs->SetValue("A", std::string(length, 'a'));
            rs->SetValue("B", std::string(length, 'b'));
            rs->SetValue("C", std::string(length, 'c'));
            rs->SetValue("D", std::string(length / 2, 'd'));
            rs->Update();
        }
    }
    auto db = jet::DBEngine().OpenDatabase(path);
    auto rs = db->OpenRecordset("Wide", jet::dbOpenDynaset);
    std::vector<std::size_t> lengths;
    for (; !rs->Eof(); rs->MoveNext()) {
        const auto& a = std::get<std::string>((*rs)["A"]);
        EXPECT_EQ(std::get<std::string>((*rs)["C"]), std::string(a.size(), 'c'));
        EXPECT_EQ(std::get<std::string>((*rs)["D"]), std::string(a.size() / 2, 'd'));
        lengths.push_back(a.size());
    }
    EXPECT_EQ(lengths, (std::vector<std::size_t>{10, 200, 250}));
}

}  // namespace

// A value of another type than its column's (a Double into a Currency or
// Integer column, a number as text) is stored converted; its index entry
// must be keyed on the converted value, not on what the program handed in.
TEST_P(RecordsetWriteTest, IndexKeysFollowTheConvertedValue) {
    TempFolder folder;
    const std::string path = folder.file("Convert.mdb");
    {
        auto db = jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral, GetParam());
        testsupport::appendTable(*db, {"Prices", {{"Price", jet::dbCurrency}, {"Count", jet::dbInteger}},
                                       {{"ByPrice", {{"Price", 0}}}, {"ByCount", {{"Count", jet::dbDescending}}}}});
        auto rs = db->OpenRecordset("Prices", jet::dbOpenTable);
        for (const auto& [price, count] : std::vector<std::pair<jet::Value, jet::Value>>{
                 {12.5, 2.5}, {jet::Value(std::string("7.25")), std::string("41")}, {3.0, 3.5}}) {
            rs->AddNew();
            rs->SetValue("Price", price);
            rs->SetValue("Count", count);
            rs->Update();
        }
    }
    EXPECT_EQ(writetest::faults(path), "");
}
