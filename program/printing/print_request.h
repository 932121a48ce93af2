// How a print request is resolved, without windows: the look-up of the
// stored tab and print settings, the mode codes, and what each code asks of
// the program. The main window's handlers and the mode dialogs call these.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "printing/report_engine.h"
#include "printing/tab_settings.h"

namespace jet {
class Recordset;
}

namespace printing {

// Markers that stand in for a setting name: the settings database could
// not be opened ("!"), or it names no start-up setting ("?").
inline constexpr char kNoSettingsDatabase[] = "!";
inline constexpr char kNoStartUpSetting[] = "?";

// True when `name` is a real setting name rather than one of the markers.
bool isSettingName(const std::string& name);

// Positions `recordset` (a table-type recordset of StoredSettings or
// PrintInit) on the row whose primary key is `name`; false when there is
// none. The recordset keeps the index PrimaryKey afterwards. Throws
// jet::Error when the engine refuses the index or the seek.
bool seekSetting(jet::Recordset& recordset, const std::string& name);

// The current PrintInit row as the request and the selection dialog read it.
struct PrintInitRecord {
    bool autoPrint = false;
    std::string selection;  // "1" to "5"
    int printMode = 0;      // preselected option of the mode dialog
    int structMode = 0;     // preselected option of the code style dialog
    bool tables = true;
    bool indexes = true;
    bool fields = true;
    bool queries = false;
    bool relations = false;
    bool page = false;
    bool details = false;
};
// Reads the current row; a Null Yes/No counts as No, a Null number as 0.
PrintInitRecord readPrintInit(jet::Recordset& recordset);

// The current StoredSettings row: printer, font and the columns Tab01 to
// Tab20. A Null printer name means no printer was chosen.
StoredTabSetting readStoredTabSetting(jet::Recordset& recordset);

// The mode an automatic print setting runs: a Selection above "4" is the
// project code without the outline form, any other text runs as it is.
struct AutomaticMode {
    std::string mode;
    bool noFormFile = false;
};
AutomaticMode automaticMode(const std::string& selection);

// The mode dialog's answer for its first selected option (0 to 2), or ""
// when none is selected.
std::string modeForOption(int option);

// The mode after the code style dialog: style 0 keeps the stand-alone code
// "3", styles 1 and 2 give the project code "4", style 2 without the form.
AutomaticMode modeForStyle(int style);

// What a mode code asks for.
enum class PrintAction { None, Report, Copy, Code };
PrintAction actionForMode(const std::string& mode);
// The generator's word for a code mode ("VBFILE" for "3", "VBFILE2" for
// "4"), "COPY" for "2", "" for the rest.
std::string generatorWord(const std::string& mode);

// The report's selection for an automatic print setting: every table and
// the sections the setting names.
ReportSelection automaticSelection(const PrintInitRecord& record);

}  // namespace printing
