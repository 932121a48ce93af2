// Where the program keeps the files it writes beside itself (STX32.MDB,
// stx32ps.def) once it is installed.
//
// Run from its build folder, or from any folder of its own that it may
// write, the program keeps these files beside the executable. An installed
// copy cannot: its folder belongs to the system (and root, who could write
// it, must not litter it either). There each user gets a folder of their
// own, $XDG_DATA_HOME/strux32 (default ~/.local/share/strux32), filled on
// first use from the files the package delivers in <prefix>/share/strux32.
//
// Plain C++ without Qt: the terminal program uses it as well.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace userdata {

inline constexpr char kFolderName[] = "strux32";

struct SettingsPlaces {
    std::filesystem::path programFolder;    // the executable's folder
    std::filesystem::path deliveredFolder;  // <prefix>/share/strux32; empty when not installed
    std::filesystem::path userFolder;       // the user's data folder for the program; empty when unknown
};

// The value of an environment variable, or nothing when it is unset.
using EnvironmentLookup = std::function<std::optional<std::string>(const char*)>;

// The process's own environment.
std::optional<std::string> processEnvironment(const char* name);

// The places for a program in `programFolder`. The delivered folder is
// <programFolder>/../share/strux32 when that folder exists. The user
// folder follows the XDG base directory rules: $XDG_DATA_HOME/strux32 when
// that variable holds an absolute path, else $HOME/.local/share/strux32;
// empty when neither gives a folder.
SettingsPlaces settingsPlaces(const std::filesystem::path& programFolder,
                              const EnvironmentLookup& environment = processEnvironment);

// True when the program keeps its files in its own folder: the folder can
// be written and the program is not an installed copy (no delivered
// folder). Without a user folder there is nowhere else to go, and the
// program's folder is used as well.
bool usesProgramFolder(const SettingsPlaces& places);

// The folder in which the program reads and writes `fileName`.
//
// In the program's own folder nothing is copied. In the user folder, a file
// that is already there is used as it is, never replaced; a missing one is
// copied from the delivered folder (or, failing that, the program's folder)
// when either has it, and left missing otherwise, for the caller to treat
// as it treats a missing file. The user folder is created when needed.
// Creating it or copying may fail; the folder is answered all the same and
// the caller's open or write then fails as it would for any missing file.
std::filesystem::path settingsFolderFor(const SettingsPlaces& places, std::string_view fileName);

// The folder for `fileName` of the program in `programFolder`, with the
// process's environment.
std::filesystem::path settingsFolderFor(const std::filesystem::path& programFolder, std::string_view fileName);

// The folder the Open dialog starts in, where a new user finds the sample
// database: the delivered samples of an installed copy (whose own folder is
// the system's bin folder), else the program's folder, beside which the
// build puts the sample.
std::filesystem::path samplesFolder(const SettingsPlaces& places);

// Copies `from` to `to` whole or not at all: the bytes go to a new file
// beside `to`, are flushed to the disk and the new file is then renamed to
// `to`. An existing `to` is left alone (returns false). On any failure no
// new file is left behind. Returns true when `to` was made.
bool copyWhole(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace userdata
