// The differences of compareStructures as the user reads them (one line
// each, its path first) and as programs read them (JSON).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "diff/structure_diff.h"

namespace diff {

// "table Orders / field ShipDate: type Date/Time -> Text(20)",
// "table Archive: added"; "database: version 3.0 -> 4.0".
std::string differenceLine(const Difference& difference);

void writeDifferencesText(const std::vector<Difference>& differences, std::ostream& out);

// {"a": ..., "b": ..., "equal": ..., "differences": [{"path": [{"kind":
// "table", "name": "Orders"}, ...], "change": "changed", "property":
// "type", "from": "Date/Time", "to": "Text(20)"}, ...]}
void writeDifferencesJson(const std::string& a, const std::string& b, const std::vector<Difference>& differences,
                          std::ostream& out);

}  // namespace diff
