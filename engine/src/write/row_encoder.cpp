#include "write/row_encoder.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "jet/error.h"
#include "write/bytes.h"
#include "write/text_encoder.h"

namespace jet::write {
namespace {

namespace ct = storage::coltype;
constexpr std::size_t kJet3JumpSpan = 256;
constexpr std::uint8_t kJet3NoJump = 0xFF;

[[noreturn]] void conversionError(const storage::ColumnDef& column) {
    throw Error(kErrDataTypeConversion, "Data type conversion error.", "column '" + column.name + "'");
}

[[noreturn]] void tooLong(const storage::ColumnDef& column) {
    throw Error(kErrFieldTooSmall, "The field is too small to accept the amount of data you attempted to add. "
                                   "Try inserting or pasting less data.",
                "column '" + column.name + "'");
}

}  // namespace

double numericValue(const storage::ColumnDef& column, const Value& v) {
    if (auto* b = std::get_if<bool>(&v)) return *b ? -1 : 0;  // VB's True
    if (auto* x = std::get_if<std::uint8_t>(&v)) return *x;
    if (auto* x = std::get_if<std::int16_t>(&v)) return *x;
    if (auto* x = std::get_if<std::int32_t>(&v)) return *x;
    if (auto* x = std::get_if<std::int64_t>(&v)) return static_cast<double>(*x);
    if (auto* x = std::get_if<float>(&v)) return *x;
    if (auto* x = std::get_if<double>(&v)) return *x;
    if (auto* x = std::get_if<Currency>(&v)) return static_cast<double>(x->scaled) / 10000.0;
    if (auto* x = std::get_if<DateTime>(&v)) return x->days;
    if (auto* s = std::get_if<std::string>(&v)) {
        char* end = nullptr;
        double d = std::strtod(s->c_str(), &end);
        if (!s->empty() && end && *end == '\0') return d;
    }
    conversionError(column);
}

namespace {

std::int64_t asInteger(const storage::ColumnDef& column, const Value& v, std::int64_t low, std::int64_t high) {
    if (auto* x = std::get_if<std::int64_t>(&v)) {
        if (*x < low || *x > high) conversionError(column);
        return *x;
    }
    double d = std::nearbyint(numericValue(column, v));  // VB rounds half to even
    if (!(d >= static_cast<double>(low) && d <= static_cast<double>(high))) conversionError(column);
    return static_cast<std::int64_t>(d);
}

template <class T>
void append(std::vector<std::uint8_t>& out, T v) {
    std::uint8_t raw[sizeof(T)];
    std::memcpy(raw, &v, sizeof(T));  // little-endian hosts only, as the reader
    out.insert(out.end(), raw, raw + sizeof(T));
}

std::vector<std::uint8_t> textBytes(const storage::ColumnDef& column, const Value& value,
                                    const format::JetFormat& format, std::uint16_t codePage) {
    std::string text;
    if (auto* s = std::get_if<std::string>(&value)) text = *s;
    else if (std::holds_alternative<Bytes>(value) || std::holds_alternative<Null>(value)) conversionError(column);
    else text = valueToString(value);
    return encodeText(text, format, codePage);
}

}  // namespace

std::int64_t integerValue(const storage::ColumnDef& column, const Value& value) {
    constexpr auto kLowest = std::numeric_limits<std::int64_t>::min();
    constexpr auto kHighest = std::numeric_limits<std::int64_t>::max();
    switch (column.type) {
    case ct::kByte: return asInteger(column, value, 0, 255);
    case ct::kInteger: return asInteger(column, value, -32768, 32767);
    case ct::kLong:
        return asInteger(column, value, std::numeric_limits<std::int32_t>::min(),
                         std::numeric_limits<std::int32_t>::max());
    case ct::kCurrency: {
        if (auto* c = std::get_if<Currency>(&value)) return c->scaled;
        const double scaled = std::nearbyint(numericValue(column, value) * 10000.0);
        if (!(std::fabs(scaled) < 9.2e18)) conversionError(column);
        return static_cast<std::int64_t>(scaled);
    }
    default: return asInteger(column, value, kLowest, kHighest);
    }
}

std::vector<std::uint8_t> encodeValue(const storage::ColumnDef& column, const Value& value,
                                      const format::JetFormat& format, std::uint16_t codePage) {
    std::vector<std::uint8_t> out;
    switch (column.type) {
    case ct::kBoolean: break;
    case ct::kByte: out.push_back(static_cast<std::uint8_t>(integerValue(column, value))); break;
    case ct::kInteger: append(out, static_cast<std::int16_t>(integerValue(column, value))); break;
    case ct::kLong: append(out, static_cast<std::int32_t>(integerValue(column, value))); break;
    case ct::kBigInt:
    case ct::kCurrency: append(out, integerValue(column, value)); break;
    case ct::kSingle: append(out, static_cast<float>(numericValue(column, value))); break;
    case ct::kDouble: append(out, numericValue(column, value)); break;
    case ct::kDateTime: append(out, numericValue(column, value)); break;
    case ct::kGuid:
        if (auto* g = std::get_if<Guid>(&value)) out.assign(g->bytes.begin(), g->bytes.end());
        else conversionError(column);
        break;
    case ct::kNumeric: {
        auto* d = std::get_if<Decimal>(&value);
        if (!d) conversionError(column);
        out.push_back(d->negative ? 0x80 : 0x00);
        append(out, std::uint32_t{0});
        for (int i = 2; i >= 0; --i) append(out, d->magnitude[static_cast<std::size_t>(i)]);
        break;
    }
    case ct::kText:
    case ct::kMemo: {
        out = textBytes(column, value, format, codePage);
        if (column.type == ct::kText && out.size() > column.length) tooLong(column);
        break;
    }
    case ct::kBinary:
    case ct::kOle:
        if (auto* b = std::get_if<Bytes>(&value)) out = *b;
        else if (auto* s = std::get_if<std::string>(&value)) out.assign(s->begin(), s->end());
        else conversionError(column);
        if (column.type == ct::kBinary && out.size() > column.length) tooLong(column);
        break;
    default:
        throw Error(kErrInvalidType, "Invalid field data type.", "column '" + column.name + "'");
    }
    return out;
}

std::vector<std::uint8_t> encodeRow(const storage::TableDefinition& def, const std::vector<Value>& values,
                                    const format::JetFormat& format, std::uint16_t codePage,
                                    const LongValueSink& longValues) {
    const bool jet3 = format.isJet3();
    const std::size_t countSize = format.rowCountFieldSize;
    const std::uint16_t columnCount = def.maxColumns;
    // The null mask has one bit per column number ever used: a definition
    // whose column numbers pass its count is damaged.
    for (const auto& c : def.columns)
        if (c.number >= columnCount)
            throw Error(kErrDamaged, "The database has been damaged. Repair it before use.",
                        "page " + std::to_string(def.tdefPage) + ": column '" + c.name + "' numbered " +
                            std::to_string(c.number) + " of " + std::to_string(columnCount));
    std::vector<std::uint8_t> mask((columnCount + 7u) / 8u, 0);
    auto setPresent = [&](std::uint16_t number) { mask[number / 8u] |= static_cast<std::uint8_t>(1u << (number % 8u)); };

    // Fixed part: as long as the furthest fixed column reaches.
    std::size_t fixedLength = 0;
    for (const auto& c : def.columns)
        if (c.isFixed() && c.type != ct::kBoolean) fixedLength = std::max<std::size_t>(fixedLength, c.fixedOffset + c.length);
    std::vector<std::uint8_t> row(countSize + fixedLength, 0);
    if (countSize == 1) row[0] = static_cast<std::uint8_t>(columnCount);
    else put16(row, 0, columnCount);

    std::vector<std::vector<std::uint8_t>> variable(def.variableColumnCount);
    for (std::size_t i = 0; i < def.columns.size(); ++i) {
        const auto& column = def.columns[i];
        const Value& value = i < values.size() ? values[i] : Value{};
        if (column.type == ct::kBoolean) {
            if (!isNull(value) && numericValue(column, value) != 0) setPresent(column.number);
            continue;
        }
        if (isNull(value)) continue;
        std::vector<std::uint8_t> bytes = encodeValue(column, value, format, codePage);
        setPresent(column.number);
        if (column.isFixed()) {
            if (bytes.size() < column.length) {
                // Fixed text pads with spaces in the database's text form.
                std::vector<std::uint8_t> pad = encodeText(" ", format, codePage);
                while (bytes.size() + pad.size() <= column.length) bytes.insert(bytes.end(), pad.begin(), pad.end());
                bytes.resize(column.length, 0);
            }
            std::copy(bytes.begin(), bytes.end(), row.begin() + static_cast<std::ptrdiff_t>(countSize + column.fixedOffset));
        } else if (column.varIndex < variable.size()) {
            variable[column.varIndex] = column.isLongValue() ? longValues(bytes) : std::move(bytes);
        }
    }

    if (def.variableColumnCount == 0) {
        row.insert(row.end(), mask.begin(), mask.end());
        return row;
    }
    std::vector<std::size_t> offsets;
    for (const auto& v : variable) {
        offsets.push_back(row.size());
        row.insert(row.end(), v.begin(), v.end());
    }
    offsets.push_back(row.size());  // end of the variable data
    const std::size_t varCount = variable.size();

    if (!jet3) {
        for (std::size_t i = varCount + 1; i-- > 0;) {
            if (offsets[i] > 0xFFFF) throw Error(kErrRecordTooLarge, "Record is too large.");
            ByteWriter w;
            w.u16(static_cast<std::uint16_t>(offsets[i]));
            row.insert(row.end(), w.bytes().begin(), w.bytes().end());
        }
        ByteWriter w;
        w.u16(static_cast<std::uint16_t>(varCount));
        row.insert(row.end(), w.bytes().begin(), w.bytes().end());
        row.insert(row.end(), mask.begin(), mask.end());
        return row;
    }

    // Jet 3: one byte per offset; a jump table of (row length - 1) / 256
    // entries sits before the count, and its size depends on the length
    // it helps to make, so settle it by trying.
    const std::size_t tail = (varCount + 1) + 1 + mask.size();
    std::size_t jumps = 0;
    while ((row.size() + tail + jumps - 1) / kJet3JumpSpan > jumps) ++jumps;
    for (std::size_t i = varCount + 1; i-- > 0;) row.push_back(static_cast<std::uint8_t>(offsets[i] & 0xFF));
    for (std::size_t j = 0; j < jumps; ++j) {
        std::uint8_t first = kJet3NoJump;
        for (std::size_t i = 0; i <= varCount; ++i)
            if (offsets[i] >= kJet3JumpSpan * (j + 1)) {
                first = static_cast<std::uint8_t>(i);
                break;
            }
        row.push_back(first);
    }
    row.push_back(static_cast<std::uint8_t>(varCount));
    row.insert(row.end(), mask.begin(), mask.end());
    return row;
}

}  // namespace jet::write
