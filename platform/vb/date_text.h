// Turning a date text into a date, as VB's CDate/IsDate do for the short
// dates people type: three numbers separated by one kind of separator ("/",
// "-" or "."). The order of day and month is the user's locale's; when the
// text is not a date in that order but is one with day and month swapped,
// the swapped reading is taken, as VB does. A two-digit year 0-29 is 20xx,
// 30-99 is 19xx. Years run from 100 to 9999.
#pragma once

#include <optional>
#include <string>

namespace vb {

// VB's serial date (days since 30 December 1899) of `text`, or nullopt when
// it is not a date.
std::optional<double> dateFromText(const std::string& text);
// The same with the order given explicitly (true: day before month).
std::optional<double> dateFromText(const std::string& text, bool dayFirst);

// VB's serial date of a calendar date; nullopt when the date does not exist.
std::optional<double> DateSerial(int year, int month, int day);

}  // namespace vb
