// Rows decoded from databases built byte by byte, for what neither Access's
// files in the corpus nor the engine's own show: rows older than their
// table's later columns, and Null, False and empty text side by side in every
// format (the corpus and the writing tests cover column kinds, long values,
// overflow and deleted rows, long rows and definitions over several pages).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "jet/error.h"
#include "storage/usage_map.h"
#include "storage_fixture.h"
#include "support/temp_folder.h"

namespace {

using fixture::Bytes;
using fixture::Slot;
using jet::Value;
using namespace jet::storage;
using storagetest::FormatTest;

class TableReaderTest : public FormatTest {
protected:
    std::vector<fixture::Column> columns() const {
        return fixture::layoutColumns(fmt(), {{.name = "Id", .type = coltype::kLong},
                                              {.name = "Name", .type = coltype::kText, .length = 100},
                                              {.name = "Active", .type = coltype::kBoolean},
                                              {.name = "Price", .type = coltype::kCurrency},
                                              {.name = "Code", .type = coltype::kText, .length = 20},
                                              {.name = "Small", .type = coltype::kInteger}});
    }
    Bytes row(const fixture::RowValues& values, std::size_t stored = 0) const {
        return fixture::encodeRow(fmt(), columns(), values, stored);
    }
};

TEST_P(TableReaderTest, NullsFalseEmptyTextAndColumnsAddedAfterTheRow) {
    fixture::Database db(fmt());
    auto file = build(db, fixture::tableOf(columns()),
                      {{Slot{row({fixture::le32(1), std::nullopt, Bytes{0}, std::nullopt, text(""), std::nullopt})},
                        Slot{row({std::nullopt, text("x"), std::nullopt, fixture::le64(5), std::nullopt, Bytes{0xFE, 0xFF}})},
                        Slot{row({fixture::le32(2), text("gone"), {}, {}, {}, {}}), true, false},
                        // Written when the table had three columns.
                        Slot{row({fixture::le32(9), text("old"), Bytes{1}, {}, {}, {}}, 3)}}});
    auto rows = readAll(*file);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_TRUE(jet::isNull(rows[0].values[1]));
    EXPECT_EQ(rows[0].values[2], Value(false));
    EXPECT_TRUE(jet::isNull(rows[0].values[3]));
    EXPECT_EQ(rows[0].values[4], Value(std::string()));
    EXPECT_TRUE(jet::isNull(rows[1].values[0]));
    EXPECT_EQ(rows[1].values[1], Value(std::string("x")));
    EXPECT_EQ(rows[1].values[2], Value(false));  // a Boolean is never Null
    EXPECT_EQ(rows[1].values[3], Value(jet::Currency{5}));
    EXPECT_TRUE(jet::isNull(rows[1].values[4]));
    EXPECT_EQ(rows[1].values[5], Value(std::int16_t{-2}));
    EXPECT_EQ(rows[1].location, (RowPointer{3, 1}));
    // The deleted row is passed by, and cannot be read at its place.
    EXPECT_EQ(rows[2].location, (RowPointer{3, 3}));
    EXPECT_EQ(rows[2].values[1], Value(std::string("old")));
    EXPECT_EQ(rows[2].values[2], Value(true));
    for (std::size_t i = 3; i < 6; ++i) EXPECT_TRUE(jet::isNull(rows[2].values[i])) << i;
    auto def = readTableDefinition(*file, storagetest::kTablePage);
    EXPECT_FALSE(TableReader(*file, def).readAt(RowPointer{3, 2}).has_value());
}

// The maps of large files: each page a reference map lists covers the pages
// its bitmap (the page less its header) can hold, one after the other.
TEST_P(TableReaderTest, ReferenceUsageMapOverSeveralMapPages) {
    fixture::Database db(fmt());
    const std::uint32_t maps[] = {db.addPage(), db.addPage()};
    const std::size_t header = fmt().usageMapPageHeader;
    const auto perMapPage = static_cast<std::uint32_t>((fmt().pageSize - header) * 8);
    for (auto p : maps) db.page(p)[0] = 0x05;
    db.page(maps[0])[header] = 0x08;
    db.page(maps[1])[header + 1] = 0x04;
    fixture::Writer row;
    row.u8(1);
    for (auto p : maps) row.u32(p);
    const std::uint32_t rowPage = db.addDataPage(0, {Slot{row.out}});
    // A sparse file long enough for the second map page's range.
    testsupport::TempFolder folder;
    const std::string path = folder.file("large.mdb");
    const Bytes bytes = db.bytes();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::filesystem::resize_file(path, (perMapPage + 11) * fmt().pageSize);
    EXPECT_EQ(readUsageMap(*jet::io::PageFile::open(path), {rowPage, 0}),
              (std::vector<std::uint32_t>{3, perMapPage + 10}));
}

INSTANTIATE_TEST_SUITE_P(Formats, TableReaderTest, STORAGE_FORMATS, storagetest::formatName);

}  // namespace
