#include "settings/settings_store.h"

#include <cstdint>

#include "jet/error.h"
#include "jet/recordset.h"
#include "jet/value.h"
#include "printing/print_defaults_file.h"

namespace settings {

namespace {

constexpr char kSettingTitle[] = "SettingTitle";
constexpr char kSetting[] = "Setting";

jet::Value yesNo(bool on) { return jet::Value(on); }

jet::Value whole(int number) { return jet::Value(static_cast<std::int16_t>(number)); }

// Runs the writes of one row between AddNew/Edit and Update. A refusal of
// the engine leaves no edit pending on the recordset, so that the next
// store starts clean; the primary key's refusal gets words of our own.
template <class Writes>
void writeRow(jet::Recordset& dynaset, bool isNew, const std::string& kind, const std::string& name,
              Writes&& writes) {
    try {
        if (isNew) dynaset.AddNew();
        else dynaset.Edit();
        writes();
        dynaset.Update();
    } catch (const jet::Error& e) {
        try {
            dynaset.CancelUpdate();
        } catch (const jet::Error&) {
            // Nothing was pending any more.
        }
        if (e.number() == jet::kErrDuplicateKey)
            throw StoreRefused("A " + kind + " named \"" + name + "\" already exists. Nothing was stored; choose "
                               "another name.");
        throw StoreRefused("The " + kind + " \"" + name + "\" could not be stored: " + e.what() +
                           " (error " + std::to_string(e.number()) + "). Nothing was stored.");
    }
}

// Before a row is added its name is looked up the way the dialog finds
// rows, so a taken name is refused with its own message even where the
// key would compare it differently.
void positionFor(jet::Recordset& dynaset, const std::string& column, const std::string& kind,
                 const std::string& name, bool isNew) {
    if (name.empty()) throw StoreRefused("The " + kind + " needs a name. Nothing was stored.");
    const bool found = findSetting(dynaset, column, name);
    if (isNew && found)
        throw StoreRefused("A " + kind + " named \"" + name + "\" already exists. Nothing was stored; choose "
                           "another name.");
    if (!isNew && !found)
        throw StoreRefused("The " + kind + " \"" + name + "\" is no longer in the settings database. Nothing "
                           "was stored.");
}

}  // namespace

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string criteriaFor(const std::string& column, const std::string& name) {
    std::string quoted;
    for (char c : name) {
        quoted += c;
        if (c == '\'') quoted += '\'';
    }
    return "[" + column + "] = '" + quoted + "'";
}

bool findSetting(jet::Recordset& dynaset, const std::string& column, const std::string& name) {
    if (dynaset.RecordCount() == 0) return false;
    dynaset.FindFirst(criteriaFor(column, name));
    return !dynaset.NoMatch();
}

std::vector<std::string> columnTexts(jet::Recordset& dynaset, const std::string& column) {
    std::vector<std::string> texts;
    if (dynaset.RecordCount() == 0) return texts;
    for (dynaset.MoveFirst(); !dynaset.Eof(); dynaset.MoveNext()) {
        const jet::Value& value = dynaset[column];
        if (!jet::isNull(value)) texts.push_back(jet::valueToString(value));
    }
    return texts;
}

std::string selectionFor(int printMode, int structMode) {
    return std::to_string(printMode == 2 ? structMode + 3 : printMode + 1);
}

PrintModeSetting readPrintModeSetting(jet::Recordset& dynaset) {
    PrintModeSetting setting{printing::readPrintInit(dynaset), {}};
    const jet::Value& name = dynaset[kSetting];
    if (!jet::isNull(name)) setting.name = jet::valueToString(name);
    return setting;
}

void storePrintModeSetting(jet::Recordset& dynaset, PrintModeSetting setting, bool isNew) {
    const std::string kind = "print mode setting";
    // Blanks typed around a new name are not part of it; an existing row is
    // found by its name as stored.
    if (isNew) setting.name = trimmed(setting.name);
    if (setting.printMode < 0 || setting.printMode > 2) setting.printMode = 0;
    if (setting.printMode != 2 || setting.structMode < 0 || setting.structMode > 2) setting.structMode = 0;
    positionFor(dynaset, kSetting, kind, setting.name, isNew);
    writeRow(dynaset, isNew, kind, setting.name, [&] {
        if (isNew) dynaset.SetValue(kSetting, jet::Value(setting.name));
        dynaset.SetValue("Tables", yesNo(setting.tables));
        dynaset.SetValue("Fields", yesNo(setting.fields));
        dynaset.SetValue("Indexes", yesNo(setting.indexes));
        dynaset.SetValue("Queries", yesNo(setting.queries));
        dynaset.SetValue("Relations", yesNo(setting.relations));
        dynaset.SetValue("Details", yesNo(setting.details));
        dynaset.SetValue("Page", yesNo(setting.page));
        dynaset.SetValue("Auto", yesNo(setting.autoPrint));
        dynaset.SetValue("PrintMode", whole(setting.printMode));
        dynaset.SetValue("StructMode", whole(setting.structMode));
        dynaset.SetValue("Selection", jet::Value(selectionFor(setting.printMode, setting.structMode)));
    });
}

printing::TabColumns marginsFrom(const std::vector<std::string>& texts) {
    printing::TabColumns tabs{};
    for (int i = 0; i < printing::kTabCount; ++i) {
        const std::string text = i < static_cast<int>(texts.size()) ? texts[static_cast<std::size_t>(i)] : "";
        const auto number = printing::parseTabNumber(text);
        if (!number)
            throw StoreRefused("The value \"" + text + "\" for " + printing::tabFieldName(i) +
                               " is not a whole number from -32768 to 32767. Nothing was stored.");
        tabs[static_cast<std::size_t>(i)] = *number;
    }
    return tabs;
}

void storeTabSetting(jet::Recordset& dynaset, const TabSettingRow& row, bool isNew) {
    const std::string kind = "tab setting";
    const std::string title = isNew ? trimmed(row.title) : row.title;
    positionFor(dynaset, kSettingTitle, kind, title, isNew);
    writeRow(dynaset, isNew, kind, title, [&] {
        if (isNew) dynaset.SetValue(kSettingTitle, jet::Value(title));
        dynaset.SetValue("PrinterFontName", jet::Value(row.fontName));
        for (int i = 0; i < printing::kTabCount; ++i)
            dynaset.SetValue(printing::tabFieldName(i), whole(row.tabs[static_cast<std::size_t>(i)]));
        dynaset.SetValue("PrinterName", jet::Value(row.printerName));
    });
}

void storeStartUpChoice(jet::Recordset& init, const std::string& tabSetting, const std::string& printSetting) {
    const bool isNew = init.RecordCount() == 0;
    if (!isNew) init.MoveFirst();
    writeRow(init, isNew, "start-up choice", tabSetting + "\" / \"" + printSetting, [&] {
        init.SetValue("TabSetting", jet::Value(tabSetting));
        init.SetValue("PrintSetting", jet::Value(printSetting));
    });
}

}  // namespace settings
