// The settings rows without the dialog: names that hold quotation marks,
// the output code of a print setting, typed margins, and refusals that
// leave the table as it was.
#include <gtest/gtest.h>

#include "STXGLOB.h"
#include "jet/error.h"
#include "jet/types.h"
#include "settings/settings_store.h"
#include "settings_support.h"

using namespace settingstest;

namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        programtest::resetGlobals();
        makeSettingsDatabase(path);
        dbSettings = viewer::jetEngine().OpenDatabase(path, true, false);
        print = dbSettings->OpenRecordset("PrintInit", jet::dbOpenDynaset);
    }
    void TearDown() override {
        print.reset();
        dbSettings->Close();
        programtest::resetGlobals();
    }

    programtest::TempFolder folder;
    std::string path = folder.file("STX32.MDB");
    std::unique_ptr<jet::Recordset> print;
};

TEST(SettingsCriteria, QuotesInANameStayInsideTheLiteral) {
    EXPECT_EQ(settings::criteriaFor("Setting", "Default"), "[Setting] = 'Default'");
    EXPECT_EQ(settings::criteriaFor("Setting", "Bob's"), "[Setting] = 'Bob''s'");
    EXPECT_EQ(settings::criteriaFor("Setting", "a\"b"), "[Setting] = 'a\"b'");
}

TEST(SettingsSelection, CodeFollowsTargetAndStyle) {
    EXPECT_EQ(settings::selectionFor(0, 0), "1");
    EXPECT_EQ(settings::selectionFor(1, 2), "2");  // the style counts only for code
    EXPECT_EQ(settings::selectionFor(2, 0), "3");
    EXPECT_EQ(settings::selectionFor(2, 1), "4");
    EXPECT_EQ(settings::selectionFor(2, 2), "5");
}

TEST(SettingsMargins, TypedNumbersAreReadAndOthersRefusedByColumn) {
    std::vector<std::string> texts(20, "7");
    texts[0] = " 12 ";
    texts[19] = "-32768";
    const printing::TabColumns tabs = settings::marginsFrom(texts);
    EXPECT_EQ(tabs[0], 12);
    EXPECT_EQ(tabs[19], -32768);
    for (const char* bad : {"", "abc", "32768", "1e3x"}) {
        texts[4] = bad;
        try {
            settings::marginsFrom(texts);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const settings::StoreRefused& e) {
            EXPECT_NE(std::string(e.what()).find("Tab05"), std::string::npos) << e.what();
        }
    }
}

TEST_F(SettingsStoreTest, NamesWithQuotationMarksAreStoredAndFoundAgain) {
    for (const std::string name : {"Bob's layout", "The \"wide\" one", "' OR 'a' = 'a"}) {
        settings::PrintModeSetting setting;
        setting.name = name;
        settings::storePrintModeSetting(*print, setting, true);
        ASSERT_TRUE(settings::findSetting(*print, "Setting", name)) << name;
        EXPECT_EQ(jet::valueToString((*print)["Setting"]), name);
    }
    // A name made to look like criteria finds only itself.
    EXPECT_FALSE(settings::findSetting(*print, "Setting", "x' OR 'a' = 'a"));
    settings::PrintModeSetting blank;
    blank.name = "   ";
    EXPECT_THROW(settings::storePrintModeSetting(*print, blank, true), settings::StoreRefused);
    EXPECT_EQ(rowCount("PrintInit"), 6);
}

TEST_F(SettingsStoreTest, StartUpChoiceEditsTheFirstRowOrAddsOne) {
    auto init = dbSettings->OpenRecordset("STX32Init", jet::dbOpenDynaset);
    settings::storeStartUpChoice(*init, "HPLJ4 - Times NR", "AutoPrint");
    EXPECT_EQ(rowCount("STX32Init"), 1);
    EXPECT_EQ(settingRow("STX32Init", "TabSetting", "HPLJ4 - Times NR").at("PrintSetting"), "AutoPrint");
    init->MoveFirst();
    init->Delete();
    init.reset();
    init = dbSettings->OpenRecordset("STX32Init", jet::dbOpenDynaset);
    settings::storeStartUpChoice(*init, "Default", "Default");
    EXPECT_EQ(rowCount("STX32Init"), 1);
}

// Each Yes/No column alone, and the mode columns, read back as stored; a
// tab setting's printer, font and every tab column likewise.
TEST_F(SettingsStoreTest, EveryColumnOfASettingIsStoredAndReadBack) {
    using Record = printing::PrintInitRecord;
    const std::vector<bool Record::*> flags = {&Record::autoPrint, &Record::tables,    &Record::indexes,
                                               &Record::fields,    &Record::queries,   &Record::relations,
                                               &Record::page,      &Record::details};
    for (std::size_t i = 0; i < flags.size(); ++i) {
        settings::PrintModeSetting setting;
        setting.name = "Only " + std::to_string(i);
        for (auto flag : flags) setting.*flag = flag == flags[i];
        setting.printMode = 2;
        setting.structMode = static_cast<int>(i % 3);
        settings::storePrintModeSetting(*print, setting, true);
        ASSERT_TRUE(settings::findSetting(*print, "Setting", setting.name));
        const auto stored = settings::readPrintModeSetting(*print);
        for (auto flag : flags) EXPECT_EQ(stored.*flag, setting.*flag) << setting.name;
        EXPECT_EQ(stored.printMode, 2);
        EXPECT_EQ(stored.structMode, setting.structMode);
        EXPECT_EQ(stored.selection, settings::selectionFor(2, setting.structMode));
    }
    auto tabs = dbSettings->OpenRecordset("StoredSettings", jet::dbOpenDynaset);
    settings::TabSettingRow row{"Wide", "Laser", "Arial", {}};
    for (int i = 0; i < printing::kTabCount; ++i) row.tabs[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(100 * i - 7);
    settings::storeTabSetting(*tabs, row, true);
    ASSERT_TRUE(settings::findSetting(*tabs, "SettingTitle", "Wide"));
    const auto stored = printing::readStoredTabSetting(*tabs);
    EXPECT_EQ(stored.printerName, "Laser");
    EXPECT_EQ(stored.setting, (printing::TabSetting{"Arial", row.tabs}));
}

}  // namespace
