#include "vb/screen.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QWidget>

#include "vb/vb_error.h"

namespace vb {

namespace {

Qt::CursorShape cursorShape(int pointer) {
    switch (pointer) {
    case vbCrosshair: return Qt::CrossCursor;
    case vbIbeam: return Qt::IBeamCursor;
    case vbIconPointer: return Qt::ArrowCursor;
    case vbSizePointer:
    case vbSizeAll: return Qt::SizeAllCursor;
    case vbSizeNESW: return Qt::SizeBDiagCursor;
    case vbSizeNS: return Qt::SizeVerCursor;
    case vbSizeNWSE: return Qt::SizeFDiagCursor;
    case vbSizeWE: return Qt::SizeHorCursor;
    case vbUpArrow: return Qt::UpArrowCursor;
    case vbHourglass: return Qt::WaitCursor;
    case vbNoDrop: return Qt::ForbiddenCursor;
    case vbArrowHourglass: return Qt::BusyCursor;
    case vbArrowQuestion: return Qt::WhatsThisCursor;
    default: return Qt::ArrowCursor;
    }
}

}  // namespace

void ScreenObject::setMousePointer(int pointer) {
    if (pointer < vbDefault || pointer > vbSizeAll)
        throw RuntimeError(380, "Invalid property value");
    pointer_ = pointer;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    if (pointer == vbDefault) {
        if (overriding_) QGuiApplication::restoreOverrideCursor();
        overriding_ = false;
        return;
    }
    const QCursor cursor(cursorShape(pointer));
    if (overriding_) {
        QGuiApplication::changeOverrideCursor(cursor);
    } else {
        QGuiApplication::setOverrideCursor(cursor);
        overriding_ = true;
    }
}

ScreenObject& Screen() {
    static ScreenObject screen;
    return screen;
}

int DoEvents() {
    if (!QCoreApplication::instance()) return 0;
    QCoreApplication::processEvents();
    int open = 0;
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible()) ++open;
    }
    return open;
}

}  // namespace vb
