// The small pictures of the program's windows, drawn rather than shipped.
#pragma once

#include <QPixmap>

namespace viewer {

// The program's icon: a database drum with a structure sheet, 32 x 32.
QPixmap programIcon();
// A miniature of the print selection window, for the help window.
QPixmap printSelectionPicture();

}  // namespace viewer
