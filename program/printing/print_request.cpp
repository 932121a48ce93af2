#include "printing/print_request.h"

#include <cmath>
#include <type_traits>
#include <variant>

#include "jet/recordset.h"
#include "jet/value.h"

namespace printing {

namespace {

constexpr char kPrimaryKey[] = "PrimaryKey";

// A column read as a number; Null and text that is no number give 0, as an
// unset column would.
long numberOf(const jet::Value& value) {
    return std::visit(
        [](const auto& v) -> long {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, bool>)
                return v ? -1 : 0;
            else if constexpr (std::is_integral_v<T>)
                return static_cast<long>(v);
            else if constexpr (std::is_floating_point_v<T>)
                return std::lround(v);
            else if constexpr (std::is_same_v<T, std::string>) {
                try {
                    return std::stol(v);
                } catch (const std::exception&) {
                    return 0;
                }
            } else
                return 0;
        },
        value);
}

// Yes/No columns hold -1 for Yes; any non-zero value counts.
bool flagOf(const jet::Value& value) { return numberOf(value) != 0; }

std::string textOf(const jet::Value& value) { return jet::isNull(value) ? std::string() : jet::valueToString(value); }

}  // namespace

bool isSettingName(const std::string& name) { return name != kNoSettingsDatabase && name != kNoStartUpSetting; }

bool seekSetting(jet::Recordset& recordset, const std::string& name) {
    recordset.SetIndex(kPrimaryKey);
    recordset.Seek("=", {jet::Value(name)});
    return !recordset.NoMatch();
}

PrintInitRecord readPrintInit(jet::Recordset& rs) {
    PrintInitRecord record;
    record.autoPrint = flagOf(rs["Auto"]);
    record.selection = textOf(rs["Selection"]);
    record.printMode = static_cast<int>(numberOf(rs["PrintMode"]));
    record.structMode = static_cast<int>(numberOf(rs["StructMode"]));
    record.tables = flagOf(rs["Tables"]);
    record.indexes = flagOf(rs["Indexes"]);
    record.fields = flagOf(rs["Fields"]);
    record.queries = flagOf(rs["Queries"]);
    record.relations = flagOf(rs["Relations"]);
    record.page = flagOf(rs["Page"]);
    record.details = flagOf(rs["Details"]);
    return record;
}

StoredTabSetting readStoredTabSetting(jet::Recordset& rs) {
    StoredTabSetting stored;
    const jet::Value& printerName = rs["PrinterName"];
    if (!jet::isNull(printerName)) stored.printerName = textOf(printerName);
    stored.setting.fontName = textOf(rs["PrinterFontName"]);
    for (int i = 0; i < kTabCount; ++i)
        stored.setting.tabs[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(numberOf(rs[tabFieldName(i)]));
    return stored;
}

AutomaticMode automaticMode(const std::string& selection) {
    // The stored code is compared as text, so "5" is above "4".
    if (selection > "4") return {"4", true};
    return {selection, false};
}

std::string modeForOption(int option) {
    if (option < 0 || option > 2) return {};
    return std::to_string(option + 1);
}

AutomaticMode modeForStyle(int style) {
    switch (style) {
        case 1:
            return {"4", false};
        case 2:
            return {"4", true};
        default:
            return {"3", false};
    }
}

PrintAction actionForMode(const std::string& mode) {
    if (mode == "1") return PrintAction::Report;
    if (mode == "2") return PrintAction::Copy;
    if (mode == "3" || mode == "4") return PrintAction::Code;
    return PrintAction::None;
}

std::string generatorWord(const std::string& mode) {
    if (mode == "2") return "COPY";
    if (mode == "3") return "VBFILE";
    if (mode == "4") return "VBFILE2";
    return {};
}

ReportSelection automaticSelection(const PrintInitRecord& record) {
    ReportSelection selection;
    selection.allTables = true;
    selection.indexes = record.indexes;
    selection.fields = record.fields;
    selection.queries = record.queries;
    selection.relations = record.relations;
    selection.pagePerItem = record.page;
    selection.details = record.details;
    return selection;
}

}  // namespace printing
