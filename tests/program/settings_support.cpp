#include "settings_support.h"

#include <fstream>
#include <sstream>

#include "STXGLOB.h"
#include "jet/dao.h"
#include "printer/text_printer_device.h"
#include "printing/frmStrux_print.h"
#include "vb/app.h"

namespace settingstest {

namespace fs = std::filesystem;

namespace {

void addField(jet::TableDef& table, const char* name, int type, long size = 0) {
    table.Fields().Append(table.CreateField(name, type, size));
}

void addPrimaryKey(jet::TableDef& table, const char* column) {
    auto key = table.CreateIndex("PrimaryKey");
    key->Fields().Append(key->CreateField(column));
    key->SetPrimary(true);
    key->SetUnique(true);
    table.Indexes().Append(std::move(key));
}

void createTables(jet::Database& db) {
    auto stored = db.CreateTableDef("StoredSettings");
    addField(*stored, "SettingTitle", jet::dbText, 50);
    addField(*stored, "PrinterName", jet::dbText, 100);
    addField(*stored, "PrinterFontName", jet::dbText, 50);
    for (int i = 1; i <= 20; ++i)
        addField(*stored, (std::string(i < 10 ? "Tab0" : "Tab") + std::to_string(i)).c_str(), jet::dbInteger);
    addPrimaryKey(*stored, "SettingTitle");
    db.TableDefs().Append(std::move(stored));

    auto print = db.CreateTableDef("PrintInit");
    addField(*print, "Setting", jet::dbText, 50);
    for (const char* flag : {"Tables", "Fields", "Indexes", "Queries", "Relations", "Details", "Page", "Auto"})
        addField(*print, flag, jet::dbBoolean);
    addField(*print, "PrintMode", jet::dbInteger);
    addField(*print, "StructMode", jet::dbInteger);
    addField(*print, "Selection", jet::dbText, 1);
    addPrimaryKey(*print, "Setting");
    db.TableDefs().Append(std::move(print));

    auto init = db.CreateTableDef("STX32Init");
    addField(*init, "TabSetting", jet::dbText, 50);
    addField(*init, "PrintSetting", jet::dbText, 50);
    db.TableDefs().Append(std::move(init));
}

// The delivered records: the built-in defaults of the registry copies.
void addRows(jet::Database& db) {
    const std::vector<std::int16_t> tabs{10, 5, 30, 45, 55, 65, 30, 45, 55, 65, 30, 43, 52, 62, 72, 30, 43, 52, 62, 72};
    auto stored = db.OpenRecordset("StoredSettings", jet::dbOpenTable);
    for (const auto& [title, font] : {std::pair<const char*, const char*>{"Default", "Courier"},
                                      {"HPLJ4 - Times NR", "Times New Roman"}}) {
        stored->AddNew();
        stored->SetValue("SettingTitle", std::string(title));
        stored->SetValue("PrinterName", std::string("HP LaserJet 4L"));
        stored->SetValue("PrinterFontName", std::string(font));
        for (int i = 0; i < 20; ++i)
            stored->SetValue((i < 9 ? "Tab0" : "Tab") + std::to_string(i + 1), tabs[static_cast<std::size_t>(i)]);
        stored->Update();
    }
    struct PrintRow {
        const char* name;
        std::vector<bool> sections;  // Tables .. Page
        bool autoRun;
        std::int16_t printMode, structMode;
        const char* selection;
    };
    const PrintRow rows[] = {
        {"Default", {true, true, true, true, true, true, false}, false, 0, 0, "1"},
        {"AutoPrint", {true, true, true, true, true, false, false}, true, 0, 0, "1"},
        {"AutoStruct - Stand Alone", {false, false, false, false, false, false, false}, true, 2, 0, "3"},
    };
    auto print = db.OpenRecordset("PrintInit", jet::dbOpenTable);
    const char* columns[] = {"Tables", "Fields", "Indexes", "Queries", "Relations", "Details", "Page"};
    for (const PrintRow& row : rows) {
        print->AddNew();
        print->SetValue("Setting", std::string(row.name));
        for (std::size_t i = 0; i < 7; ++i) print->SetValue(columns[i], static_cast<bool>(row.sections[i]));
        print->SetValue("Auto", row.autoRun);
        print->SetValue("PrintMode", row.printMode);
        print->SetValue("StructMode", row.structMode);
        print->SetValue("Selection", std::string(row.selection));
        print->Update();
    }
    auto init = db.OpenRecordset("STX32Init", jet::dbOpenTable);
    init->AddNew();
    init->SetValue("TabSetting", std::string("Default"));
    init->SetValue("PrintSetting", std::string("Default"));
    init->Update();
}

}  // namespace

void makeSettingsDatabase(const std::string& path) {
    const fs::path built = fs::path(STRUX_BINARY_DIR) / "bin" / "STX32.MDB";
    if (fs::exists(built)) {
        fs::copy_file(built, path, fs::copy_options::overwrite_existing);
        return;
    }
    auto db = jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral);
    createTables(*db);
    addRows(*db);
    db->Close();
}

void makeEmptySettingsDatabase(const std::string& path) {
    auto db = jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral);
    createTables(*db);
    db->Close();
}

Row settingRow(const std::string& table, const std::string& keyColumn, const std::string& name) {
    auto rs = dbSettings->OpenRecordset(table, jet::dbOpenTable);
    Row row;
    if (rs->RecordCount() == 0) return row;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        if (jet::valueToString((*rs)[keyColumn]) != name) continue;
        for (int i = 0; i < rs->Fields().Count(); ++i) {
            const jet::Value& value = rs->Fields()[i].Value();
            const bool* flag = std::get_if<bool>(&value);
            row[rs->Fields()[i].Name()] = flag ? (*flag ? "-1" : "0") : jet::valueToString(value);
        }
        break;
    }
    return row;
}

long rowCount(const std::string& table) { return dbSettings->OpenRecordset(table, jet::dbOpenTable)->RecordCount(); }

std::vector<std::string> fileLines(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::unique_ptr<printer::Printers> testPrinters() {
    std::vector<std::unique_ptr<printer::PrinterDevice>> devices;
    devices.push_back(std::make_unique<printer::TextPrinterDevice>("Text"));
    devices.push_back(std::make_unique<printer::TextPrinterDevice>(
        "Laser", nullptr, std::vector<std::string>{"Arial", "Times New Roman"}));
    return std::make_unique<printer::Printers>(std::move(devices));
}

void PrintDefaultsTest::SetUp() {
    programtest::resetGlobals();
    vb::App().setPathOverride(programFolder.path().string());
    printing::setProgramPrinters(testPrinters());
    makeSettingsDatabase(settingsPath);
}

void PrintDefaultsTest::TearDown() {
    if (dialog) dialog->Form_Unload();
    dialog.reset();
    if (dbSettings) dbSettings->Close();
    programtest::resetGlobals();
    printing::setProgramPrinters(nullptr);
    vb::App().setPathOverride("");
}

void PrintDefaultsTest::openDialog(bool withDatabase) {
    if (withDatabase) {
        dbSettings = viewer::jetEngine().OpenDatabase(settingsPath, true, false);
        bSettingsOpen = -1;
    }
    dialog = std::make_unique<frmPtrDefs>();
    dialog->Form_Load();
}

void PrintDefaultsTest::choose(const std::string& comboName, const std::string& entry) {
    auto* combo = control<QComboBox>(comboName);
    const int index = combo->findText(QString::fromStdString(entry));
    ASSERT_GE(index, 0) << entry << " not in " << comboName;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

std::vector<std::string> PrintDefaultsTest::margins() {
    std::vector<std::string> texts;
    for (int i = 0; i < 20; ++i) texts.push_back(margin(i)->text().toStdString());
    return texts;
}

bool PrintDefaultsTest::anyChanged() const {
    for (int tab = 1; tab <= 4; ++tab)
        if (dialog->changed(tab)) return true;
    return false;
}

}  // namespace settingstest
