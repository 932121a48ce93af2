#include "settings_database.h"

#include <array>
#include <cstdint>

#include "table_builder.h"

namespace makedb {

namespace {

constexpr int kTabCount = 20;

// Long enough for a CUPS queue name; a Windows device name is far shorter.
constexpr long kPrinterNameSize = 255;
constexpr long kSettingNameSize = 50;
constexpr long kFontNameSize = 50;

std::string tabColumn(int number) { return (number < 10 ? "Tab0" : "Tab") + std::to_string(number); }

void makeStoredSettings(jet::Database& db) {
    std::vector<Column> columns = {
        {"SettingTitle", jet::dbText, kSettingNameSize, true},
        {"PrinterName", jet::dbText, kPrinterNameSize},
        {"PrinterFontName", jet::dbText, kFontNameSize},
    };
    for (int i = 1; i <= kTabCount; ++i) columns.push_back({tabColumn(i), jet::dbInteger});
    appendTable(db, "StoredSettings", columns, {{"PrimaryKey", {"SettingTitle"}, true}});

    // The same layout numbers for both built-in settings; only the font
    // differs. The printer is the one the built-in records name: where no
    // printer of that name is installed, printing keeps the current one.
    constexpr std::array<std::int16_t, kTabCount> kBaseTabs = {10, 5,  30, 45, 55, 65, 30, 45, 55, 65,
                                                               30, 43, 52, 62, 72, 30, 43, 52, 62, 72};
    auto rs = db.OpenRecordset("StoredSettings", jet::dbOpenTable);
    for (const auto& [title, font] : {std::pair{"Default", "Courier"}, std::pair{"HPLJ4 - Times NR", "Times New Roman"}}) {
        Row row = {{"SettingTitle", std::string(title)},
                   {"PrinterName", std::string("HP LaserJet 4L")},
                   {"PrinterFontName", std::string(font)}};
        for (int i = 0; i < kTabCount; ++i) row.emplace_back(tabColumn(i + 1), kBaseTabs[static_cast<std::size_t>(i)]);
        addRow(*rs, row);
    }
    rs->Close();
}

struct PrintModeSetting {
    const char* name;
    // Tables, Fields, Indexes, Queries, Relations, Details: the six section
    // flags of the built-in records, in their order.
    std::array<bool, 6> sections;
    bool autoRun;
    std::int16_t printMode;
    std::int16_t structMode;
};

// The output code stored beside the two modes: 1 printer, 2 empty copy,
// 3 to 5 the three code styles.
std::string selectionCode(const PrintModeSetting& setting) {
    return std::to_string(setting.printMode == 2 ? setting.structMode + 3 : setting.printMode + 1);
}

void makePrintInit(jet::Database& db) {
    appendTable(db, "PrintInit",
                {{"Setting", jet::dbText, kSettingNameSize, true},
                 {"Tables", jet::dbBoolean},
                 {"Fields", jet::dbBoolean},
                 {"Indexes", jet::dbBoolean},
                 {"Queries", jet::dbBoolean},
                 {"Relations", jet::dbBoolean},
                 {"Details", jet::dbBoolean},
                 {"Page", jet::dbBoolean},
                 {"Auto", jet::dbBoolean},
                 {"PrintMode", jet::dbInteger},
                 {"StructMode", jet::dbInteger},
                 {"Selection", jet::dbText, 1}},
                {{"PrimaryKey", {"Setting"}, true}});

    static constexpr PrintModeSetting kBuiltIn[] = {
        {"Default", {true, true, true, true, true, true}, false, 0, 0},
        {"AutoPrint", {true, true, true, true, true, false}, true, 0, 0},
        {"AutoStruct - Stand Alone", {false, false, false, false, false, false}, true, 2, 0},
    };
    static constexpr const char* kSectionColumns[] = {"Tables", "Fields", "Indexes", "Queries", "Relations", "Details"};
    auto rs = db.OpenRecordset("PrintInit", jet::dbOpenTable);
    for (const PrintModeSetting& setting : kBuiltIn) {
        Row row = {{"Setting", std::string(setting.name)}};
        for (std::size_t i = 0; i < setting.sections.size(); ++i) row.emplace_back(kSectionColumns[i], setting.sections[i]);
        row.emplace_back("Page", false);
        row.emplace_back("Auto", setting.autoRun);
        row.emplace_back("PrintMode", setting.printMode);
        row.emplace_back("StructMode", setting.structMode);
        row.emplace_back("Selection", selectionCode(setting));
        addRow(*rs, row);
    }
    rs->Close();
}

void makeStartUpChoice(jet::Database& db) {
    appendTable(db, "STX32Init",
                {{"TabSetting", jet::dbText, kSettingNameSize}, {"PrintSetting", jet::dbText, kSettingNameSize}});
    auto rs = db.OpenRecordset("STX32Init", jet::dbOpenTable);
    addRow(*rs, {{"TabSetting", std::string("Default")}, {"PrintSetting", std::string("Default")}});
    rs->Close();
}

}  // namespace

void makeSettingsDatabase(const std::string& path) {
    // Jet 3, as the program's own database engine made its files.
    auto db = jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral);
    makeStoredSettings(*db);
    makePrintInit(*db);
    makeStartUpChoice(*db);
    db->Close();
}

}  // namespace makedb
