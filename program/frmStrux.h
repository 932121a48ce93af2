// The main window: the object list, the detail lists, the hint bar and the
// button bar. Handlers read the window, call the viewer's plain functions and
// write the result back.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "viewer/linked_sources.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTimer;
class QFrame;
class frmHelp;
namespace viewer {
enum class LayoutMode;
}

class frmStrux : public QWidget {
    Q_OBJECT
public:
    explicit frmStrux(QWidget* parent = nullptr);
    ~frmStrux() override;

    // Start-up before the window is shown. Afterwards EndRequested() tells
    // whether the program has to end (a second copy).
    void Form_Load();
    // The deferred start-up; runs once, when picFirst first gets the focus.
    void picFirst_GotFocus();

    void tmrWakeUp_Timer();
    void cmdOpen_Click();
    // A database to open once the deferred start-up has run: the file the
    // desktop passes when the user opens an Access database with Strux32.
    void OpenAtStart(const std::string& path) { startFile_ = path; }
    // The print request: the stored settings, the mode dialogs and the run
    // of the chosen output (printing/frmStrux_print.cpp).
    void cmdPrint_Click();
    void cmdHelp_Click();
    void cmdDefaults_Click();
    void cmdSetPrinter_Click();
    void cmdFinished_Click();
    void Image1_DblClick();
    void lblCopyright_DblClick();
    void lstTables_Click();
    void lstFields_Click();
    void lstIndexes_Click();
    void lstProperties_DblClick();
    // Releases the open database and the registry object; runs however the
    // window is closed.
    void Form_Unload();

    // The help window, once it has been shown.
    frmHelp* helpWindow() const { return help_.get(); }
    bool wakeUpTimerEnabled() const;
    int16_t wakeTicks() const { return iWakeTicks; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void SetWakeUpTimer(int enable);
    void LoadStructure(int mode);
    void showObject();
    // The table whose fields and indexes the lists show: a linked table's
    // source table when its source can be read, else the table itself.
    jet::TableDef& tableInLists(std::string* unreadable = nullptr);
    void setLayoutMode(viewer::LayoutMode mode);
    void layoutControls();
    void markDamagedEntries();
    void restorePlacement();
    void rememberPlacement() const;
    void clearLists();
    void closeDatabaseQuietly();
    void OpenDatabaseFile(const std::string& path);
    void reportEngineError(long number, const std::string& description);
    void fatalError(long number);
    void showHint(const std::string& controlName);
    void ShowContactInfo();
    void RunPrintMode(const std::string& sMode);
    void PrintStructure();
    void GenerateCode(std::string sMode);
    std::vector<std::string> mainEntries() const;
    // What was written where: `hint` on the hint bar, and `message` (when
    // not empty) in a message box of `style`.
    void tellOutput(const std::string& hint, const std::string& message, int style);
    static void fillList(QListWidget* list, const std::vector<std::string>& lines);

    QLabel* lblTitle = nullptr;
    QLabel* lblTabels = nullptr;
    QListWidget* lstTables = nullptr;
    QLabel* lblFields = nullptr;
    QListWidget* lstFields = nullptr;
    QLabel* lblIndexes = nullptr;
    QListWidget* lstIndexes = nullptr;
    QLabel* lblProperties = nullptr;
    QListWidget* lstProperties = nullptr;
    QLabel* lblCopyright = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* lblCopyLine = nullptr;
    QLabel* lblMiniHelp = nullptr;
    QFrame* picBottom = nullptr;
    QPushButton* cmdSetPrinter = nullptr;
    QPushButton* cmdHelp = nullptr;
    QPushButton* cmdDefaults = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdOpen = nullptr;
    QPushButton* cmdFinished = nullptr;
    QFrame* picFirst = nullptr;
    QTimer* tmrWakeUp = nullptr;

    // The layout of the last report.
    std::array<int16_t, 20> iTab{};
    std::string sPrinterFont;

    // The query layout: the Properties list covers the copyright panel.
    bool wideProperties_ = false;
    int16_t iWakeTicks = 0;
    int16_t bDeselecting = 0;
    bool started_ = false;
    std::string startFile_;
    bool unloaded_ = false;
    std::unique_ptr<frmHelp> help_;
    viewer::LinkedSources linkedSources_;
};
