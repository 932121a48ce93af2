// The fixed texts of the main window that depend on state: the hint bar, the
// wake-up hint, the maker's information box and the version text.
#pragma once

#include <string>

namespace viewer {

// The hint bar text for the control under the mouse (objectName); "" for
// the window itself and for controls without a hint. lstProperties' hint
// depends on whether a query is shown.
std::string hintText(const std::string& controlName, bool querySelected);

// The four-line wake-up hint, lines joined by CR LF.
std::string wakeUpMessage();

// The maker's information box text, lines joined by CR LF.
std::string contactInfoMessage();

// "Version 3.2.0" for major 3, minor 2, revision 0.
std::string versionText(int major, int minor, int revision);

// The window caption with the version appended in square brackets.
std::string captionWithVersion(const std::string& caption, const std::string& version);

}  // namespace viewer
