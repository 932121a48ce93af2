#include "structure_texts.h"

#include "listing/structure_listing.h"

namespace cli {

std::string fieldTypeWithSize(const jet::Field& field) {
    static const listing::FieldTypeNames names = listing::fieldTypeNames();
    const int type = field.Type();
    std::string text;
    if (type >= 0 && type < static_cast<int>(names.size())) text = names[static_cast<std::size_t>(type)];
    else if (type == jet::dbAttachment) text = "Attachment";
    else if (type > jet::dbAttachment && type <= jet::dbComplexText) text = "Multi-valued";
    if (text.empty()) return "type " + std::to_string(type);
    if (type == jet::dbText || type == jet::dbBinary || type == jet::dbChar || type == jet::dbVarBinary)
        text += "(" + std::to_string(field.Size()) + ")";
    return text;
}

std::string descriptionOf(const jet::Collection<jet::Property>& properties) {
    const jet::Property* p = properties.find("Description");
    return p ? jet::valueToString(p->Value()) : std::string();
}

std::string queryTypeName(int type) {
    switch (type) {
        case jet::dbQSelect: return "Select";
        case jet::dbQCrosstab: return "Crosstab";
        case jet::dbQDelete: return "Delete";
        case jet::dbQUpdate: return "Update";
        case jet::dbQAppend: return "Append";
        case jet::dbQMakeTable: return "Make table";
        case jet::dbQDDL: return "Data definition";
        case jet::dbQSQLPassThrough: return "Pass-through";
        case jet::dbQSetOperation: return "Union";
        default: return "type " + std::to_string(type);
    }
}

}  // namespace cli
