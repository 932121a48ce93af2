#include "codegen/form_file.h"

#include <regex>

#include <gtest/gtest.h>

#include "codegen/temp_folder.h"
#include "codegen/vb_checker.h"

namespace {

std::vector<std::string> fontBlock(const std::string& size) {
    return {"      BeginProperty Font",
            "         Name            =   \"MS Sans Serif\"",
            "         Size            =   " + size,
            "         Charset         =   0",
            "         Weight          =   700",
            "         Underline       =   0   'False",
            "         Italic          =   0   'False",
            "         Strikethrough   =   0   'False",
            "      EndProperty"};
}

}  // namespace

TEST(FormFile, HasItsLinesAndThreeFontBlocks) {
    const auto lines = codegen::formLines("1/2/2003 4:05:06 PM");
    ASSERT_EQ(lines.size(), 147u);
    EXPECT_EQ(lines.front(), "VERSION 5.00");
    EXPECT_EQ(lines.back(), "End Sub");

    // Each block follows the line that the numbered items put before it.
    for (const auto& [after, size] : std::vector<std::pair<std::string, std::string>>{
             {"      Caption         =   \"&Cancel\"", "8.25"},
             {"      Default         =   -1  'True", "8.25"},
             {"   Begin VB.TextBox txtBaseName", "12"}}) {
        const auto at = std::find(lines.begin(), lines.end(), after);
        ASSERT_NE(at, lines.end()) << after;
        const std::vector<std::string> block(at + 1, at + 10);
        EXPECT_EQ(block, fontBlock(size)) << after;
    }

    for (const auto& [number, text] : std::vector<std::pair<int, std::string>>{
             {4, "   Caption         =   \"Create New Database\""},
             {15, "   StartUpPosition =   3  'Windows Default"},
             {66, "   Begin VB.TextBox txtBaseName"},
             {90, "End"},
             {91, "Attribute VB_Name = \"frmCreateVBDatabase\""},
             {98, "'Created by Strux32.exe"},
             {101, "'Form created 1/2/2003 4:05:06 PM"},
             {112, "BaseName$ = Dir1.Path & \"\\\" & txtBaseName"},
             {116, "If MsgBox(\"Confirm creation of: \" & BaseName$, vbQuestion + vbYesNo) = vbNo Then"},
             {129, "'Set Rs = DB.OpenRecordset(\"MyTableName\", dbOpenTable)"},
             {132, "'Rs(\"Field2\") = \"ABC\""},
             {141, "Private Sub cmdCancel_Click()"},
         })
        EXPECT_EQ(lines[number - 1], text) << "line " << number;
    EXPECT_EQ(lines[98].substr(0, 1), "'");
    const auto code = std::find(lines.begin(), lines.end(), "Private Sub cmdAccept_Click()");
    EXPECT_EQ(code - lines.begin(), 106);
    EXPECT_TRUE(vbcheck::moduleProblems(std::vector<std::string>(code, lines.end())).empty());
}

TEST(FormFile, RewritingChangesOnlyTheDateLine) {
    testcodegen::TempFolder folder;
    const std::string path = folder / "CreateVBForm.frm";
    codegen::CreateVBForm(path, "1/2/2003 4:05:06 PM");
    const auto first = testcodegen::crlfLines(path);
    codegen::CreateVBForm(path, "2/3/2004 5:06:07 PM");
    const auto second = testcodegen::crlfLines(path);
    ASSERT_EQ(first.size(), 147u);
    ASSERT_EQ(second.size(), 147u);
    for (std::size_t i = 0; i < first.size(); ++i)
        if (i != 100) {
            EXPECT_EQ(first[i], second[i]) << "line " << i + 1;
        }
    EXPECT_EQ(second[100], "'Form created 2/3/2004 5:06:07 PM");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"CreateVBForm.frm"});
}
