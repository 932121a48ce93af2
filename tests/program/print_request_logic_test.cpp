// The request's plain logic: mode codes and the setting look-ups.
#include <gtest/gtest.h>

#include "print_request_support.h"
#include "printing/print_request.h"

using namespace printing;

TEST(PrintRequestLogic, AutomaticSelectionAboveFourIsProjectCodeWithoutTheForm) {
    EXPECT_EQ(automaticMode("5").mode, "4");
    EXPECT_TRUE(automaticMode("5").noFormFile);
    EXPECT_EQ(automaticMode("4").mode, "4");
    EXPECT_FALSE(automaticMode("4").noFormFile);
    EXPECT_EQ(automaticMode("1").mode, "1");
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
    EXPECT_TRUE(record.autoPrint);
    EXPECT_EQ(record.selection, "5");
    EXPECT_EQ(record.printMode, 2);
    EXPECT_EQ(record.structMode, 2);
    EXPECT_FALSE(record.tables);
    EXPECT_FALSE(record.indexes);
    EXPECT_TRUE(record.fields);
    EXPECT_TRUE(record.queries);
    EXPECT_FALSE(record.relations);
    EXPECT_TRUE(record.page);
    EXPECT_TRUE(record.details);

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
    ASSERT_TRUE(stored.printerName.has_value());
    EXPECT_EQ(*stored.printerName, "Office");
    EXPECT_EQ(stored.setting.fontName, "Courier New");
    EXPECT_EQ(stored.setting.tabs[0], 12);
    EXPECT_EQ(stored.setting.tabs[1], 9);
    EXPECT_EQ(stored.setting.tabs[19], 81);
}
