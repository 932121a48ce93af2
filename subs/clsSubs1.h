// clsSubs1: the common routines of the cvSubs1 library. Error areas and the
// common error handler, the status window, form placement, text clean-up, a
// date-text check, the user's name and a password prompt.
//
// The program sees only this interface and creates the object through
// createClsSubs1(). The members are declared in the interface's fixed order;
// new members may only ever be added after the last one.
//
// Conventions of the interface:
// - Window handles are QWidget pointers. A top-level widget is a window of
//   the screen; a child widget is placed within its parent's client area.
//   A null handle is a call on no window: nothing moves.
// - Optional arguments: an omitted number is 0, an omitted text is "".
// - By-reference arguments are vb::ByRef: pass a variable to see the change,
//   or a value (or nothing) when the change does not matter.
// - Failures are vb::RuntimeError with VB's numbers (6 overflow, 94 invalid
//   use of Null, ...). Message boxes and the clipboard go through vb::ui(),
//   so tests answer them with vb::ScriptedUi.
// - Every member runs on the user-interface thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "cvsubs1_api.h"
#include "vb/by_ref.h"
#include "vb/variant.h"

class QWidget;


class clsSubs1 {
public:
    virtual ~clsSubs1() = default;

    // Asks for a user name and password in the modal window frmPass.
    // Returns "{name}{password}" (both trimmed of blanks) when OK was pressed
    // with a name; "!TIMEOUT!" when iPassLoops > 0 and (iPassLoops + 1) ten-
    // second ticks passed without that; "" when the window was closed.
    virtual std::string cvShowPass(int16_t iPassLoops = 0) = 0;

    // Centres the window on its screen, keeping its size.
    virtual void cvCentreForm(QWidget* hWndMe) = 0;

    // Waits piSleep seconds (1 when 0) by the time of day, across midnight.
    // Windows keep painting meanwhile; clicks and keys wait until the end.
    // The wait never lasts longer than piSleep seconds, even when the clock
    // of the machine is set back during it.
    virtual void cvSleep(int16_t piSleep = 0) = 0;

    // Moves the window to ((parent width - width) / 2, (parent height -
    // height) / 2) in the window's own coordinate space (its parent's client
    // area for a child window, the screen for a top-level window); a window
    // wider or taller than the parent is centred on the screen instead.
    virtual void cvCentreToParent(QWidget* hWndMe, QWidget* hWndParent) = 0;

    // Text clean-up by iMode: 1 upper case, 2 lower case, 3 proper case of
    // mode 4, 4 trimmed with inner runs of blanks made one, 5 trimmed with
    // each sChar replaced by sReplace (an empty sChar replaces nothing);
    // any other mode gives "".
    virtual std::string cvTextFix(int16_t iMode, const std::string& sText, const std::string& sChar = {},
                                  const std::string& sReplace = {}) = 0;

    // A quick check of a date text: 6 or 7 characters pass; 8 or 10 pass
    // when the 3rd and 6th characters are the separator (sSepChar, "/" when
    // empty) and the text is a date; other lengths fail.
    virtual bool cvCheckDate(const std::string& DateToCheck, const std::string& sSepChar = {}) = 0;

    // "{user}{computer}", each name cut at its first character outside 32..127.
    virtual std::string cvGetUser() = 0;

    // The label of an error area, e.g. (1120, 1) gives "[F001][Add to List
    // box]". liAreaNum -1 stores liNewVal as this object's area and uses it;
    // -2 uses the stored area. A form number of 1 or more adds "[Fnnn]" with
    // the number's last three digits.
    virtual std::string cvSetArea(int32_t liAreaNum, int16_t iFormNo = 0, int32_t liNewVal = 0) = 0;

    // The common error handler: builds the message for liErrorNum in the
    // area sAreaText, leaves it in the clipboard, shows it (title "Error
    // Handler", style iMsgbCode) and maps the pressed button to iMsgbB1..3.
    // Returns the user's error number, or -32768 when that is 0. Raises
    // RuntimeError 6 when liErrorNum must become a 16-bit result and does
    // not fit. sVer and sEXENme are accepted and not used.
    virtual int16_t cvErrHandler(int32_t liErrorNum, const std::string& sAreaText, const std::string& sContact = {},
                                 int16_t iUserErrNum = 0, vb::ByRef<int32_t> iMsgbCode = {},
                                 vb::ByRef<int16_t> iMsgbB1 = {}, vb::ByRef<int16_t> iMsgbB2 = {},
                                 vb::ByRef<int16_t> iMsgbB3 = {}, vb::ByRef<std::string> sVer = {},
                                 vb::ByRef<std::string> sEXENme = {}) = 0;

    // Shows the modeless status window frmMessage, centred on the screen,
    // with the caption's text, and paints it at once; "-1" (or the number
    // -1) hides it. The caption is only read. Null raises RuntimeError 94.
    virtual void cvShowMessage(const vb::Variant& sMsgCaption) = 0;

    // Stores the area number of an area label (with or without its form
    // prefix) for a later cvSetArea(-2); an unknown label stores 2.
    virtual void cvStoreCA(const std::string& sAreaText) = 0;

    // For an edit mode of 2 or more shows "There is an outstanding update to
    // perform!" and returns true; otherwise false, silently.
    virtual bool cvStillUpdating(int16_t iEditMode) = 0;
};

// Creates a clsSubs1 object. Each object has its own stored area; the status
// window is one for the whole program.
CVSUBS1_API std::unique_ptr<clsSubs1> createClsSubs1();
