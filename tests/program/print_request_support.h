// What the print request tests share: a settings database whose tables can
// be sought by their primary key, a scripted way of answering the printing
// dialogs, and a main window with a database open.
#pragma once

#include <QDialog>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "frmStrux.h"
#include "program_fixture.h"
#include "vb/scripted_ui.h"

namespace printtest {

using programtest::KeyedRecordset;

// STX32.MDB as the tests need it: StoredSettings and PrintInit rows.
class SettingsDatabase : public programtest::MemoryDatabase {
public:
    SettingsDatabase();
    // One PrintInit row; the Yes/No columns hold -1 and 0 as Jet stores them.
    void addPrintSetting(const std::string& name, bool autoPrint, const std::string& selection, int printMode,
                         int structMode, bool tables = true, bool indexes = true, bool fields = true,
                         bool queries = false, bool relations = false, bool page = false, bool details = false);
    void addTabSetting(const std::string& name, const std::string& printer, const std::string& font,
                       std::int16_t firstTab);
    std::unique_ptr<jet::Recordset> OpenRecordset(const std::string& name, int type) override;
    std::vector<std::string> opened;
};

// Answers the printing dialogs in the order they come; a dialog that comes
// with no answer left fails the test and is closed by its close box.
class DialogScript {
public:
    DialogScript();
    ~DialogScript();
    std::deque<std::function<void(QDialog&)>> answers;
    std::vector<std::string> shown;  // the dialogs' captions, in order
};

// Clicks the dialog's button `name`.
void click(QDialog& dialog, const char* name);
// Selects option `name` of the dialog, then clicks `button`.
std::function<void(QDialog&)> choose(const char* option, const char* button);
// The close box of the dialog.
void closeBox(QDialog& dialog);

}  // namespace printtest
