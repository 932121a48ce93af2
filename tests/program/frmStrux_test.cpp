// The main window driven through its handlers, on databases built in memory,
// with scripted message boxes and file dialogs.
#include "frmStrux.h"

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <map>

#include "STXGLOB.h"
#include "jet/types.h"
#include "main_window_fixture.h"
#include "settings_support.h"
#include "support/files.h"
#include "vb/app.h"
#include "vb/instance_lock.h"
#include "vb/scripted_ui.h"
#include "vb/vb_error.h"
#include "viewer/frmHelp.h"
#include "viewer/main_window_texts.h"

using namespace programtest;
using testsupport::Boxes;

namespace {

// The next widget that the Tab key reaches (the lists' own parts are skipped).
QWidget* nextTabStop(QWidget* widget) {
    QWidget* next = widget->nextInFocusChain();
    while (next != widget && !(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
    return next;
}

// On databases built in memory.
class MainWindowTest : public MainWindowFixture {
protected:
    void SetUp() override {
        splashPause = [this](int seconds) { splashSeconds.push_back(seconds); };
        engine.databases["/data/nwind.mdb"] = northwind;
        prepare(engine);
    }

    void openNorthwind() { open("/data/nwind.mdb"); }
    void moveMouseOver(QWidget* widget) {
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }

    MemoryEngine engine;
    std::shared_ptr<MemoryDatabase> northwind = sampleDatabase();
    std::vector<int> splashSeconds;
};

TEST_F(MainWindowTest, FixedPitchDetailsAndTheFocusChain) {
    // The face the font system actually gives must be fixed-pitch, or the
    // detail columns would not line up.
    EXPECT_TRUE(QFontInfo(list("lstProperties")->font()).fixedPitch()) << QFontInfo(list("lstProperties")->font()).family().toStdString();
    EXPECT_FALSE(control<QPushButton>("cmdPrint")->isEnabled());
    // picFirst heads the focus chain, then the three lists in their order.
    QWidget* picFirst = control<QWidget>("picFirst");
    EXPECT_EQ(nextTabStop(picFirst), list("lstTables"));
    EXPECT_EQ(nextTabStop(list("lstTables")), list("lstIndexes"));
    EXPECT_EQ(nextTabStop(list("lstIndexes")), list("lstFields"));
}

TEST_F(MainWindowTest, SecondCopyIsToldAndEnds) {
    vb::InstanceLock firstCopy(lockName());
    ASSERT_TRUE(firstCopy.held());
    window->Form_Load();
    EXPECT_EQ(boxes(), (Boxes{{"Strux32 is already running!", 16, "Strux32"}}));
    EXPECT_TRUE(EndRequested());
    EXPECT_FALSE(window->wakeUpTimerEnabled());
}

TEST_F(MainWindowTest, WithoutTheSettingsDatabaseDefaultsIsBlankAndDisabled) {
    startUp();
    EXPECT_EQ(splashSeconds, std::vector<int>{7});
    EXPECT_TRUE(engine.opens.at(0).exclusive);
    EXPECT_EQ(sTabSetting + sPrintSetting, "!!");
    for (const char* button : {"cmdDefaults", "cmdSetPrinter"}) {
        EXPECT_EQ(control<QPushButton>(button)->text(), "") << button;
        EXPECT_FALSE(control<QPushButton>(button)->isEnabled()) << button;
    }
    EXPECT_TRUE(ui->messageBoxes().empty());
    // The deferred start-up runs once only.
    window->picFirst_GotFocus();
    EXPECT_EQ(splashSeconds.size(), 1u);
}

TEST_F(MainWindowTest, SettingsDatabaseGivesTheStartUpChoiceOrQuestionMarks) {
    const std::string path = programFolder.file("STX32.MDB");
    settingstest::makeSettingsDatabase(path);
    const auto startWith = [&](const std::optional<std::pair<jet::Value, jet::Value>>& choice) {
        if (dbSettings) dbSettings->Close();
        auto db = viewer::jetEngine().OpenDatabase(path, true, false);
        settingstest::setStartUpChoice(*db, choice);
        db->Close();
        resetGlobals();
        window = std::make_unique<frmStrux>();
        startUp();
    };
    startWith(std::nullopt);
    EXPECT_EQ(sTabSetting + sPrintSetting, "??");
    EXPECT_EQ(control<QPushButton>("cmdDefaults")->text(), "&Defaults");

    startWith(std::pair{jet::Value(std::string("HPLJ4 - Times NR")), jet::Value(std::string("AutoPrint"))});
    EXPECT_EQ(sTabSetting, "HPLJ4 - Times NR");
    EXPECT_EQ(sPrintSetting, "AutoPrint");

    // A start-up row without names cannot be used: the settings count as unread.
    startWith(std::pair{jet::Value(jet::Null{}), jet::Value(std::string("AutoPrint"))});
    EXPECT_EQ(sTabSetting + sPrintSetting, "!!");
    EXPECT_FALSE(control<QPushButton>("cmdDefaults")->isEnabled());
    if (dbSettings) dbSettings->Close();
}

TEST_F(MainWindowTest, WakeUpHintEveryTwoTicksUntilADatabaseIsOpened) {
    window->Form_Load();
    EXPECT_TRUE(window->windowTitle().endsWith(" [Version 3.2.0]"));
    EXPECT_EQ(sFieldType[10], "Text");
    window->tmrWakeUp_Timer();
    EXPECT_TRUE(ui->messageBoxes().empty());
    sMessage = "an earlier message";
    window->tmrWakeUp_Timer();
    ASSERT_EQ(ui->messageBoxes().size(), 1u);
    EXPECT_EQ(ui->messageBoxes()[0].prompt,
              "Double-click the Copyright label for\r\nour address and phone number.\r\n\r\n"
              "You need to open a database to use the\r\nprogram. Click on 'Open Database'");
    window->tmrWakeUp_Timer();
    window->tmrWakeUp_Timer();
    EXPECT_EQ(ui->messageBoxes().size(), 2u);

    openNorthwind();
    EXPECT_FALSE(window->wakeUpTimerEnabled());
}

TEST_F(MainWindowTest, HelpStopsTheWakeUpHintAndKeepsOneWindow) {
    window->Form_Load();
    window->cmdHelp_Click();
    EXPECT_FALSE(window->wakeUpTimerEnabled());
    frmHelp* first = window->helpWindow();
    ASSERT_NE(first, nullptr);
    first->cmdClose_Click();
    EXPECT_FALSE(first->isVisible());
    window->cmdHelp_Click();
    EXPECT_EQ(window->helpWindow(), first);
    EXPECT_TRUE(first->isVisible());
    first->cmdClose_Click();
}

TEST_F(MainWindowTest, OpeningListsTheObjectsAndShowsTheFirstTable) {
    startUp();
    openNorthwind();
    ASSERT_EQ(ui->fileDialogs.size(), 1u);
    EXPECT_NE(ui->fileDialogs[0].filter.find("Databases (*.mdb)"), std::string::npos);
    EXPECT_EQ(engine.opens.back().name, "/data/nwind.mdb");
    EXPECT_FALSE(engine.opens.back().exclusive);
    EXPECT_EQ(items(list("lstTables")),
              (Lines{"Tbl: Customers", "Tbl: Order Details", "Qdf: Customer List", "Rel: CustomersOrder Details"}));
    EXPECT_EQ(items(list("lstFields")), (Lines{"CustomerID", "CompanyName", "Notes"}));
    EXPECT_EQ(items(list("lstIndexes")), (Lines{"PrimaryKey", "CompanyName"}));
    EXPECT_EQ(control<QLabel>("lblTitle")->text(), "/data/nwind.mdb");
    EXPECT_TRUE(control<QPushButton>("cmdPrint")->isEnabled());
}

TEST_F(MainWindowTest, QueryAndRelationLayouts) {
    startUp();
    openNorthwind();
    select("lstTables", "Qdf: Customer List");
    EXPECT_FALSE(list("lstIndexes")->isVisibleTo(window.get()));
    EXPECT_FALSE(control<QLabel>("lblCopyright")->isVisibleTo(window.get()));
    EXPECT_FALSE(list("lstFields")->isEnabled());
    EXPECT_EQ(list("lstProperties")->width(), 9195 / 15);
    EXPECT_EQ(items(list("lstFields")), (Lines{"CustomerID", "CompanyName"}));
    EXPECT_EQ(items(list("lstProperties")).size(), 11u);

    // A double click shows the whole line while a query is shown.
    list("lstProperties")->setCurrentRow(0);
    window->lstProperties_DblClick();
    EXPECT_EQ(boxes(), (Boxes{{"SELECT Customers.CustomerID, Customers.CompanyName", 64, "Strux32"}}));

    // Straight from a query to a table: the table's layout comes back.
    select("lstTables", "Tbl: Customers");
    EXPECT_TRUE(list("lstIndexes")->isVisibleTo(window.get()));
    EXPECT_TRUE(control<QLabel>("lblCopyright")->isVisibleTo(window.get()));
    EXPECT_TRUE(list("lstFields")->isEnabled());

    select("lstTables", "Rel: CustomersOrder Details");
    EXPECT_FALSE(list("lstIndexes")->isVisibleTo(window.get()));
    EXPECT_TRUE(control<QLabel>("lblCopyright")->isVisibleTo(window.get()));
    EXPECT_EQ(list("lstProperties")->width(), 5445 / 15);
    EXPECT_EQ(items(list("lstFields")), (Lines{"Name   : CustomerID", "Foreign: OrderID"}));
    EXPECT_EQ(items(list("lstProperties")).front(), "Name:            CustomersOrder Details");

    select("lstTables", "Tbl: Order Details");
    EXPECT_TRUE(list("lstIndexes")->isVisibleTo(window.get()));
    // With a table shown a double click does nothing.
    list("lstFields")->setCurrentRow(0);
    list("lstProperties")->setCurrentRow(0);
    window->lstProperties_DblClick();
    EXPECT_EQ(ui->messageBoxes().size(), 1u);
}

TEST_F(MainWindowTest, FieldAndIndexDetailsExcludeEachOther) {
    startUp();
    openNorthwind();
    select("lstTables", "Tbl: Order Details");
    select("lstFields", "DetailID");
    EXPECT_EQ(items(list("lstProperties")).size(), 8u);
    EXPECT_EQ(items(list("lstProperties"))[1], "Field Type:       Long");
    EXPECT_EQ(sErrArea, "[F001][Code run]");

    select("lstIndexes", "PrimaryKey");
    EXPECT_EQ(list("lstFields")->currentRow(), -1);
    EXPECT_EQ(items(list("lstProperties"))[4], "     Sort order:  Descending");

    select("lstFields", "OrderID");
    EXPECT_EQ(list("lstIndexes")->currentRow(), -1);
    EXPECT_EQ(items(list("lstProperties")).front(), "Field Name:       OrderID");
    EXPECT_EQ(items(list("lstProperties")).size(), 7u);
}

TEST_F(MainWindowTest, CancelledOpenKeepsTheDatabaseAndTheNextDialogStartsInItsFolder) {
    startUp();
    TempFolder data;
    const std::string path = data.file("nwind.mdb");
    engine.databases[path] = northwind;
    open(path);
    const Lines listed = items(list("lstTables"));
    ui->fileDialogAnswers.push_back(std::nullopt);
    window->cmdOpen_Click();
    EXPECT_EQ(northwind->closeCount, 0);
    EXPECT_EQ(items(list("lstTables")), listed);
    select("lstTables", "Tbl: Order Details");
    EXPECT_EQ(list("lstFields")->count(), 3);

    ASSERT_EQ(ui->fileDialogs.size(), 2u);
    const vb::FileDialogRequest& again = ui->fileDialogs[1];
    EXPECT_EQ(again.initialDir, data.path().string());
    EXPECT_NE(again.filter.find("Access databases (*.mdb *.accdb)"), std::string::npos) << again.filter;
    // The program's own settings database is not offered.
    ASSERT_FALSE(again.hiddenFiles.empty());
    EXPECT_EQ(again.hiddenFiles.front(), SettingsDatabasePath());
}

// The design size is the smallest; the lists take what the window grows by.
// (That it comes back at the size and place it was left at: the window
// manager tests.)
TEST_F(MainWindowTest, TheWindowGrowsItsLists) {
    startUp();
    openNorthwind();
    const QSize design(632, 453);
    EXPECT_EQ(window->minimumSize(), design);
    EXPECT_EQ(window->size(), design);
    window->show();
    struct Grown {
        const char* name;
        bool wider, taller;
    };
    const Grown grown[] = {{"lstTables", true, true}, {"lstFields", true, true}, {"lstIndexes", true, true},
                           {"lstProperties", true, true}, {"lblMiniHelp", true, false}, {"lblTitle", true, false}};
    std::map<std::string, QRect> before;
    for (const auto& g : grown) before[g.name] = control<QWidget>(g.name)->geometry();
    window->resize(760, 560);
    for (const auto& g : grown) {
        const QRect now = control<QWidget>(g.name)->geometry();
        EXPECT_EQ(now.width() > before[g.name].width(), g.wider) << g.name;
        EXPECT_EQ(now.height() > before[g.name].height(), g.taller) << g.name;
        EXPECT_TRUE(window->rect().contains(now)) << g.name;
    }
    // Nothing overlaps what lies beside or below it.
    EXPECT_LE(list("lstTables")->geometry().right(), list("lstFields")->geometry().left());
    EXPECT_LE(list("lstFields")->geometry().right(), list("lstIndexes")->geometry().left());
    EXPECT_LE(list("lstProperties")->geometry().right(), control<QWidget>("lblCopyright")->geometry().left());
    EXPECT_LE(list("lstProperties")->geometry().bottom(), control<QWidget>("lblMiniHelp")->geometry().top());
    EXPECT_LE(control<QWidget>("lblMiniHelp")->geometry().bottom(), control<QWidget>("picBottom")->geometry().top());
    EXPECT_GE(control<QWidget>("picBottom")->geometry().top(), window->height() - 40);  // the buttons stay at the foot
}

// A refused file: the corpus window tests. A table gone from the catalog
// after it was listed is reported when chosen, and the others still show.
TEST_F(MainWindowTest, AnObjectThatCannotBeReadIsReportedAndTheRestStaysUsable) {
    startUp();
    openNorthwind();
    northwind->tables.removeAt(2);
    select("lstTables", "Tbl: Order Details");
    ASSERT_EQ(ui->messageBoxes().size(), 1u);
    EXPECT_NE(ui->messageBoxes()[0].prompt.find("An error Code 03265"), std::string::npos);
    EXPECT_EQ(list("lstFields")->count(), 0);
    select("lstTables", "Tbl: Customers");
    EXPECT_EQ(list("lstFields")->count(), 3);
    EXPECT_FALSE(EndRequested());
}

// A table the engine could not read is listed all the same, marked, and
// says why when chosen; a linked table says what it links to.
TEST_F(MainWindowTest, DamagedAndLinkedTablesSayWhatTheyAre) {
    const std::string damage = "page 7 (table definition) offset 0: not a table definition page (type 1)";
    auto broken = makeTable("Broken");
    broken->SetDamage(damage);
    northwind->tables.add(std::move(broken));
    auto linked = makeTable("Attached", jet::dbAttachedTable);
    linked->SetConnect(";DATABASE=/data/other.mdb");
    linked->SetSourceTableName("Suppliers");
    northwind->tables.add(std::move(linked));
    startUp();
    openNorthwind();
    EXPECT_TRUE(ui->messageBoxes().empty());
    auto* lstTables = list("lstTables");
    QCoreApplication::processEvents();  // damage is marked once the list is shown
    for (const auto& [entry, marked] : std::vector<std::pair<std::string, bool>>{
             {"Tbl: Broken", true}, {"Tbl: Attached", false}, {"Tbl: Customers", false}}) {
        const auto found = lstTables->findItems(QString::fromStdString(entry), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << entry;
        EXPECT_EQ(found.front()->toolTip().contains("page 7"), marked) << entry;
    }
    select("lstTables", "Tbl: Broken");
    EXPECT_EQ(items(list("lstProperties")), (Lines{"Damaged:         " + damage}));
    EXPECT_EQ(list("lstFields")->count(), 0);
    select("lstTables", "Tbl: Attached");
    EXPECT_EQ(items(list("lstProperties")),
              (Lines{"Linked to:       ;DATABASE=/data/other.mdb", "Source table:    Suppliers",
                     "Source:          not found (/data/other.mdb)"}));
    select("lstTables", "Tbl: Customers");
    EXPECT_TRUE(items(list("lstProperties")).empty());
}

// What the open found of an interrupted write is told before the listing.
TEST_F(MainWindowTest, InterruptedWriteIsToldAndTheDatabaseOpens) {
    startUp();
    northwind->journalNotice = "A write to this database was cut short; it was undone.";
    openNorthwind();
    EXPECT_EQ(boxes(), (Boxes{{northwind->journalNotice, 48, "Strux32"}}));
    EXPECT_EQ(bDbOpen, -1);
    EXPECT_GT(list("lstTables")->count(), 0);
}

// A linked table lists the fields and indexes of its source table, found by
// its file name beside the front end when the link's Windows path is not here.
TEST_F(MainWindowTest, LinkedTablesListTheirSourceTable) {
    const std::string front = programFolder.file("front.mdb"), back = programFolder.file("back.mdb");
    testsupport::writeFile(back, "");
    auto source = std::make_shared<MemoryDatabase>();
    auto suppliers = makeTable("Suppliers");
    suppliers->Fields().add(makeField("SupplierID", jet::dbLong, 4, jet::dbAutoIncrField));
    suppliers->Indexes().add(makeIndex("PrimaryKey", {{"SupplierID", 0}}, true, true));
    source->tables.add(std::move(suppliers));
    engine.databases[back] = source;
    auto frontEnd = std::make_shared<MemoryDatabase>();
    for (const auto& [name, connect] : std::vector<std::pair<std::string, std::string>>{
             {"Attached", R"(;DATABASE=C:\Data\BACK.MDB)"},
             {"Gone", R"(MS Access;DATABASE=\\server\share\gone.mdb)"},
             {"Sheet", R"(Excel 8.0;DATABASE=C:\Data\back.mdb)"}}) {
        auto linked = makeTable(name, jet::dbAttachedTable);
        linked->SetConnect(connect);
        linked->SetSourceTableName("Suppliers");
        frontEnd->tables.add(std::move(linked));
    }
    engine.databases[front] = frontEnd;
    startUp();
    open(front);

    select("lstTables", "Tbl: Attached");
    EXPECT_EQ(items(list("lstFields")), (Lines{"SupplierID"}));
    EXPECT_EQ(items(list("lstIndexes")), (Lines{"PrimaryKey"}));
    EXPECT_EQ(items(list("lstProperties")).size(), 2u);
    list("lstFields")->setCurrentRow(0);
    EXPECT_EQ(items(list("lstProperties"))[1], "Field Type:       Long");
    EXPECT_TRUE(engine.opens.back().readOnly);

    select("lstTables", "Tbl: Gone");
    EXPECT_EQ(list("lstFields")->count(), 0);
    EXPECT_EQ(items(list("lstProperties")).back(), R"(Source:          not found (\\server\share\gone.mdb))");
    select("lstTables", "Tbl: Sheet");
    EXPECT_EQ(list("lstFields")->count(), 0);
    EXPECT_EQ(items(list("lstProperties")).size(), 2u);
}

TEST_F(MainWindowTest, ADatabaseWithoutObjectsSaysSoAndOneWithOnlyAQueryShowsIt) {
    startUp();
    engine.databases["/data/empty.mdb"] = std::make_shared<MemoryDatabase>();
    open("/data/empty.mdb");
    EXPECT_EQ(boxes(), (Boxes{{"This database has no tables in it. Please try another!", 64, "Strux32"}}));
    EXPECT_EQ(list("lstTables")->count(), 0);
    EXPECT_EQ(bDbOpen, -1);

    // Only a query beside the system tables: the query is shown first.
    auto db = std::make_shared<MemoryDatabase>();
    db->tables.add(makeTable("MSysACEs", jet::dbSystemObject));
    db->queries.add(makeQuery("Only", "SELECT 1;"));
    engine.databases["/data/q.mdb"] = db;
    open("/data/q.mdb");
    EXPECT_EQ(items(list("lstTables")), Lines{"Qdf: Only"});
    EXPECT_FALSE(list("lstIndexes")->isVisibleTo(window.get()));
    EXPECT_EQ(items(list("lstProperties")).front(), "SELECT 1;");
}

TEST_F(MainWindowTest, HintBar) {
    startUp();
    const std::pair<QWidget*, const char*> hints[] = {
        {control<QPushButton>("cmdOpen"), " Opens an Access (*.MDB) type database!"},
        {control<QPushButton>("cmdFinished"), " Exit the program!"},
        {list("lstTables")->viewport(), " A list of visible tables in the database"},
        {list("lstProperties")->viewport(), " Field, Index or Relation properties according to selection"},
        {control<QLabel>("Image1"), " Double click for details of the database creation parameters and attributes"},
        {window.get(), ""}};
    QLabel* bar = control<QLabel>("lblMiniHelp");
    for (const auto& [widget, text] : hints) {
        moveMouseOver(widget);
        EXPECT_EQ(hint(), text);
        // Even the longest hint fits the bar's design width.
        EXPECT_LE(QFontMetrics(bar->font()).horizontalAdvance(bar->text()), bar->contentsRect().width());
    }
    openNorthwind();
    select("lstTables", "Qdf: Customer List");
    moveMouseOver(list("lstProperties")->viewport());
    EXPECT_EQ(hint(), " Double_Click a line to see the full length if not all visible.");
}

TEST_F(MainWindowTest, ExitAskedNoKeepsEverythingYesClosesTheDatabase) {
    startUp();
    openNorthwind();
    ui->msgBoxAnswers.push_back(vb::vbNo);
    window->cmdFinished_Click();
    EXPECT_EQ(boxes(), (Boxes{{"Are you sure you want to exit Strux32?", 36, "Exit requested"}}));
    EXPECT_FALSE(EndRequested());
    EXPECT_EQ(northwind->closeCount, 0);

    ui->msgBoxAnswers.push_back(vb::vbYes);
    window->cmdFinished_Click();
    EXPECT_TRUE(EndRequested());
    EXPECT_EQ(northwind->closeCount, 1);
    EXPECT_EQ(oRegistry, nullptr);
}

TEST_F(MainWindowTest, UnwritableRegistryOnTheFirstRunEndsTheStartUp) {
    const std::string machineHive = registryFolder.file("system.reg");
    std::ofstream(machineHive) << "REGEDIT4\n";
    ASSERT_EQ(::chmod(machineHive.c_str(), 0444), 0);
    startUp();
    ASSERT_EQ(ui->messageBoxes().size(), 1u);
    EXPECT_EQ(ui->messageBoxes()[0].prompt,
              "FATAL ERROR! Program cannot start. Please contact Corvane and quote FID=998, SR=PALD1, MRK=True");
    EXPECT_TRUE(EndRequested());
    EXPECT_FALSE(window->wakeUpTimerEnabled());
}

TEST_F(MainWindowTest, IconOpensThePropertiesOfTheOpenDatabase) {
    startUp();
    openNorthwind();
    northwind->collatingOrder = 1043;
    std::string shown;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        shown = dialog->findChild<QLabel*>("lblDBProps")->text().toStdString();
        dialog->close();
    });
    window->Image1_DblClick();
    EXPECT_NE(shown.find("   Collating Order: 1043 - dbSortDutch\n" + std::string(20, ' ') + "Dutch"),
              std::string::npos)
        << shown;
}

TEST_F(MainWindowTest, ErrorDuringTheDeferredStartUpGoesToTheCommonHandlerAndEnds) {
    splashPause = [](int) { throw vb::RuntimeError(vb::vbErrOverflow, "Overflow"); };
    startUp();
    ASSERT_EQ(ui->messageBoxes().size(), 1u);
    const auto box = ui->messageBoxes()[0];
    EXPECT_EQ(box.prompt.rfind("An error Code 00006 has occurred in Section 2 of the program. [F001][Code run].", 0), 0u)
        << box.prompt;
    EXPECT_TRUE(EndRequested());
    EXPECT_EQ(oRegistry, nullptr);
}

TEST_F(MainWindowTest, ContactBoxComesFromTheCopyrightLabel) {
    window->lblCopyright_DblClick();
    EXPECT_EQ(boxes(), (Boxes{{viewer::contactInfoMessage(), 64, "Corvane"}}));
}

}  // namespace
