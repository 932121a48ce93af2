#include "jet/index.h"

#include "jet/types.h"

namespace jet {

std::string Index::FieldsText() const {
    std::string text;
    for (const auto& field : fields_) {
        if (!text.empty()) text += ';';
        text += (field->Attributes() & dbDescending) ? '-' : '+';
        text += field->Name();
    }
    return text;
}

}  // namespace jet
