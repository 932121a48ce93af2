// Rows decoded from databases built byte by byte: fixed and variable
// columns, nulls, booleans, rows older than their table's columns, deleted
// and overflow rows, long values in all three forms, rows long enough for
// Jet 3's jump table, definitions spread over pages and reference usage maps.
#include <gtest/gtest.h>

#include "jet/error.h"
#include "storage/text_codec.h"
#include "storage_fixture.h"

namespace {

using fixture::Bytes;
using fixture::Column;
using fixture::Slot;
using jet::Value;
using namespace jet::storage;
using storagetest::FormatTest;

class TableReaderTest : public FormatTest {
protected:
    std::vector<Column> columns() const {
        return fixture::layoutColumns(fmt(), {
                                                 {.name = "Id", .type = coltype::kLong},
                                                 {.name = "Name", .type = coltype::kText, .length = 100},
                                                 {.name = "Active", .type = coltype::kBoolean},
                                                 {.name = "Price", .type = coltype::kCurrency},
                                                 {.name = "Born", .type = coltype::kDateTime},
                                                 {.name = "Code", .type = coltype::kText, .length = 20},
                                                 {.name = "Small", .type = coltype::kInteger},
                                             });
    }
    fixture::Table table() const { return fixture::tableOf(columns()); }
    Bytes row(const fixture::RowValues& values, std::size_t stored = 0) const {
        return fixture::encodeRow(fmt(), columns(), values, stored);
    }
};

TEST_P(TableReaderTest, DecodesFixedAndVariableColumnsInDescriptorOrder) {
    fixture::Database db(fmt());
    auto file = build(db, table(),
                      {{Slot{row({fixture::le32(7), text("Widget"), Bytes{1}, fixture::le64(123456),
                                  fixture::leDouble(36526.5), text("W-1"), Bytes{0xFE, 0xFF}})}}});
    auto rows = readAll(*file);
    ASSERT_EQ(rows.size(), 1u);
    const auto& v = rows[0].values;
    ASSERT_EQ(v.size(), 7u);
    EXPECT_EQ(v[0], Value(std::int32_t{7}));
    EXPECT_EQ(v[1], Value(std::string("Widget")));
    EXPECT_EQ(v[2], Value(true));
    EXPECT_EQ(v[3], Value(jet::Currency{123456}));
    EXPECT_EQ(v[4], Value(jet::DateTime{36526.5}));
    EXPECT_EQ(v[5], Value(std::string("W-1")));
    EXPECT_EQ(v[6], Value(std::int16_t{-2}));
    EXPECT_EQ(rows[0].location.page, 3u);
    EXPECT_EQ(rows[0].location.row, 0u);
}

TEST_P(TableReaderTest, NullsFalseBooleansAndEmptyTextAreDistinct) {
    fixture::Database db(fmt());
    auto file = build(db, table(),
                      {{Slot{row({fixture::le32(1), std::nullopt, Bytes{0}, std::nullopt, std::nullopt, text(""),
                                  std::nullopt})},
                        Slot{row({std::nullopt, text("x"), std::nullopt, fixture::le64(5), std::nullopt,
                                  std::nullopt, Bytes{0, 0}})}}});
    auto rows = readAll(*file);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(jet::isNull(rows[0].values[1]));
    EXPECT_EQ(rows[0].values[2], Value(false));
    EXPECT_TRUE(jet::isNull(rows[0].values[3]));
    EXPECT_EQ(rows[0].values[5], Value(std::string()));
    EXPECT_TRUE(jet::isNull(rows[0].values[6]));
    EXPECT_TRUE(jet::isNull(rows[1].values[0]));
    EXPECT_EQ(rows[1].values[1], Value(std::string("x")));
    EXPECT_EQ(rows[1].values[2], Value(false));  // a Boolean is never Null
    EXPECT_TRUE(jet::isNull(rows[1].values[5]));
    EXPECT_EQ(rows[1].location.row, 1u);
}

TEST_P(TableReaderTest, ColumnsAddedAfterARowWasWrittenReadAsNull) {
    fixture::Database db(fmt());
    auto file = build(db, table(), {{Slot{row({fixture::le32(9), text("old"), Bytes{1}, {}, {}, {}, {}}, 3)}}});
    auto rows = readAll(*file);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].values[0], Value(std::int32_t{9}));
    EXPECT_EQ(rows[0].values[1], Value(std::string("old")));
    EXPECT_EQ(rows[0].values[2], Value(true));
    for (std::size_t i = 3; i < 7; ++i) EXPECT_TRUE(jet::isNull(rows[0].values[i])) << i;
}

TEST_P(TableReaderTest, DeletedSlotsAreSkippedAndOverflowRowsFollowedOnce) {
    fixture::Database db(fmt());
    db.addPage();  // page 2, the definition
    auto live = row({fixture::le32(1), text("first"), Bytes{1}, {}, {}, {}, {}});
    auto moved = row({fixture::le32(3), text("moved elsewhere"), Bytes{0}, {}, {}, {}, {}});
    // The overflow target is listed on a page of its own with the deleted
    // flag, as Jet leaves it, so a page scan passes it by.
    const std::uint32_t targetPage = db.addDataPage(storagetest::kTablePage, {Slot{moved, true, false}});
    auto file = build(db, table(),
                      {{Slot{live}, Slot{row({fixture::le32(2), text("gone"), {}, {}, {}, {}, {}}), true, false},
                        Slot{fixture::le32(fixture::pointer(targetPage, 0)), false, true}},
                       {}});
    // build() lists only its own pages; the target page is reached through
    // the pointer alone.
    auto rows = readAll(*file);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].values[1], Value(std::string("first")));
    EXPECT_EQ(rows[1].values[0], Value(std::int32_t{3}));
    EXPECT_EQ(rows[1].values[1], Value(std::string("moved elsewhere")));
    EXPECT_EQ(rows[1].location, (RowPointer{targetPage + 1, 2}));

    auto def = readTableDefinition(*file, storagetest::kTablePage);
    TableReader reader(*file, def);
    EXPECT_FALSE(reader.readAt(RowPointer{targetPage + 1, 1}).has_value());
}

TEST_P(TableReaderTest, LongValuesInlineInOneRowAndInAChain) {
    fixture::Database db(fmt());
    db.addPage();  // page 2
    auto cols = fixture::layoutColumns(fmt(), {{.name = "Id", .type = coltype::kLong},
                                               {.name = "Memo", .type = coltype::kMemo},
                                               {.name = "Blob", .type = coltype::kOle}});
    Bytes blob(fmt().pageSize + 300);
    for (std::size_t i = 0; i < blob.size(); ++i) blob[i] = static_cast<std::uint8_t>(i * 7);
    // The blob in one long-value row; the memo text in a chain of three rows
    // on two pages, the last row longer than what is left to read.
    const std::uint32_t single = db.addDataPage(fixture::Database::kLval, {Slot{Bytes(blob.begin(), blob.begin() + 1000)}});
    const std::string memo = "The quick brown fox jumps over the lazy dog";
    Bytes memoBytes = text(memo);
    const std::size_t cut1 = 10, cut2 = 30;
    const std::uint32_t chainA = db.pageCount();
    const std::uint32_t chainB = chainA + 1;
    fixture::Writer r0, r1, r2;
    r0.u32(fixture::pointer(chainB, 0));
    r0.bytes(Bytes(memoBytes.begin(), memoBytes.begin() + cut1));
    r1.u32(fixture::pointer(chainB, 1));
    r1.bytes(Bytes(memoBytes.begin() + cut1, memoBytes.begin() + cut2));
    r2.u32(0);
    r2.bytes(Bytes(memoBytes.begin() + cut2, memoBytes.end()));
    r2.bytes(Bytes{0xAA, 0xBB});  // slack after the value
    EXPECT_EQ(db.addDataPage(fixture::Database::kLval, {Slot{r0.out}}), chainA);
    EXPECT_EQ(db.addDataPage(fixture::Database::kLval, {Slot{r1.out}, Slot{r2.out}}), chainB);

    fixture::Table t = fixture::tableOf(cols);
    auto file = build(db, t,
                      {{Slot{fixture::encodeRow(fmt(), cols,
                                                {fixture::le32(1), fixture::longValueInline(text("short note")),
                                                 fixture::longValueSingle(1000, fixture::pointer(single, 0))})},
                        Slot{fixture::encodeRow(
                            fmt(), cols,
                            {fixture::le32(2),
                             fixture::longValueChain(static_cast<std::uint32_t>(memoBytes.size()),
                                                     fixture::pointer(chainA, 0)),
                             std::nullopt})}}});
    auto rows = readAll(*file);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].values[1], Value(std::string("short note")));
    EXPECT_EQ(rows[0].values[2], Value(jet::Bytes(blob.begin(), blob.begin() + 1000)));
    EXPECT_EQ(rows[1].values[1], Value(memo));
    EXPECT_TRUE(jet::isNull(rows[1].values[2]));
}

TEST_P(TableReaderTest, RowsLongerThan256BytesKeepTheirOffsets) {
    fixture::Database db(fmt());
    auto cols = fixture::layoutColumns(fmt(), {{.name = "A", .type = coltype::kText, .length = 255},
                                               {.name = "B", .type = coltype::kText, .length = 255},
                                               {.name = "C", .type = coltype::kText, .length = 255},
                                               {.name = "N", .type = coltype::kLong}});
    const std::size_t chars = fmt().unicodeText ? 120 : 240;
    const std::string a(chars, 'a'), b(chars, 'b'), c(chars / 2, 'c');
    auto file = build(db, fixture::tableOf(cols),
                      {{Slot{fixture::encodeRow(fmt(), cols, {text(a), text(b), text(c), fixture::le32(42)})},
                        Slot{fixture::encodeRow(fmt(), cols, {text(a), std::nullopt, text(c), fixture::le32(43)})}}});
    auto rows = readAll(*file);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].values[0], Value(a));
    EXPECT_EQ(rows[0].values[1], Value(b));
    EXPECT_EQ(rows[0].values[2], Value(c));
    EXPECT_EQ(rows[0].values[3], Value(std::int32_t{42}));
    EXPECT_TRUE(jet::isNull(rows[1].values[1]));
    EXPECT_EQ(rows[1].values[2], Value(c));
}

TEST_P(TableReaderTest, DefinitionsSpanningPagesAndReferenceUsageMaps) {
    fixture::Database db(fmt());
    db.addPage();  // page 2
    std::vector<Column> many;
    for (int i = 0; i < 200; ++i)
        many.push_back({.name = "Column number " + std::to_string(i) + " with a long name", .type = coltype::kLong});
    many = fixture::layoutColumns(fmt(), many);
    fixture::RowValues values;
    for (int i = 0; i < 200; ++i) values.push_back(fixture::le32(static_cast<std::uint32_t>(i * 3)));
    const std::uint32_t data = db.addDataPage(storagetest::kTablePage, {Slot{fixture::encodeRow(fmt(), many, values)}});
    fixture::Table t = fixture::tableOf(many);
    t.ownedMap = db.addReferenceUsageMap({data});
    db.writeTdef(storagetest::kTablePage, fixture::encodeTdefBody(fmt(), t));
    ASSERT_GT(db.pageCount(), data + 3);  // the definition went on over more pages

    auto file = jet::io::PageFile::fromBytes(db.bytes(), "fixture.mdb");
    auto def = readTableDefinition(*file, storagetest::kTablePage);
    ASSERT_EQ(def.columns.size(), 200u);
    EXPECT_EQ(def.columns[199].name, "Column number 199 with a long name");
    auto rows = readAll(*file);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].values[199], Value(std::int32_t{597}));
}

TEST_P(TableReaderTest, IndexesOfTheDefinition) {
    fixture::Database db(fmt());
    fixture::Table t = table();
    t.realIndexes = {fixture::RealIndex{.columns = {{0, true}}, .flags = idxflag::kUnique | idxflag::kRequired, .firstPage = 9},
                     fixture::RealIndex{.columns = {{5, false}, {1, true}}, .flags = idxflag::kIgnoreNulls}};
    t.logicalIndexes = {fixture::LogicalIndex{.name = "PrimaryKey", .number = 0, .realNumber = 0, .type = kIndexTypePrimary},
                        fixture::LogicalIndex{.name = "CodeName", .number = 1, .realNumber = 1, .type = 0}};
    auto file = build(db, t, {{}});
    auto def = readTableDefinition(*file, storagetest::kTablePage);
    ASSERT_EQ(def.realIndexes.size(), 2u);
    EXPECT_TRUE(def.realIndexes[0].unique());
    EXPECT_TRUE(def.realIndexes[0].required());
    EXPECT_FALSE(def.realIndexes[0].ignoreNulls());
    EXPECT_EQ(def.realIndexes[0].firstPage, 9u);
    ASSERT_EQ(def.realIndexes[1].columns.size(), 2u);
    EXPECT_EQ(def.realIndexes[1].columns[0].columnNumber, 5u);
    EXPECT_FALSE(def.realIndexes[1].columns[0].ascending);
    EXPECT_TRUE(def.realIndexes[1].columns[1].ascending);
    EXPECT_TRUE(def.realIndexes[1].ignoreNulls());
    ASSERT_EQ(def.logicalIndexes.size(), 2u);
    EXPECT_EQ(def.logicalIndexes[0].name, "PrimaryKey");
    EXPECT_TRUE(def.logicalIndexes[0].isPrimary());
    EXPECT_EQ(def.logicalIndexes[1].name, "CodeName");
    EXPECT_EQ(def.logicalIndexes[1].realIndexNumber, 1u);
    EXPECT_EQ(def.logicalIndexes[1].relatedIndexNumber, -1);
    EXPECT_NE(def.findColumn("code"), nullptr);
    EXPECT_EQ(def.findColumn("nope"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Formats, TableReaderTest, STORAGE_FORMATS, storagetest::formatName);

}  // namespace
