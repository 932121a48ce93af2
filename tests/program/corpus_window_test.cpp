// The main window on real Access databases of the corpus, through the Jet
// engine. Expected names and values are those of an independent reading of
// the same files.
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

#include "STXGLOB.h"
#include "frmStrux.h"
#include "program_fixture.h"
#include "support/corpus.h"
#include "vb/app.h"
#include "vb/scripted_ui.h"
#include "viewer/engine_iface.h"

using namespace programtest;

namespace {

using Lines = std::vector<std::string>;

Lines items(QListWidget* list) {
    Lines lines;
    for (int i = 0; i < list->count(); ++i) lines.push_back(list->item(i)->text().toStdString());
    return lines;
}

class CorpusWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetGlobals();
        vb::App().setInstanceLockName("strux32-corpus-test-" + std::to_string(::getpid()));
        vb::App().setPathOverride(programFolder.path());
        ::setenv("STRUX32_REGISTRY_PREFIX", registryFolder.path().c_str(), 1);
        dbeEngine = &viewer::jetEngine();
        splashPause = [](int) {};
        window = std::make_unique<frmStrux>();
        window->Form_Load();
        window->picFirst_GotFocus();
    }
    void TearDown() override {
        window.reset();
        resetGlobals();
        dbeEngine = nullptr;
        vb::App().setPathOverride("");
        ::unsetenv("STRUX32_REGISTRY_PREFIX");
    }
    QListWidget* list(const char* name) { return window->findChild<QListWidget*>(name); }
    void open(const std::string& path) {
        ui->fileDialogAnswers.push_back(path);
        window->cmdOpen_Click();
    }
    void select(const char* listName, const std::string& text) {
        auto found = list(listName)->findItems(QString::fromStdString(text), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << text;
        list(listName)->setCurrentItem(found.front());
    }

    TempFolder programFolder;
    TempFolder registryFolder;
    vb::ScopedScriptedUi ui;
    std::unique_ptr<frmStrux> window;
};

TEST_F(CorpusWindowTest, NorthwindListsItsTablesQueriesAndRelations) {
    STRUX_REQUIRE_CORPUS();
    open(testsupport::corpusFile("real/nwind-jet3.mdb").string());
    ASSERT_TRUE(ui->messageBoxes().empty()) << ui->messageBoxes()[0].prompt;
    EXPECT_EQ(items(list("lstTables")),
              (Lines{"Tbl: Categories",
                     "Tbl: Customers",
                     "Tbl: Employees",
                     "Tbl: Order Details",
                     "Tbl: Orders",
                     "Tbl: Products",
                     "Tbl: Shippers",
                     "Tbl: Suppliers",
                     "Qdf: Alphabetical List of Products",
                     "Qdf: Catalog",
                     "Qdf: Category Sales for 1995",
                     "Qdf: Current Product List",
                     "Qdf: Customers and Suppliers by City",
                     "Qdf: Employee Sales by Country",
                     "Qdf: Invoices",
                     "Qdf: Invoices Filter",
                     "Qdf: Order Details Extended",
                     "Qdf: Order Subtotals",
                     "Qdf: Orders Qry",
                     "Qdf: Product Sales for 1995",
                     "Qdf: Products Above Average Price",
                     "Qdf: Products by Category",
                     "Qdf: Quarterly Orders",
                     "Qdf: Quarterly Orders by Product",
                     "Qdf: Sales by Category",
                     "Qdf: Sales by Year",
                     "Qdf: Sales Totals by Amount",
                     "Qdf: Summary of Sales by Quarter",
                     "Qdf: Summary of Sales by Year",
                     "Qdf: Ten Most Expensive Products",
                     "Rel: CategoriesProducts",
                     "Rel: CustomersOrders",
                     "Rel: EmployeesOrders",
                     "Rel: OrdersOrder Details",
                     "Rel: ProductsOrder Details",
                     "Rel: ShippersOrders",
                     "Rel: SuppliersProducts"}));
    EXPECT_EQ(items(list("lstFields")), (Lines{"CategoryID", "CategoryName", "Description", "Picture"}));
    EXPECT_EQ(window->findChild<QLabel*>("lblTitle")->text().toStdString(),
              testsupport::corpusFile("real/nwind-jet3.mdb").string());
}

TEST_F(CorpusWindowTest, NorthwindFieldAndIndexDetails) {
    STRUX_REQUIRE_CORPUS();
    open(testsupport::corpusFile("real/nwind-jet3.mdb").string());

    select("lstFields", "CategoryName");
    EXPECT_EQ(items(list("lstProperties")),
              (Lines{"Field Name:       CategoryName", "Field Type:       Text", "Size:             15",
                     "Required:         True", "AllowZeroLength:  False", "Attribute Value:  2",
                     std::string(18, ' ') + "Variable length"}));
    select("lstFields", "CategoryID");
    EXPECT_EQ(items(list("lstProperties")),
              (Lines{"Field Name:       CategoryID", "Field Type:       Long", "Size:             4",
                     "Required:         False", "AllowZeroLength:  False", "Attribute Value:  17",
                     std::string(18, ' ') + "Fixed length", std::string(18, ' ') + "Auto incrementing"}));

    select("lstTables", "Tbl: Order Details");
    EXPECT_EQ(items(list("lstFields")), (Lines{"OrderID", "ProductID", "UnitPrice", "Quantity", "Discount"}));
    const Lines indexes = items(list("lstIndexes"));
    for (const char* name : {"OrderID", "PrimaryKey", "ProductID"})
        EXPECT_NE(std::find(indexes.begin(), indexes.end(), name), indexes.end()) << name;
    select("lstIndexes", "PrimaryKey");
    EXPECT_EQ(items(list("lstProperties")),
              (Lines{"Index Name:       PrimaryKey", "Field 1           OrderID", "     Sort order:  Ascending",
                     "Field 2           ProductID", "     Sort order:  Ascending", "Unique:           Yes",
                     "Primary:          Yes"}));
    EXPECT_EQ(list("lstFields")->currentRow(), -1);
}

TEST_F(CorpusWindowTest, NorthwindQueryAndRelation) {
    STRUX_REQUIRE_CORPUS();
    open(testsupport::corpusFile("real/nwind-jet3.mdb").string());
    select("lstTables", "Qdf: Current Product List");
    const Lines properties = items(list("lstProperties"));
    ASSERT_EQ(properties.size(), 12u);
    EXPECT_EQ(properties[0], "SELECT [Product List].ProductID, [Product List].ProductName");
    EXPECT_EQ(properties[1], "FROM Products AS [Product List]");
    EXPECT_EQ(properties[2], "WHERE ((([Product List].Discontinued)=No))");
    EXPECT_EQ(properties[3], "ORDER BY [Product List].ProductName;");
    EXPECT_EQ(properties[4], std::string(90, '-'));
    EXPECT_EQ(properties[5], "Type:            0");
    EXPECT_EQ(properties[6].substr(0, 17), "Created:         ");
    EXPECT_GT(properties[6].size(), 17u);
    EXPECT_EQ(properties[9], "Connect:         ");
    EXPECT_EQ(properties[10], "Returns Records: True");
    EXPECT_EQ(items(list("lstFields")), (Lines{"ProductID", "ProductName"}));

    select("lstTables", "Rel: CustomersOrders");
    EXPECT_EQ(items(list("lstFields")), (Lines{"Name   : CustomerID", "Foreign: CustomerID"}));
    EXPECT_EQ(items(list("lstProperties")),
              (Lines{"Name:            CustomersOrders", "Table:           Customers", "Foreign table:   Orders",
                     "Attributes:      256", "Partial replica: False"}));
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
    EXPECT_EQ(bDbOpen, 0);
    EXPECT_EQ(list("lstTables")->count(), 0);

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

}  // namespace
