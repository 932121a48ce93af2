#include "dao/memory_recordset.h"

#include <gtest/gtest.h>

#include "jet/error.h"
#include "support/error_number.h"

using jet::dao::MemoryRecordset;
using jet::dao::RecordsetIndex;
using V = jet::Value;

namespace {

// The number of the error an action raises; 0 for none.
constexpr auto jetError = [](auto&& action) { return testsupport::errorNumber<jet::Error>(action); };

// Rows of a small settings-like table: ID, Setting, Tab01 (Null in one row).
std::unique_ptr<MemoryRecordset> makeRecordset(int type) {
    std::vector<std::unique_ptr<jet::Field>> fields;
    fields.push_back(std::make_unique<jet::Field>("ID", jet::dbLong, 4));
    fields.push_back(std::make_unique<jet::Field>("Setting", jet::dbText, 50));
    fields.push_back(std::make_unique<jet::Field>("Tab01", jet::dbInteger, 2));
    std::vector<std::vector<V>> rows = {
        {std::int32_t{3}, std::string("Wide"), std::int16_t{20}},
        {std::int32_t{1}, std::string("Default"), std::int16_t{10}},
        {std::int32_t{2}, std::string("narrow"), jet::Null{}},
        {std::int32_t{4}, std::string("Default"), std::int16_t{5}},
    };
    std::vector<RecordsetIndex> indexes = {
        {"PrimaryKey", {0}, {false}},
        {"BySettingDesc", {1, 0}, {true, false}},
        {"ByTab", {2}, {false}},
    };
    return std::make_unique<MemoryRecordset>(type, std::move(fields), std::move(rows), std::move(indexes));
}

std::vector<std::int32_t> idsInOrder(MemoryRecordset& rs) {
    std::vector<std::int32_t> ids;
    if (rs.Eof()) return ids;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) ids.push_back(std::get<std::int32_t>(rs["ID"]));
    return ids;
}

}  // namespace

TEST(MemoryRecordset, TableTypeOrdersByTheChosenIndex) {
    auto rs = makeRecordset(jet::dbOpenTable);
    EXPECT_EQ(rs->RecordCount(), 4);
    EXPECT_EQ(idsInOrder(*rs), (std::vector<std::int32_t>{3, 1, 2, 4}));  // stored order without an index
    rs->SetIndex("primarykey");
    EXPECT_EQ(rs->Index(), "PrimaryKey");
    EXPECT_EQ(idsInOrder(*rs), (std::vector<std::int32_t>{1, 2, 3, 4}));
    // Descending text compares caselessly; ties fall to the next key column.
    rs->SetIndex("BySettingDesc");
    EXPECT_EQ(idsInOrder(*rs), (std::vector<std::int32_t>{3, 2, 1, 4}));
    // Null keys come first.
    rs->SetIndex("ByTab");
    EXPECT_EQ(idsInOrder(*rs), (std::vector<std::int32_t>{2, 4, 1, 3}));
    EXPECT_EQ(jetError([&] { rs->SetIndex("Nope"); }), jet::kErrNotAnIndex);
}

TEST(MemoryRecordset, SeekFindsKeysAndSetsNoMatch) {
    auto rs = makeRecordset(jet::dbOpenTable);
    EXPECT_EQ(jetError([&] { rs->Seek("=", {std::int32_t{1}}); }), jet::kErrNoCurrentIndex);
    rs->SetIndex("PrimaryKey");
    rs->Seek("=", {std::int32_t{3}});
    EXPECT_FALSE(rs->NoMatch());
    EXPECT_EQ(std::get<std::string>((*rs)["Setting"]), "Wide");
    // A key of another numeric width still matches.
    rs->Seek("=", {std::int16_t{2}});
    EXPECT_FALSE(rs->NoMatch());
    EXPECT_EQ(std::get<std::string>((*rs)["Setting"]), "narrow");
    rs->Seek("=", {std::int32_t{9}});
    EXPECT_TRUE(rs->NoMatch());
    EXPECT_TRUE(rs->Eof());
    EXPECT_TRUE(jet::isNull((*rs)["Setting"]));

    rs->Seek(">", {std::int32_t{2}});
    EXPECT_EQ(std::get<std::int32_t>((*rs)["ID"]), 3);
    rs->Seek(">=", {std::int32_t{2}});
    EXPECT_EQ(std::get<std::int32_t>((*rs)["ID"]), 2);
    rs->Seek("<", {std::int32_t{3}});
    EXPECT_EQ(std::get<std::int32_t>((*rs)["ID"]), 2);
    rs->Seek("<=", {std::int32_t{3}});
    EXPECT_EQ(std::get<std::int32_t>((*rs)["ID"]), 3);
    rs->Seek("<", {std::int32_t{1}});
    EXPECT_TRUE(rs->NoMatch());

    // A prefix of a two-column key; text without regard to case.
    rs->SetIndex("BySettingDesc");
    rs->Seek("=", {std::string("DEFAULT")});
    EXPECT_EQ(std::get<std::int32_t>((*rs)["ID"]), 1);
    rs->Seek("=", {std::string("default"), std::int32_t{4}});
    EXPECT_EQ(std::get<std::int32_t>((*rs)["ID"]), 4);
    EXPECT_EQ(jetError([&] { rs->Seek("=", {V{}, V{}, V{}}); }), jet::kErrInvalidArgument);
    EXPECT_EQ(jetError([&] { rs->Seek("~", {std::int32_t{1}}); }), jet::kErrInvalidArgument);
}

TEST(MemoryRecordset, DynasetFindsWithCriteria) {
    auto rs = makeRecordset(jet::dbOpenDynaset);
    rs->FindFirst("Setting = 'Default'");
    EXPECT_FALSE(rs->NoMatch());
    EXPECT_EQ(std::get<std::int32_t>((*rs)["ID"]), 1);
    rs->FindNext("Setting = 'Default'");
    EXPECT_EQ(std::get<std::int32_t>((*rs)["ID"]), 4);
    rs->FindNext("Setting = 'Default'");
    EXPECT_TRUE(rs->NoMatch());
    // A failed find leaves the current record where it was.
    EXPECT_EQ(std::get<std::int32_t>((*rs)["ID"]), 4);
    rs->FindFirst("Setting = 'Missing'");
    EXPECT_TRUE(rs->NoMatch());
    EXPECT_EQ(std::get<std::int32_t>((*rs)["ID"]), 4);
    EXPECT_EQ(jetError([&] { rs->FindFirst("Setting = "); }), jet::kErrSyntaxInExpression);
}

TEST(MemoryRecordset, DynasetCountsRowsReachedLikeDao) {
    auto rs = makeRecordset(jet::dbOpenDynaset);
    EXPECT_EQ(rs->RecordCount(), 1);
    rs->MoveNext();
    EXPECT_EQ(rs->RecordCount(), 2);
    rs->MoveLast();
    EXPECT_EQ(rs->RecordCount(), 4);
}

TEST(MemoryRecordset, WrongKindAndReadOnlyOperationsRaise) {
    auto table = makeRecordset(jet::dbOpenTable);
    EXPECT_EQ(jetError([&] { table->FindFirst("ID = 1"); }), jet::kErrOperationNotSupported);
    auto dynaset = makeRecordset(jet::dbOpenDynaset);
    EXPECT_EQ(jetError([&] { dynaset->SetIndex("PrimaryKey"); }), jet::kErrOperationNotSupported);
    EXPECT_EQ(jetError([&] { dynaset->Seek("=", {std::int32_t{1}}); }), jet::kErrOperationNotSupported);
    for (auto op : std::vector<std::function<void()>>{[&] { table->AddNew(); }, [&] { table->Edit(); },
                                                      [&] { table->Update(); }, [&] { table->Delete(); },
                                                      [&] { table->SetValue("ID", std::int32_t{1}); }})
        EXPECT_EQ(jetError(op), jet::kErrReadOnly);
    table->Close();
    EXPECT_EQ(jetError([&] { table->MoveFirst(); }), jet::kErrObjectInvalid);
}

TEST(MemoryRecordset, EmptyTableIsAtBothEnds) {
    std::vector<std::unique_ptr<jet::Field>> fields;
    fields.push_back(std::make_unique<jet::Field>("A", jet::dbLong, 4));
    MemoryRecordset rs(jet::dbOpenTable, std::move(fields), {}, {{"PrimaryKey", {0}, {false}}});
    EXPECT_TRUE(rs.Eof());
    EXPECT_TRUE(rs.Bof());
    EXPECT_EQ(rs.RecordCount(), 0);
    EXPECT_EQ(jetError([&] { rs.MoveFirst(); }), jet::kErrNoCurrentRecord);
    EXPECT_EQ(jetError([&] { rs.MoveNext(); }), jet::kErrNoCurrentRecord);
    rs.SetIndex("PrimaryKey");
    rs.Seek("=", {std::int32_t{1}});
    EXPECT_TRUE(rs.NoMatch());
}
