// Error areas: numbers with fixed bracketed labels, used in error messages.
#pragma once

#include <cstdint>
#include <string>

namespace subs {

// The label of an area number; "[Code run]" for every number without one.
std::string areaLabel(int32_t areaNumber);
// "[Fnnn]" for a form number of 1 or more (its last three digits), else "".
std::string formPrefix(int16_t formNumber);
// The area number of a label, a leading "[Fnnn]" ignored; 2 when unknown.
int32_t areaNumFromText(const std::string& areaText);

}  // namespace subs
