// Loading the print defaults dialog, showing settings on its tabs, tracking
// changes and its buttons. Storing is in frmPtrDefs_apply.cpp.
#include "settings/frmPtrDefs.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QColor>
#include <QFont>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include "STXGLOB.h"
#include "jet/error.h"
#include "jet/types.h"
#include "printing/frmModal.h"
#include "printing/frmStrux_print.h"
#include "printing/print_defaults_file.h"
#include "printing/print_request.h"
#include "settings/settings_store.h"
#include "userdata/settings_folder.h"
#include "vb/app.h"
#include "vb/interaction.h"

namespace {

constexpr char kCaption[] = "Print Defaults";
constexpr char kNoRecords[] = "!NORECORDS!";
constexpr char kTag[] = "Tag";

QString qs(const std::string& text) { return QString::fromStdString(text); }

int entryIndex(QComboBox* combo, const std::string& text) { return combo->findText(qs(text), Qt::MatchExactly); }

// A stored choice this machine lacks stays in the list under its own name
// (storing the setting keeps it), greyed and in italics, saying why.
void markAbsent(QComboBox* combo, int index, const char* why) {
    QFont italic = combo->font();
    italic.setItalic(true);
    combo->setItemData(index, italic, Qt::FontRole);
    combo->setItemData(index, QColor(Qt::darkGray), Qt::ForegroundRole);
    combo->setItemData(index, QString(why), Qt::ToolTipRole);
}

// The closed combo shows only the text of its choice: an absent one is
// told there too, by the same italics and tool tip.
void showChoiceMark(QComboBox* combo) {
    const int index = combo->currentIndex();
    QFont font = combo->font();
    font.setItalic(false);
    combo->view()->setFont(font);  // the open list marks each entry itself
    font.setItalic(index >= 0 && combo->itemData(index, Qt::FontRole).isValid());
    combo->setFont(font);
    combo->setToolTip(index >= 0 ? combo->itemData(index, Qt::ToolTipRole).toString() : QString());
}

}  // namespace

void frmPtrDefs::Show() { printing::ShowModal(*this); }

// ---- loading -------------------------------------------------------------

void frmPtrDefs::Form_Load() {
    tracking_ = {};
    full_ = bSettingsOpen != 0 && dbSettings != nullptr;
    if (full_) {
        try {
            rsStored_ = dbSettings->OpenRecordset("StoredSettings", jet::dbOpenDynaset);
            rsPrint_ = dbSettings->OpenRecordset("PrintInit", jet::dbOpenDynaset);
            rsInit_ = dbSettings->OpenRecordset("STX32Init", jet::dbOpenDynaset);
        } catch (const jet::Error& e) {
            // A settings database that cannot be read is treated as absent.
            vb::MsgBox("The settings database could not be read (" + std::string(e.what()) +
                           "). Only the layout file can be edited.",
                       vb::vbExclamation, vb::App().Title());
            Form_Unload();
            full_ = false;
        }
    }
    if (full_) loadFull();
    else loadReduced();
    changed_ = {};
    tracking_ = {0, 1, 1, 1, 1};
    selectTab(1);
    ShowSaveState();
    SetPointer(0);
}

void frmPtrDefs::loadFull() {
    for (const std::string& title : settings::columnTexts(*rsStored_, "SettingTitle")) cboTabSettings->addItem(qs(title));
    const std::vector<std::string> printSettings = settings::columnTexts(*rsPrint_, "Setting");
    for (const std::string& name : printSettings) cboPrintInit->addItem(qs(name));
    if (printSettings.empty()) fraSettings->setProperty(kTag, kNoRecords);
    // Nothing is chosen until the start-up choice (or the user) chooses.
    cboTabSettings->setCurrentIndex(-1);
    cboPrintInit->setCurrentIndex(-1);
    tracking_[2] = 0;
    fromFile_ = false;
    lockSettingName();
    std::string startTab;
    std::string startPrint;
    if (rsInit_->RecordCount() > 0) {
        rsInit_->MoveFirst();
        const jet::Value& tab = (*rsInit_)["TabSetting"];
        const jet::Value& print = (*rsInit_)["PrintSetting"];
        if (!jet::isNull(tab)) startTab = jet::valueToString(tab);
        if (!jet::isNull(print)) startPrint = jet::valueToString(print);
    }
    if (const int index = entryIndex(cboTabSettings, startTab); index >= 0 && !startTab.empty()) {
        cboTabSettings->setCurrentIndex(index);
        cboTabSettings_Click();
    } else if (!startTab.empty()) {
        // A start-up setting that has gone: say so and show the file.
        ShowTabSetting(startTab);
    } else {
        showFileValues();
    }
    if (const int index = entryIndex(cboPrintInit, startPrint); index >= 0 && !startPrint.empty()) {
        cboPrintInit->setCurrentIndex(index);
        cboPrintInit_Click();
    } else {
        fraVBCodeStyle->setEnabled(false);
    }
}

void frmPtrDefs::loadReduced() {
    for (QWidget* off : std::initializer_list<QWidget*>{fraPrintTarget, fraVBCodeStyle, fraSettings, cmdNewTabs,
                                                        cmdNewInit, cmdNewSetting, cmdLoad, cmdStrDef, cmdNew})
        off->setEnabled(false);
    for (QLineEdit* box : txtSetting) {
        box->setText("DISABLED IN THIS MODE");
        box->setEnabled(false);
    }
    const std::pair<QComboBox*, const char*> singles[] = {{cboTabSettings, "GO TO TAB SETTINGS TAB"},
                                                          {cboPrintInit, "DISABLED"},
                                                          {cboPrinterName, settings::kSystemDefaultPrinter}};
    for (const auto& [combo, entry] : singles) {
        combo->clear();
        combo->addItem(entry);
        combo->setCurrentIndex(0);
        combo->setEnabled(false);
    }
    cmdDelete->setVisible(false);
    cmdCancelChanges->setVisible(false);
    // The system's default printer is the one the report will use.
    FillFontList(printing::ProgramPrinters().currentIndex());
    LoadTabFile();
}

void frmPtrDefs::Form_Unload() {
    for (auto* recordset : {&rsStored_, &rsPrint_, &rsInit_}) {
        if (!*recordset) continue;
        try {
            (*recordset)->Close();
        } catch (const std::exception&) {
            // The dialog is going; a recordset that will not close is dropped.
        }
        recordset->reset();
    }
}

void frmPtrDefs::reject() {
    // The dialog promises that changes are applied upon exit: Escape and the
    // close box leave as OK does, asking about pending changes first.
    if (full_ && (changed_[1] || changed_[2] || changed_[3] || changed_[4])) {
        cmdOK_Click();
        return;
    }
    Form_Unload();
    QDialog::reject();
}

// ---- showing settings ------------------------------------------------------

void frmPtrDefs::SelectFont(const std::string& name) {
    int index = entryIndex(cboPrinterFonts, name);
    // A stored font the printer does not list (the report prints it with a
    // stand-in) stays the setting's font rather than being swapped for
    // whatever the printer lists first.
    if (index < 0 && !name.empty()) {
        cboPrinterFonts->insertItem(0, qs(name));
        index = 0;
        markAbsent(cboPrinterFonts, index, "This font is not installed; the report prints a stand-in");
    }
    if (index < 0 && cboPrinterFonts->count() > 0) index = 0;
    cboPrinterFonts->setCurrentIndex(index);
    showChoiceMark(cboPrinterFonts);
}

void frmPtrDefs::FillFontList(int printerIndex) {
    cboPrinterFonts->clear();
    printer::Printers& printers = printing::ProgramPrinters();
    if (printerIndex < 0 || printerIndex >= printers.Count()) return;
    const printer::PrinterDevice& device = printers.Item(printerIndex);
    for (int i = 0; i < device.FontCount(); ++i) cboPrinterFonts->addItem(qs(device.Fonts(i)));
}

void frmPtrDefs::LoadTabFile() {
    fromFile_ = true;
    const auto folder = userdata::settingsFolderFor(vb::App().Path(), printing::kPrintDefaultsFileName);
    const printing::PrintDefaults defaults = printing::loadPrintDefaults(folder);
    SelectFont(defaults.setting.fontName);
    for (std::size_t i = 0; i < txtMargin.size(); ++i)
        txtMargin[i]->setText(QString::number(defaults.setting.tabs[i]));
}

void frmPtrDefs::showFileValues() {
    setPrinterEntries({}, false);
    cboPrinterName->setCurrentIndex(0);
    cboPrinterName_Click();
    LoadTabFile();
    shownTab_.clear();
}

void frmPtrDefs::setPrinterEntries(const std::string& storedName, bool haveName) {
    cboPrinterName->setEnabled(true);
    cboPrinterName->clear();
    cboPrinterName->addItem(settings::kSystemDefaultPrinter);
    const printer::Printers& printers = printing::ProgramPrinters();
    for (int i = 0; i < printers.Count(); ++i) cboPrinterName->addItem(qs(printers.Item(i).DeviceName()));
    if (!haveName) {
        cboPrinterName->setCurrentIndex(-1);
        return;
    }
    int index = entryIndex(cboPrinterName, storedName);
    // A printer this machine lacks is kept, so that storing the setting
    // does not lose it; printing falls back on the current printer.
    if (index < 0) {
        cboPrinterName->addItem(qs(storedName));
        index = cboPrinterName->count() - 1;
        markAbsent(cboPrinterName, index, "This printer is not installed on this machine");
    }
    cboPrinterName->setCurrentIndex(index);
}

void frmPtrDefs::ShowTabSetting(const std::string& name) {
    if (!settings::findSetting(*rsStored_, "SettingTitle", name)) {
        setWindowTitle("Record not found");
        cboPrinterName->clear();
        cboPrinterName->addItem(settings::kSystemDefaultPrinter);
        cboPrinterName->setCurrentIndex(0);
        cboPrinterName_Click();
        LoadTabFile();
        shownTab_.clear();
        return;
    }
    const printing::StoredTabSetting stored = printing::readStoredTabSetting(*rsStored_);
    for (std::size_t i = 0; i < txtMargin.size(); ++i)
        txtMargin[i]->setText(QString::number(stored.setting.tabs[i]));
    setPrinterEntries(stored.printerName.value_or(""), stored.printerName.has_value());
    cboPrinterName_Click();
    SelectFont(stored.setting.fontName);
    fromFile_ = false;
    shownTab_ = name;
}

bool frmPtrDefs::ShowPrintInit(const std::string& name) {
    if (!settings::findSetting(*rsPrint_, "Setting", name)) return false;
    const settings::PrintModeSetting shown = settings::readPrintModeSetting(*rsPrint_);
    lblAuto->setText(shown.autoPrint ? "Auto Print" : "");
    const std::pair<QCheckBox*, bool> boxes[] = {
        {chkPrtTable, shown.tables},   {chkPrtFields, shown.fields},     {chkPrtIndexes, shown.indexes},
        {chkPrtQueries, shown.queries}, {chkPrtRelations, shown.relations}, {chkPrtDetails, shown.details},
        {chkPagePer, shown.page},       {chkAutoPilot, shown.autoPrint}};
    for (const auto& [box, on] : boxes) box->setChecked(on);
    const int printMode = shown.printMode >= 0 && shown.printMode <= 2 ? shown.printMode : 0;
    optPrintMode[static_cast<std::size_t>(printMode)]->setChecked(true);
    if (printMode == 2) {
        const int style = shown.structMode >= 0 && shown.structMode <= 2 ? shown.structMode : 0;
        optStyle[static_cast<std::size_t>(style)]->setChecked(true);
    }
    fraVBCodeStyle->setEnabled(printMode == 2);
    shownPrint_ = name;
    for (QLineEdit* box : txtSetting) box->setText(qs(name));
    return true;
}

// ---- change tracking -------------------------------------------------------

void frmPtrDefs::MarkChanged(int tab) {
    const auto at = static_cast<std::size_t>(tab);
    if (tracking_[at] == 0) return;
    switch (tab) {
        case 1:
        case 2:
            changed_[at] = true;
            break;
        case 3:
            // Values read from the layout file belong to no row; they count
            // only where the file is what gets stored, or as the start of a
            // new setting.
            if (!fromFile_ || !full_ || tracking_[3] == 3) changed_[at] = true;
            break;
        case 4:
            // A change counts while there is a setting to store it in.
            if (!changed_[at] && (tracking_[4] == 3 || !shownPrint_.empty())) {
                changed_[at] = true;
                if (fraSettings->property(kTag).toString() == kNoRecords) {
                    cmdNew->setEnabled(false);
                    cmdDelete->setEnabled(false);
                }
            }
            break;
        default:
            break;
    }
    ShowSaveState();
}

void frmPtrDefs::ShowSaveState() {
    const bool currentChanged = changed_[static_cast<std::size_t>(current_)];
    cmdCancelChanges->setEnabled(full_ && currentChanged);
    lblSaveWarning->setVisible(full_ && currentChanged);
    Image1->setVisible(changed_[1] || changed_[2] || changed_[3] || changed_[4]);
}

void frmPtrDefs::selectTab(int tab) {
    if (TabStrip1->currentIndex() == tab - 1) TabStrip1_Click();
    else TabStrip1->setCurrentIndex(tab - 1);  // runs TabStrip1_Click
}

void frmPtrDefs::TabStrip1_Click() {
    lblSaveWarning->setVisible(false);
    cmdCancelChanges->setEnabled(false);
    const int selected = TabStrip1->currentIndex() + 1;
    for (std::size_t i = 0; i < fraPrint.size(); ++i) fraPrint[i]->setVisible(static_cast<int>(i) == selected - 1);
    if (selected == current_) return;
    current_ = selected;
    ShowSaveState();
}

// ---- controls that report changes ---------------------------------------------

void frmPtrDefs::cboTabSettings_Click() {
    if (!full_) return;
    const std::string wanted = cboTabSettings->currentText().toStdString();
    if (changed_[3] && !applyTabFirst(3, current_)) {
        // The pending changes were refused: they stay on show, unstored.
        cboTabSettings->setCurrentIndex(entryIndex(cboTabSettings, shownTab_));
        return;
    }
    changed_[3] = false;
    // A new setting whose changes were cancelled is dropped with them.
    pendingTab_.clear();
    setNewTabButtons(true);
    setWindowTitle(kCaption);
    tracking_[3] = 0;
    ShowTabSetting(wanted);
    tracking_[3] = 1;
    if (tracking_[2] == 1) {
        changed_[2] = true;
        ShowSaveState();
    }
}

void frmPtrDefs::cboPrintInit_Click() {
    if (!full_) return;
    const std::string wanted = cboPrintInit->currentText().toStdString();
    const int back = current_;
    // Tab 1 holds the target and style of the print setting on tab 4, and
    // goes with it.
    if ((changed_[1] || changed_[4]) && !applyTabFirst(4, back)) {
        cboPrintInit->setCurrentIndex(entryIndex(cboPrintInit, shownPrint_));
        return;
    }
    changed_[1] = changed_[2] = changed_[4] = false;
    // A new print setting left unstored is dropped with its caption.
    if (tracking_[4] == 3) setWindowTitle(kCaption);
    tracking_[1] = tracking_[4] = 0;
    ShowPrintInit(wanted);
    lockSettingName();
    tracking_[1] = tracking_[4] = 1;
    if (tracking_[2] == 1) changed_[2] = true;
    ShowSaveState();
}

void frmPtrDefs::cboPrinterName_Click() {
    showChoiceMark(cboPrinterName);
    const std::string name = cboPrinterName->currentText().toStdString();
    printer::Printers& printers = printing::ProgramPrinters();
    int index = -1;
    for (int i = 0; i < printers.Count() && index < 0; ++i)
        if (printers.Item(i).DeviceName() == name) index = i;
    // "<System default printer>", or one this machine lacks, leaves the
    // report on the current printer: its fonts are the ones on offer.
    if (index < 0) index = printers.currentIndex();
    const std::string font = cboPrinterFonts->currentText().toStdString();
    FillFontList(index);
    SelectFont(font);
    MarkChanged(3);
}

void frmPtrDefs::cboPrinterFonts_Click() {
    showChoiceMark(cboPrinterFonts);
    MarkChanged(3);
}

void frmPtrDefs::txtMargin_Change(int) { MarkChanged(3); }

void frmPtrDefs::txtSetting_Change(int index) {
    // Only the name of a new print setting is typed; the read-only copy on
    // tab 1 follows it.
    if (index != 0 || tracking_[4] != 3) return;
    txtSetting[1]->setText(txtSetting[0]->text());
    MarkChanged(4);
}

void frmPtrDefs::optPrintMode_Click(int index) {
    if (txtSetting[1]->text().isEmpty()) return;
    fraVBCodeStyle->setEnabled(index == 2);
    MarkChanged(1);
}

void frmPtrDefs::optStyle_Click(int) {
    if (!txtSetting[1]->text().isEmpty()) MarkChanged(1);
}

void frmPtrDefs::chkSection_Click() { MarkChanged(4); }

void frmPtrDefs::chkPrtFields_Click() {
    if (!chkPrtFields->isChecked() && !chkPrtIndexes->isChecked()) chkPrtFields->setChecked(true);
    MarkChanged(4);
}

void frmPtrDefs::chkPrtIndexes_Click() {
    if (!chkPrtFields->isChecked() && !chkPrtIndexes->isChecked()) chkPrtIndexes->setChecked(true);
    MarkChanged(4);
}

void frmPtrDefs::chkAutoPilot_Click() {
    if (chkAutoPilot->isChecked() && !chkPrtTable->isChecked()) chkPrtTable->setChecked(true);
    MarkChanged(4);
}

// ---- buttons -------------------------------------------------------------------

void frmPtrDefs::cmdNewTabs_Click() {
    selectTab(3);
    cmdNew_Click();
}

void frmPtrDefs::cmdNewInit_Click() {
    selectTab(4);
    cmdNewSetting_Click();
}

void frmPtrDefs::setNewTabButtons(bool enabled) {
    for (QPushButton* button : {cmdNew, cmdDelete, cmdRestore}) button->setEnabled(enabled);
}

void frmPtrDefs::cmdNew_Click() {
    const bool wasPending = !pendingTab_.empty();
    tracking_[3] = 3;
    setNewTabButtons(false);
    const std::string name = settings::trimmed(vb::InputBox("Enter the name for the setting", "New Tab Setting"));
    if (name.empty()) {
        if (wasPending) {
            cmdRestore->setEnabled(true);
            cmdNew->setEnabled(true);
            return;
        }
        pendingTab_.clear();
        setNewTabButtons(true);
        tracking_[3] = 1;
        return;
    }
    pendingTab_ = name;
    changed_[3] = true;
    setWindowTitle("Print Defaults  [New tab setting]");
    ShowSaveState();
    vb::MsgBox("Your new tab setting " + name +
                   " is based on the existing setting that was showing. You should now go to the settings tab an "
                   "make any amendments you wish to implement.",
               vb::vbInformation, vb::App().Title());
}

void frmPtrDefs::cmdNewSetting_Click() {
    tracking_[1] = tracking_[4] = 0;
    for (QCheckBox* on : {chkPrtTable, chkPrtFields, chkPrtIndexes}) on->setChecked(true);
    for (QCheckBox* off : {chkPrtQueries, chkPrtRelations, chkPrtDetails, chkPagePer, chkAutoPilot})
        off->setChecked(false);
    optPrintMode[0]->setChecked(true);
    optStyle[0]->setChecked(true);
    fraVBCodeStyle->setEnabled(false);
    lblAuto->clear();
    txtSetting[0]->setReadOnly(false);
    txtSetting[0]->selectAll();
    txtSetting[0]->setFocus();
    cmdNew->setProperty(kTag, "!");
    tracking_[1] = tracking_[4] = 3;
    setWindowTitle("Print Defaults [New initial print setting]");
    ShowSaveState();
}

void frmPtrDefs::lockSettingName() { txtSetting[0]->setReadOnly(true); }

void frmPtrDefs::cmdRestore_Click() {
    SelectFont(printing::defaultTabSetting().fontName);
    for (std::size_t i = 0; i < txtMargin.size(); ++i) txtMargin[i]->setText(lblDef[i]->text());
    MarkChanged(3);
}

void frmPtrDefs::cmdDelete_Click() {
    vb::MsgBox("Sorry, this function is not available yet", vb::vbInformation, vb::App().Title());
}

void frmPtrDefs::cmdStrDef_Click() {
    if (cboTabSettings->currentIndex() < 0 || cboPrintInit->currentIndex() < 0) {
        vb::MsgBox("Both combo boxes must have a selection", vb::vbOKOnly, vb::App().Title());
        return;
    }
    const std::string tab = cboTabSettings->currentText().toStdString();
    const std::string print = cboPrintInit->currentText().toStdString();
    try {
        settings::storeStartUpChoice(*rsInit_, tab, print);
    } catch (const settings::StoreRefused& e) {
        vb::MsgBox(e.what(), vb::vbExclamation, vb::App().Title());
        return;
    }
    sTabSetting = tab;
    sPrintSetting = print;
    vb::MsgBox("Your startup print settings were saved", vb::vbInformation, vb::App().Title());
}

void frmPtrDefs::cmdLoad_Click() {
    const int answer = vb::MsgBox(
        "Please confirm that you wish to load the tab settings and printer initial set up displayed? Please note "
        "these are temporary and will reset to the defaults the next time you load the programme.",
        vb::vbQuestion + vb::vbYesNo, "Load settings");
    if (answer != vb::vbYes) return;
    sTabSetting = cboTabSettings->currentText().toStdString();
    sPrintSetting = cboPrintInit->currentText().toStdString();
    bUseTabSetting = -1;
    bUsePrintInit = -1;
    Form_Unload();
    accept();
}

void frmPtrDefs::cmdCancelChanges_Click() {
    changed_[static_cast<std::size_t>(current_)] = false;
    ShowSaveState();
    vb::MsgBox("The 'data changed' flag has been cancelled. The changes will still be visible but will not be saved "
               "when you exit the form.",
               vb::vbInformation, vb::App().Title());
}
