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

// What the handler returns and leaves in the style: the pressed button
// mapped to the caller's results (the button group alone left in the
// style), else the user's number (-32768 for 0, the error's own for -1
// but where the database texts reset it); a style of -1 shows nothing.
TEST_F(SubsTest, ResultsAndStylesOfEveryButtonGroup) {
    constexpr int32_t kNoGroup = -2, kUnchecked = -3;
    const struct {
        int32_t number, style;
        int16_t user, b1, b2, b3;
        int pressed;
        int16_t result;
        int32_t styleAfter;  // kNoGroup: some style that is no button group
    } cases[] = {
        {5, vb::vbYesNo + vb::vbQuestion, 0, 1, 2, 0, vb::vbYes, 1, vb::vbYesNo},
        {5, vb::vbYesNo + vb::vbQuestion, 0, 1, 2, 0, vb::vbNo, 2, vb::vbYesNo},
        {5, vb::vbOKOnly + vb::vbInformation, 99, 11, 22, 33, vb::vbOK, 11, 0},
        {5, vb::vbOKCancel + vb::vbDefaultButton2, 99, 11, 22, 33, vb::vbCancel, 22, 1},
        {5, vb::vbAbortRetryIgnore, 99, 11, 22, 33, vb::vbRetry, 22, 2},
        {5, vb::vbAbortRetryIgnore + vb::vbDefaultButton3, 99, 11, 22, 33, vb::vbIgnore, 33, 2},
        {5, vb::vbYesNoCancel + vb::vbExclamation, 99, 11, 22, 33, vb::vbCancel, 33, 3},
        {5, vb::vbRetryCancel + 4096, 99, 11, 22, 33, vb::vbRetry, 11, 5},              // system modal
        {5, vb::vbRetryCancel + 524288 + 65536, 99, 11, 22, 33, vb::vbCancel, 22, 5},   // right-aligned, foreground
        {5, vb::vbYesNo + 16384 + 768, 99, 11, 22, 33, vb::vbNo, 22, 4},                // help button, fourth default
        {5, vb::vbYesNoCancel, 99, 0, 0, 33, vb::vbCancel, 33, 3},                       // a result for one button only
        // Right-to-left reading is not among the flags taken away.
        {5, 1048576 + vb::vbYesNo, 42, 1, 2, 0, vb::vbYes, 42, kNoGroup},
        // Without results for the buttons the style stays; a mapped 0 is -32768.
        {5, vb::vbYesNo + vb::vbQuestion, 17, 0, 0, 0, vb::vbYes, 17, 36},
        {5, vb::vbYesNo + vb::vbQuestion, 0, 0, -3, 0, vb::vbYes, -32768, 36},
        {5, vb::vbYesNo + vb::vbQuestion, 17, 1, 0, 0, vb::vbNo, -32768, kUnchecked},
        {3021, 0, -1, 0, 0, 0, vb::vbOK, 3021, 0},
        {3024, 0, -1, 0, 0, 0, vb::vbOK, -32768, 0},
        {3024, -1, 5, 0, 0, 0, 0, 5, kUnchecked},
        {3021, -1, -1, 0, 0, 0, 0, 3021, kUnchecked},
        {-7, -1, -1, 0, 0, 0, 0, -7, kUnchecked},
        {32767, -1, -1, 0, 0, 0, 0, 32767, kUnchecked},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.number) + " style " + std::to_string(c.style) + " pressed " +
                     std::to_string(c.pressed));
        ui.shown.clear();
        ui.clipboard = "untouched";
        ui.msgBoxAnswers = {c.pressed};
        int32_t style = c.style;
        EXPECT_EQ(subs->cvErrHandler(c.number, "[Code run]", "", c.user, style, int16_t{c.b1}, int16_t{c.b2},
                                     int16_t{c.b3}), c.result);
        if (c.styleAfter == kNoGroup) {
            EXPECT_GE(style, 6);
        } else if (c.styleAfter != kUnchecked) {
            EXPECT_EQ(style, c.styleAfter);
        }
        EXPECT_EQ(ui.shown.empty(), c.style == -1);
        EXPECT_EQ(ui.clipboard == "untouched", c.style == -1);
    }
    // The box itself had the icon the handler took away.
    ui.msgBoxAnswers = {vb::vbYes};
    int32_t style = 4 + 32;
    subs->cvErrHandler(5, "[Code run]", "", 0, style, 1, 2);
    EXPECT_EQ(ui.shown.back().style, 36);
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
}

