// The lines lstProperties shows for one field or one index of a table:
// labels padded to a fixed width so that the values line up in the list's
// fixed-pitch font.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "jet/field.h"
#include "jet/index.h"
#include "listing/structure_listing.h"

namespace viewer {

// Display names of the engine's field type codes 0 to 25.
using listing::FieldTypeNames;
using listing::fieldTypeNames;

// The type text of a field: the table's name for codes 0 to 25; outside that
// range (the kinds only newer files hold, or a code we do not know) the
// engine's kind name, else the code as a number, never an out-of-bounds read.
std::string fieldTypeText(const FieldTypeNames& names, int type);

// `label` cut or padded with blanks to exactly `width` characters.
std::string padLabel(const std::string& label, std::size_t width);

// The detail lines of a table's field, with the decoded attribute lines.
std::vector<std::string> fieldDetailLines(const jet::Field& field, const FieldTypeNames& names);

// The lines that decode a field's whole Attributes value (compared as a
// whole, not bit by bit); none for values without a meaning of their own.
std::vector<std::string> attributeLines(long attributes);

// The detail lines of an index: name, two lines per member (name and sort
// order), Unique and Primary.
std::vector<std::string> indexDetailLines(const jet::Index& index);

// "Ascending", "Descending" or the attribute value itself.
std::string sortOrderText(long attributes);

}  // namespace viewer
