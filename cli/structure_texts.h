// Short texts for a structure's values, shared by diff and the documents.
#pragma once

#include <string>

#include "jet/dao.h"

namespace cli {

// "Text(20)", "Date/Time", "Attachment"; a code without a name as its number.
std::string fieldTypeWithSize(const jet::Field& field);

// The stored Description property, or "".
std::string descriptionOf(const jet::Collection<jet::Property>& properties);

// "Select", "Crosstab", "Union", ... for a dbQ... code.
std::string queryTypeName(int type);

}  // namespace cli
