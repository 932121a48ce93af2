// The program's global module: the state every window shares for the whole
// run, and the start-up routines that are not tied to one window.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "jet/recordset.h"
#include "viewer/engine_iface.h"

class clsSubs1;
class clsRegistry;

// The engine that opens every database; the executable binds it to the Jet
// engine, tests to databases they build.
extern viewer::Engine* dbeEngine;
extern std::shared_ptr<viewer::DatabaseHandle> dbCurrent;
extern int16_t bDbOpen;
extern std::string sDbPath;
extern std::shared_ptr<viewer::DatabaseHandle> dbSettings;
extern int16_t bSettingsOpen;
// "!" when the settings database could not be opened, "?" when STX32Init
// names no setting.
extern std::string sTabSetting;
extern std::string sPrintSetting;
extern std::array<std::string, 26> sFieldType;
extern std::string sErrArea;
extern std::unique_ptr<clsSubs1> oSubs;
extern std::unique_ptr<clsRegistry> oRegistry;
extern int16_t bFirstRun;
extern std::string sMessage;
extern std::string sCurrentObject;
extern int16_t bQuerySelected;
extern int16_t bRelationSelected;
extern int16_t bListReady;
extern std::unique_ptr<jet::Recordset> rsStoredSettings;
extern std::unique_ptr<jet::Recordset> rsPrintInit;
extern int16_t bUseTabSetting;
extern int16_t bUsePrintInit;
extern int16_t bAutoPrint;
extern int16_t bNoFormFile;
extern int16_t bModeCancelled;
extern int16_t bCancelPrint;
extern std::string sSavedPrinter;

// Creates oSubs on first use and returns it.
clsSubs1& Subs();

// Sets the screen's mouse pointer (11 hourglass, 0 default) and lets
// waiting window events run.
void SetPointer(int pointer);

// "Version " and the program's major, minor and revision numbers.
std::string VersionText();

// False when another copy of the program runs; otherwise makes the
// program's folder the current folder and answers True.
bool FirstInstance();

// The splash window for the splash time, then gone again.
void ShowSplash();
void HideSplash();
// How the splash waits; the program sleeps seven seconds through oSubs,
// tests replace it so that nothing waits.
extern std::function<void(int seconds)> splashPause;

// Ends the program: the Qt event loop is told to finish and EndRequested()
// answers true from then on (start-up code checks it before going on).
void EndProgram();
bool EndRequested();
// For tests that run several start-ups in one process.
void ResetEndRequest();

// The registry start-up work: creates oRegistry and, on the first run on the
// machine, writes the built-in print settings. Returns false when the
// program has to end (a message has been shown).
bool RegistryStartUp();

// The printing key `which` (1 Print Init, 2 Settings, 3 Start Settings)
// below `root`, created when `autoCreate` is set. Shows the fatal message and
// returns false when the key cannot be created or opened.
bool OpenPrintingKey(int32_t root, int which, bool autoCreate);
// One value into the key OpenPrintingKey left current; on failure the
// message quoting `code`, and false.
bool StoreRegistryValue(const std::string& name, const std::string& value, const std::string& code);
// Writes the seven values below both roots, then resets oRegistry. False
// when a write failed and the program has to end.
bool WriteDefaultPrintSettings();
void ResetRegistryObject();

// Whether no value lies yet under the program's registry key below either
// root, which is how the first run on a machine shows itself.
bool IsFirstRun();

// Reads the start-up choice of STX32.MDB beside the program (for an installed
// copy: the user's copy, see userdata/settings_folder.h). On any failure the
// "!" markers stay and false is returned; no message is shown.
bool OpenSettingsDatabase();
// Where that settings database is.
std::string SettingsDatabasePath();

// Called by the main window when it is unloaded.
void ReleaseGlobals();
