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

void makeSettingsDatabase(const std::string& path) {
    const fs::path built = fs::path(STRUX_BINARY_DIR) / "bin" / "STX32.MDB";
    ASSERT_TRUE(fs::exists(built)) << built << " is made by the build (target delivered_databases)";
    fs::copy_file(built, path, fs::copy_options::overwrite_existing);
}

void makeEmptySettingsDatabase(const std::string& path) {
    makeSettingsDatabase(path);
    auto db = jet::DBEngine().OpenDatabase(path, true);
    for (const char* table : {"StoredSettings", "PrintInit", "STX32Init"}) {
        auto rs = db->OpenRecordset(table, jet::dbOpenTable);
        while (rs->RecordCount() > 0) {
            rs->MoveFirst();
            rs->Delete();
        }
    }
    db->Close();
}

void addPrintSetting(viewer::DatabaseHandle& db, const PrintSettingRow& row) {
    auto rs = db.OpenRecordset("PrintInit", jet::dbOpenTable);
    rs->AddNew();
    rs->SetValue("Setting", row.name);
    for (const auto& [column, value] : {std::pair{"Tables", row.tables}, {"Indexes", row.indexes}, {"Fields", row.fields},
                                        {"Queries", row.queries}, {"Relations", row.relations}, {"Page", row.page},
                                        {"Details", row.details}, {"Auto", row.autoPrint}})
        rs->SetValue(column, value);
    rs->SetValue("PrintMode", static_cast<std::int16_t>(row.printMode));
    rs->SetValue("StructMode", static_cast<std::int16_t>(row.structMode));
    rs->SetValue("Selection", row.selection);
    rs->Update();
}

void addTabSetting(viewer::DatabaseHandle& db, const std::string& name, const std::string& printer,
                   const std::string& font, std::int16_t firstTab) {
    auto rs = db.OpenRecordset("StoredSettings", jet::dbOpenTable);
    rs->AddNew();
    rs->SetValue("SettingTitle", name);
    rs->SetValue("PrinterName", printer);
    rs->SetValue("PrinterFontName", font);
    for (int i = 0; i < 20; ++i)
        rs->SetValue((i < 9 ? "Tab0" : "Tab") + std::to_string(i + 1),
                     static_cast<std::int16_t>(i == 0 ? firstTab : 5 + 4 * i));
    rs->Update();
}

void setStartUpChoice(viewer::DatabaseHandle& db, const std::optional<std::pair<jet::Value, jet::Value>>& choice) {
    auto rs = db.OpenRecordset("STX32Init", jet::dbOpenTable);
    while (rs->RecordCount() > 0) {
        rs->MoveFirst();
        rs->Delete();
    }
    if (!choice) return;
    rs->AddNew();
    rs->SetValue("TabSetting", choice->first);
    rs->SetValue("PrintSetting", choice->second);
    rs->Update();
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
