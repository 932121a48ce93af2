#include "error_areas.h"

#include <array>
#include <utility>

namespace subs {

namespace {

constexpr int32_t kCodeRun = 2;

constexpr std::array<std::pair<int32_t, const char*>, 31> kAreas = {{
    {1, "[Initialising]"},
    {2, "[Code run]"},
    {5, "[Form Load]"},
    {6, "[Form Unload]"},
    {7, "[Form Activate]"},
    {8, "[Form Deactivate]"},
    {9, "[Form Initialise]"},
    {100, "[Open Database]"},
    {101, "[Close Database]"},
    {102, "[Open Recordset]"},
    {103, "[Close Recordset]"},
    {104, "[Clone Recordset]"},
    {110, "[Create Database]"},
    {111, "[Create TableDef]"},
    {112, "[Create QueryDef]"},
    {113, "[Create Relation]"},
    {1120, "[Add to List box]"},
    {1121, "[Remove from List box]"},
    {1130, "[Add to Combo box]"},
    {1131, "[Remove from Combo box]"},
    {1140, "[Load DBList box]"},
    {1150, "[Load DBCombo box]"},
    {1160, "[Load DBGrid]"},
    {1170, "[Load MSFlexGrid]"},
    {1180, "[Load Menu]"},
    {1190, "[Load Control]"},
    {70000, "[Print][Initialising]"},
    {70001, "[Printing]"},
    {99001, "[VBStruct][Initialising]"},
    {99002, "[VBStruct][Printing]"},
    {99003, "[VBStruct][Copying]"},
}};

}  // namespace

std::string areaLabel(int32_t areaNumber) {
    for (const auto& [number, label] : kAreas)
        if (number == areaNumber) return label;
    return areaLabel(kCodeRun);
}

std::string formPrefix(int16_t formNumber) {
    if (formNumber < 1) return {};
    const std::string digits = "000" + std::to_string(formNumber);
    return "[F" + digits.substr(digits.size() - 3) + "]";
}

int32_t areaNumFromText(const std::string& areaText) {
    std::string label = areaText;
    if (label.size() >= 6 && label[5] == ']' && label.compare(0, 2, "[F") == 0) label = label.substr(6);
    for (const auto& [number, text] : kAreas)
        if (label == text) return number;
    return kCodeRun;
}

}  // namespace subs
