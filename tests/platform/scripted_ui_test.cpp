#include "vb/scripted_ui.h"

#include <gtest/gtest.h>

TEST(ScriptedUi, AnswersFromScriptAndRecordsWhatWasShown) {
    vb::ScopedScriptedUi ui;
    ui->msgBoxAnswers = {vb::vbNo};
    EXPECT_EQ(vb::MsgBox("Are you sure?", vb::vbQuestion + vb::vbYesNo, "Exit requested"), vb::vbNo);
    EXPECT_EQ(vb::MsgBox("Done", vb::vbInformation), vb::vbOK);  // unscripted: first button
    ASSERT_EQ(ui->messageBoxes().size(), 2u);
    EXPECT_EQ(ui->messageBoxes()[0].style, 36);
    EXPECT_EQ(ui->messageBoxes()[1].title, "Strux32");  // App.Title by default
}

TEST(ScriptedUi, CancelledInputBoxGivesEmptyText) {
    vb::ScopedScriptedUi ui;
    ui->inputBoxAnswers = {std::string("HPLJ"), std::nullopt};
    EXPECT_EQ(vb::InputBox("Name?"), "HPLJ");
    EXPECT_EQ(vb::InputBox("Name?"), "");
}
