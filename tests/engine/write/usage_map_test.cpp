// Usage maps as the writer keeps them: inline maps reach a fixed span of
// pages from their first page; reference maps get a bitmap page for each
// range of pages they come to cover. (Tables whose maps outgrow the inline
// span are written and read back in deep_index_test.)
#include <gtest/gtest.h>

#include <algorithm>

#include "io/page_file.h"
#include "write/data_page_writer.h"
#include "write/database_creator.h"
#include "write/free_page_map.h"
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

// A page outside an inline map's span: the map moves its start while its
// pages fit the span (a new index's first page far from its table), then
// becomes a reference map of the same row size.
TEST_P(UsageMapTest, InlineMapMovesThenBecomesReferenceMap) {
    auto map = addMap(inlineUsageMap(store_->format(), 10));
    const std::size_t rowSize = rowBytes(store_->modify(map.page), store_->format(), map.page, map.row).size();
    for (std::uint32_t n = store_->pageCount(); n < 10 + 2 * inlineSpan() + 10; ++n) store_->allocate();
    const auto far = static_cast<std::uint32_t>(10 + inlineSpan() + 5);
    addToUsageMap(*store_, map, far);
    auto bytes = rowBytes(store_->modify(map.page), store_->format(), map.page, map.row);
    EXPECT_EQ(bytes[0], 0x00);
    EXPECT_EQ(bytes[1] | bytes[2] << 8, far);
    addToUsageMap(*store_, map, far + 3);
    const auto beyond = static_cast<std::uint32_t>(far + inlineSpan());
    addToUsageMap(*store_, map, beyond);
    bytes = rowBytes(store_->modify(map.page), store_->format(), map.page, map.row);
    EXPECT_EQ(bytes[0], 0x01);
    EXPECT_EQ(bytes.size(), rowSize);
    EXPECT_EQ(usageMapPages(*store_, map), (std::vector<std::uint32_t>{far, far + 3, beyond}));
}

// Page 1's map of free pages grows with the file as Access grows it (the
// bitmap lengthened 4 bytes at a time, pages after the last free), and
// becomes a reference map when page 1 has no more room.
TEST_P(UsageMapTest, FreePageMapGrowsWithTheFile) {
    const jet::storage::RowPointer freeMap{1, 0};
    while (store_->pageCount() <= inlineSpan() + 40) allocatePage(*store_);
    const std::uint32_t last = store_->pageCount() - 1;
    auto bytes = rowBytes(store_->modify(1), store_->format(), 1, 0);
    EXPECT_EQ(bytes[0], 0x00);
    EXPECT_EQ(bytes.size(), 5 + inlineSpan() / 8 + 8);
    const auto free = usageMapPages(*store_, freeMap);
    EXPECT_FALSE(std::binary_search(free.begin(), free.end(), last));
    EXPECT_TRUE(std::binary_search(free.begin(), free.end(), last + 1));

    // One page given back; then page 1 filled up to the room one more step
    // of the bitmap needs.
    const std::uint32_t givenBack = last - 3;
    ASSERT_TRUE(markInUsageMap(*store_, freeMap, givenBack, true));
    std::vector<std::uint8_t> filler(freeSpace(store_->read(1), store_->format(), 1) - 2 - 3, 0);
    ASSERT_TRUE(addRow(store_->modify(1), store_->format(), 1, filler));
    while (store_->pageCount() % 32 != 0) allocatePage(*store_);
    allocatePage(*store_);
    bytes = rowBytes(store_->modify(1), store_->format(), 1, 0);
    EXPECT_EQ(bytes[0], 0x01);
    EXPECT_EQ(rowBytes(store_->modify(1), store_->format(), 1, 2).size(), filler.size());
    std::vector<std::uint32_t> expected;
    std::copy_if(free.begin(), free.end(), std::back_inserter(expected), [&](std::uint32_t p) { return p < last; });
    expected.push_back(givenBack);
    EXPECT_EQ(usageMapPages(*store_, freeMap), expected);
}

INSTANTIATE_TEST_SUITE_P(Versions, UsageMapTest, ::testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "Jet4" : "Jet3"); });

}  // namespace
