// Fonts of the Qt printers. All need a QGuiApplication (offscreen will do).
#pragma once

#include <QFont>
#include <string>
#include <vector>

#include "printer/print_surface.h"

namespace printer {

// The font families the machine has, as Qt lists them.
std::vector<std::string> installedFontFamilies();

// The face `wanted` is drawn with. A family the machine has is used as it is;
// a missing one goes through fontconfig's matching, which picks a
// metric-compatible face where one is known (Arial, Times New Roman). Courier
// and Courier New always come out fixed-pitch, since a report's columns
// depend on it: Liberation Mono when installed, else the system's monospace.
QFont matchFont(const PrintFont& wanted);

}  // namespace printer
