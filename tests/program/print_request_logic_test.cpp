// The request's plain logic: mode codes and the setting look-ups.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "settings_support.h"
#include "printing/print_request.h"

using namespace printing;

TEST(PrintRequestLogic, AutomaticSelectionAboveFourIsProjectCodeWithoutTheForm) {
    for (const auto& [selection, mode, noForm] :
         {std::tuple{"5", "4", true}, std::tuple{"4", "4", false}, std::tuple{"1", "1", false}}) {
        EXPECT_EQ(automaticMode(selection).mode, mode) << selection;
        EXPECT_EQ(automaticMode(selection).noFormFile, noForm) << selection;
    }
    // An unexpected code is passed on as it is; the dispatcher ignores it.
    EXPECT_EQ(automaticMode("").mode, "");
    EXPECT_EQ(actionForMode(automaticMode("").mode), PrintAction::None);
}

class StoredSettingRows : public ::testing::Test {
protected:
    void SetUp() override {
        settingstest::makeSettingsDatabase(path);
        db = viewer::jetEngine().OpenDatabase(path, true, false);
    }
    void TearDown() override { db->Close(); }
    programtest::TempFolder folder;
    std::string path = folder.file("STX32.MDB");
    std::shared_ptr<viewer::DatabaseHandle> db;
};

TEST_F(StoredSettingRows, SeekFindsTheSettingAndReadsItsRow) {
    settingstest::addPrintSetting(*db, {.name = "Struct", .autoPrint = true, .selection = "5", .printMode = 2,
                                        .structMode = 2, .tables = false, .indexes = false, .fields = true,
                                        .queries = true, .relations = false, .page = true, .details = true});
    auto rs = db->OpenRecordset("PrintInit", jet::dbOpenTable);
    ASSERT_TRUE(seekSetting(*rs, "Struct"));
    EXPECT_EQ(rs->Index(), "PrimaryKey");
    const PrintInitRecord record = readPrintInit(*rs);
    EXPECT_EQ(record.selection, "5");
    EXPECT_EQ(record.printMode * 10 + record.structMode, 22);
    // Each Yes/No column read into its own flag.
    EXPECT_EQ((std::vector<bool>{record.autoPrint, record.tables, record.indexes, record.fields, record.queries,
                                 record.relations, record.page, record.details}),
              (std::vector<bool>{true, false, false, true, true, false, true, true}));

    const ReportSelection automatic = automaticSelection(record);
    EXPECT_TRUE(automatic.allTables);  // an automatic setting prints every table
    EXPECT_TRUE(automatic.pagePerItem);
    EXPECT_TRUE(automatic.details);

    EXPECT_FALSE(seekSetting(*rs, "Missing"));
}

TEST_F(StoredSettingRows, StoredTabSettingGivesPrinterFontAndTwentyColumns) {
    settingstest::addTabSetting(*db, "Wide", "Office", "Courier New", 12);
    auto rs = db->OpenRecordset("StoredSettings", jet::dbOpenTable);
    ASSERT_TRUE(seekSetting(*rs, "Wide"));
    const StoredTabSetting stored = readStoredTabSetting(*rs);
    EXPECT_EQ(stored.printerName.value_or(""), "Office");
    EXPECT_EQ(stored.setting.fontName, "Courier New");
    EXPECT_EQ(stored.setting.tabs[0], 12);
    EXPECT_EQ(stored.setting.tabs[1], 9);
    EXPECT_EQ(stored.setting.tabs[19], 81);
}
