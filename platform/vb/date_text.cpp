#include "vb/date_text.h"

#include <QLocale>

#include <array>
#include <cctype>

namespace vb {

namespace {

bool isLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeap(year) ? 29 : kDays[month - 1];
}

// Splits "dd/mm/yy" into three numbers; every part needs 1 to 4 digits and
// both separators must be the same character.
bool splitParts(const std::string& text, std::array<int, 3>& parts, std::array<int, 3>& digits) {
    std::size_t position = 0;
    char separator = 0;
    for (int part = 0; part < 3; ++part) {
        int value = 0;
        int count = 0;
        while (position < text.size() && std::isdigit(static_cast<unsigned char>(text[position]))) {
            if (++count > 4) return false;
            value = value * 10 + (text[position] - '0');
            ++position;
        }
        if (count == 0) return false;
        parts[part] = value;
        digits[part] = count;
        if (part == 2) break;
        if (position >= text.size()) return false;
        const char c = text[position];
        if (c != '/' && c != '-' && c != '.') return false;
        if (separator && c != separator) return false;
        separator = c;
        ++position;
    }
    return position == text.size();
}

int fullYear(int year, int digits) {
    if (digits <= 2) return year < 30 ? 2000 + year : 1900 + year;
    return year;
}

bool localeIsDayFirst() {
    const QString format = QLocale::system().dateFormat(QLocale::ShortFormat);
    const auto day = format.indexOf(QLatin1Char('d'));
    const auto month = format.indexOf(QLatin1Char('M'));
    return day >= 0 && month >= 0 ? day < month : true;
}

}  // namespace

std::optional<double> DateSerial(int year, int month, int day) {
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        return std::nullopt;
    // Days from the civil date, counted from 1970-01-01, then moved to VB's epoch.
    const int y = month <= 2 ? year - 1 : year;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long long daysSince1970 = static_cast<long long>(era) * 146097 + doe - 719468;
    return static_cast<double>(daysSince1970 + 25569);
}

std::optional<double> dateFromText(const std::string& text, bool dayFirst) {
    std::array<int, 3> parts {};
    std::array<int, 3> digits {};
    if (!splitParts(text, parts, digits)) return std::nullopt;
    if (digits[0] > 2 || digits[1] > 2) return std::nullopt;  // day and month have one or two digits
    const int year = fullYear(parts[2], digits[2]);
    const int first = dayFirst ? parts[0] : parts[1];
    const int second = dayFirst ? parts[1] : parts[0];
    if (auto date = DateSerial(year, second, first)) return date;
    return DateSerial(year, first, second);  // VB's swapped reading
}

std::optional<double> dateFromText(const std::string& text) { return dateFromText(text, localeIsDayFirst()); }

}  // namespace vb
