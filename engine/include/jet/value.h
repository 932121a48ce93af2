// A column value as the engine returns it: Null or one of Jet's stored kinds.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace jet {

// Currency: a 64-bit integer in units of 1/10000.
struct Currency {
    std::int64_t scaled = 0;
    bool operator==(const Currency&) const = default;
};

// Date/Time: days since 30 December 1899, the fraction being the time of day
// (OLE automation dates, as Jet stores them).
struct DateTime {
    double days = 0;
    bool operator==(const DateTime&) const = default;
};

// A GUID in its stored byte order (the first three groups little-endian).
struct Guid {
    std::array<std::uint8_t, 16> bytes{};
    bool operator==(const Guid&) const = default;
};

// Decimal: a 96-bit unsigned magnitude with a sign and a scale (digits after
// the point), as Jet 4 stores it.
struct Decimal {
    bool negative = false;
    std::uint8_t scale = 0;
    std::uint8_t precision = 0;
    std::array<std::uint32_t, 3> magnitude{};  // little-endian 32-bit words
    bool operator==(const Decimal&) const = default;
};

using Bytes = std::vector<std::uint8_t>;

struct Null {
    bool operator==(const Null&) const = default;
};

// Text is held as UTF-8. Boolean, Byte, Integer, Long, BigInt, Single, Double
// carry the C++ type of the same width.
using Value = std::variant<Null, bool, std::uint8_t, std::int16_t, std::int32_t, std::int64_t,
                           float, double, Currency, DateTime, Guid, Decimal, std::string, Bytes>;

inline bool isNull(const Value& v) { return std::holds_alternative<Null>(v); }

// The value as DAO's default text conversion would show it ("True", "12",
// "3.5", a date in ISO 8601, a GUID in braces); Null gives "".
std::string valueToString(const Value& v);

}  // namespace jet
