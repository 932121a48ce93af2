#include "STXGLOB.h"

#include <QCoreApplication>
#include <QThread>
#include <filesystem>

#include "clsRegistry.h"
#include "clsSubs1.h"
#include "jet/error.h"
#include "jet/types.h"
#include "userdata/settings_folder.h"
#include "vb/app.h"
#include "vb/screen.h"
#include "viewer/frmFront.h"
#include "viewer/main_window_texts.h"

viewer::Engine* dbeEngine = nullptr;
std::shared_ptr<viewer::DatabaseHandle> dbCurrent;
int16_t bDbOpen = 0;
std::string sDbPath;
std::shared_ptr<viewer::DatabaseHandle> dbSettings;
int16_t bSettingsOpen = 0;
std::string sTabSetting;
std::string sPrintSetting;
std::array<std::string, 26> sFieldType;
std::string sErrArea;
std::unique_ptr<clsSubs1> oSubs;
std::unique_ptr<clsRegistry> oRegistry;
int16_t bFirstRun = 0;
std::string sMessage;
std::string sCurrentObject;
int16_t bQuerySelected = 0;
int16_t bRelationSelected = 0;
int16_t bListReady = 0;
std::unique_ptr<jet::Recordset> rsStoredSettings;
std::unique_ptr<jet::Recordset> rsPrintInit;
int16_t bUseTabSetting = 0;
int16_t bUsePrintInit = 0;
int16_t bAutoPrint = 0;
int16_t bNoFormFile = 0;
int16_t bModeCancelled = 0;
int16_t bCancelPrint = 0;
std::string sSavedPrinter;

std::function<void(int seconds)> splashPause = [](int seconds) {
    Subs().cvSleep(static_cast<int16_t>(seconds));
};

namespace {

constexpr int kSplashSeconds = 7;
constexpr char kSettingsFileName[] = "STX32.MDB";
bool endRequested = false;
std::unique_ptr<frmFront> splash;

// A text column's value; anything else (Null above all) cannot serve as a
// setting name and counts as an unreadable start-up row.
std::string textValue(const jet::Value& value) {
    if (const auto* text = std::get_if<std::string>(&value)) return *text;
    throw jet::Error(94, "Invalid use of Null");
}

}  // namespace

clsSubs1& Subs() {
    if (!oSubs) oSubs = createClsSubs1();
    return *oSubs;
}

void SetPointer(int pointer) {
    vb::Screen().setMousePointer(pointer);
    vb::DoEvents();
}

std::string VersionText() {
    const auto& app = vb::App();
    return viewer::versionText(app.Major(), app.Minor(), app.Revision());
}

bool FirstInstance() {
    if (vb::App().PrevInstance()) return false;
    std::error_code ignored;
    std::filesystem::current_path(vb::App().Path(), ignored);
    return true;
}

void ShowSplash() {
    SetPointer(11);
    splash = std::make_unique<frmFront>();
    splash->Form_Load();
    Subs().cvCentreForm(splash.get());
    splash->show();
    vb::DoEvents();
    splashPause(kSplashSeconds);
    SetPointer(0);
}

void HideSplash() { splash.reset(); }

void EndProgram() {
    endRequested = true;
    // Before the event loop runs there is nothing to leave, and Qt would
    // keep the request for whatever loop runs next.
    if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(0);
}

bool EndRequested() { return endRequested; }

void ResetEndRequest() { endRequested = false; }

std::string SettingsDatabasePath() {
    // Installed, the program's folder is not the user's to write: the
    // settings live in their own data folder, copied there on first use.
    return (userdata::settingsFolderFor(vb::App().Path(), kSettingsFileName) / kSettingsFileName).string();
}

bool OpenSettingsDatabase() {
    bSettingsOpen = 0;
    sTabSetting = "!";
    sPrintSetting = "!";
    if (!dbeEngine) return false;
    try {
        dbSettings = dbeEngine->OpenDatabase(SettingsDatabasePath(), true, false);
        auto init = dbSettings->OpenRecordset("STX32Init", jet::dbOpenTable);
        bSettingsOpen = -1;
        if (init->RecordCount() < 1) {
            sTabSetting = "?";
            sPrintSetting = "?";
        } else {
            init->MoveFirst();
            std::string tab = textValue((*init)["TabSetting"]);
            std::string print = textValue((*init)["PrintSetting"]);
            sTabSetting = std::move(tab);
            sPrintSetting = std::move(print);
        }
        init->Close();
        return true;
    } catch (const std::exception&) {
        // Missing, locked or unreadable: printing runs on the markers.
        bSettingsOpen = 0;
        sTabSetting = "!";
        sPrintSetting = "!";
        if (dbSettings) {
            try {
                dbSettings->Close();
            } catch (const std::exception&) {
                // Closing a database we give up on may fail as well; it is
                // dropped either way.
            }
            dbSettings.reset();
        }
        return false;
    }
}

void ReleaseGlobals() { oRegistry.reset(); }
