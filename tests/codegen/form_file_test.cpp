#include "codegen/form_file.h"

#include <gtest/gtest.h>

#include "codegen/temp_folder.h"
#include "codegen/vb_checker.h"

// The whole form, line by line, against a reviewed copy kept in golden/
// (its three font blocks, captions and code). To refresh it after a
// deliberate change, set STRUX_UPDATE_GOLDEN=1, run the test and review the
// difference before committing it.
TEST(FormFile, MatchesTheReviewedCopy) {
    const auto lines = codegen::formLines("1/2/2003 4:05:06 PM");
    testcodegen::expectGoldenLines(lines, "CreateVBForm.frm");
    EXPECT_EQ(lines[100], "'Form created 1/2/2003 4:05:06 PM");
    // The code part as VB would read it.
    const auto code = std::find(lines.begin(), lines.end(), "Private Sub cmdAccept_Click()");
    EXPECT_EQ(code - lines.begin(), 106);
    EXPECT_TRUE(vbcheck::moduleProblems(std::vector<std::string>(code, lines.end())).empty());
}

TEST(FormFile, RewritingChangesOnlyTheDateLine) {
    testcodegen::TempFolder folder;
    const std::string path = folder / "CreateVBForm.frm";
    codegen::CreateVBForm(path, "1/2/2003 4:05:06 PM");
    auto first = testcodegen::crlfLines(path);
    codegen::CreateVBForm(path, "2/3/2004 5:06:07 PM");
    auto second = testcodegen::crlfLines(path);
    ASSERT_EQ(second.size(), 147u);
    EXPECT_EQ(second[100], "'Form created 2/3/2004 5:06:07 PM");
    first[100] = second[100];
    EXPECT_EQ(first, second);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"CreateVBForm.frm"});
}
