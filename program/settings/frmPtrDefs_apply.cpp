// "&Apply" and "&OK" of the print defaults dialog: storing what a tab shows.
// A store the database or the user's input refuses is told to the user and
// writes nothing; the dialog keeps the changes on show so they can be put
// right.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QCheckBox>

#include "STXGLOB.h"
#include "jet/error.h"
#include "printing/print_defaults_file.h"
#include "settings/frmPtrDefs.h"
#include "settings/settings_store.h"
#include "userdata/settings_folder.h"
#include "vb/app.h"
#include "vb/interaction.h"

namespace {

template <std::size_t N>
int firstChecked(const std::array<QRadioButton*, N>& options) {
    for (std::size_t i = 0; i < N; ++i)
        if (options[i]->isChecked()) return static_cast<int>(i);
    return 0;
}

}  // namespace

void frmPtrDefs::cmdApplyStyle_Click() { applyCurrentTab(); }

bool frmPtrDefs::applyCurrentTab() {
    try {
        if (current_ == 3) applyTabSetting();
        else if (current_ == 4) applyPrintSetting();
        // Tabs 1 and 2 store nothing of their own: the target and style go
        // with the print setting of tab 4, the choice with its own buttons.
    } catch (const settings::StoreRefused& e) {
        vb::MsgBox(e.what(), vb::vbExclamation, vb::App().Title());
        ShowSaveState();
        return false;
    }
    setWindowTitle("Print Defaults");
    ShowSaveState();
    return true;
}

bool frmPtrDefs::applyTabFirst(int tab, int back) {
    selectTab(tab);
    const bool stored = applyCurrentTab();
    selectTab(back);
    return stored;
}

void frmPtrDefs::applyTabSetting() {
    std::vector<std::string> texts;
    for (QLineEdit* box : txtMargin) texts.push_back(box->text().toStdString());
    if (!full_) {
        // Without the settings database the layout file is the setting.
        writeFallbackFile();
        changed_[3] = false;
        return;
    }
    const bool adding = tracking_[3] == 3 && !pendingTab_.empty();
    if (changed_[3] && (adding || !fromFile_)) {
        settings::TabSettingRow row;
        row.title = adding ? pendingTab_ : shownTab_;
        row.printerName = cboPrinterName->currentText().toStdString();
        row.fontName = cboPrinterFonts->currentText().toStdString();
        row.tabs = settings::marginsFrom(texts);
        try {
            settings::storeTabSetting(*rsStored_, row, adding);
        } catch (const settings::StoreRefused&) {
            // Another name can be given for a refused new setting.
            if (adding) cmdNew->setEnabled(true);
            throw;
        }
        if (adding) {
            // From now on the new row is the one on show and further edits
            // go to it.
            shownTab_ = row.title;
            cboTabSettings->addItem(QString::fromStdString(row.title));
            pendingTab_.clear();
            tracking_[3] = 1;
        }
        fromFile_ = false;
        changed_[3] = false;
        cmdNew->setEnabled(true);
        cmdDelete->setEnabled(true);
        cmdRestore->setEnabled(true);
    }
    if (!fromFile_ && !changed_[3]) writeFallbackFile();
    changed_[3] = false;
}

void frmPtrDefs::writeFallbackFile() {
    std::vector<std::string> texts;
    for (QLineEdit* box : txtMargin) texts.push_back(box->text().toStdString());
    printing::TabSetting setting;
    setting.fontName = cboPrinterFonts->currentText().toStdString();
    setting.tabs = settings::marginsFrom(texts);
    if (setting.fontName.empty()) throw settings::StoreRefused("Choose a printer font. Nothing was stored.");
    const auto folder = userdata::settingsFolderFor(vb::App().Path(), printing::kPrintDefaultsFileName);
    if (!printing::writePrintDefaults(folder, setting))
        throw settings::StoreRefused("The layout file " + (folder / printing::kPrintDefaultsFileName).string() +
                                     " could not be written; it was left as it was.");
}

void frmPtrDefs::applyPrintSetting() {
    const bool adding = tracking_[4] == 3;
    if ((changed_[4] || changed_[1]) && (adding || !shownPrint_.empty())) {
        settings::PrintModeSetting setting;
        setting.name = adding ? txtSetting[0]->text().toStdString() : shownPrint_;
        setting.tables = chkPrtTable->isChecked();
        setting.fields = chkPrtFields->isChecked();
        setting.indexes = chkPrtIndexes->isChecked();
        setting.queries = chkPrtQueries->isChecked();
        setting.relations = chkPrtRelations->isChecked();
        setting.details = chkPrtDetails->isChecked();
        setting.page = chkPagePer->isChecked();
        setting.autoPrint = chkAutoPilot->isChecked();
        setting.printMode = firstChecked(optPrintMode);
        setting.structMode = firstChecked(optStyle);
        settings::storePrintModeSetting(*rsPrint_, setting, adding);
        if (adding) {
            const std::string name = settings::trimmed(setting.name);
            cboPrintInit->addItem(QString::fromStdString(name));
            shownPrint_ = name;
            tracking_[1] = tracking_[4] = 0;
            for (QLineEdit* box : txtSetting) box->setText(QString::fromStdString(name));
            lockSettingName();
            tracking_[1] = tracking_[4] = 1;
        }
        lblAuto->setText(setting.autoPrint ? "Auto Print" : "");
        // The tab setting buttons a change on this tab held back are free
        // again, unless a new tab setting is still being entered.
        if (pendingTab_.empty()) {
            cmdNew->setEnabled(true);
            cmdDelete->setEnabled(true);
        }
    }
    changed_[1] = false;
    changed_[4] = false;
}

bool frmPtrDefs::applyPendingTabs() {
    // The rows of all tabs reach the settings database as one commit.
    const auto changedBefore = changed_;
    dbSettings->BeginTrans();
    bool stored = true;
    try {
        for (int tab = 1; tab <= 4 && stored; ++tab) {
            // The target and style on tab 1 are stored with tab 4.
            const bool pending = changed_[static_cast<std::size_t>(tab)] || (tab == 4 && changed_[1]);
            if (!pending) continue;
            selectTab(tab);
            // A refused store keeps the dialog open on that tab; what the
            // tabs before it stored is kept.
            stored = applyCurrentTab();
        }
    } catch (...) {
        // Never left open: every later write of the settings would be held
        // back with it and lost at the program's end.
        try {
            dbSettings->Rollback();
        } catch (const jet::Error&) {
            // Nothing more can be given back.
        }
        changed_ = changedBefore;
        throw;
    }
    try {
        dbSettings->CommitTrans();
    } catch (const jet::Error& e) {
        try {
            dbSettings->Rollback();
        } catch (const jet::Error&) {
            // The settings database is read again at the next opening.
        }
        // Nothing reached the file: the tabs are pending again.
        changed_ = changedBefore;
        ShowSaveState();
        vb::MsgBox("The settings could not be stored: " + std::string(e.what()) + " (error " +
                       std::to_string(e.number()) + "). Nothing was stored.",
                   vb::vbExclamation, vb::App().Title());
        return false;
    }
    return stored;
}

void frmPtrDefs::cmdOK_Click() {
    if (full_) {
        if (changed_[1] || changed_[2] || changed_[3] || changed_[4]) {
            const int answer = vb::MsgBox("There are some unsaved changes. Do you want to save them?",
                                          vb::vbQuestion + vb::vbYesNoCancel, "Changes detected");
            // Cancel goes back to the dialog with the changes still pending.
            if (answer == vb::vbCancel) return;
            if (answer == vb::vbYes && !applyPendingTabs()) return;
        }
    } else {
        selectTab(3);
        if (!applyCurrentTab()) return;
    }
    Form_Unload();
    accept();
}
