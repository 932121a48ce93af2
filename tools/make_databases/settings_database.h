// The settings database the program is delivered with, STX32.MDB: its three
// tables and the built-in settings as their first rows.
#pragma once

#include <string>

namespace makedb {

// Writes a new STX32.MDB (Jet 3, General sort order) at `path`, which must
// not exist yet. Throws jet::Error.
void makeSettingsDatabase(const std::string& path);

}  // namespace makedb
