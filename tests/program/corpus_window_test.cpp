// The main window on real Access databases through the Jet engine: corpus
// files, whose expected names and values are those of an independent
// reading of the same files, and the file given on the command line.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "main_window_fixture.h"
#include "support/corpus.h"
#include "support/files.h"
#include "support/planned_structure.h"
#include "jet/dao.h"
#include "viewer/engine_iface.h"

using namespace programtest;

namespace {

class CorpusWindowTest : public MainWindowFixture {
protected:
    void SetUp() override {
        splashPause = [](int) {};
        prepare(viewer::jetEngine());
        startUp();
    }
};

TEST_F(CorpusWindowTest, NorthwindListsItsTablesQueriesAndRelations) {
    STRUX_REQUIRE_CORPUS();
    open(testsupport::corpusFile("real/nwind-jet3.mdb").string());
    ASSERT_TRUE(ui->messageBoxes().empty()) << ui->messageBoxes()[0].prompt;
    // The catalog's order of each kind is compared with the independent
    // reading in the engine's tests; here the kinds follow each other whole.
    const Lines listed = items(list("lstTables"));
    ASSERT_EQ(listed.size(), 37u);
    for (const auto& [at, entry] : std::vector<std::pair<int, std::string>>{
             {0, "Tbl: Categories"}, {7, "Tbl: Suppliers"}, {8, "Qdf: Alphabetical List of Products"},
             {29, "Qdf: Ten Most Expensive Products"}, {30, "Rel: CategoriesProducts"}, {36, "Rel: SuppliersProducts"}})
        EXPECT_EQ(listed[at], entry);
    EXPECT_EQ(items(list("lstFields")), (Lines{"CategoryID", "CategoryName", "Description", "Picture"}));
    EXPECT_EQ(window->findChild<QLabel*>("lblTitle")->text().toStdString(),
              testsupport::corpusFile("real/nwind-jet3.mdb").string());
}

// Access's own link to a back end on a Windows drive: with the back end
// copied beside the front end, its table's fields and indexes are listed.
TEST_F(CorpusWindowTest, LinkedTableOfAccessListsItsBackEndsTable) {
    STRUX_REQUIRE_CORPUS();
    const std::string front = programFolder.file("linkerTest.accdb");
    std::filesystem::copy_file(testsupport::corpusFile("V2007/linkerTestV2007.accdb"), front);
    std::filesystem::copy_file(testsupport::corpusFile("misc/linkeeTest.accdb"), programFolder.file("linkeeTest.accdb"));
    open(front);
    select("lstTables", "Tbl: Table2");
    EXPECT_EQ(items(list("lstFields")), (Lines{"ID", "Field1"}));
    EXPECT_EQ(items(list("lstIndexes")), (Lines{"PrimaryKey"}));
    EXPECT_EQ(items(list("lstProperties")),
              (Lines{"Linked to:       ;DATABASE=Z:\\jackcess_test\\linkeeTest.accdb", "Source table:    Table1"}));
}

TEST_F(CorpusWindowTest, DamagedCopyIsRefusedAndTheProgramGoesOn) {
    STRUX_REQUIRE_CORPUS();
    const std::string copy = programFolder.file("damaged.mdb");
    std::filesystem::copy_file(testsupport::corpusFile("real/nwind-jet3.mdb"), copy);
    std::filesystem::resize_file(copy, 3000);
    open(copy);
    ASSERT_EQ(ui->messageBoxes().size(), 1u);
    const auto box = ui->messageBoxes()[0];
    EXPECT_EQ(box.title, "Error Handler");
    EXPECT_NE(box.prompt.find("has occurred in Section 100 of the program. [F001][Open Database]."),
              std::string::npos)
        << box.prompt;
    // The engine's own words name the file, so the user knows which one failed.
    EXPECT_NE(box.prompt.find("damaged.mdb"), std::string::npos);
    EXPECT_FALSE(EndRequested());
    EXPECT_EQ(list("lstTables")->count(), 0);
    EXPECT_FALSE(control<QPushButton>("cmdPrint")->isEnabled());

    // Not a database at all.
    const std::string text = programFolder.file("notes.mdb");
    std::ofstream(text) << "just some text, not a database\n";
    open(text);
    EXPECT_EQ(ui->messageBoxes().size(), 2u);
    EXPECT_FALSE(EndRequested());

    open(testsupport::corpusFile("real/nwind-jet3.mdb").string());
    EXPECT_EQ(list("lstTables")->count(), 37);
}

TEST_F(CorpusWindowTest, EveryCorpusDatabaseOpensOrIsReported) {
    STRUX_REQUIRE_CORPUS();
    for (const auto& file : testsupport::corpusDatabases()) {
        ui->shown.clear();
        open(file.string());
        // A file either lists or says why not; the program never ends.
        EXPECT_TRUE(list("lstTables")->count() > 0 || !ui->messageBoxes().empty()) << file;
        EXPECT_FALSE(EndRequested()) << file;
        for (int row = 0; row < list("lstTables")->count(); ++row) list("lstTables")->setCurrentRow(row);
    }
}

// Answers the password dialogs as they come, in order: a password typed and
// OK, or nullopt for Cancel. Records each dialog's caption and label.
class PasswordAnswers {
public:
    explicit PasswordAnswers(std::deque<std::optional<std::string>> answers) : answers_(std::move(answers)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { answer(); });
        timer_.start(0);
    }
    std::vector<std::string> shown;

private:
    void answer() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != "frmDbPassword" || answers_.empty()) return;
        shown.push_back(dialog->windowTitle().toStdString() + " / " +
                        dialog->findChild<QLabel*>("lblPassword")->text().toStdString());
        auto* text = dialog->findChild<QLineEdit*>("txtPassword");
        EXPECT_EQ(text->echoMode(), QLineEdit::Password);
        const auto next = answers_.front();
        answers_.pop_front();
        if (next) text->setText(QString::fromStdString(*next));
        dialog->findChild<QPushButton*>(next ? "cmdOK" : "cmdCancel")->click();
    }
    std::deque<std::optional<std::string>> answers_;
    QTimer timer_;
};

// A database the engine refuses with 3031 asks for its password: a wrong
// one says so and asks again, Cancel leaves no database open.
TEST_F(CorpusWindowTest, ProtectedDatabasesAskForTheirPassword) {
    const std::string made = programFolder.file("made.mdb");
    {
        auto db = jet::DBEngine().CreateDatabase(made, std::string(jet::dbLangGeneral) + ";PWD=Made1", jet::dbVersion40);
        testsupport::appendTable(*db, {"Kept", {{"ID", jet::dbLong}}});
    }
    std::vector<testsupport::EncryptedFile> files{{"", "Made1", "Kept", 0}};
    if (std::filesystem::is_directory(testsupport::encryptedCorpusDir()))
        for (const auto& file : testsupport::encryptedCorpus())
            if (*file.password) files.push_back(file);
    for (const auto& file : files) {
        const std::string path = *file.name ? (testsupport::encryptedCorpusDir() / file.name).string() : made;
        SCOPED_TRACE(path);
        ui->shown.clear();
        {
            PasswordAnswers answers({"wrong", std::string(file.password)});
            open(path);
            EXPECT_EQ(answers.shown, (std::vector<std::string>(2, "Password Required / Enter database password:")));
        }
        EXPECT_EQ(boxes(), (testsupport::Boxes{{"Not a valid password.", vb::vbExclamation, "Strux32"}}));
        EXPECT_EQ(bDbOpen, -1);
        EXPECT_EQ(items(list("lstTables")).at(0), std::string("Tbl: ") + file.table);

        ui->shown.clear();
        {
            PasswordAnswers answers({std::nullopt});
            open(path);
            EXPECT_EQ(answers.shown.size(), 1u);
        }
        EXPECT_TRUE(ui->messageBoxes().empty());
        EXPECT_EQ(bDbOpen, 0);
        EXPECT_TRUE(items(list("lstTables")).empty());
        EXPECT_FALSE(control<QPushButton>("cmdPrint")->isEnabled());
        EXPECT_FALSE(EndRequested());
    }
}

}  // namespace

// The file the desktop passes ("Strux32 FILE") opens once the start-up has
// run; a file the engine refuses is reported and the program goes on.
class StartFileTest : public MainWindowFixture {
protected:
    void SetUp() override {
        splashPause = [](int) {};
        prepare(viewer::jetEngine());
    }
};

TEST_F(StartFileTest, TheDatabaseGivenOnTheCommandLineOpensAfterStartUp) {
    const std::string sample = std::string(STRUX_BINARY_DIR) + "/bin/OrderEntry.mdb";
    window->OpenAtStart(sample);
    window->Form_Load();
    EXPECT_EQ(bDbOpen, 0);  // not before the deferred start-up
    window->picFirst_GotFocus();
    ASSERT_TRUE(ui->messageBoxes().empty()) << ui->messageBoxes()[0].prompt;
    EXPECT_EQ(bDbOpen, -1);
    EXPECT_EQ(sDbPath, sample);
    EXPECT_FALSE(items(list("lstTables")).empty());
    EXPECT_TRUE(control<QPushButton>("cmdPrint")->isEnabled());
    EXPECT_FALSE(window->wakeUpTimerEnabled());
}

TEST_F(StartFileTest, ARefusedFileIsReportedAndTheProgramGoesOn) {
    const std::string notADatabase = programFolder.file("notes.mdb");
    testsupport::writeFile(notADatabase, "plain text, not a database");
    window->OpenAtStart(notADatabase);
    startUp();
    ASSERT_EQ(ui->messageBoxes().size(), 1u);
    EXPECT_EQ(bDbOpen, 0);
    EXPECT_TRUE(items(list("lstTables")).empty());
    EXPECT_FALSE(EndRequested());
}
