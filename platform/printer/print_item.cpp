#include "printer/print_item.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <iomanip>
#include <sstream>

namespace printer {

namespace {

// VB pads positive numbers with the blank that a minus sign would take.
std::string padded(std::string digits) {
    if (digits.empty() || digits.front() != '-') digits.insert(digits.begin(), ' ');
    digits.push_back(' ');
    return digits;
}

// %G with VB's spelling: an upper-case E and at least two exponent digits,
// which %G already gives; NaN and infinities cannot come from the engine but
// are printed readably rather than as platform-specific text.
std::string significantDigits(double value, int digits) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Inf" : "Inf";
    if (value == 0) return "0";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*G", digits, value);
    return buffer;
}

}  // namespace

std::string numberText(std::int64_t value) { return padded(std::to_string(value)); }

std::string numberText(double value) { return padded(significantDigits(value, 15)); }

std::string numberText(float value) {
    return padded(significantDigits(static_cast<double>(value), 7));
}

std::string booleanText(bool value) { return value ? "True" : "False"; }

std::string dateText(DateItem date, const std::locale& locale) {
    using namespace std::chrono;
    // The whole part counts days from the epoch in either direction, while the
    // fraction is always the time forward from midnight of that day.
    const double wholeDays = std::trunc(date.days);
    long long seconds = std::llround(std::fabs(date.days - wholeDays) * 86400.0);
    long long dayNumber = static_cast<long long>(wholeDays);
    if (seconds >= 86400) {
        seconds -= 86400;
        ++dayNumber;
    }
    const bool hasDate = dayNumber != 0;
    const bool hasTime = seconds != 0;

    const sys_days day = sys_days(1899y / December / 30) + days(dayNumber);
    const year_month_day ymd(day);
    std::tm tm{};
    tm.tm_year = static_cast<int>(ymd.year()) - 1900;
    tm.tm_mon = static_cast<int>(static_cast<unsigned>(ymd.month())) - 1;
    tm.tm_mday = static_cast<int>(static_cast<unsigned>(ymd.day()));
    tm.tm_wday = static_cast<int>(weekday(day).c_encoding());
    tm.tm_yday = static_cast<int>((day - sys_days(ymd.year() / January / 1)).count());
    tm.tm_hour = static_cast<int>(seconds / 3600);
    tm.tm_min = static_cast<int>(seconds / 60 % 60);
    tm.tm_sec = static_cast<int>(seconds % 60);

    std::ostringstream out;
    out.imbue(locale);
    if (!hasDate) {
        out << std::put_time(&tm, "%X");
    } else if (!hasTime) {
        out << std::put_time(&tm, "%x");
    } else {
        out << std::put_time(&tm, "%x %X");
    }
    return out.str();
}

std::locale systemLocale() {
    try {
        return std::locale("");
    } catch (const std::runtime_error&) {
        return std::locale::classic();
    }
}

}  // namespace printer
