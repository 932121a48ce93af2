#include "subs_fixture.h"

#include "support/error_number.h"
#include "vb/vb_error.h"

using subs_test::SubsTest;

namespace {

const std::string kStoredLine = "This message has been stored in the clipboard.\r\n";
const std::string kDefaultContact =
    " Please contact Corvane for assistance, quoting the Error code, Section and Program detail.";

bool startsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

}  // namespace

TEST_F(SubsTest, DatabaseNotFoundLeavesTextAndSupportLineInClipboard) {
    int32_t style = 4 + 32;  // the handler makes it an OK box
    EXPECT_EQ(subs->cvErrHandler(3024, "[F001][Open Database]", "", 7, style), -32768);
    EXPECT_EQ(style, 0);

    ASSERT_EQ(ui.messageBoxes().size(), 1u);
    const auto box = ui.messageBoxes()[0];  // messageBoxes() is a copy
    EXPECT_EQ(box.style, 0);
    EXPECT_EQ(box.title, "Error Handler");
    const std::string text =
        "The specified database could not be found in the given path in the program. [F001][Open Database] Check "
        "with your system supervisor.\r\n\r\n";
    ASSERT_TRUE(startsWith(ui.clipboard, text)) << ui.clipboard;
    // The support line follows on a line of its own, then an empty line.
    const std::string supportPart = ui.clipboard.substr(text.size());
    ASSERT_GE(supportPart.size(), 5u);
    EXPECT_EQ(supportPart.substr(supportPart.size() - 4), "\r\n\r\n");
    EXPECT_EQ(supportPart.find("\r\n"), supportPart.size() - 4);  // one line
    EXPECT_NE(supportPart.find("Corvane"), std::string::npos);
    // The box shows the clipboard's text plus the note; the clipboard was
    // already filled when the box came up.
    EXPECT_EQ(box.prompt, ui.clipboard + kStoredLine);
    ASSERT_EQ(ui.clipboardAtBox.size(), 1u);
    EXPECT_EQ(ui.clipboardAtBox[0], ui.clipboard);
}

TEST_F(SubsTest, IndexErrorNamesTheSectionAndZeroesUserNumberAndStyle) {
    int32_t style = vb::vbYesNo;
    EXPECT_EQ(subs->cvErrHandler(3015, "[F001][Printing]", "", 12, style), -32768);
    EXPECT_EQ(style, 0);
    EXPECT_TRUE(startsWith(ui.clipboard,
                           "An index error Code 3015 [Index missing] has occurred in Section 70001 of the program. "
                           "[F001][Printing]." + kDefaultContact + "\r\n\r\n"))
        << ui.clipboard;
    EXPECT_EQ(ui.messageBoxes().at(0).style, 0);
}

TEST_F(SubsTest, OtherErrorsShowAFiveDigitCode) {
    subs->cvErrHandler(5, "[F001][Open Database]");
    EXPECT_TRUE(startsWith(ui.clipboard, "An error Code 00005 has occurred in Section 100 of the program. "
                                         "[F001][Open Database]." + kDefaultContact + "\r\n\r\n"))
        << ui.clipboard;

    subs->cvErrHandler(32755, "nonsense area");
    EXPECT_TRUE(startsWith(ui.clipboard, "An error Code 32755 has occurred in Section 2 of the program. nonsense area."))
        << ui.clipboard;

    // Longer numbers keep their last five digits.
    subs->cvErrHandler(1234567, "[Code run]");
    EXPECT_TRUE(startsWith(ui.clipboard, "An error Code 34567 has occurred")) << ui.clipboard;
}

TEST_F(SubsTest, CallersContactReplacesContactAndSupportLine) {
    subs->cvErrHandler(3021, "[Open Recordset]", " Call the help desk.");
    EXPECT_EQ(ui.clipboard,
              "An error Code 03021 has occurred in Section 102 of the program. [Open Recordset]. Call the help "
              "desk.\r\n\r\n");
    EXPECT_EQ(ui.messageBoxes().at(0).prompt, ui.clipboard + kStoredLine);

    // 3024 has no contact sentence, but a given contact still drops the support line.
    subs->cvErrHandler(3024, "[Open Database]", "x");
    EXPECT_EQ(ui.clipboard,
              "The specified database could not be found in the given path in the program. [Open Database] Check "
              "with your system supervisor.\r\n\r\n");
}

TEST_F(SubsTest, YesNoMapsToCallersResultsAndLeavesTheButtonGroup) {
    for (auto [pressed, expected] : {std::pair{vb::vbYes, 1}, std::pair{vb::vbNo, 2}}) {
        ui.msgBoxAnswers = {pressed};
        int32_t style = 4 + 32;
        int16_t yes = 1;
        int16_t no = 2;
        EXPECT_EQ(subs->cvErrHandler(5, "[Code run]", "", 0, style, yes, no), expected);
        EXPECT_EQ(style, 4);
        EXPECT_EQ(ui.shown.back().style, 36);  // the box itself had the icon
    }
}

TEST_F(SubsTest, EveryButtonGroupMapsItsButtons) {
    struct Case {
        int32_t style;
        int pressed;
        int16_t expected;
    };
    const Case cases[] = {
        {vb::vbOKOnly + vb::vbInformation, vb::vbOK, 11},
        {vb::vbOKCancel + vb::vbDefaultButton2, vb::vbCancel, 22},
        {vb::vbAbortRetryIgnore, vb::vbRetry, 22},
        {vb::vbAbortRetryIgnore + vb::vbDefaultButton3, vb::vbIgnore, 33},
        {vb::vbYesNoCancel + vb::vbExclamation, vb::vbCancel, 33},
        {vb::vbRetryCancel + 4096, vb::vbRetry, 11},         // system modal
        {vb::vbRetryCancel + 524288 + 65536, vb::vbCancel, 22},  // right-aligned, foreground
        {vb::vbYesNo + 16384 + 768, vb::vbNo, 22},          // help button, fourth default
    };
    for (const Case& c : cases) {
        ui.msgBoxAnswers = {c.pressed};
        int32_t style = c.style;
        EXPECT_EQ(subs->cvErrHandler(5, "[Code run]", "", 99, style, 11, 22, 33), c.expected) << c.style;
        EXPECT_EQ(style, c.style % 8) << c.style;
    }
}

TEST_F(SubsTest, UnknownStyleFlagsLeaveTheUserNumber) {
    ui.msgBoxAnswers = {vb::vbYes};
    int32_t style = 1048576 + vb::vbYesNo;  // right-to-left reading: not among the flags taken away
    EXPECT_EQ(subs->cvErrHandler(5, "[Code run]", "", 42, style, 1, 2), 42);
    EXPECT_GE(style, 6);  // what is left is no button group
}

TEST_F(SubsTest, WithoutButtonResultsTheStyleStaysAndUserNumberIsReturned) {
    int32_t style = vb::vbYesNo + vb::vbQuestion;
    EXPECT_EQ(subs->cvErrHandler(5, "[Code run]", "", 17, style), 17);
    EXPECT_EQ(style, 36);
    EXPECT_EQ(subs->cvErrHandler(5, "[Code run]", "", 0, style, 0, -3, 0), -32768);
    EXPECT_EQ(style, 36);
    // A mapped result of 0 also becomes -32768.
    ui.msgBoxAnswers = {vb::vbNo};
    EXPECT_EQ(subs->cvErrHandler(5, "[Code run]", "", 17, style, 1, 0), -32768);
}

TEST_F(SubsTest, SilentCasesShowNothingAndLeaveTheClipboard) {
    ui.clipboard = "untouched";
    EXPECT_EQ(subs->cvErrHandler(3024, "[Open Database]", "", 5, -1), 5);
    EXPECT_EQ(subs->cvErrHandler(3021, "[Open Database]", "", -1, -1), 3021);
    EXPECT_EQ(subs->cvErrHandler(-7, "[Open Database]", "", -1, -1), -7);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(ui.clipboard, "untouched");
}

TEST_F(SubsTest, ErrorNumberAsUserNumberWhenAskedFor) {
    EXPECT_EQ(subs->cvErrHandler(3021, "[Code run]", "", -1, 0), 3021);
    EXPECT_EQ(ui.messageBoxes().size(), 1u);
    // But the database texts reset it.
    EXPECT_EQ(subs->cvErrHandler(3024, "[Code run]", "", -1, 0), -32768);
}

TEST_F(SubsTest, ErrorNumbersBeyondSixteenBitsOverflowWhereTheyBecomeTheResult) {
    ui.clipboard = "untouched";
    const auto overflowNumber = [&](int32_t number, int32_t style) {
        return testsupport::errorNumber<vb::RuntimeError>(
            [&] { subs->cvErrHandler(number, "[Code run]", "", -1, style); });
    };
    EXPECT_EQ(overflowNumber(40000, -1), vb::vbErrOverflow);
    EXPECT_EQ(overflowNumber(-40000, 0), vb::vbErrOverflow);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(ui.clipboard, "untouched");
    // Where the number is only shown, any size is fine.
    EXPECT_EQ(subs->cvErrHandler(40000, "[Code run]"), -32768);
    EXPECT_EQ(subs->cvErrHandler(32767, "[Code run]", "", -1, -1), 32767);
}

