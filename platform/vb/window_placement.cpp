#include "vb/window_placement.h"

#include <QGuiApplication>
#include <algorithm>
#include <QScreen>
#include <QWidget>

namespace vb {

namespace {

Rect toRect(const QRect& r) { return Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

}  // namespace

Rect desktopRect(const QWidget* near) {
    QScreen* screen = near ? near->screen() : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return {};
    return toRect(screen->geometry());
}

Rect windowRect(const QWidget* window) {
    if (!window) return {};
    if (window->isWindow()) return toRect(window->frameGeometry());
    return toRect(QRect(window->mapToGlobal(QPoint(0, 0)), window->size()));
}

bool moveWindow(QWidget* window, int32_t x, int32_t y, int32_t width, int32_t height, bool repaint) {
    if (!window) return false;
    // Qt sizes a window by its client area; the frame's share is kept as it is.
    const QRect frame = window->isWindow() ? window->frameGeometry() : window->geometry();
    const int clientWidth = std::max(0, width - (frame.width() - window->width()));
    const int clientHeight = std::max(0, height - (frame.height() - window->height()));
    if (clientWidth != window->width() || clientHeight != window->height()) window->resize(clientWidth, clientHeight);
    window->move(x, y);
    if (repaint) window->repaint();
    return true;
}

}  // namespace vb
