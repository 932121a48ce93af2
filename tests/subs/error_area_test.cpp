#include "subs_fixture.h"
#include "support/message_box.h"

using subs_test::SubsTest;

TEST_F(SubsTest, AreaLabelsWithAndWithoutFormNumber) {
    EXPECT_EQ(subs->cvSetArea(1120, 1, 0), "[F001][Add to List box]");
    EXPECT_EQ(subs->cvSetArea(70000), "[Print][Initialising]");
    EXPECT_EQ(subs->cvSetArea(99003, 12), "[F012][VBStruct][Copying]");
    // Only the last three digits of a form number show.
    EXPECT_EQ(subs->cvSetArea(1, 32767), "[F767][Initialising]");
    EXPECT_EQ(subs->cvSetArea(1, -5), "[Initialising]");
    for (int32_t area : {0, 3, 99, 105, 1122, 69999, 99004, -3, INT32_MIN, INT32_MAX})
        EXPECT_EQ(subs->cvSetArea(area), "[Code run]") << area;
}

TEST_F(SubsTest, StoredAreaComesBackThroughMinusTwo) {
    EXPECT_EQ(subs->cvSetArea(-2, 1), "[F001][Code run]");  // a fresh object stores 0
    EXPECT_EQ(subs->cvSetArea(-1, 1, 100), "[F001][Open Database]");
    EXPECT_EQ(subs->cvSetArea(1120, 1), "[F001][Add to List box]");  // using another area keeps the stored one
    EXPECT_EQ(subs->cvSetArea(-2, 1), "[F001][Open Database]");
    EXPECT_EQ(subs->cvSetArea(-2), "[Open Database]");
    // -1 with an omitted new value stores 0.
    EXPECT_EQ(subs->cvSetArea(-1, 1), "[F001][Code run]");
    EXPECT_EQ(subs->cvSetArea(-2, 1), "[F001][Code run]");
}

TEST_F(SubsTest, EachObjectKeepsItsOwnStoredArea) {
    auto other = createClsSubs1();
    subs->cvStoreCA("[Printing]");
    EXPECT_EQ(other->cvSetArea(-2), "[Code run]");
    EXPECT_EQ(subs->cvSetArea(-2), "[Printing]");
}

TEST_F(SubsTest, StoreCAReadsLabelsWithOrWithoutFormPrefix) {
    subs->cvStoreCA("[F001][Printing]");
    EXPECT_EQ(subs->cvSetArea(-2), "[Printing]");
    subs->cvStoreCA("[Open Database]");
    EXPECT_EQ(subs->cvSetArea(-2, 3), "[F003][Open Database]");
    subs->cvStoreCA("[F234][VBStruct][Printing]");
    EXPECT_EQ(subs->cvSetArea(-2), "[VBStruct][Printing]");
    subs->cvStoreCA("[Initialising]");
    EXPECT_EQ(subs->cvSetArea(-2), "[Initialising]");
}

TEST_F(SubsTest, StoreCAOfAnythingElseStoresCodeRun) {
    for (const char* text : {"", "Printing", "[printing]", "[Printing] ", " [Printing]", "[F01][Printing]",
                             "[F0001][Printing]", "[X001][Printing]", "[F001]", "[F001][F001][Printing]",
                             "[Print]", "[Printing][F001]"}) {
        subs->cvStoreCA("[Open Database]");
        subs->cvStoreCA(text);
        EXPECT_EQ(subs->cvSetArea(-2), "[Code run]") << '"' << text << '"';
    }
    // The stored number is 2 itself, not 0: -2 and 2 name the same area.
    subs->cvStoreCA("nonsense");
    EXPECT_EQ(subs->cvSetArea(-2), subs->cvSetArea(2));
}

TEST_F(SubsTest, StillUpdatingOnlyForAnAddedRecord) {
    for (int16_t mode : {0, 1, -1}) EXPECT_FALSE(subs->cvStillUpdating(mode)) << mode;
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_TRUE(subs->cvStillUpdating(2));
    EXPECT_TRUE(subs->cvStillUpdating(3));
    const testsupport::Box box{"There is an outstanding update to perform!", vb::vbCritical + vb::vbOKOnly,
                               "Can't unload"};
    EXPECT_EQ(testsupport::boxes(ui), (std::vector<testsupport::Box>{box, box}));
}
