// VB's Screen object: the mouse pointer over all windows of the program, and
// DoEvents. The pointer is a Qt override cursor, so it shows over every
// window, as the screen pointer did.
#pragma once

namespace vb {

// MousePointer values.
enum MousePointerConstants : int {
    vbDefault = 0,
    vbArrow = 1,
    vbCrosshair = 2,
    vbIbeam = 3,
    vbIconPointer = 4,
    vbSizePointer = 5,
    vbSizeNESW = 6,
    vbSizeNS = 7,
    vbSizeNWSE = 8,
    vbSizeWE = 9,
    vbUpArrow = 10,
    vbHourglass = 11,
    vbNoDrop = 12,
    vbArrowHourglass = 13,
    vbArrowQuestion = 14,
    vbSizeAll = 15,
};

class ScreenObject {
public:
    // The value last set (0 at start).
    int MousePointer() const { return pointer_; }
    // Sets the pointer; 0 removes the override and the windows' own cursors
    // show again. Setting the same value twice does not stack overrides, so
    // one 0 always restores. Values outside 0..15 raise RuntimeError 380
    // (invalid property value), as VB does. Without a Qt application only
    // the value is kept.
    void setMousePointer(int pointer);

private:
    int pointer_ = vbDefault;
    bool overriding_ = false;
};

ScreenObject& Screen();

// Processes the window events that are waiting (paints, clicks, timers) and
// returns the number of visible top-level windows, as VB's DoEvents returns
// the number of open forms. Does nothing without a Qt application.
int DoEvents();

}  // namespace vb
