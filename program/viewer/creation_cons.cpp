#include "viewer/creation_cons.h"

#include "viewer/object_list.h"

namespace viewer {

namespace {

const std::string kCrLf = "\r\n";
const std::string kIndent(20, ' ');

struct OrderRow {
    int value;
    const char* code;
    std::vector<std::string> languages;
};

const std::vector<OrderRow>& orderTable() {
    static const std::vector<OrderRow> rows = {
        {-1, "-1 - dbSortUndefined", {"Undefined Or unknown"}},
        {1024, "1024 - dbSortNeutral", {"Neutral"}},
        {1025, "1025 - dbSortArabic Arabic", {"Arabic"}},
        {1028, "1028 - dbSortChineseTraditional", {"Traditional Chinese"}},
        {1029, "1029 - dbSortCzech", {"Czech"}},
        {1030, "1030 - dbSortNorwdan", {"Norwegian Or Danish"}},
        {1032, "1032 - dbSortGreek", {"Greek"}},
        {1033,
         "1033 - dbSortGeneral General",
         {"(English, French, German, Portuguese,", "Italian, and Modern Spanish) + ",
          "Paradox International"}},
        {1034, "1034 - dbSortSpanish", {"Spanish"}},
        {1037, "1037 - dbSortHebrew", {"Hebrew"}},
        {1038, "1038 - dbSortHungarian", {"Hungarian"}},
        {1039, "1039 - dbSortIcelandic", {"Icelandic"}},
        {1041, "1041 - dbSortJapanese", {"Japanese"}},
        {1042, "1042 - dbSortKorean", {"Korean"}},
        {1043, "1043 - dbSortDutch", {"Dutch"}},
        {1045, "1045 - dbSortPolish", {"Polish"}},
        {1049, "1049 - dbSortCyrillic", {"Russian"}},
        {1053, "1053 - dbSortSwedFin", {"Swedish Or Finnish"}},
        {1054, "1054 - dbSortThai", {"Thai"}},
        {1055, "1055 - dbSortTurkish", {"Turkish"}},
        {1060, "1060 - dbSortSlovenian", {"Slovenian"}},
        {2052, "2052 - dbSortChineseSimplified", {"Simplified Chinese"}},
    };
    return rows;
}

}  // namespace

std::optional<CollatingOrderText> collatingOrderText(int collatingOrder) {
    for (const auto& row : orderTable())
        if (row.value == collatingOrder) return CollatingOrderText{row.code, row.languages};
    return std::nullopt;
}

std::string databasePropertiesText(const DatabaseProperties& properties) {
    std::string text = "The properties of the current database are:" + kCrLf + kCrLf;
    if (properties.collatingOrder) {
        if (auto order = collatingOrderText(*properties.collatingOrder)) {
            text += "   Collating Order: " + order->code;
            for (const auto& language : order->languages) text += kCrLf + kIndent + language;
        }
    }
    text += kCrLf;
    if (properties.transactions)
        text += "   Transactions:    " + boolText(*properties.transactions) + kCrLf;
    if (properties.updatable) text += "   Updatable:       " + boolText(*properties.updatable) + kCrLf;
    return text;
}

}  // namespace viewer
