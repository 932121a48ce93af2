// Strux32: the main window is the start-up object; its load event and its
// deferred start-up do the rest.
#include <QApplication>

#include "STXGLOB.h"
#include "frmStrux.h"
#include "viewer/engine_iface.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Strux32");
    dbeEngine = &viewer::jetEngine();

    frmStrux window;
    window.Form_Load();
    if (EndRequested()) return 0;
    window.show();
    if (EndRequested()) return 0;
    return QApplication::exec();
}
