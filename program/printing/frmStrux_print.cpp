// The main window's print request: cmdPrint_Click, the dispatcher of the
// print modes and the window's side of a report run.
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <filesystem>

#include "STXGLOB.h"
#include "clsSubs1.h"
#include "codegen/generate_structure.h"
#include "codegen/text_file.h"
#include "frmStrux.h"
#include "jet/database.h"
#include "jet/error.h"
#include "jet/types.h"
#include "printer/qt/system_printers.h"
#include "printing/frmModal.h"
#include "printing/frmPrinting.h"
#include "printing/frmPrtMode.h"
#include "printing/frmSelect.h"
#include "printing/frmStrux_print.h"
#include "printing/print_request.h"
#include "printing/report_engine.h"
#include "userdata/settings_folder.h"
#include "vb/app.h"
#include "vb/interaction.h"
#include "vb/screen.h"

namespace printing {

namespace {
std::unique_ptr<printer::Printers>& installedPrinters() {
    static std::unique_ptr<printer::Printers> printers;
    return printers;
}
}  // namespace

printer::Printers& ProgramPrinters() {
    if (!installedPrinters()) installedPrinters() = printer::systemPrinters();
    return *installedPrinters();
}

void setProgramPrinters(std::unique_ptr<printer::Printers> printers) { installedPrinters() = std::move(printers); }

}  // namespace printing

namespace {

constexpr int kFormNumber = 1;

// The generator's messages and pointer go to the program's status window
// and screen.
class WindowHost : public codegen::GenerationHost {
public:
    void showMessage(const std::string& text) override { Subs().cvShowMessage(vb::Variant(text)); }
    void setArea(int32_t area) override { sErrArea = Subs().cvSetArea(area, kFormNumber, 0); }
    void setPointer(int pointer) override { SetPointer(pointer); }
    void doEvents() override { vb::DoEvents(); }
    bool replaceExistingCopy(const std::string&) override {
        return vb::MsgBox(codegen::kReplaceCopyPrompt, vb::vbCritical + vb::vbYesNo, codegen::kReplaceCopyTitle) ==
               vb::vbYes;
    }
};

// The button bar is off while a request runs: the run lets window events
// through, and opening another database or printing again from inside it
// would pull the open database from under the run.
class ButtonsOff {
public:
    explicit ButtonsOff(QWidget* bar) : bar_(bar) { bar_->setEnabled(false); }
    ~ButtonsOff() { bar_->setEnabled(true); }
    ButtonsOff(const ButtonsOff&) = delete;
    ButtonsOff& operator=(const ButtonsOff&) = delete;

private:
    QWidget* bar_;
};

}  // namespace

std::vector<std::string> frmStrux::mainEntries() const {
    std::vector<std::string> entries;
    for (int i = 0; i < lstTables->count(); ++i) entries.push_back(lstTables->item(i)->text().toStdString());
    return entries;
}

void frmStrux::tellOutput(const std::string& text, bool withMessage) {
    lblMiniHelp->setText(QString::fromStdString(text));
    if (withMessage) vb::MsgBox(text, vb::vbInformation, vb::App().Title());
}

void frmStrux::cmdPrint_Click() {
    SetWakeUpTimer(0);
    ButtonsOff busy(picBottom);
    auto mode = std::make_unique<frmPrtMode>(this);
    if (bSettingsOpen == 0) {
        // Without the settings database there is no stored setting to read;
        // a tab setting left from before must not be read either.
        bUseTabSetting = 0;
        bUsePrintInit = 0;
        bAutoPrint = 0;
    } else {
        bUseTabSetting = printing::isSettingName(sTabSetting) ? -1 : 0;
        bUsePrintInit = printing::isSettingName(sPrintSetting) ? -1 : 0;
        try {
            rsStoredSettings = dbSettings->OpenRecordset("StoredSettings", jet::dbOpenTable);
            if (bUseTabSetting == 0 || !printing::seekSetting(*rsStoredSettings, sTabSetting)) bUseTabSetting = 0;
            rsPrintInit = dbSettings->OpenRecordset("PrintInit", jet::dbOpenTable);
            if (bUsePrintInit == 0 || !printing::seekSetting(*rsPrintInit, sPrintSetting)) {
                bUsePrintInit = 0;
                bAutoPrint = 0;
            } else {
                const printing::PrintInitRecord stored = printing::readPrintInit(*rsPrintInit);
                if (stored.autoPrint) {
                    bAutoPrint = -1;
                    const printing::AutomaticMode automatic = printing::automaticMode(stored.selection);
                    bNoFormFile = automatic.noFormFile ? -1 : 0;
                    mode.reset();
                    RunPrintMode(automatic.mode);
                    vb::DoEvents();
                    return;
                }
                bAutoPrint = 0;
                mode->preselect(stored.printMode, stored.structMode);
            }
        } catch (const jet::Error& e) {
            // The settings cannot be read: say why and ask for the mode as
            // if none were stored.
            reportEngineError(e.number(), e.what());
            bUseTabSetting = 0;
            bUsePrintInit = 0;
            bAutoPrint = 0;
            mode = std::make_unique<frmPrtMode>(this);
        }
    }
    mode->Show();
    vb::DoEvents();
    if (bModeCancelled == 0) RunPrintMode(mode->sResult);
    mode.reset();
    vb::DoEvents();
}

void frmStrux::RunPrintMode(const std::string& sMode) {
    const std::string mode = sMode;
    switch (printing::actionForMode(mode)) {
        case printing::PrintAction::Report:
            PrintStructure();
            break;
        case printing::PrintAction::Copy:
        case printing::PrintAction::Code:
            GenerateCode(printing::generatorWord(mode));
            break;
        case printing::PrintAction::None:
            break;
    }
}

void frmStrux::GenerateCode(std::string sMode) {
    if (!dbCurrent) return;
    WindowHost host;
    codegen::CodeRequest request;
    request.entries = mainEntries();
    request.sDbPath = sDbPath;
    request.bNoFormFile = bNoFormFile != 0;
    if (jet::Database* database = dbCurrent->database()) {
        request.sourceVersion = database->Version();
        request.sourceCodePage = database->CodePage();
    }
    try {
        codegen::SourceDatabase source{dbCurrent->TableDefs(), dbCurrent->QueryDefs(), dbCurrent->Relations()};
        const codegen::GeneratedFiles files = codegen::GenerateStructure(sMode, request, source, host);
        std::string told;
        if (!files.copyPath.empty()) {
            told = "Empty copy written to " + files.copyPath;
            // What the copy could not hold must not pass unnoticed.
            const std::string leftOut = codegen::leftOutText(files.copy);
            if (!leftOut.empty()) {
                if (bAutoPrint == 0) vb::MsgBox(told + "\n\n" + leftOut, vb::vbExclamation, vb::App().Title());
                told += "; " + leftOut.substr(0, leftOut.find(':'));
            }
        } else {
            told = "Code written to " + files.modulePath;
            if (!files.formPath.empty()) told += " and " + files.formPath;
        }
        tellOutput(told, false);
    } catch (const codegen::CopyDeclined&) {
        // The user would not have the existing copy replaced: the program
        // ends, as it always has on this answer.
        host.showMessage("-1");
        SetPointer(0);
        EndProgram();
        return;
    } catch (const jet::Error& e) {
        host.showMessage("-1");
        reportEngineError(e.number(), e.context().empty() ? e.what() : std::string(e.what()) + " (" + e.context() + ")");
    } catch (const codegen::WriteError& e) {
        host.showMessage("-1");
        reportEngineError(e.number(), e.what());
    }
    SetPointer(0);
    sErrArea = Subs().cvSetArea(0, kFormNumber, 0);
}

void frmStrux::PrintStructure() {
    if (!dbCurrent) return;
    sErrArea = Subs().cvSetArea(printing::kAreaReportSetup, kFormNumber, 0);
    iTab = {};
    bCancelPrint = 0;
    auto progress = std::make_unique<frmPrinting>(this);
    printing::ReportSelection selection;
    const std::vector<std::string> entries = mainEntries();
    try {
        if (bAutoPrint == 0) {
            frmSelect select(progress.get(), this);
            select.Form_Load(entries);
            printing::ShowModal(select);
            if (select.sResult == "!ABORT!") {
                SetPointer(0);
                sErrArea = Subs().cvSetArea(0, kFormNumber, 0);
                return;
            }
            SetPointer(11);
            selection = select.selection();
            vb::DoEvents();
        } else {
            SetPointer(11);
            selection = rsPrintInit ? printing::automaticSelection(printing::readPrintInit(*rsPrintInit))
                                    : printing::ReportSelection{};
            vb::DoEvents();
        }
        progress->showDetail("Working! Please wait.");

        printing::ReportSetup setup;
        // An installed copy keeps its layout file in the user's data folder.
        setup.programFolder = userdata::settingsFolderFor(vb::App().Path(), printing::kPrintDefaultsFileName);
        printer::Printers& printers = printing::ProgramPrinters();
        sSavedPrinter.clear();
        if (bUseTabSetting != 0 && rsStoredSettings) {
            sSavedPrinter = printers.Item(printers.currentIndex()).DeviceName();
            setup.stored = printing::readStoredTabSetting(*rsStoredSettings);
        }
        sErrArea = Subs().cvSetArea(printing::kAreaReportPrinting, kFormNumber, 0);
        printing::ReportSource source{sDbPath, dbCurrent->CollatingOrder(), dbCurrent->TableDefs(),
                                      dbCurrent->QueryDefs(), dbCurrent->Relations()};
        printing::FieldTypeNames fieldTypes;
        for (std::size_t i = 0; i < fieldTypes.size(); ++i) fieldTypes[i] = sFieldType[i];
        const printing::ReportOutcome outcome =
            printing::PrintStructure(source, entries, selection, setup, fieldTypes, printers, *progress);
        sPrinterFont = outcome.layout.fontName;
        for (std::size_t i = 0; i < iTab.size(); ++i) iTab[i] = outcome.layout.tabs[i];
        progress->Unload();
        SetPointer(0);
        if (outcome.printed && !outcome.outputFile.empty())
            tellOutput("Report written to " + outcome.outputFile.string(), bAutoPrint == 0);
    } catch (const printing::ReportError& e) {
        progress->Unload();
        reportEngineError(e.number(), e.what());
    } catch (const jet::Error& e) {
        progress->Unload();
        reportEngineError(e.number(), e.what());
    }
    SetPointer(0);
    sErrArea = Subs().cvSetArea(0, kFormNumber, 0);
}
