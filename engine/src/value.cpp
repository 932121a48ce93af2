#include "jet/value.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace jet {
namespace {

// Civil date from a count of days since 1970-01-01 (proleptic Gregorian).
void civilFromDays(long long z, int& year, unsigned& month, unsigned& day) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = doy - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<int>(y + (month <= 2));
}

// OLE dates count from 1899-12-30; that day is 25569 days before 1970-01-01.
constexpr long long kOleEpochToUnixDays = 25569;

std::string dateToString(double days) {
    if (!std::isfinite(days) || std::fabs(days) > 3e6) return "#invalid date#";
    // The integral part is the day, the fraction (also for negative dates)
    // the time of that day.
    double whole = std::trunc(days);
    long long seconds = std::llround(std::fabs(days - whole) * 86400.0);
    long long dayNumber = static_cast<long long>(whole);
    if (seconds >= 86400) {
        seconds -= 86400;
        dayNumber += days < 0 ? -1 : 1;
    }
    int year;
    unsigned month, day;
    civilFromDays(dayNumber - kOleEpochToUnixDays, year, month, day);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02uT%02lld:%02lld:%02lld", year, month, day,
                  seconds / 3600, seconds / 60 % 60, seconds % 60);
    return buffer;
}

// Shortest text that reads back as the same value at the precision VB shows
// (15 significant digits for Double, 7 for Single).
std::string floatingToString(double v, int digits) {
    if (std::isnan(v)) return "NaN";
    if (std::isinf(v)) return v < 0 ? "-Infinity" : "Infinity";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*G", digits, v);
    std::string text = buffer;
    // %G leaves exponents such as E+05 for large values; VB writes E+15 only
    // beyond its digit count, so plain numbers are what remain here.
    return text;
}

std::string decimalToString(const Decimal& d) {
    // Magnitude as base-10 digits by repeated division of the 96-bit value.
    std::array<std::uint32_t, 3> m = d.magnitude;
    std::string digits;
    auto isZero = [&] { return m[0] == 0 && m[1] == 0 && m[2] == 0; };
    while (!isZero()) {
        std::uint64_t remainder = 0;
        for (int i = 2; i >= 0; --i) {
            std::uint64_t current = (remainder << 32) | m[static_cast<std::size_t>(i)];
            m[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(current / 10);
            remainder = current % 10;
        }
        digits.insert(digits.begin(), static_cast<char>('0' + remainder));
    }
    if (digits.empty()) digits = "0";
    std::size_t scale = d.scale;
    if (scale > 0) {
        if (digits.size() <= scale) digits.insert(0, scale - digits.size() + 1, '0');
        digits.insert(digits.size() - scale, ".");
        while (digits.back() == '0') digits.pop_back();
        if (digits.back() == '.') digits.pop_back();
    }
    if (d.negative && digits != "0") digits.insert(0, "-");
    return digits;
}

std::string currencyToString(const Currency& c) {
    std::int64_t v = c.scaled;
    bool negative = v < 0;
    // The magnitude as unsigned, safe for the most negative value too.
    std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    std::string text = std::to_string(magnitude / 10000);
    unsigned fraction = static_cast<unsigned>(magnitude % 10000);
    if (fraction != 0) {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, "%04u", fraction);
        std::string f = buffer;
        while (f.back() == '0') f.pop_back();
        text += "." + f;
    }
    return negative ? "-" + text : text;
}

std::string guidToString(const Guid& g) {
    const auto& b = g.bytes;
    char buffer[40];
    std::snprintf(buffer, sizeof buffer,
                  "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", b[3], b[2], b[1],
                  b[0], b[5], b[4], b[7], b[6], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
    return buffer;
}

std::string bytesToString(const Bytes& bytes) {
    static const char* kHex = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        text += kHex[b >> 4];
        text += kHex[b & 15];
    }
    return text;
}

}  // namespace

std::string valueToString(const Value& v) {
    struct Visitor {
        std::string operator()(const Null&) const { return {}; }
        std::string operator()(bool b) const { return b ? "True" : "False"; }
        std::string operator()(std::uint8_t x) const { return std::to_string(x); }
        std::string operator()(std::int16_t x) const { return std::to_string(x); }
        std::string operator()(std::int32_t x) const { return std::to_string(x); }
        std::string operator()(std::int64_t x) const { return std::to_string(x); }
        std::string operator()(float x) const { return floatingToString(x, 7); }
        std::string operator()(double x) const { return floatingToString(x, 15); }
        std::string operator()(const Currency& c) const { return currencyToString(c); }
        std::string operator()(const DateTime& d) const { return dateToString(d.days); }
        std::string operator()(const Guid& g) const { return guidToString(g); }
        std::string operator()(const Decimal& d) const { return decimalToString(d); }
        std::string operator()(const std::string& s) const { return s; }
        std::string operator()(const Bytes& b) const { return bytesToString(b); }
    };
    return std::visit(Visitor{}, v);
}

}  // namespace jet
