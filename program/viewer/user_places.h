// What the program remembers for the user between runs: the folder of the
// last database opened, the folder the last report went to, and the main
// window's size and place. They live below the user's registry root, beside
// the program's print settings, so that every user keeps their own.
#pragma once

#include <string>

namespace viewer {

inline constexpr char kLastDatabaseFolder[] = "Last Database Folder";
inline constexpr char kLastReportFolder[] = "Last Report Folder";
inline constexpr char kMainWindowPlace[] = "Main Window";

// The remembered value, or "" when there is none (or the registry cannot be
// read).
std::string rememberedPlace(const char* name);
// Remembers `value`; a registry that cannot be written loses it quietly,
// since nothing but convenience depends on it.
void rememberPlace(const char* name, const std::string& value);

}  // namespace viewer
