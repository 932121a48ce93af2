// The selection dialog's rules, driven through its controls.
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

#include "STXGLOB.h"
#include "main_window_fixture.h"
#include "print_request_support.h"
#include "settings_support.h"
#include "printing/frmPrinting.h"
#include "printing/frmSelect.h"
#include "printing/print_request.h"

using namespace printtest;

namespace {

using programtest::items;

const std::vector<std::string> kMainList{"Tbl: Customers", "Tbl: Order Details", "Qdf: Customer List",
                                         "Rel: CustomersOrder Details", "Tbl: Tbl: odd name"};

class SelectTest : public ::testing::Test {
protected:
    void SetUp() override {
        bUsePrintInit = 0;
        rsPrintInit.reset();
    }
    void TearDown() override {
        bUsePrintInit = 0;
        rsPrintInit.reset();
        if (settings) settings->Close();
    }
    // rsPrintInit on a stored selection, as the print request leaves it.
    void storedSelection(bool tables, bool indexes, bool fields, bool queries, bool page) {
        settingstest::makeSettingsDatabase(folder.file("STX32.MDB"));
        settings = viewer::jetEngine().OpenDatabase(folder.file("STX32.MDB"), true, false);
        settingstest::addPrintSetting(*settings, {.name = "Mine", .tables = tables, .indexes = indexes,
                                                  .fields = fields, .queries = queries, .page = page, .details = true});
        rsPrintInit = settings->OpenRecordset("PrintInit", jet::dbOpenTable);
        ASSERT_TRUE(printing::seekSetting(*rsPrintInit, "Mine"));
        bUsePrintInit = -1;
    }
    programtest::TempFolder folder;
    std::shared_ptr<viewer::DatabaseHandle> settings;
    frmSelect select{nullptr};
};

TEST_F(SelectTest, ListsOnlyTheTablesWithoutTheirPrefix) {
    select.Form_Load(kMainList);
    EXPECT_EQ(select.windowTitle(), "Print Selection");
    EXPECT_EQ(items(select.lstTables), (std::vector<std::string>{"Customers", "Order Details", "Tbl: odd name"}));
    EXPECT_TRUE(select.lstTables->item(0)->isSelected());
    // The design-time choice: every table, indexes and fields.
    EXPECT_TRUE(select.chkAllTables->isChecked());
    EXPECT_TRUE(select.chkIndexes->isChecked());
    EXPECT_TRUE(select.chkFields->isChecked());
    EXPECT_FALSE(select.chkQueries->isChecked());
    EXPECT_FALSE(select.lstTables->isEnabled());
    const printing::ReportSelection chosen = select.selection();
    EXPECT_TRUE(chosen.allTables);
    EXPECT_EQ(chosen.tables.size(), 3u);
}

TEST_F(SelectTest, FieldsOrIndexesStayChosen) {
    select.Form_Load(kMainList);
    select.chkIndexes->click();
    EXPECT_FALSE(select.chkIndexes->isChecked());
    select.chkFields->click();  // the last of the two cannot go
    EXPECT_TRUE(select.chkFields->isChecked());

    select.chkIndexes->click();
    select.chkFields->click();
    EXPECT_FALSE(select.chkFields->isChecked());
    select.chkIndexes->click();
    EXPECT_TRUE(select.chkIndexes->isChecked());
    EXPECT_FALSE(select.selection().fields);
    EXPECT_TRUE(select.selection().indexes);
}

TEST_F(SelectTest, AllTablesSwitchesToChoosingTablesAndBack) {
    select.Form_Load(kMainList);
    EXPECT_EQ(select.cmdSelect->text(), "&Select Tables");
    select.chkAllTables->click();
    EXPECT_FALSE(select.chkAllTables->isChecked());
    EXPECT_FALSE(select.chkAllTables->isEnabled());
    EXPECT_TRUE(select.lstTables->isEnabled());
    EXPECT_EQ(select.cmdSelect->text(), "&All Tables");

    select.lstTables->item(2)->setSelected(true);
    printing::ReportSelection chosen = select.selection();
    EXPECT_FALSE(chosen.allTables);
    EXPECT_EQ(chosen.tables, (std::vector<std::string>{"Customers", "Tbl: odd name"}));

    select.cmdSelect->click();
    EXPECT_TRUE(select.chkAllTables->isChecked());
    EXPECT_TRUE(select.chkAllTables->isEnabled());
    EXPECT_FALSE(select.lstTables->isEnabled());
    EXPECT_EQ(select.cmdSelect->text(), "&Select Tables");
    EXPECT_EQ(select.selection().tables.size(), 3u);

    // The button alone switches too.
    select.cmdSelect->click();
    EXPECT_FALSE(select.chkAllTables->isChecked());
    EXPECT_EQ(select.cmdSelect->text(), "&All Tables");
}

TEST_F(SelectTest, StoredSelectionIsPreselected) {
    storedSelection(/*tables=*/false, /*indexes=*/false, /*fields=*/false, /*queries=*/true, /*page=*/true);
    select.Form_Load(kMainList);
    // Tables False opens in table-choosing mode.
    EXPECT_FALSE(select.chkAllTables->isChecked());
    EXPECT_FALSE(select.chkAllTables->isEnabled());
    EXPECT_TRUE(select.lstTables->isEnabled());
    EXPECT_EQ(select.cmdSelect->text(), "&All Tables");
    // Neither Fields nor Indexes stored: the rule keeps Fields.
    EXPECT_FALSE(select.chkIndexes->isChecked());
    EXPECT_TRUE(select.chkFields->isChecked());
    EXPECT_TRUE(select.chkQueries->isChecked());
    EXPECT_FALSE(select.chkRelations->isChecked());
    EXPECT_TRUE(select.chkPagePer->isChecked());
    EXPECT_TRUE(select.chkPrintAttr->isChecked());
}

TEST_F(SelectTest, StoredSelectionIsIgnoredWithoutAPrintSetting) {
    storedSelection(false, true, false, true, true);
    bUsePrintInit = 0;
    select.Form_Load(kMainList);
    EXPECT_TRUE(select.chkAllTables->isChecked());
    EXPECT_TRUE(select.chkFields->isChecked());
    EXPECT_FALSE(select.chkQueries->isChecked());
}

TEST_F(SelectTest, CancelAndTheCloseBoxAbandonTheReport) {
    frmPrinting progress;
    frmSelect withProgress(&progress);
    withProgress.Form_Load(kMainList);
    withProgress.show();
    withProgress.cmdCancel->click();
    EXPECT_EQ(withProgress.sResult, "!ABORT!");
    EXPECT_TRUE(progress.unloaded());
    EXPECT_FALSE(withProgress.isVisible());

    select.Form_Load(kMainList);
    select.show();
    select.close();
    EXPECT_EQ(select.sResult, "!ABORT!");
}

}  // namespace
