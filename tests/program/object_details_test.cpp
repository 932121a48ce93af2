#include "viewer/object_details.h"

#include <gtest/gtest.h>

#include "jet/types.h"
#include "program_fixture.h"

using namespace programtest;

namespace {

using Lines = std::vector<std::string>;
const auto kNames = viewer::fieldTypeNames();

TEST(FieldDetails, TextFieldGivesSevenAlignedLines) {
    auto field = makeField("Name", jet::dbText, 50, jet::dbVariableField, false, true);
    EXPECT_EQ(viewer::fieldDetailLines(*field, kNames),
              (Lines{"Field Name:       Name", "Field Type:       Text", "Size:             50",
                     "Required:         False", "AllowZeroLength:  True", "Attribute Value:  2",
                     std::string(18, ' ') + "Variable length"}));
}

TEST(FieldDetails, AttributesAreDecodedAsAWholeValue) {
    EXPECT_EQ(viewer::attributeLines(17),
              (Lines{std::string(18, ' ') + "Fixed length", std::string(18, ' ') + "Auto incrementing"}));
    EXPECT_EQ(viewer::attributeLines(1), (Lines{std::string(18, ' ') + "Fixed length"}));
    EXPECT_EQ(viewer::attributeLines(32768), (Lines{std::string(18, ' ') + "Contains hyperlink"}));
    // Variable and auto-increment together, or updatable bits, mean nothing here.
    EXPECT_TRUE(viewer::attributeLines(18).empty());
    EXPECT_TRUE(viewer::attributeLines(33).empty());
    EXPECT_TRUE(viewer::attributeLines(0).empty());
}

TEST(FieldDetails, TypeNames) {
    EXPECT_EQ(viewer::fieldTypeText(kNames, jet::dbMemo), "Memo");
    EXPECT_EQ(viewer::fieldTypeText(kNames, jet::dbDate), "Date/Time");
    EXPECT_EQ(viewer::fieldTypeText(kNames, jet::dbTimeStamp), "Time Stamp");
    for (int unnamed : {0, 13, 14, 24, 25}) EXPECT_EQ(viewer::fieldTypeText(kNames, unnamed), "") << unnamed;
    // Codes beyond the table: never read past it.
    EXPECT_EQ(viewer::fieldTypeText(kNames, jet::dbAttachment), "Attachment");
    EXPECT_EQ(viewer::fieldTypeText(kNames, jet::dbComplexText), "Complex Text");
    EXPECT_EQ(viewer::fieldTypeText(kNames, 26), "26");
    EXPECT_EQ(viewer::fieldTypeText(kNames, -3), "-3");

    auto odd = makeField("Att", jet::dbAttachment, 0, 0);
    EXPECT_EQ(viewer::fieldDetailLines(*odd, kNames)[1], "Field Type:       Attachment");
}

TEST(IndexDetails, TwoFieldPrimaryKeyGivesSevenLines) {
    auto index = makeIndex("PrimaryKey", {{"OrderID", 0}, {"ProductID", jet::dbDescending}}, true, true);
    EXPECT_EQ(viewer::indexDetailLines(*index),
              (Lines{"Index Name:       PrimaryKey", "Field 1" + std::string(11, ' ') + "OrderID",
                     "     Sort order:  Ascending", "Field 2" + std::string(11, ' ') + "ProductID",
                     "     Sort order:  Descending", "Unique:           Yes", "Primary:          Yes"}));
}

TEST(IndexDetails, PlainIndexAndOddSortAttribute) {
    auto index = makeIndex("City", {{"City", 2}}, false, false);
    EXPECT_EQ(viewer::indexDetailLines(*index),
              (Lines{"Index Name:       City", "Field 1           City", "     Sort order:  2", "Unique:           No",
                     "Primary:          No"}));
    // Ten members: the member number widens, the value column stays.
    std::vector<std::pair<std::string, long>> members;
    for (int i = 0; i < 10; ++i) members.push_back({"F" + std::to_string(i), 0});
    auto wide = makeIndex("Wide", members, false, true);
    const auto lines = viewer::indexDetailLines(*wide);
    EXPECT_EQ(lines[19], "Field 10          F9");
}

}  // namespace
