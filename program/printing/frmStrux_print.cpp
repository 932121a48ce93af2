// The main window's print request: cmdPrint_Click, the dispatcher of the
// print modes and the window's side of a report run.
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <filesystem>
#include <optional>

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
#include "viewer/user_places.h"

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

// Where the report's PDF goes. Asked for: a Save dialog in the database's
// folder with the report's name proposed, and a question before an existing
// file is replaced. Automatic: the folder chosen last (else the database's),
// without a question; the message afterwards says where it went.
std::optional<std::filesystem::path> reportFile(const std::filesystem::path& proposed, bool automatic) {
    namespace fs = std::filesystem;
    if (automatic) {
        const fs::path folder = viewer::rememberedPlace(viewer::kLastReportFolder);
        std::error_code error;
        if (!folder.empty() && fs::is_directory(folder, error)) return folder / proposed.filename();
        return proposed;
    }
    vb::FileDialogRequest request;
    request.title = "Save Report As";
    request.filter = "PDF files (*.pdf);;All files (*)";
    request.initialDir = proposed.parent_path().string();
    request.fileName = proposed.filename().string();
    for (;;) {
        const std::optional<std::string> answer = vb::ui().saveFileDialog(request);
        if (!answer || answer->empty()) return std::nullopt;
        fs::path chosen(*answer);
        if (!chosen.has_extension()) chosen += ".pdf";
        std::error_code error;
        if (fs::exists(chosen, error) &&
            vb::MsgBox(chosen.string() + " already exists.\nDo you want to replace it?", vb::vbExclamation + vb::vbYesNo,
                       request.title) != vb::vbYes) {
            request.initialDir = chosen.parent_path().string();
            request.fileName = chosen.filename().string();
            continue;
        }
        viewer::rememberPlace(viewer::kLastReportFolder, chosen.parent_path().string());
        return chosen;
    }
}

// What the window says once a run has ended.
std::string reportOutcomeText(const printing::ReportOutcome& outcome) {
    const std::string where =
        outcome.outputFile.empty() ? "the printer " + outcome.deviceName : outcome.outputFile.string();
    if (outcome.cancelled) return "Report cancelled by operator; the pages printed so far went to " + where;
    if (outcome.outputFile.empty()) return "Report sent to " + where;
    return "Report written to " + where;
}

}  // namespace

std::vector<std::string> frmStrux::mainEntries() const {
    std::vector<std::string> entries;
    for (int i = 0; i < lstTables->count(); ++i) entries.push_back(lstTables->item(i)->text().toStdString());
    return entries;
}

void frmStrux::tellOutput(const std::string& hint, const std::string& message, int style) {
    lblMiniHelp->setText(QString::fromStdString(hint));
    if (!message.empty()) vb::MsgBox(message, style, vb::App().Title());
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
        codegen::SourceDatabase source{dbCurrent->TableDefs(), dbCurrent->QueryDefs(), dbCurrent->Relations(),
                                       dbCurrent->database()};
        const codegen::GeneratedFiles files = codegen::GenerateStructure(sMode, request, source, host);
        SetPointer(0);
        if (!files.copyPath.empty()) {
            std::string told = "Empty copy written to " + files.copyPath;
            // What the copy could not hold must not pass unnoticed.
            const std::string leftOut = codegen::leftOutText(files.copy);
            tellOutput(told, leftOut.empty() ? told : told + "\n\n" + leftOut,
                       leftOut.empty() ? vb::vbInformation : vb::vbExclamation);
        } else {
            std::string told = "Code written to " + files.modulePath;
            if (!files.formPath.empty()) told += " and " + files.formPath;
            tellOutput(told, told, vb::vbInformation);
        }
    } catch (const codegen::CopyDeclined& e) {
        // No to replacing the existing copy cancels this copy only; the
        // existing one stays as it was.
        host.showMessage("-1");
        tellOutput("Empty copy not made: " + e.path() + " was kept", {}, 0);
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
        const bool automatic = bAutoPrint != 0;
        setup.chooseOutputFile = [automatic](const std::filesystem::path& proposed) {
            return reportFile(proposed, automatic);
        };
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
        if (outcome.noFile) {
            tellOutput("Report not printed: no file was chosen for it", {}, 0);
        } else if (outcome.printed) {
            const std::string told = reportOutcomeText(outcome);
            // A printed report needs no box; a file, or a cut-short run, does.
            tellOutput(told, outcome.outputFile.empty() && !outcome.cancelled ? std::string() : told,
                       outcome.cancelled ? vb::vbExclamation : vb::vbInformation);
        }
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
