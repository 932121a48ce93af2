// The print request driven through the main window: the stored settings,
// the mode dialogs answered by a script, the selection dialog, the progress
// window's Cancel, and the files that the code modes and the PDF printer
// write beside the database.
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "STXGLOB.h"
#include "frmStrux.h"
#include "jet/dao.h"
#include "main_window_fixture.h"
#include "print_request_support.h"
#include "settings_support.h"
#include "support/files.h"
#include "printer/qt/system_printers.h"
#include "printer/text_printer_device.h"
#include "printing/frmPrinting.h"
#include "printing/frmSelect.h"
#include "printing/frmStrux_print.h"
#include "printing/report_engine.h"
#include "vb/app.h"

using namespace programtest;
using namespace printtest;
using namespace settingstest;
namespace fs = std::filesystem;

namespace {

using testsupport::readFile;

void resetPrintGlobals() {
    rsStoredSettings.reset();
    rsPrintInit.reset();
    bUseTabSetting = 0;
    bUsePrintInit = 0;
    bAutoPrint = 0;
    bNoFormFile = 0;
    bModeCancelled = 0;
    bCancelPrint = 0;
    sSavedPrinter.clear();
}

class PrintRequestTest : public MainWindowFixture {
protected:
    void SetUp() override {
        resetPrintGlobals();
        engine.databases[dbPath] = sampleDatabase();
        std::vector<std::unique_ptr<printer::PrinterDevice>> devices;
        devices.push_back(std::make_unique<printer::TextPrinterDevice>("Text"));
        textPrinter = static_cast<printer::TextPrinterDevice*>(devices.back().get());
        printing::setProgramPrinters(std::make_unique<printer::Printers>(std::move(devices)));
        prepare(engine);
        window->Form_Load();
        sTabSetting = "!";
        sPrintSetting = "!";
    }
    void TearDown() override {
        rsStoredSettings.reset();
        rsPrintInit.reset();
        if (settingsDb) settingsDb->Close();
        MainWindowFixture::TearDown();
        printing::setProgramPrinters(nullptr);
        frmPrinting::onLoad() = {};
        resetPrintGlobals();
    }

    void openDatabase(const std::string& path) {
        open(path);
        ASSERT_EQ(bDbOpen, -1);
    }
    // A copy of the delivered STX32.MDB, opened as the start-up opens it.
    viewer::DatabaseHandle& settings() {
        if (!settingsDb) {
            settingstest::makeSettingsDatabase(programFolder.file("STX32.MDB"));
            settingsDb = viewer::jetEngine().OpenDatabase(programFolder.file("STX32.MDB"), true, false);
        }
        return *settingsDb;
    }
    // STX32.MDB open, with `tab` and `print` the start-up choice.
    void useSettings(const std::string& tab, const std::string& print) {
        settings();
        dbSettings = settingsDb;
        bSettingsOpen = -1;
        sTabSetting = tab;
        sPrintSetting = print;
    }
    bool exists(const std::string& name) const { return fs::exists(data.file(name)); }

    TempFolder data;
    std::string dbPath = data.file("Sample.mdb");
    MemoryEngine engine;
    std::shared_ptr<viewer::DatabaseHandle> settingsDb;
    printer::TextPrinterDevice* textPrinter = nullptr;
    DialogScript dialogs;
};

bool checked(QDialog& dialog, const char* option) {
    auto* radio = dialog.findChild<QRadioButton*>(option);
    return radio && radio->isChecked();
}

// ---- the mode request --------------------------------------------------------

TEST_F(PrintRequestTest, WithoutTheSettingsDatabaseTheModeIsAsked) {
    openDatabase(dbPath);
    bUsePrintInit = -1;  // left from an earlier request
    bAutoPrint = -1;
    dialogs.answers.push_back([](QDialog& mode) {
        EXPECT_TRUE(checked(mode, "optPrintMode0"));  // the design-time choice
        closeBox(mode);
    });
    window->cmdPrint_Click();
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{"Printing Mode"});
    EXPECT_EQ(bUsePrintInit + bAutoPrint + bUseTabSetting, 0);
    EXPECT_EQ(rsPrintInit, nullptr);
}

TEST_F(PrintRequestTest, WithoutAStartUpSettingTheModeIsAskedAfterTheLookUps) {
    openDatabase(dbPath);
    // A marker is never taken for a name.
    addPrintSetting(settings(), {.name = "?", .autoPrint = true, .selection = "3", .printMode = 2});
    useSettings("?", "?");
    dialogs.answers.push_back(closeBox);
    window->cmdPrint_Click();
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{"Printing Mode"});
    ASSERT_TRUE(rsStoredSettings && rsPrintInit);  // they stay open for the report
    EXPECT_EQ(bUseTabSetting + bUsePrintInit, 0);
}

TEST_F(PrintRequestTest, ClosingTheDialogsByTheCloseBoxDoesNothing) {
    openDatabase(dbPath);
    // Code chosen, then the mode dialog closed: no answer, no style asked.
    dialogs.answers.push_back([](QDialog& mode) {
        mode.findChild<QRadioButton*>("optPrintMode2")->click();
        closeBox(mode);
    });
    window->cmdPrint_Click();
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(bModeCancelled, 0);

    // Accepted, but the code style dialog closed: nothing is generated.
    dialogs.answers.push_back(choose("optPrintMode2", "cmdAccept"));
    dialogs.answers.push_back(closeBox);
    window->cmdPrint_Click();
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"Printing Mode", "Printing Mode", "VB5 Code Style"}));
    EXPECT_NE(bModeCancelled, 0);
    EXPECT_FALSE(exists("Sample.bas"));
    EXPECT_TRUE(textPrinter->documents().empty());
    EXPECT_TRUE(ui->messageBoxes().empty());
}

TEST_F(PrintRequestTest, CodeStylesGiveStandAloneOrProjectCode) {
    openDatabase(dbPath);
    dialogs.answers.push_back(choose("optPrintMode2", "cmdAccept"));
    dialogs.answers.push_back(choose("optStyle0", "cmdOK"));
    window->cmdPrint_Click();
    ASSERT_TRUE(exists("Sample.bas"));
    EXPECT_NE(readFile(data.file("Sample.bas")).find("Sub Main()"), std::string::npos);
    EXPECT_FALSE(exists("CreateVBForm.frm"));
    EXPECT_NE(hint().find(data.file("Sample.bas")), std::string::npos);
    EXPECT_EQ(boxes(), (testsupport::Boxes{{"Code written to " + data.file("Sample.bas"), vb::vbInformation, "Strux32"}}));

    fs::remove(data.file("Sample.bas"));
    dialogs.answers.push_back(choose("optPrintMode2", "cmdAccept"));
    dialogs.answers.push_back([](QDialog& style) {
        EXPECT_TRUE(checked(style, "optStyle1"));  // the design-time style
        click(style, "cmdOK");
    });
    window->cmdPrint_Click();
    EXPECT_EQ(readFile(data.file("Sample.bas")).find("Sub Main()"), std::string::npos);
    EXPECT_TRUE(exists("CreateVBForm.frm"));
}

TEST_F(PrintRequestTest, StoredModesArePreselected) {
    openDatabase(dbPath);
    addPrintSetting(settings(), {.name = "Struct", .selection = "5", .printMode = 2, .structMode = 2});
    useSettings("!", "Struct");
    dialogs.answers.push_back([](QDialog& mode) {
        EXPECT_TRUE(checked(mode, "optPrintMode2"));
        click(mode, "cmdAccept");
    });
    dialogs.answers.push_back([](QDialog& style) {
        EXPECT_TRUE(checked(style, "optStyle2"));
        click(style, "cmdOK");
    });
    window->cmdPrint_Click();
    EXPECT_EQ(bUsePrintInit, -1);
    EXPECT_TRUE(exists("Sample.bas"));
    EXPECT_FALSE(exists("CreateVBForm.frm"));
}

TEST_F(PrintRequestTest, AutomaticSettingFiveWritesProjectCodeWithoutTheFormAndNoDialog) {
    openDatabase(dbPath);
    addPrintSetting(settings(), {.name = "Auto5", .autoPrint = true, .selection = "5", .printMode = 2, .structMode = 2});
    useSettings("!", "Auto5");
    window->cmdPrint_Click();
    EXPECT_TRUE(dialogs.shown.empty());
    ASSERT_TRUE(exists("Sample.bas"));
    EXPECT_EQ(readFile(data.file("Sample.bas")).find("Sub Main()"), std::string::npos);
    EXPECT_FALSE(exists("CreateVBForm.frm"));
}

TEST_F(PrintRequestTest, EmptyCopyIsMadeBesideTheDatabase) {
    // The sample's relation joins text to a number, which Jet refuses (below).
    engine.databases[dbPath]->relations.clear();
    openDatabase(dbPath);
    dialogs.answers.push_back(choose("optPrintMode1", "cmdAccept"));
    window->cmdPrint_Click();
    const std::string copyPath = data.file("Empty Copy of Sample.mdb");
    ASSERT_TRUE(exists("Empty Copy of Sample.mdb"));
    EXPECT_EQ(hint().rfind("Empty copy written to " + copyPath, 0), 0u) << hint();
    // The listed tables, not the system table of the sample.
    auto copy = jet::DBEngine().OpenDatabase(copyPath, false, true);
    EXPECT_EQ(copy->TableDefs().find("MSysObjects")->Attributes() & jet::dbSystemObject, jet::dbSystemObject);
    EXPECT_NE(copy->TableDefs().find("Order Details"), nullptr);
    // One message says where the copy went, and names what it could not hold.
    ASSERT_EQ(ui->messageBoxes().size(), 1u);
    EXPECT_EQ(ui->messageBoxes()[0].prompt.rfind("Empty copy written to " + copyPath, 0), 0u);
    if (copy->QueryDefs().Count() == 0)
        EXPECT_NE(ui->messageBoxes()[0].prompt.find("query 'Customer List'"), std::string::npos);
}

TEST_F(PrintRequestTest, AFailureDuringTheCopyIsReportedAndLeavesNoHalfMadeCopy) {
    openDatabase(dbPath);
    dialogs.answers.push_back(choose("optPrintMode1", "cmdAccept"));
    window->cmdPrint_Click();
    ASSERT_FALSE(ui->messageBoxes().empty());
    const std::string message = ui->messageBoxes().back().prompt;
    EXPECT_NE(message.find("[F001][VBStruct][Copying]"), std::string::npos) << message;
    EXPECT_NE(message.find("relation 'CustomersOrder Details'"), std::string::npos) << message;
    EXPECT_FALSE(std::filesystem::exists(data.file("Empty Copy of Sample.mdb")));
    EXPECT_FALSE(EndRequested());
}

TEST_F(PrintRequestTest, AnExistingCopyIsReplacedOnYesAndKeptOnNo) {
    engine.databases[dbPath]->relations.clear();
    const std::string question = "Database already exists! Delete existing?";
    auto questions = [&] {
        std::vector<vb::ScriptedUi::Shown> asked;
        for (const auto& box : ui->messageBoxes())
            if (box.prompt == question) asked.push_back(box);
        return asked;
    };
    openDatabase(dbPath);
    {
        std::ofstream older(data.file("Empty Copy of Sample.mdb"));
        older << "an older copy";
    }
    ui->msgBoxAnswers.push_back(vb::vbYes);
    dialogs.answers.push_back(choose("optPrintMode1", "cmdAccept"));
    window->cmdPrint_Click();
    ASSERT_EQ(questions().size(), 1u);
    EXPECT_EQ(questions()[0].title, "Create error!");
    EXPECT_NE(readFile(data.file("Empty Copy of Sample.mdb")), "an older copy");

    ui->msgBoxAnswers.clear();
    ui->msgBoxAnswers.push_back(vb::vbNo);
    const std::string made = readFile(data.file("Empty Copy of Sample.mdb"));
    dialogs.answers.push_back(choose("optPrintMode1", "cmdAccept"));
    window->cmdPrint_Click();
    EXPECT_EQ(questions().size(), 2u);
    EXPECT_EQ(readFile(data.file("Empty Copy of Sample.mdb")), made);
    // No cancels this copy only: the program goes on with the database open.
    EXPECT_FALSE(EndRequested());
    EXPECT_NE(hint().find("was kept"), std::string::npos) << hint();
    EXPECT_TRUE(window->findChild<QPushButton*>("cmdPrint")->isEnabled());
}

// ---- the report --------------------------------------------------------------

TEST_F(PrintRequestTest, ReportCanBeCancelledFromTheProgressWindow) {
    openDatabase(dbPath);
    frmPrinting* progress = nullptr;
    frmPrinting::onLoad() = [&progress](frmPrinting& window) { progress = &window; };
    dialogs.answers.push_back(choose("optPrintMode0", "cmdAccept"));
    auto* cmdOpen = window->findChild<QPushButton*>("cmdOpen");
    dialogs.answers.push_back([&progress, cmdOpen](QDialog& select) {
        ASSERT_NE(progress, nullptr);
        // Nothing may open another database while the report runs.
        EXPECT_FALSE(cmdOpen->isEnabled());
        // Cancel pressed as the report gets going: the click waits in the
        // event queue until the run next lets events through.
        QMetaObject::invokeMethod(progress->cmdCancelPrint, "click", Qt::QueuedConnection);
        click(select, "cmdOK");
    });
    window->cmdPrint_Click();
    EXPECT_TRUE(cmdOpen->isEnabled());
    ASSERT_EQ(textPrinter->documents().size(), 1u);
    const std::string& cancelled = textPrinter->documents()[0];
    EXPECT_NE(cancelled.find(printing::kCancelNote), std::string::npos);
    EXPECT_EQ(cancelled.find("Fields Listing for Table"), std::string::npos);
    // A run cut short is told as such, not as a finished report.
    EXPECT_EQ(boxes(), (testsupport::Boxes{{"Report cancelled by operator; the pages printed so far went to the printer Text",
                                            vb::vbExclamation, "Strux32"}}));

    // The next report starts with the flag cleared and prints in full.
    frmPrinting::onLoad() = {};
    dialogs.answers.push_back(choose("optPrintMode0", "cmdAccept"));
    dialogs.answers.push_back([](QDialog& select) { click(select, "cmdOK"); });
    window->cmdPrint_Click();
    ASSERT_EQ(textPrinter->documents().size(), 2u);
    EXPECT_EQ(textPrinter->documents()[1].find(printing::kCancelNote), std::string::npos);
    EXPECT_NE(textPrinter->documents()[1].find("Fields Listing for Table: Order Details"), std::string::npos);

    // Cancel in the selection dialog abandons the report before it starts.
    dialogs.answers.push_back(choose("optPrintMode0", "cmdAccept"));
    dialogs.answers.push_back([](QDialog& select) { click(select, "cmdCancel"); });
    window->cmdPrint_Click();
    EXPECT_EQ(textPrinter->documents().size(), 2u);
}

TEST_F(PrintRequestTest, ChosenTablesAreTheOnlyOnesPrinted) {
    openDatabase(dbPath);
    dialogs.answers.push_back(choose("optPrintMode0", "cmdAccept"));
    dialogs.answers.push_back([](QDialog& dialog) {
        auto& select = static_cast<frmSelect&>(dialog);
        select.chkAllTables->click();  // to choosing tables
        select.lstTables->item(0)->setSelected(false);
        select.lstTables->item(1)->setSelected(true);
        click(select, "cmdOK");
    });
    window->cmdPrint_Click();
    ASSERT_EQ(textPrinter->documents().size(), 1u);
    const std::string& report = textPrinter->documents()[0];
    EXPECT_EQ(report.find("Tables Collection"), std::string::npos);
    EXPECT_EQ(report.find("Customers"), std::string::npos);
    EXPECT_NE(report.find("Order Details"), std::string::npos);
}

// With only the PDF printer the report asks where to go: a Save dialog in
// the database's folder with the name proposed, a question before a file is
// replaced, nothing written when cancelled. An automatic report goes to the
// folder chosen last and says so; a failure names the file and the reason.
TEST_F(PrintRequestTest, ReportOnThePdfPrinterAsksWhereAndSaysWhereItWent) {
    printing::setProgramPrinters(printer::printersNamed({}, ""));
    openDatabase(dbPath);
    auto report = [&](std::vector<std::optional<std::string>> files, std::vector<int> answers) {
        ui->shown.clear();
        ui->fileDialogs.clear();
        for (auto& f : files) ui->fileDialogAnswers.push_back(f);
        for (int a : answers) ui->msgBoxAnswers.push_back(a);
        dialogs.answers.push_back(choose("optPrintMode0", "cmdAccept"));
        dialogs.answers.push_back([](QDialog& select) { click(select, "cmdOK"); });
        window->cmdPrint_Click();
    };
    TempFolder elsewhere;
    const std::string chosen = elsewhere.file("Structure.pdf");

    report({std::nullopt}, {});
    ASSERT_EQ(ui->fileDialogs.size(), 1u);
    EXPECT_EQ(ui->fileDialogs[0].initialDir, data.path().string());
    EXPECT_EQ(ui->fileDialogs[0].fileName, "Sample.pdf");
    EXPECT_FALSE(exists("Sample.pdf"));

    report({chosen}, {});
    ASSERT_EQ(readFile(chosen).substr(0, 5), "%PDF-");
    ASSERT_EQ(ui->messageBoxes().size(), 1u);
    EXPECT_EQ(ui->messageBoxes()[0].prompt, "Report written to " + chosen);

    // An existing file: No asks again, Yes replaces it.
    std::ofstream(data.file("Sample.pdf")) << "older";
    report({data.file("Sample.pdf"), data.file("Sample.pdf")}, {vb::vbNo, vb::vbYes});
    EXPECT_EQ(ui->fileDialogs.size(), 2u);
    ASSERT_GE(ui->messageBoxes().size(), 2u);
    EXPECT_EQ(ui->messageBoxes()[0].prompt, data.file("Sample.pdf") + " already exists.\nDo you want to replace it?");
    EXPECT_EQ(readFile(data.file("Sample.pdf")).substr(0, 5), "%PDF-");

    // A folder that is not there: the message names the file and why.
    const std::string nowhere = data.file("missing") + "/Sample.pdf";
    report({nowhere}, {});
    ASSERT_FALSE(ui->messageBoxes().empty());
    EXPECT_NE(ui->messageBoxes().back().prompt.find(nowhere), std::string::npos) << ui->messageBoxes().back().prompt;
    EXPECT_NE(ui->messageBoxes().back().prompt.find("No such file or directory"), std::string::npos);

    // Automatic: no dialog, the folder chosen last, and a message.
    report({chosen}, {});
    fs::remove(chosen);
    ui->shown.clear();
    const std::size_t dialogsBefore = dialogs.shown.size();
    useSettings("!", "AutoPrint");
    window->cmdPrint_Click();
    EXPECT_EQ(dialogs.shown.size(), dialogsBefore);
    const std::string automatic = elsewhere.file("Sample.pdf");
    ASSERT_EQ(readFile(automatic).substr(0, 5), "%PDF-");
    ASSERT_EQ(ui->messageBoxes().size(), 1u);
    EXPECT_EQ(ui->messageBoxes()[0].prompt, "Report written to " + automatic);
}

TEST_F(PrintRequestTest, StoredTabSettingPlacesTheReport) {
    openDatabase(dbPath);
    addTabSetting(settings(), "Narrow", "<System default printer>", "Courier", 3);
    useSettings("Narrow", "AutoPrint");
    window->cmdPrint_Click();
    EXPECT_EQ(bUseTabSetting, -1);
    ASSERT_EQ(textPrinter->documents().size(), 1u);
    // The first column is the stored 3 instead of the default 10.
    const std::string& report = textPrinter->documents()[0];
    const std::size_t title = report.find("Tables Collection");
    ASSERT_NE(title, std::string::npos);
    const std::size_t lineStart = report.rfind('\n', title) + 1;
    EXPECT_LT(title - lineStart, 5u) << report.substr(0, 400);
    EXPECT_FALSE(fs::exists(fs::path(programFolder.path()) / "stx32ps.def"));
}

}  // namespace
