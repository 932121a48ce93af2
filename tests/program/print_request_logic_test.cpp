// The request's plain logic: mode codes and the setting look-ups.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "print_request_support.h"
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

TEST(PrintRequestLogic, SeekFindsTheSettingAndReadsItsRow) {
    printtest::SettingsDatabase settings;
    settings.addPrintSetting("Default", false, "1", 0, 0);
    settings.addPrintSetting("Struct", true, "5", 2, 2, false, false, true, true, false, true, true);
    auto rs = settings.OpenRecordset("PrintInit", 1);
    ASSERT_TRUE(seekSetting(*rs, "Struct"));
    EXPECT_EQ(rs->Index(), "PrimaryKey");
    const PrintInitRecord record = readPrintInit(*rs);
    EXPECT_EQ(record.selection, "5");
    EXPECT_EQ(record.printMode * 10 + record.structMode, 22);
    // Each Yes/No column read into its own flag, in the stored order.
    EXPECT_EQ((std::vector<bool>{record.autoPrint, record.tables, record.indexes, record.fields, record.queries,
                                 record.relations, record.page, record.details}),
              (std::vector<bool>{true, false, false, true, true, false, true, true}));

    const ReportSelection automatic = automaticSelection(record);
    EXPECT_TRUE(automatic.allTables);  // an automatic setting prints every table
    EXPECT_TRUE(automatic.pagePerItem);
    EXPECT_TRUE(automatic.details);

    EXPECT_FALSE(seekSetting(*rs, "Missing"));
}

TEST(PrintRequestLogic, StoredTabSettingGivesPrinterFontAndTwentyColumns) {
    printtest::SettingsDatabase settings;
    settings.addTabSetting("Wide", "Office", "Courier New", 12);
    auto rs = settings.OpenRecordset("StoredSettings", 1);
    ASSERT_TRUE(seekSetting(*rs, "Wide"));
    const StoredTabSetting stored = readStoredTabSetting(*rs);
    EXPECT_EQ(stored.printerName.value_or(""), "Office");
    EXPECT_EQ(stored.setting.fontName, "Courier New");
    EXPECT_EQ(stored.setting.tabs[0], 12);
    EXPECT_EQ(stored.setting.tabs[1], 9);
    EXPECT_EQ(stored.setting.tabs[19], 81);
}
