// What the print defaults tests share: a real STX32.MDB in a folder of the
// test's own, the dialog loaded on it, and reads of the rows it stored.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include "printer/printers.h"
#include "jet/value.h"
#include "program_fixture.h"
#include "viewer/engine_iface.h"
#include "settings/frmPtrDefs.h"
#include "vb/scripted_ui.h"

namespace settingstest {

// Copies the STX32.MDB the build makes to `path`: tab settings "Default"
// and "HPLJ4 - Times NR", print settings "Default", "AutoPrint" and
// "AutoStruct - Stand Alone", and the start-up choice "Default"/"Default".
void makeSettingsDatabase(const std::string& path);
// The same tables with no rows at all.
void makeEmptySettingsDatabase(const std::string& path);

// Rows written into an open settings database. A print setting's Yes/No
// columns are given in the order Tables, Indexes, Fields, Queries,
// Relations, Page, Details; a tab setting's columns after the first are
// 5 + 4 * i.
struct PrintSettingRow {
    std::string name;
    bool autoPrint = false;
    std::string selection = "1";
    int printMode = 0, structMode = 0;
    bool tables = true, indexes = true, fields = true, queries = false, relations = false, page = false,
         details = false;
};
void addPrintSetting(viewer::DatabaseHandle& db, const PrintSettingRow& row);
void addTabSetting(viewer::DatabaseHandle& db, const std::string& name, const std::string& printer,
                   const std::string& font, std::int16_t firstTab);
// The one STX32Init row replaced by `tab` and `print` (none: no row at all).
void setStartUpChoice(viewer::DatabaseHandle& db, const std::optional<std::pair<jet::Value, jet::Value>>& choice);

// A row of a settings table, column name -> value as text ("-1"/"0" for
// Yes/No); empty when there is no row of that name.
using Row = std::map<std::string, std::string>;
Row settingRow(const std::string& table, const std::string& keyColumn, const std::string& name);
long rowCount(const std::string& table);

// The lines of a text file, without their line ends.
std::vector<std::string> fileLines(const std::filesystem::path& path);

// Two printers: "Text" with the Courier faces and "Laser" with two others.
std::unique_ptr<printer::Printers> testPrinters();

class PrintDefaultsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the dialog on the settings database at settingsPath (none when
    // `withDatabase` is false).
    void openDialog(bool withDatabase = true);

    template <class W>
    W* control(const std::string& name) {
        auto* widget = dialog->findChild<W*>(QString::fromStdString(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QPushButton* button(const std::string& name) { return control<QPushButton>(name); }
    QCheckBox* check(const std::string& name) { return control<QCheckBox>(name); }
    QLineEdit* margin(int i) { return control<QLineEdit>("txtMargin" + std::to_string(i)); }
    std::string text(const std::string& comboName) {
        return control<QComboBox>(comboName)->currentText().toStdString();
    }
    // Picks `entry` in a combo box as the user would.
    void choose(const std::string& comboName, const std::string& entry);
    // The dialog's tab strip clicked on `tab` (1 to 4).
    void goToTab(int tab) { dialog->selectTab(tab); }
    std::vector<std::string> margins();
    bool anyChanged() const;

    programtest::TempFolder programFolder;
    std::string settingsPath = programFolder.file("STX32.MDB");
    std::filesystem::path defaultsFile = programFolder.path() / "stx32ps.def";
    vb::ScopedScriptedUi ui;
    std::unique_ptr<frmPtrDefs> dialog;
};

}  // namespace settingstest
