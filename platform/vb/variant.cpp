#include "vb/variant.h"

#include <cfenv>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "vb/date_text.h"
#include "vb/vb_error.h"

namespace vb {

namespace {

[[noreturn]] void overflow() { throw RuntimeError(vbErrOverflow, "Overflow"); }
[[noreturn]] void typeMismatch() { throw RuntimeError(vbErrTypeMismatch, "Type mismatch"); }
[[noreturn]] void invalidUseOfNull() { throw RuntimeError(vbErrInvalidUseOfNull, "Invalid use of Null"); }

std::string trimBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool equalsIgnoringCase(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return i == a.size() && b[i] == '\0';
}

// The whole text as a number, or false. Blanks around it are allowed, as in
// VB's conversions; anything else left over is not.
bool parseNumber(const std::string& text, double& out) {
    std::string body = trimBlanks(text);
    if (body.empty()) return false;
    if (body[0] == '+') body.erase(0, 1);
    const char* begin = body.data();
    const char* end = begin + body.size();
    auto [ptr, ec] = std::from_chars(begin, end, out, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) overflow();
    return ec == std::errc() && ptr == end && std::isfinite(out);
}

// VB rounds half to even when it converts to a whole number.
double roundHalfEven(double value) {
    const int savedMode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(savedMode);
    return rounded;
}

template <typename Int>
Int toWhole(double value) {
    if (!std::isfinite(value)) overflow();
    const double rounded = roundHalfEven(value);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max()))
        overflow();
    return static_cast<Int>(rounded);
}

std::string formatNumber(double value, int significantDigits) {
    if (value == 0) return "0";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*G", significantDigits, value);
    return buffer;
}

std::string formatCurrency(int64_t tenThousandths) {
    const bool negative = tenThousandths < 0;
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(tenThousandths) : tenThousandths;
    std::string text = std::to_string(magnitude / 10000);
    uint64_t fraction = magnitude % 10000;
    if (fraction != 0) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%04llu", static_cast<unsigned long long>(fraction));
        std::string tail = digits;
        tail.erase(tail.find_last_not_of('0') + 1);
        text += "." + tail;
    }
    return negative ? "-" + text : text;
}

// Serial date to "yyyy-mm-dd" plus " hh:mm:ss" when there is a time part.
std::string formatDate(double serial) {
    double dayPart = std::floor(serial);
    double timePart = std::fabs(serial - dayPart);
    // VB's negative serials count the time forward from the day's start.
    if (serial < 0 && serial != dayPart) {
        dayPart = std::ceil(serial);
        timePart = std::fabs(serial - dayPart);
    }
    // Civil-from-days over the epoch 1899-12-30.
    const long long days = static_cast<long long>(dayPart) - 25569;  // days since 1970-01-01
    long long z = days + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long year = yoe + era * 400;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long day = doy - (153 * mp + 2) / 5 + 1;
    const long long month = mp < 10 ? mp + 3 : mp - 9;
    if (month <= 2) ++year;
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%04lld-%02lld-%02lld", year, month, day);
    std::string text = buffer;
    const long long seconds = std::llround(timePart * 86400.0);
    if (seconds != 0) {
        std::snprintf(buffer, sizeof buffer, " %02lld:%02lld:%02lld", seconds / 3600, (seconds / 60) % 60,
                      seconds % 60);
        text += buffer;
    }
    return text;
}

}  // namespace

Variant Variant::Null() { return Variant(vbNull, std::monostate{}); }

Variant Variant::Currency(int64_t tenThousandths) { return Variant(vbCurrency, tenThousandths); }

Variant Variant::Date(double serial) { return Variant(vbDate, serial); }

Variant Variant::Error(int32_t number) { return Variant(vbError, int64_t{number}); }

Variant Variant::ByteArray(std::vector<uint8_t> bytes) {
    Variant v(vbArray, std::move(bytes));
    v.elementKind_ = vbByte;
    return v;
}

int Variant::VarType() const { return kind_ == vbArray ? vbArray + elementKind_ : kind_; }

std::string Variant::TypeName() const {
    switch (kind_) {
    case vbEmpty: return "Empty";
    case vbNull: return "Null";
    case vbInteger: return "Integer";
    case vbLong: return "Long";
    case vbSingle: return "Single";
    case vbDouble: return "Double";
    case vbCurrency: return "Currency";
    case vbDate: return "Date";
    case vbString: return "String";
    case vbError: return "Error";
    case vbBoolean: return "Boolean";
    case vbByte: return "Byte";
    case vbArray: return "Byte()";
    default: return "Unknown";
    }
}

double Variant::numericValue() const {
    switch (kind_) {
    case vbEmpty: return 0;
    case vbNull: invalidUseOfNull();
    case vbInteger:
    case vbLong:
    case vbByte:
    case vbBoolean: return static_cast<double>(std::get<int64_t>(value_));
    case vbCurrency: return static_cast<double>(std::get<int64_t>(value_)) / 10000.0;
    case vbSingle:
    case vbDouble:
    case vbDate: return std::get<double>(value_);
    case vbString: {
        const std::string& text = std::get<std::string>(value_);
        double number = 0;
        if (parseNumber(text, number)) return number;
        const std::string trimmed = trimBlanks(text);
        if (equalsIgnoringCase(trimmed, "True")) return -1;
        if (equalsIgnoringCase(trimmed, "False")) return 0;
        typeMismatch();
    }
    default: typeMismatch();
    }
}

bool Variant::isNumeric() const {
    switch (kind_) {
    case vbEmpty:
    case vbInteger:
    case vbLong:
    case vbSingle:
    case vbDouble:
    case vbCurrency:
    case vbBoolean:
    case vbByte: return true;
    case vbString: {
        double number = 0;
        try {
            return parseNumber(std::get<std::string>(value_), number);
        } catch (const RuntimeError&) {
            return true;  // a number, only too large
        }
    }
    default: return false;
    }
}

int16_t Variant::toInteger() const { return toWhole<int16_t>(numericValue()); }

int32_t Variant::toLong() const { return toWhole<int32_t>(numericValue()); }

uint8_t Variant::toByte() const { return toWhole<uint8_t>(numericValue()); }

float Variant::toSingle() const {
    const double value = numericValue();
    if (std::fabs(value) > std::numeric_limits<float>::max()) overflow();
    return static_cast<float>(value);
}

double Variant::toDouble() const { return numericValue(); }

bool Variant::toBool() const { return numericValue() != 0; }

int64_t Variant::currencyValue() const {
    if (kind_ == vbCurrency) return std::get<int64_t>(value_);
    const double scaled = numericValue() * 10000.0;
    return toWhole<int64_t>(scaled);
}

double Variant::dateSerial() const {
    if (kind_ == vbDate) return std::get<double>(value_);
    if (kind_ == vbString) {
        if (auto serial = dateFromText(trimBlanks(std::get<std::string>(value_)))) return *serial;
        typeMismatch();
    }
    return numericValue();
}

int32_t Variant::errorNumber() const {
    if (kind_ != vbError) typeMismatch();
    return static_cast<int32_t>(std::get<int64_t>(value_));
}

std::string Variant::toString() const {
    switch (kind_) {
    case vbEmpty: return {};
    case vbNull: invalidUseOfNull();
    case vbInteger:
    case vbLong:
    case vbByte: return std::to_string(std::get<int64_t>(value_));
    case vbBoolean: return std::get<int64_t>(value_) ? "True" : "False";
    case vbSingle: return formatNumber(std::get<double>(value_), 7);
    case vbDouble: return formatNumber(std::get<double>(value_), 15);
    case vbCurrency: return formatCurrency(std::get<int64_t>(value_));
    case vbDate: return formatDate(std::get<double>(value_));
    case vbString: return std::get<std::string>(value_);
    case vbError: return "Error " + std::to_string(std::get<int64_t>(value_));
    default: typeMismatch();
    }
}

std::vector<uint8_t> Variant::toBytes() const {
    if (kind_ == vbArray) return std::get<std::vector<uint8_t>>(value_);
    if (kind_ == vbString) {
        const std::string& text = std::get<std::string>(value_);
        return std::vector<uint8_t>(text.begin(), text.end());
    }
    if (kind_ == vbNull) invalidUseOfNull();
    typeMismatch();
}

}  // namespace vb
