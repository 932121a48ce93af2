// The items of a print statement (`Printer.Print Tab(10); "Name"; n`) and the
// text VB's Print makes of each value.
#pragma once

#include <concepts>
#include <cstdint>
#include <locale>
#include <string>
#include <string_view>
#include <variant>

namespace printer {

// Tab(n): move to column n, column 1 being the left edge of the printable area.
struct Tab {
    int column;
};

// The "," separator between items: move to the start of the next print zone.
struct NextZone {};
inline constexpr NextZone Comma{};

// A Date item: an OLE automation date, days since 30 December 1899 with the
// time of day as the fraction (how the database engine hands dates out).
struct DateItem {
    double days;
};

// How a print statement ends: no trailing separator ends the row; a trailing
// ";" keeps the position after the last item; a trailing "," moves to the next
// print zone and keeps the row open.
enum class PrintEnd { EndRow, KeepPosition, NextZone };

// One item of a print statement. The constructors are implicit so that a
// statement reads like VB's: `P.Print({Tab(10), "Page no: ", P.Page()})`.
// Integers and floating numbers are number items, bool a Boolean item.
class PrintItem {
public:
    using Value = std::variant<std::string, bool, std::int64_t, double, float, DateItem, Tab,
                               NextZone>;

    PrintItem(const char* text) : value_(std::string(text)) {}
    PrintItem(std::string text) : value_(std::move(text)) {}
    PrintItem(std::string_view text) : value_(std::string(text)) {}
    PrintItem(bool value) : value_(value) {}
    template <std::integral T>
        requires(!std::same_as<T, bool> && !std::same_as<T, char> && !std::same_as<T, char8_t>)
    PrintItem(T value) : value_(static_cast<std::int64_t>(value)) {}
    PrintItem(double value) : value_(value) {}
    PrintItem(float value) : value_(value) {}
    PrintItem(DateItem value) : value_(value) {}
    PrintItem(Tab value) : value_(value) {}
    PrintItem(NextZone value) : value_(value) {}

    const Value& value() const { return value_; }

private:
    Value value_;
};

// Number items as VB prints them: a blank (or the minus sign) before the
// digits and one blank after. Doubles show up to 15 significant digits,
// Singles 7, in scientific notation ("1E+15", "1.5E-05") outside 1E-4 to 1E15.
std::string numberText(std::int64_t value);
std::string numberText(double value);
std::string numberText(float value);

// "True" or "False", without padding.
std::string booleanText(bool value);

// A date in the short date and time formats of `locale`: the date alone when
// the time of day is midnight, the time alone when the date part is zero
// (30 December 1899), both otherwise. Times are rounded to the second.
std::string dateText(DateItem date, const std::locale& locale);

// The user's locale from the environment, or the classic "C" locale when the
// environment names one the system does not have.
std::locale systemLocale();

}  // namespace printer
