// The rows of STX32.MDB that the print defaults dialog reads and writes:
// tab settings (StoredSettings), print mode settings (PrintInit) and the
// start-up choice (STX32Init). Plain functions over the engine's
// recordsets, so that the dialog only moves values between them and its
// controls.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "printing/print_request.h"
#include "printing/tab_settings.h"

namespace jet {
class Recordset;
}

namespace settings {

inline constexpr char kSystemDefaultPrinter[] = "<System default printer>";

// A store the user has to put right (a name already taken, a margin that is
// not a number, a value the database refuses). what() is the text to show;
// nothing was written.
class StoreRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Criteria that find the row whose `column` equals `name`, whatever
// quotation marks the name holds.
std::string criteriaFor(const std::string& column, const std::string& name);

// Moves `dynaset` to the row whose `column` equals `name`; false when
// there is none.
bool findSetting(jet::Recordset& dynaset, const std::string& column, const std::string& name);

// The text of `column` in every row of `dynaset`, in recordset order; Null
// rows are left out, as they cannot be chosen by name.
std::vector<std::string> columnTexts(jet::Recordset& dynaset, const std::string& column);

// The one-character output code of a print mode setting: "1" printer, "2"
// empty copy, "3" to "5" the three code styles.
std::string selectionFor(int printMode, int structMode);

// A print mode setting as the dialog shows it: the row as the print
// request reads it, and its name. `selection` is not read when storing; it
// follows from the two modes.
struct PrintModeSetting : printing::PrintInitRecord {
    std::string name;
};

// The current row of a PrintInit recordset.
PrintModeSetting readPrintModeSetting(jet::Recordset& dynaset);

// Adds `setting` as a new row (its name trimmed of blanks) or, with
// `isNew` false, rewrites the row of that name. StructMode and Selection
// follow from the print mode. Throws StoreRefused for an empty or taken
// name, a missing row or a value the database refuses; the recordset is
// left without a pending edit.
void storePrintModeSetting(jet::Recordset& dynaset, PrintModeSetting setting, bool isNew);

// A tab setting as the dialog shows it: the margins as typed.
struct TabSettingRow {
    std::string title;
    std::string printerName;
    std::string fontName;
    printing::TabColumns tabs{};
};

// The twenty margins typed into the dialog's boxes, or StoreRefused naming
// the first box whose text is no whole number of the columns' range.
printing::TabColumns marginsFrom(const std::vector<std::string>& texts);

// Adds `row` as a new tab setting or rewrites the row of its title, as
// storePrintModeSetting does.
void storeTabSetting(jet::Recordset& dynaset, const TabSettingRow& row, bool isNew);

// Makes `tabSetting` and `printSetting` the start-up choice: the first row
// of `init` (STX32Init) is edited, or added when the table is empty.
void storeStartUpChoice(jet::Recordset& init, const std::string& tabSetting, const std::string& printSetting);

// `text` without leading and trailing blanks.
std::string trimmed(const std::string& text);

}  // namespace settings
