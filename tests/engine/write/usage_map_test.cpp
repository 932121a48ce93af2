// Usage maps as the writer keeps them: inline maps reach a fixed span of
// pages from their first page; reference maps get a bitmap page for each
// range of pages they come to cover. (Tables whose maps outgrow the inline
// span are written and read back in deep_index_test.)
#include <gtest/gtest.h>

#include "io/page_file.h"
#include "write/data_page_writer.h"
#include "write/database_creator.h"
#include "write/page_store.h"

namespace {

using namespace jet::write;

class UsageMapTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        NewDatabase wanted;
        wanted.format = GetParam() ? &jet::format::jet4Format() : &jet::format::jet3Format();
        file_ = jet::io::PageFile::fromBytes(buildNewDatabase(wanted), "maps.mdb", {.readOnly = false});
        store_ = std::make_unique<PageStore>(*file_);
        mapPage_ = store_->allocate();
        initDataPage(store_->modify(mapPage_), store_->format(), 0);
    }
    jet::storage::RowPointer addMap(std::vector<std::uint8_t> row) {
        return {mapPage_, *addRow(store_->modify(mapPage_), store_->format(), mapPage_, row)};
    }
    std::size_t inlineSpan() const { return GetParam() ? 512 : 1024; }
    std::size_t referenceRange() const { return (store_->pageSize() - 4) * 8; }

    std::unique_ptr<jet::io::PageFile> file_;
    std::unique_ptr<PageStore> store_;
    std::uint32_t mapPage_ = 0;
};

TEST_P(UsageMapTest, InlineMapReachesItsSpanOnly) {
    auto map = addMap(inlineUsageMap(store_->format(), 100));
    EXPECT_FALSE(markInUsageMap(*store_, map, 99, true));
    EXPECT_TRUE(markInUsageMap(*store_, map, 100, true));
    EXPECT_TRUE(markInUsageMap(*store_, map, static_cast<std::uint32_t>(100 + inlineSpan() - 1), true));
    EXPECT_FALSE(markInUsageMap(*store_, map, static_cast<std::uint32_t>(100 + inlineSpan()), true));
    EXPECT_EQ(usageMapPages(*store_, map),
              (std::vector<std::uint32_t>{100, static_cast<std::uint32_t>(100 + inlineSpan() - 1)}));
    EXPECT_TRUE(markInUsageMap(*store_, map, 100, false));
    EXPECT_EQ(usageMapPages(*store_, map).size(), 1u);
}

TEST_P(UsageMapTest, ReferenceMapGetsBitmapPagesAsNeeded) {
    std::vector<std::uint8_t> row(1 + 4 * 4, 0);  // kind 1, four ranges, none yet
    row[0] = 0x01;
    auto map = addMap(row);
    const auto far = static_cast<std::uint32_t>(2 * referenceRange() + 7);
    const std::uint32_t before = store_->pageCount();
    EXPECT_TRUE(markInUsageMap(*store_, map, far, true));
    EXPECT_EQ(store_->pageCount(), before + 1);  // one bitmap page, for the third range
    EXPECT_EQ(store_->read(before)[0], 0x05);
    EXPECT_TRUE(markInUsageMap(*store_, map, far + 1, true));
    EXPECT_EQ(store_->pageCount(), before + 1);
    EXPECT_TRUE(markInUsageMap(*store_, map, 3, false));  // clearing needs no page
    EXPECT_EQ(store_->pageCount(), before + 1);
    EXPECT_EQ(usageMapPages(*store_, map), (std::vector<std::uint32_t>{far, far + 1}));
    EXPECT_FALSE(markInUsageMap(*store_, map, static_cast<std::uint32_t>(4 * referenceRange()), true));
}

TEST_P(UsageMapTest, InlineMapBecomesReferenceMap) {
    auto map = addMap(inlineUsageMap(store_->format(), 10));
    ASSERT_TRUE(markInUsageMap(*store_, map, 10, true));
    ASSERT_TRUE(markInUsageMap(*store_, map, 12, true));
    const auto beyond = static_cast<std::uint32_t>(10 + inlineSpan() + 5);
    ASSERT_FALSE(markInUsageMap(*store_, map, beyond, true));
    const std::size_t rowSize = rowBytes(store_->modify(map.page), store_->format(), map.page, map.row).size();
    convertToReferenceMap(*store_, map);
    EXPECT_EQ(rowBytes(store_->modify(map.page), store_->format(), map.page, map.row).size(), rowSize);
    EXPECT_TRUE(markInUsageMap(*store_, map, beyond, true));
    EXPECT_EQ(usageMapPages(*store_, map), (std::vector<std::uint32_t>{10, 12, beyond}));
}

INSTANTIATE_TEST_SUITE_P(Versions, UsageMapTest, ::testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "Jet4" : "Jet3"); });

}  // namespace
