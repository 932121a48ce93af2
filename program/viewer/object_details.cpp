#include "viewer/object_details.h"

#include "jet/types.h"
#include "viewer/object_list.h"

namespace viewer {

namespace {

constexpr std::size_t kLabelWidth = 18;
constexpr std::size_t kSortLabelWidth = 13;

std::string detailLine(const std::string& label, const std::string& value) {
    return padLabel(label, kLabelWidth) + value;
}

std::string decodedLine(const std::string& text) { return std::string(kLabelWidth, ' ') + text; }

}  // namespace

std::string fieldTypeText(const FieldTypeNames& names, int type) {
    if (type >= 0 && type < static_cast<int>(names.size())) return names[static_cast<std::size_t>(type)];
    switch (type) {
        case jet::dbAttachment: return "Attachment";
        case jet::dbComplexByte: return "Complex Byte";
        case jet::dbComplexInteger: return "Complex Integer";
        case jet::dbComplexLong: return "Complex Long";
        case jet::dbComplexSingle: return "Complex Single";
        case jet::dbComplexDouble: return "Complex Double";
        case jet::dbComplexGUID: return "Complex GUID";
        case jet::dbComplexDecimal: return "Complex Decimal";
        case jet::dbComplexText: return "Complex Text";
        default: return std::to_string(type);
    }
}

std::string padLabel(const std::string& label, std::size_t width) {
    return (label + std::string(width, ' ')).substr(0, width);
}

std::vector<std::string> attributeLines(long attributes) {
    switch (attributes) {
        case jet::dbFixedField: return {decodedLine("Fixed length")};
        case jet::dbVariableField: return {decodedLine("Variable length")};
        case jet::dbFixedField + jet::dbAutoIncrField:
            return {decodedLine("Fixed length"), decodedLine("Auto incrementing")};
        case jet::dbHyperlinkField: return {decodedLine("Contains hyperlink")};
        default: return {};
    }
}

std::vector<std::string> fieldDetailLines(const jet::Field& field, const FieldTypeNames& names) {
    std::vector<std::string> lines = {
        detailLine("Field Name:", field.Name()),
        detailLine("Field Type:", fieldTypeText(names, field.Type())),
        detailLine("Size:", std::to_string(field.Size())),
        detailLine("Required:", boolText(field.Required())),
        detailLine("AllowZeroLength:", boolText(field.AllowZeroLength())),
        detailLine("Attribute Value:", std::to_string(field.Attributes())),
    };
    for (auto& line : attributeLines(field.Attributes())) lines.push_back(std::move(line));
    return lines;
}

std::string sortOrderText(long attributes) {
    if (attributes == 0) return "Ascending";
    if (attributes == jet::dbDescending) return "Descending";
    return std::to_string(attributes);
}

std::vector<std::string> indexDetailLines(const jet::Index& index) {
    std::vector<std::string> lines = {detailLine("Index Name:", index.Name())};
    const auto& members = index.Fields();
    for (int j = 0; j < members.Count(); ++j) {
        lines.push_back(detailLine("Field " + std::to_string(j + 1), members[j].Name()));
        lines.push_back(std::string(5, ' ') + padLabel("Sort order:", kSortLabelWidth) +
                        sortOrderText(members[j].Attributes()));
    }
    lines.push_back(detailLine("Unique:", index.Unique() ? "Yes" : "No"));
    lines.push_back(detailLine("Primary:", index.Primary() ? "Yes" : "No"));
    return lines;
}

}  // namespace viewer
