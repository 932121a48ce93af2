// The print defaults dialog on a real STX32.MDB, driven as the user drives
// it, with scripted message and input boxes.
#include <QGroupBox>
#include <QLabel>
#include <gtest/gtest.h>

#include <fstream>

#include "STXGLOB.h"
#include "jet/dao.h"
#include "printing/print_defaults_file.h"
#include "settings_support.h"

using namespace settingstest;

namespace {

const std::vector<std::string> kBaseDefaults{"10", "5",  "30", "45", "55", "65", "30", "45", "55", "65",
                                             "30", "43", "52", "62", "72", "30", "43", "52", "62", "72"};

// ---- opening -------------------------------------------------------------------

TEST_F(PrintDefaultsTest, OpensOnTheStartUpSettingsWithNoTabChanged) {
    openDialog();
    EXPECT_TRUE(dialog->fullMode());
    EXPECT_EQ(text("cboTabSettings") + "|" + text("cboPrintInit"), "Default|Default");
    EXPECT_EQ(margins(), kBaseDefaults);
    // The machine's printers after the system default; the stored printer
    // is not installed here: it is kept, not dropped, and told as absent in
    // the closed combo as in its list, until an installed one is chosen.
    auto* printers = control<QComboBox>("cboPrinterName");
    std::vector<std::string> entries;
    for (int i = 0; i < printers->count(); ++i) entries.push_back(printers->itemText(i).toStdString());
    EXPECT_EQ(entries, (std::vector<std::string>{"<System default printer>", "Text", "Laser", "HP LaserJet 4L"}));
    EXPECT_EQ(text("cboPrinterName"), "HP LaserJet 4L");
    EXPECT_TRUE(printers->toolTip().contains("not installed")) << printers->toolTip().toStdString();
    EXPECT_TRUE(printers->font().italic());
    EXPECT_TRUE(control<QRadioButton>("optPrintMode0")->isChecked());
    EXPECT_FALSE(anyChanged());
    printers->setCurrentIndex(2);
    emit printers->activated(2);
    EXPECT_TRUE(printers->toolTip().isEmpty());
    EXPECT_FALSE(printers->font().italic());
}

TEST_F(PrintDefaultsTest, AGoneStartUpTabSettingShowsTheFileValues) {
    {
        auto db = viewer::jetEngine().OpenDatabase(settingsPath, true, false);
        auto init = db->OpenRecordset("STX32Init", jet::dbOpenTable);
        init->MoveFirst();
        init->Edit();
        init->SetValue("TabSetting", std::string("Long gone"));
        init->Update();
        db->Close();
    }
    std::ofstream(defaultsFile, std::ios::binary) << "Arial\r\n" << "11\r\n" << std::string(19 * 4, ' ') << "\r\n";
    openDialog();
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Record not found");
    EXPECT_TRUE(dialog->fromFile());
    // The damaged file was replaced by the base defaults.
    EXPECT_EQ(margins(), kBaseDefaults);
    EXPECT_EQ(fileLines(defaultsFile).size(), 21u);
    // The file's values are no row to edit, but they can start a new one.
    goToTab(3);
    margin(0)->setText("9");
    EXPECT_FALSE(dialog->changed(3));
    ui->inputBoxAnswers.push_back(std::string("From the file"));
    button("cmdNew")->click();
    button("cmdApplyStyle")->click();
    EXPECT_EQ(settingRow("StoredSettings", "SettingTitle", "From the file").at("Tab01"), "9");
    EXPECT_FALSE(dialog->fromFile());
}

TEST_F(PrintDefaultsTest, AnEmptyPrintInitLeavesItsComboEmptyAndTagsTheFrame) {
    std::filesystem::remove(settingsPath);
    makeEmptySettingsDatabase(settingsPath);
    openDialog();
    EXPECT_EQ(control<QComboBox>("cboPrintInit")->count(), 0);
    button("cmdStrDef")->click();
    EXPECT_EQ(ui->messageBoxes().back().prompt, "Both combo boxes must have a selection");
    EXPECT_EQ(rowCount("STX32Init"), 0);
    // The first print setting goes in; the tab setting buttons it held back
    // are free again afterwards.
    button("cmdNewInit")->click();
    control<QLineEdit>("txtSetting0")->setText("First");
    EXPECT_FALSE(button("cmdNew")->isEnabled());
    button("cmdApplyStyle")->click();
    EXPECT_EQ(settingRow("PrintInit", "Setting", "First").at("Selection"), "1");
    EXPECT_TRUE(button("cmdNew")->isEnabled());
}

TEST_F(PrintDefaultsTest, WithoutTheSettingsDatabaseOnlyTheLayoutFileIsEdited) {
    openDialog(false);
    EXPECT_FALSE(dialog->fullMode());
    for (const char* off : {"cmdNewTabs", "cmdNewInit", "cmdNewSetting", "cmdLoad", "cmdStrDef"})
        EXPECT_FALSE(button(off)->isEnabled()) << off;
    EXPECT_EQ(text("cboPrintInit"), "DISABLED");
    // What the user changes here is kept in the file.
    margin(0)->setText("14");
    button("cmdOK")->click();
    const auto lines = fileLines(defaultsFile);
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[0], "Courier");
    EXPECT_EQ(lines[1], "14");
}

TEST_F(PrintDefaultsTest, SettingsTablesThatCannotBeReadLeaveTheReducedMode) {
    auto broken = std::make_shared<programtest::MemoryDatabase>();
    dbSettings = broken;
    bSettingsOpen = -1;
    dialog = std::make_unique<frmPtrDefs>();
    dialog->Form_Load();
    EXPECT_FALSE(dialog->fullMode());
    ASSERT_EQ(ui->messageBoxes().size(), 1u);
    EXPECT_NE(ui->messageBoxes()[0].prompt.find("StoredSettings"), std::string::npos);
    EXPECT_EQ(margins(), kBaseDefaults);
    dbSettings.reset();
}

// ---- tab settings ------------------------------------------------------------------

TEST_F(PrintDefaultsTest, AChangedMarginAppliedOnTab3UpdatesTheRowAndTheFile) {
    openDialog();
    goToTab(3);
    margin(4)->setText("57");
    EXPECT_TRUE(dialog->changed(3));
    button("cmdApplyStyle")->click();
    EXPECT_FALSE(dialog->changed(3));
    EXPECT_EQ(settingRow("StoredSettings", "SettingTitle", "Default").at("Tab05"), "57");
    EXPECT_EQ(settingRow("StoredSettings", "SettingTitle", "Default").at("PrinterName"), "HP LaserJet 4L");
    EXPECT_EQ(settingRow("StoredSettings", "SettingTitle", "HPLJ4 - Times NR").at("Tab05"), "55");
    const auto lines = fileLines(defaultsFile);
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[0], "Courier");
    for (int i = 0; i < 20; ++i) EXPECT_EQ(lines[static_cast<std::size_t>(i) + 1], margin(i)->text().toStdString());
}

TEST_F(PrintDefaultsTest, ANewTabSettingIsAddedAndTheShownRowLeftAlone) {
    openDialog();
    goToTab(3);
    ui->inputBoxAnswers.push_back(std::string("  Wide 'n \"tall\" "));
    button("cmdNew")->click();
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Print Defaults  [New tab setting]");
    ASSERT_EQ(ui->messageBoxes().size(), 1u);
    EXPECT_NE(ui->messageBoxes()[0].prompt.find("Wide 'n \"tall\" is based on"), std::string::npos);
    margin(0)->setText("20");
    choose("cboPrinterName", "Laser");
    button("cmdApplyStyle")->click();
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Print Defaults");
    const Row added = settingRow("StoredSettings", "SettingTitle", "Wide 'n \"tall\"");
    ASSERT_FALSE(added.empty());
    EXPECT_EQ(added.at("Tab01"), "20");
    EXPECT_EQ(added.at("PrinterName"), "Laser");
    // Courier is not a Laser font; the setting keeps it all the same.
    EXPECT_EQ(added.at("PrinterFontName"), "Courier");
    EXPECT_EQ(settingRow("StoredSettings", "SettingTitle", "Default").at("Tab01"), "10");
    // Later edits go to the new row, not to the one shown before.
    margin(1)->setText("8");
    button("cmdApplyStyle")->click();
    EXPECT_EQ(settingRow("StoredSettings", "SettingTitle", "Wide 'n \"tall\"").at("Tab02"), "8");
    EXPECT_EQ(settingRow("StoredSettings", "SettingTitle", "Default").at("Tab02"), "5");
}

TEST_F(PrintDefaultsTest, ATakenTabSettingNameIsRefusedAndTheDialogStaysUsable) {
    openDialog();
    goToTab(3);
    ui->inputBoxAnswers.push_back(std::string("DEFAULT"));
    button("cmdNew")->click();
    button("cmdApplyStyle")->click();
    EXPECT_EQ(rowCount("StoredSettings"), 2);
    EXPECT_NE(ui->messageBoxes().back().prompt.find("already exists"), std::string::npos);
    EXPECT_TRUE(dialog->changed(3));
    // Another name goes through.
    ui->inputBoxAnswers.push_back(std::string("Narrow"));
    button("cmdNew")->click();
    button("cmdApplyStyle")->click();
    EXPECT_EQ(rowCount("StoredSettings"), 3);
    EXPECT_FALSE(settingRow("StoredSettings", "SettingTitle", "Narrow").empty());
}

TEST_F(PrintDefaultsTest, AMarginThatIsNoNumberStoresNothing) {
    openDialog();
    goToTab(3);
    std::ofstream(defaultsFile, std::ios::binary) << "kept";
    margin(7)->setText("4O");
    button("cmdApplyStyle")->click();
    EXPECT_NE(ui->messageBoxes().back().prompt.find("Tab08"), std::string::npos);
    EXPECT_EQ(fileLines(defaultsFile), std::vector<std::string>{"kept"});
    // Saving on the way out is refused the same way, and the dialog stays.
    ui->msgBoxAnswers.push_back(vb::vbYes);
    button("cmdOK")->click();
    EXPECT_EQ(dialog->currentTab(), 3);
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(settingRow("StoredSettings", "SettingTitle", "Default").at("Tab08"), "45");
}

TEST_F(PrintDefaultsTest, RestoreGivesCourierAndTheBaseDefaults) {
    openDialog();
    choose("cboTabSettings", "HPLJ4 - Times NR");
    goToTab(3);
    EXPECT_EQ(text("cboPrinterFonts"), "Times New Roman");
    margin(3)->setText("99");
    button("cmdRestore")->click();
    EXPECT_EQ(text("cboPrinterFonts"), "Courier");
    EXPECT_EQ(margins(), kBaseDefaults);
    EXPECT_TRUE(dialog->changed(3));
}

TEST_F(PrintDefaultsTest, ChoosingAnotherTabSettingStoresPendingChangesFirst) {
    openDialog();
    goToTab(3);
    margin(2)->setText("33");
    goToTab(2);
    choose("cboTabSettings", "HPLJ4 - Times NR");
    EXPECT_EQ(settingRow("StoredSettings", "SettingTitle", "Default").at("Tab03"), "33");
    EXPECT_EQ(margin(2)->text().toStdString(), "30");
    EXPECT_FALSE(dialog->changed(3));
    EXPECT_TRUE(dialog->changed(2));
}

// ---- print mode settings ---------------------------------------------------------------

class NewPrintSettingTest : public PrintDefaultsTest {
protected:
    // A new print setting named `name` with `target` and `style` chosen on
    // tab 1, applied on tab 4.
    void addSetting(const std::string& name, int target, int style) {
        button("cmdNewInit")->click();
        EXPECT_EQ(dialog->currentTab(), 4);
        EXPECT_EQ(dialog->windowTitle().toStdString(), "Print Defaults [New initial print setting]");
        control<QLineEdit>("txtSetting0")->setText(QString::fromStdString(name));
        goToTab(1);
        control<QRadioButton>("optPrintMode" + std::to_string(target))->click();
        control<QRadioButton>("optStyle" + std::to_string(style))->click();
        goToTab(4);
        button("cmdApplyStyle")->click();
    }
};

TEST_F(NewPrintSettingTest, TargetAndStyleGiveTheStoredCodes) {
    openDialog();
    addSetting("  Code alone  ", 2, 0);
    // The style counts only for code.
    addSetting("Copy", 1, 2);
    const auto codes = [&](const std::string& name) {
        const Row row = settingRow("PrintInit", "Setting", name);
        return row.empty() ? std::string("no row") : row.at("PrintMode") + row.at("StructMode") + row.at("Selection");
    };
    EXPECT_EQ(codes("Code alone"), "203") << "the name is stored trimmed";
    EXPECT_EQ(codes("Copy"), "102");
    EXPECT_GE(control<QComboBox>("cboPrintInit")->findText("Copy"), 0);
    EXPECT_FALSE(anyChanged());
}

TEST_F(NewPrintSettingTest, ATakenNameIsRefusedAndCanBePutRight) {
    openDialog();
    addSetting("autoprint", 0, 0);
    EXPECT_EQ(rowCount("PrintInit"), 3);
    EXPECT_NE(ui->messageBoxes().back().prompt.find("already exists"), std::string::npos);
    control<QLineEdit>("txtSetting0")->setText("AutoPrint 2");
    button("cmdApplyStyle")->click();
    EXPECT_EQ(rowCount("PrintInit"), 4);
}

TEST_F(PrintDefaultsTest, EditsOfAnExistingPrintSettingAreStored) {
    openDialog();
    goToTab(4);
    check("chkPrtQueries")->click();
    goToTab(1);
    control<QRadioButton>("optPrintMode2")->click();
    control<QRadioButton>("optStyle1")->click();
    // "&Apply" on tab 1 stores nothing by itself...
    button("cmdApplyStyle")->click();
    EXPECT_EQ(settingRow("PrintInit", "Setting", "Default").at("PrintMode"), "0");
    EXPECT_TRUE(dialog->changed(1));
    // ...the target goes with the setting on tab 4.
    goToTab(4);
    button("cmdApplyStyle")->click();
    const Row row = settingRow("PrintInit", "Setting", "Default");
    EXPECT_EQ(row.at("Queries"), "0");
    EXPECT_EQ(row.at("PrintMode") + row.at("StructMode") + row.at("Selection"), "214");
    EXPECT_FALSE(anyChanged());
}

TEST_F(PrintDefaultsTest, CheckBoxRulesKeepASensibleSelection) {
    openDialog();
    goToTab(4);
    check("chkPrtTable")->click();
    EXPECT_FALSE(check("chkPrtTable")->isChecked());
    check("chkAutoPilot")->click();
    EXPECT_TRUE(check("chkPrtTable")->isChecked()) << "auto run checks Print All Tables";
    check("chkPrtFields")->click();
    check("chkPrtIndexes")->click();
    EXPECT_FALSE(check("chkPrtFields")->isChecked());
    EXPECT_TRUE(check("chkPrtIndexes")->isChecked()) << "Fields and Indexes cannot both be unchecked";
    goToTab(1);
    control<QRadioButton>("optPrintMode2")->click();
    EXPECT_TRUE(control<QGroupBox>("fraVBCodeStyle")->isEnabled());
    control<QRadioButton>("optPrintMode1")->click();
    EXPECT_FALSE(control<QGroupBox>("fraVBCodeStyle")->isEnabled());
}

// ---- the choice of settings and closing ---------------------------------------------------

TEST_F(PrintDefaultsTest, StoreCurrentAsDefaultsWritesTheStartUpChoice) {
    openDialog();
    choose("cboTabSettings", "HPLJ4 - Times NR");
    choose("cboPrintInit", "AutoPrint");
    EXPECT_EQ(control<QLabel>("lblAuto")->text().toStdString(), "Auto Print");
    button("cmdStrDef")->click();
    EXPECT_EQ(ui->messageBoxes().back().prompt, "Your startup print settings were saved");
    EXPECT_EQ(settingRow("STX32Init", "TabSetting", "HPLJ4 - Times NR").at("PrintSetting"), "AutoPrint");
    EXPECT_EQ(rowCount("STX32Init"), 1);
}

TEST_F(PrintDefaultsTest, LoadMakesTheChoiceCurrentForThisRunOnly) {
    openDialog();
    choose("cboPrintInit", "AutoPrint");
    ui->msgBoxAnswers.push_back(vb::vbYes);
    button("cmdLoad")->click();
    EXPECT_EQ(sPrintSetting, "AutoPrint");
    EXPECT_EQ(bUsePrintInit, -1);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(settingRow("STX32Init", "TabSetting", "Default").at("PrintSetting"), "Default");
    bUseTabSetting = bUsePrintInit = 0;
}

// OK, Escape and the close box (both reject the dialog) ask alike; No leaves
// without storing, Cancel stays in the dialog with the changes, Yes stores.
TEST_F(PrintDefaultsTest, LeavingWithUnsavedChangesAsksAndStoresOnlyOnYes) {
    for (const bool escape : {false, true}) {
        for (int answer : {vb::vbNo, vb::vbCancel, vb::vbYes}) {
            SCOPED_TRACE(std::string(escape ? "Escape " : "OK ") + std::to_string(answer));
            makeSettingsDatabase(settingsPath);
            openDialog();
            int closed = 0;
            QObject::connect(dialog.get(), &QDialog::finished, [&closed] { ++closed; });
            goToTab(3);
            margin(0)->setText("12");
            goToTab(4);
            check("chkPagePer")->click();
            ui->msgBoxAnswers.push_back(answer);
            if (escape) dialog->reject();
            else button("cmdOK")->click();
            EXPECT_EQ(ui->messageBoxes().back().title, "Changes detected");
            EXPECT_EQ(closed, answer == vb::vbCancel ? 0 : 1);
            // Cancel keeps the changes pending; Yes has stored them.
            if (answer != vb::vbNo) EXPECT_EQ(dialog->changed(3), answer == vb::vbCancel);
            const bool stored = answer == vb::vbYes;
            EXPECT_EQ(settingRow("StoredSettings", "SettingTitle", "Default").at("Tab01"), stored ? "12" : "10");
            EXPECT_EQ(settingRow("PrintInit", "Setting", "Default").at("Page"), stored ? "-1" : "0");
            dialog->Form_Unload();
            dbSettings->Close();
            dbSettings.reset();
            // Both tabs' rows reached the file, in one commit that no
            // transaction still holds back.
            auto file = jet::DBEngine().OpenDatabase(settingsPath, false, true);
            auto rs = file->OpenRecordset("StoredSettings", jet::dbOpenDynaset);
            rs->FindFirst("[SettingTitle] = 'Default'");
            EXPECT_EQ(jet::valueToString((*rs)["Tab01"]), stored ? "12" : "10");
        }
    }
}

TEST_F(PrintDefaultsTest, CancelledChangesAreNeitherAskedAboutNorStored) {
    openDialog();
    goToTab(3);
    margin(0)->setText("12");
    EXPECT_TRUE(button("cmdCancelChanges")->isEnabled());
    button("cmdCancelChanges")->click();
    EXPECT_FALSE(dialog->changed(3));
    const std::size_t boxes = ui->messageBoxes().size();
    button("cmdOK")->click();
    EXPECT_EQ(ui->messageBoxes().size(), boxes) << "nothing left to ask about";
    EXPECT_EQ(settingRow("StoredSettings", "SettingTitle", "Default").at("Tab01"), "10");
}

}  // namespace
