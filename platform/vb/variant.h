// VB's Variant: a value that carries its own kind, with VB's VarType numbers.
// The registry class takes Variants in SetValue and answers Variants from
// GetValue; the common routines use them where VB declared "As Variant".
//
// Construction picks the kind from the C++ type, so callers choose the VB
// kind explicitly: int16_t is Integer, int32_t is Long, float is Single,
// double is Double, bool is Boolean, uint8_t is Byte, text is String. Other
// integer types (long, size_t, ...) do not compile, because VB has no kind
// for them and a silent choice would hide an overflow.
//
// The to...() conversions follow VB's CInt/CLng/CSng/CDbl/CBool/CByte/CStr:
// numbers round half to even, out-of-range values raise RuntimeError 6
// (Overflow), unconvertible text raises 13 (Type mismatch) and Null raises
// 94 (Invalid use of Null). Empty converts to 0, False or "".
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

namespace vb {

// VarType numbers.
enum VbVarType : int {
    vbEmpty = 0,
    vbNull = 1,
    vbInteger = 2,
    vbLong = 3,
    vbSingle = 4,
    vbDouble = 5,
    vbCurrency = 6,
    vbDate = 7,
    vbString = 8,
    vbObject = 9,
    vbError = 10,
    vbBoolean = 11,
    vbVariant = 12,
    vbDataObject = 13,
    vbDecimal = 14,
    vbByte = 17,
    vbArray = 8192,
};

// VB's True and False as 16-bit flags.
inline constexpr int16_t vbTrue = -1;
inline constexpr int16_t vbFalse = 0;

class Variant {
public:
    // Empty.
    Variant() = default;
    Variant(int16_t value) : kind_(vbInteger), value_(int64_t{value}) {}
    Variant(int32_t value) : kind_(vbLong), value_(int64_t{value}) {}
    Variant(uint8_t value) : kind_(vbByte), value_(int64_t{value}) {}
    Variant(float value) : kind_(vbSingle), value_(double{value}) {}
    Variant(double value) : kind_(vbDouble), value_(value) {}
    Variant(bool value) : kind_(vbBoolean), value_(int64_t{value ? -1 : 0}) {}
    Variant(std::string value) : kind_(vbString), value_(std::move(value)) {}
    Variant(const char* value) : kind_(vbString), value_(std::string(value ? value : "")) {}
    // Integer types VB has no kind for are refused at compile time.
    template <typename T,
              typename = std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, int16_t> &&
                                          !std::is_same_v<T, int32_t> && !std::is_same_v<T, uint8_t> &&
                                          !std::is_same_v<T, bool>>>
    Variant(T) = delete;

    static Variant Empty() { return Variant(); }
    static Variant Null();
    // Currency is a fixed-point number held in ten-thousandths.
    static Variant Currency(int64_t tenThousandths);
    // Date is VB's serial date: days since 30 December 1899, time as the fraction.
    static Variant Date(double serial);
    // An Error value (CVErr), as VB uses for "missing" optional arguments.
    static Variant Error(int32_t number);
    // An array of Bytes (VarType 8209), the form binary data takes.
    static Variant ByteArray(std::vector<uint8_t> bytes);

    // VB's VarType(): the kind number, vbArray + element kind for arrays.
    int VarType() const;
    // VB's TypeName(): "Empty", "Null", "Integer", "Long", ..., "Byte()".
    std::string TypeName() const;

    bool isEmpty() const { return kind_ == vbEmpty; }
    bool isNull() const { return kind_ == vbNull; }
    bool isArray() const { return kind_ == vbArray; }
    // VB's IsNumeric: the number kinds, Boolean, Empty, and text that
    // converts to a number.
    bool isNumeric() const;

    int16_t toInteger() const;      // CInt
    int32_t toLong() const;         // CLng
    uint8_t toByte() const;         // CByte
    float toSingle() const;         // CSng
    double toDouble() const;        // CDbl
    bool toBool() const;            // CBool
    std::string toString() const;   // CStr
    int64_t currencyValue() const;  // CCur, in ten-thousandths
    double dateSerial() const;      // CDate, as a serial date
    int32_t errorNumber() const;    // the number of an Error value; 13 otherwise
    // The bytes of a Byte array; of a String its characters' bytes.
    std::vector<uint8_t> toBytes() const;

    // Same kind and same value (VB's "=" would compare across kinds; tests
    // and callers here want the exact kind too).
    friend bool operator==(const Variant& a, const Variant& b) {
        return a.kind_ == b.kind_ && a.elementKind_ == b.elementKind_ && a.value_ == b.value_;
    }

private:
    Variant(VbVarType kind, std::variant<std::monostate, int64_t, double, std::string, std::vector<uint8_t>> v)
        : kind_(kind), value_(std::move(v)) {}
    double numericValue() const;  // the value as a double, with VB's conversions

    VbVarType kind_ = vbEmpty;
    VbVarType elementKind_ = vbEmpty;  // for arrays only
    std::variant<std::monostate, int64_t, double, std::string, std::vector<uint8_t>> value_;
};

}  // namespace vb
