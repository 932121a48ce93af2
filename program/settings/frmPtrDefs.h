// "Print Defaults": the dialog in which the user keeps the tab settings, the
// print mode settings and the start-up choice of STX32.MDB, and picks the
// settings for the current run. Without the settings database it runs in a
// reduced mode that edits only stx32ps.def.
//
// Tabs are numbered 1 to 4 as the user sees them: 1 print target and code
// style, 2 the choice of settings, 3 the tab setting, 4 the print mode
// setting. The rows themselves are read and written by settings_store.h.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "jet/recordset.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabBar;

class frmPtrDefs : public QDialog {
    Q_OBJECT
public:
    explicit frmPtrDefs(QWidget* parent = nullptr);
    ~frmPtrDefs() override;

    // Fills the dialog afresh: from the settings database when it is open
    // (bSettingsOpen), else from stx32ps.def alone. No tab is marked changed
    // afterwards.
    void Form_Load();
    // Shows the dialog modally and returns once it is closed.
    void Show();
    // Closes the three recordsets; errors while closing are ignored.
    void Form_Unload();

    void TabStrip1_Click();
    void cboTabSettings_Click();
    void cboPrintInit_Click();
    void cboPrinterName_Click();
    void cboPrinterFonts_Click();
    void txtMargin_Change(int index);
    void txtSetting_Change(int index);
    void optPrintMode_Click(int index);
    void optStyle_Click(int index);
    void chkSection_Click();
    void chkPrtFields_Click();
    void chkPrtIndexes_Click();
    void chkAutoPilot_Click();
    void cmdNewTabs_Click();
    void cmdNewInit_Click();
    void cmdNew_Click();
    void cmdNewSetting_Click();
    void cmdRestore_Click();
    void cmdDelete_Click();
    void cmdStrDef_Click();
    void cmdLoad_Click();
    void cmdCancelChanges_Click();
    void cmdApplyStyle_Click();
    void cmdOK_Click();

    // The dialog's state, for the main window and for tests.
    bool fullMode() const { return full_; }
    int currentTab() const { return current_; }
    bool changed(int tab) const { return changed_[static_cast<std::size_t>(tab)]; }
    int tracking(int tab) const { return tracking_[static_cast<std::size_t>(tab)]; }
    bool fromFile() const { return fromFile_; }
    // Makes tab `tab` (1 to 4) the selected one, as a click on it would.
    void selectTab(int tab);

public slots:
    // Escape and the close box: as cmdOK when anything would be stored,
    // else the dialog just closes.
    void reject() override;

private:
    void buildControls();
    QWidget* buildTargetTab();
    QWidget* buildChoiceTab();
    QWidget* buildTabSettingTab();
    QWidget* buildPrintSettingTab();
    void connectHandlers();
    // Stores every tab with changes in one transaction; false when a store
    // was refused or the commit failed (the dialog then stays open).
    bool applyPendingTabs();
    void loadFull();
    void loadReduced();

    void SelectFont(const std::string& name);
    void FillFontList(int printerIndex);
    void LoadTabFile();
    void ShowTabSetting(const std::string& name);
    bool ShowPrintInit(const std::string& name);
    void MarkChanged(int tab);
    void ShowSaveState();

    // Stores what the current tab shows; false when the store was refused
    // (the user has been told why and nothing was written).
    bool applyCurrentTab();
    void applyTabSetting();
    void applyPrintSetting();
    // Applies the pending changes of `tab` with that tab current, then
    // makes `back` current again; false when the store was refused.
    bool applyTabFirst(int tab, int back);
    void writeFallbackFile();
    void showFileValues();
    void setPrinterEntries(const std::string& storedName, bool haveName);
    void setNewTabButtons(bool enabled);
    // Runs a handler for a click or change of the user's; an error of the
    // settings database is reported and the dialog stays open.
    void runGuarded(const std::function<void()>& handler);
    void lockSettingName();

    QTabBar* TabStrip1 = nullptr;
    std::array<QFrame*, 4> fraPrint{};
    // Tab 1
    QGroupBox* fraPrintTarget = nullptr;
    QGroupBox* fraVBCodeStyle = nullptr;
    std::array<QRadioButton*, 3> optPrintMode{};
    std::array<QRadioButton*, 3> optStyle{};
    std::array<QLineEdit*, 2> txtSetting{};
    // Tab 2
    QComboBox* cboTabSettings = nullptr;
    QComboBox* cboPrintInit = nullptr;
    QPushButton* cmdNewTabs = nullptr;
    QPushButton* cmdNewInit = nullptr;
    QLabel* lblAuto = nullptr;
    QPushButton* cmdStrDef = nullptr;
    QPushButton* cmdLoad = nullptr;
    // Tab 3
    QComboBox* cboPrinterName = nullptr;
    QComboBox* cboPrinterFonts = nullptr;
    std::array<QLineEdit*, 20> txtMargin{};
    std::array<QLabel*, 20> lblDef{};
    QPushButton* cmdNew = nullptr;
    QPushButton* cmdRestore = nullptr;
    QPushButton* cmdDelete = nullptr;
    // Tab 4
    QGroupBox* fraSettings = nullptr;
    QCheckBox* chkPrtTable = nullptr;
    QCheckBox* chkPrtFields = nullptr;
    QCheckBox* chkPrtIndexes = nullptr;
    QCheckBox* chkPrtQueries = nullptr;
    QCheckBox* chkPrtRelations = nullptr;
    QCheckBox* chkPrtDetails = nullptr;
    QCheckBox* chkPagePer = nullptr;
    QCheckBox* chkAutoPilot = nullptr;
    QPushButton* cmdNewSetting = nullptr;
    // Below the tabs
    QPushButton* cmdApplyStyle = nullptr;
    QPushButton* cmdCancelChanges = nullptr;
    QPushButton* cmdOK = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* lblSaveWarning = nullptr;

    bool full_ = false;
    int current_ = 1;
    // Indexed by tab number; element 0 is unused.
    std::array<bool, 5> changed_{};
    std::array<int, 5> tracking_{};
    bool fromFile_ = false;
    std::string pendingTab_;   // name of a new tab setting being entered
    std::string shownTab_;     // StoredSettings row on tab 3, "" when none
    std::string shownPrint_;   // PrintInit row on tabs 4 and 1, "" when none
    std::unique_ptr<jet::Recordset> rsStored_;
    std::unique_ptr<jet::Recordset> rsPrint_;
    std::unique_ptr<jet::Recordset> rsInit_;
};
