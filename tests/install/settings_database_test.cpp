// The settings database STX32.MDB as the build delivers it: the program
// opens it exclusively and reads its tables and built-in settings. The expected rows are the "["-separated records the
// program writes into the registry on its first run, so that the two stores
// of built-in settings cannot drift apart.
#include <algorithm>

#include "delivered_databases.h"

namespace {

using namespace delivered;

const char* const kTabRecords[] = {
    "Default[Courier[10[5[30[45[55[65[30[45[55[65[30[43[52[62[72[30[43[52[62[72[HP LaserJet 4L",
    "HPLJ4 - Times NR[Times New Roman[10[5[30[45[55[65[30[45[55[65[30[43[52[62[72[30[43[52[62[72[HP LaserJet 4L",
};
const char* const kPrintModeRecords[] = {
    "Default[-1[-1[-1[-1[-1[-1[0[0[0[1",
    "AutoPrint[-1[-1[-1[-1[-1[0[0[0[-1[1",
    "AutoStruct - Stand Alone[0[0[0[0[0[0[2[0[-1[3",
};
const char* const kSectionColumns[] = {"Tables", "Fields", "Indexes", "Queries", "Relations", "Details"};

std::vector<std::string> split(const std::string& record) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = record.find('[', start)) != std::string::npos; start = at + 1)
        parts.push_back(record.substr(start, at - start));
    parts.push_back(record.substr(start));
    return parts;
}

std::string tabColumn(int i) { return (i < 10 ? "Tab0" : "Tab") + std::to_string(i); }

class SettingsDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fs::exists(built)) << built << " was not made by the build"; }

    const fs::path built = builtFile("STX32.MDB");
};

TEST_F(SettingsDatabaseTest, OpensExclusivelyWithItsThreeTables) {
    const std::string before = fileBytes(built);
    {
        auto db = jet::DBEngine().OpenDatabase(built.string(), true, false);
        EXPECT_EQ(db->Version(), "3.0");
        EXPECT_EQ(db->CollatingOrder(), jet::dbSortGeneral);
        EXPECT_TRUE(db->Updatable());
        // Held for this opener alone, as the program holds it for a run.
        EXPECT_EQ(errorOf([&] { jet::DBEngine().OpenDatabase(built.string(), false, true); }), jet::kErrFileInUse);

        auto tables = userTables(*db);
        std::sort(tables.begin(), tables.end());
        EXPECT_EQ(tables, (std::vector<std::string>{"PrintInit", "STX32Init", "StoredSettings"}));

        std::vector<std::string> stored = {"SettingTitle:10:50", "PrinterName:10:255", "PrinterFontName:10:50"};
        for (int i = 1; i <= 20; ++i) stored.push_back(tabColumn(i) + ":3:2");
        EXPECT_EQ(columnsOf(db->TableDefs()["StoredSettings"]), stored);
        EXPECT_EQ(columnsOf(db->TableDefs()["PrintInit"]),
                  (std::vector<std::string>{"Setting:10:50", "Tables:1:1", "Fields:1:1", "Indexes:1:1", "Queries:1:1",
                                            "Relations:1:1", "Details:1:1", "Page:1:1", "Auto:1:1", "PrintMode:3:2",
                                            "StructMode:3:2", "Selection:10:1"}));
        EXPECT_EQ(columnsOf(db->TableDefs()["STX32Init"]),
                  (std::vector<std::string>{"TabSetting:10:50", "PrintSetting:10:50"}));

        for (const auto& [table, key] : {std::pair{"StoredSettings", "SettingTitle"}, std::pair{"PrintInit", "Setting"}}) {
            const auto& indexes = db->TableDefs()[table].Indexes();
            ASSERT_EQ(indexes.Count(), 1) << table;
            const jet::Index& primary = indexes["PrimaryKey"];
            EXPECT_TRUE(primary.Primary()) << table;
            EXPECT_TRUE(primary.Unique()) << table;
            EXPECT_EQ(primary.FieldsText(), std::string("+") + key) << table;
        }
        EXPECT_EQ(db->TableDefs()["STX32Init"].Indexes().Count(), 0);
        db->Close();
    }
    EXPECT_EQ(fileBytes(built), before) << "opening and closing wrote to the file";
}

TEST_F(SettingsDatabaseTest, HoldsTheBuiltInSettingsAsTheRegistryRecordsGiveThem) {
    auto db = jet::DBEngine().OpenDatabase(built.string(), true, true);

    auto tabs = db->OpenRecordset("StoredSettings", jet::dbOpenTable);
    EXPECT_EQ(tabs->RecordCount(), 2);
    tabs->SetIndex("PrimaryKey");
    for (const char* record : kTabRecords) {
        const auto fields = split(record);
        ASSERT_EQ(fields.size(), 23u);
        tabs->Seek("=", {fields[0]});
        ASSERT_FALSE(tabs->NoMatch()) << fields[0];
        EXPECT_EQ((*tabs)["PrinterFontName"], jet::Value(fields[1]));
        for (int i = 1; i <= 20; ++i)
            EXPECT_EQ((*tabs)[tabColumn(i)], jet::Value(static_cast<std::int16_t>(std::stoi(fields[1 + i]))))
                << fields[0] << " " << tabColumn(i);
        EXPECT_EQ((*tabs)["PrinterName"], jet::Value(fields[22]));
    }

    auto modes = db->OpenRecordset("PrintInit", jet::dbOpenTable);
    EXPECT_EQ(modes->RecordCount(), 3);
    modes->SetIndex("PrimaryKey");
    for (const char* record : kPrintModeRecords) {
        const auto fields = split(record);
        ASSERT_EQ(fields.size(), 11u);
        modes->Seek("=", {fields[0]});
        ASSERT_FALSE(modes->NoMatch()) << fields[0];
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ((*modes)[kSectionColumns[i]], jet::Value(fields[1 + i] == "-1")) << fields[0] << " " << i;
        EXPECT_EQ((*modes)["Page"], jet::Value(false));
        const auto printMode = static_cast<std::int16_t>(std::stoi(fields[7]));
        const auto structMode = static_cast<std::int16_t>(std::stoi(fields[8]));
        EXPECT_EQ((*modes)["PrintMode"], jet::Value(printMode));
        EXPECT_EQ((*modes)["StructMode"], jet::Value(structMode));
        EXPECT_EQ((*modes)["Auto"], jet::Value(fields[9] == "-1"));
        EXPECT_EQ((*modes)["Selection"], jet::Value(fields[10]));
        // The stored code follows from the two modes.
        const int code = printMode == 2 ? structMode + 3 : printMode + 1;
        EXPECT_EQ((*modes)["Selection"], jet::Value(std::to_string(code))) << fields[0];
        if (printMode != 2) {
            EXPECT_EQ(structMode, 0) << fields[0];
        }
    }

    auto init = db->OpenRecordset("STX32Init", jet::dbOpenTable);
    ASSERT_EQ(init->RecordCount(), 1);
    init->MoveFirst();
    EXPECT_EQ((*init)["TabSetting"], jet::Value(std::string("Default")));
    EXPECT_EQ((*init)["PrintSetting"], jet::Value(std::string("Default")));
}

TEST_F(SettingsDatabaseTest, MdbToolsReadsTheSeededRows) {
    if (!haveMdbExport()) GTEST_SKIP() << "mdb-export (mdbtools) is not installed";
    auto stored = mdbExport(built, "StoredSettings");
    ASSERT_EQ(stored.size(), 2u);
    std::sort(stored.begin(), stored.end());
    // SettingTitle, PrinterName, PrinterFontName, Tab01..Tab20.
    EXPECT_EQ(stored[0], "Default|HP LaserJet 4L|Courier|10|5|30|45|55|65|30|45|55|65|30|43|52|62|72|30|43|52|62|72");
    EXPECT_EQ(stored[1],
              "HPLJ4 - Times NR|HP LaserJet 4L|Times New Roman|10|5|30|45|55|65|30|45|55|65|30|43|52|62|72|30|43|52|62|72");

    auto modes = mdbExport(built, "PrintInit");
    ASSERT_EQ(modes.size(), 3u);
    std::sort(modes.begin(), modes.end());
    EXPECT_EQ(modes[0], "AutoPrint|1|1|1|1|1|0|0|1|0|0|1");
    EXPECT_EQ(modes[1], "AutoStruct - Stand Alone|0|0|0|0|0|0|0|1|2|0|3");
    EXPECT_EQ(modes[2], "Default|1|1|1|1|1|1|0|0|0|0|1");

    EXPECT_EQ(mdbExport(built, "STX32Init"), std::vector<std::string>{"Default|Default"});
}

}  // namespace
