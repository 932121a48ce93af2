// The checker must catch the faults it is there for, or the corpus runs
// prove nothing.
#include "codegen/vb_checker.h"

#include <gtest/gtest.h>

TEST(VbChecker, AcceptsValidLines) {
    for (const std::string line : {
             "Set qdfNew = DB.CreateQueryDef(\"Q\", \"SELECT \"\"a\"\" FROM [T];\")",
             "Set tdfNew = DB![Order Details]",
             "'relNew.Fields![a\"b]c].PartialReplica = False   'a comment may hold anything",
             "MsgBox \"it's\" ' a comment after a string with an apostrophe",
             "relNew.Fields![ID].ForeignName = \"ID\"",
             "x = \"Anv\" & ChrW$(&HE4) & \"ndare\" ' Anv\xC3\xA4ndare",
             "",
         })
        EXPECT_TRUE(vbcheck::lineProblems(line).empty()) << line;
}

TEST(VbChecker, CatchesBrokenLines) {
    EXPECT_FALSE(vbcheck::lineProblems("Set tdfNew = DB.CreateTableDef(\"a\"b\")").empty());
    EXPECT_FALSE(vbcheck::lineProblems("x = \"open").empty());
    EXPECT_FALSE(vbcheck::lineProblems("Set tdfNew = DB![a]b]").empty());
    EXPECT_FALSE(vbcheck::lineProblems("Set tdfNew = DB![a").empty());
    EXPECT_FALSE(vbcheck::lineProblems("x = \"a\rb\"").empty());
    EXPECT_FALSE(vbcheck::lineProblems("x = \"Anv\xC3\xA4ndare\"").empty());
    EXPECT_FALSE(vbcheck::lineProblems("Set tdfNew = DB![Anv\xC3\xA4ndare]").empty());
    EXPECT_FALSE(vbcheck::lineProblems("x = \"" + std::string(1020, 'a') + "\"").empty());
    EXPECT_TRUE(vbcheck::lineProblems("x = \"" + std::string(1017, 'a') + "\"").empty());
}

TEST(VbChecker, CatchesUnpairedBlocks) {
    EXPECT_TRUE(vbcheck::moduleProblems({"Sub Main()", "With x", "End With", "End Sub"}).empty());
    EXPECT_FALSE(vbcheck::moduleProblems({"Sub Main()", "With x", "End Sub"}).empty());
    EXPECT_FALSE(vbcheck::moduleProblems({"Sub Main()", "Public Sub B()", "End Sub"}).empty());
    EXPECT_FALSE(vbcheck::moduleProblems({"Public Sub B()"}).empty());
    EXPECT_FALSE(vbcheck::moduleProblems({"End With"}).empty());
}
