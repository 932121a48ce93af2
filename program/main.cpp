// Strux32 [FILE]: the main window is the start-up object; its load event and
// its deferred start-up do the rest, and then open FILE when one is given.
#include <QApplication>
#include <QStringList>

#include "STXGLOB.h"
#include "frmStrux.h"
#include "viewer/engine_iface.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Strux32");
    dbeEngine = &viewer::jetEngine();

    frmStrux window;
    // The desktop entry passes the database the user opened with Strux32.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) window.OpenAtStart(arguments.at(1).toStdString());
    window.Form_Load();
    if (EndRequested()) return 0;
    window.show();
    if (EndRequested()) return 0;
    return QApplication::exec();
}
