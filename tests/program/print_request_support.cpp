#include "print_request_support.h"

#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "jet/error.h"
#include "jet/types.h"
#include "printing/frmModal.h"

namespace printtest {

SettingsDatabase::SettingsDatabase() {
    std::vector<std::string> stored{"SettingTitle", "PrinterName", "PrinterFontName"};
    for (int i = 1; i <= 20; ++i) stored.push_back((i < 10 ? "Tab0" : "Tab") + std::to_string(i));
    rows["StoredSettings"] = {stored, {}};
    rows["PrintInit"] = {{"Setting", "Tables", "Fields", "Indexes", "Queries", "Relations", "Details", "Page", "Auto",
                          "PrintMode", "StructMode", "Selection"},
                         {}};
}

void SettingsDatabase::addPrintSetting(const std::string& name, bool autoPrint, const std::string& selection,
                                       int printMode, int structMode, bool tables, bool indexes, bool fields,
                                       bool queries, bool relations, bool page, bool details) {
    auto yes = [](bool b) { return jet::Value(static_cast<std::int16_t>(b ? -1 : 0)); };
    rows["PrintInit"].second.push_back({jet::Value(name), yes(tables), yes(fields), yes(indexes), yes(queries),
                                        yes(relations), yes(details), yes(page), yes(autoPrint),
                                        jet::Value(static_cast<std::int16_t>(printMode)),
                                        jet::Value(static_cast<std::int16_t>(structMode)), jet::Value(selection)});
}

void SettingsDatabase::addTabSetting(const std::string& name, const std::string& printer, const std::string& font,
                                     std::int16_t firstTab) {
    std::vector<jet::Value> row{jet::Value(name), jet::Value(printer), jet::Value(font)};
    for (int i = 0; i < 20; ++i) row.push_back(jet::Value(static_cast<std::int16_t>(i == 0 ? firstTab : 5 + 4 * i)));
    rows["StoredSettings"].second.push_back(row);
}

std::unique_ptr<jet::Recordset> SettingsDatabase::OpenRecordset(const std::string& name, int type) {
    EXPECT_EQ(type, jet::dbOpenTable);
    opened.push_back(name);
    auto it = rows.find(name);
    if (it == rows.end()) throw jet::Error(3078, "cannot find the input table '" + name + "'.");
    return std::make_unique<KeyedRecordset>(it->second.first, it->second.second);
}

DialogScript::DialogScript() {
    printing::setModalRunner([this](QDialog& dialog) {
        shown.push_back(dialog.windowTitle().toStdString());
        dialog.show();
        if (answers.empty()) {
            ADD_FAILURE() << "no answer for " << shown.back();
            closeBox(dialog);
            return;
        }
        auto answer = std::move(answers.front());
        answers.pop_front();
        answer(dialog);
        EXPECT_FALSE(dialog.isVisible()) << shown.back() << " still open";
    });
}

DialogScript::~DialogScript() { printing::setModalRunner({}); }

void click(QDialog& dialog, const char* name) {
    auto* button = dialog.findChild<QPushButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    button->click();
}

std::function<void(QDialog&)> choose(const char* option, const char* button) {
    return [option, button](QDialog& dialog) {
        auto* radio = dialog.findChild<QRadioButton*>(option);
        ASSERT_NE(radio, nullptr) << option;
        radio->click();
        click(dialog, button);
    };
}

void closeBox(QDialog& dialog) { dialog.close(); }

}  // namespace printtest
