// Reading and moving window rectangles, as the placement routines of the
// common routines library need them. A window is a QWidget; the "desktop" is
// the screen the window is on (the primary screen when it has none yet).
//
// Rectangles follow the Win32 RECT shape (left, top, right, bottom, 32-bit).
// A top-level window's rectangle includes its frame and is in screen
// coordinates; moveWindow places a top-level window in screen coordinates and
// a child window in its parent's client coordinates, as MoveWindow does.
#pragma once

#include <cstdint>

class QWidget;

namespace vb {

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int64_t width() const { return int64_t{right} - left; }
    int64_t height() const { return int64_t{bottom} - top; }
};

// The whole screen that `near` is on (or the primary screen), with its origin.
Rect desktopRect(const QWidget* near = nullptr);
// The window's rectangle in screen coordinates; an empty Rect for nullptr.
Rect windowRect(const QWidget* window);
// Moves and sizes the window (outer size, frame included). `repaint` false
// leaves painting to the next paint event. Returns false for nullptr.
bool moveWindow(QWidget* window, int32_t x, int32_t y, int32_t width, int32_t height, bool repaint);

}  // namespace vb
