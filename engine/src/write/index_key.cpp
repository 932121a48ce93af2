#include "write/index_key.h"

#include <algorithm>
#include <cstring>

#include "jet/error.h"
#include "write/row_encoder.h"
#include "write/text_key.h"

namespace jet::write {
namespace {

namespace ct = storage::coltype;
constexpr std::uint8_t kAscendingValue = 0x7F;
constexpr std::uint8_t kAscendingNull = 0x00;
constexpr std::uint8_t kDescendingValue = 0x80;
constexpr std::uint8_t kDescendingNull = 0xFF;

template <class T>
void bigEndian(std::vector<std::uint8_t>& out, T v) {
    std::uint8_t raw[sizeof(T)];
    std::memcpy(raw, &v, sizeof(T));
    for (std::size_t i = sizeof(T); i-- > 0;) out.push_back(raw[i]);
}

// Floating point: positive values with the sign bit set, negative ones with
// every bit inverted, so that bytes compare as the numbers do.
template <class F, class U>
void floatKey(std::vector<std::uint8_t>& out, F value) {
    U bits;
    std::memcpy(&bits, &value, sizeof(F));
    const U sign = U{1} << (sizeof(U) * 8 - 1);
    bits = (bits & sign) ? static_cast<U>(~bits) : static_cast<U>(bits | sign);
    bigEndian(out, bits);
}

// Binary values go in runs of 8 bytes, zero-padded; after each run a byte
// says "more follows" (9) or how many bytes of the last run count. A
// descending key inverts everything but the "more follows" marks.
void binaryKey(std::vector<std::uint8_t>& out, const Bytes& data, bool ascending) {
    // A zero-length value is its flag byte alone, as Jet writes it.
    if (data.empty()) return;
    const std::uint8_t flip = ascending ? 0x00 : 0xFF;
    constexpr std::size_t kRun = 8;
    constexpr std::uint8_t kMoreFollows = 9;
    std::size_t at = 0;
    do {
        const std::size_t take = std::min(kRun, data.size() - at);
        for (std::size_t i = 0; i < kRun; ++i)
            out.push_back(static_cast<std::uint8_t>((i < take ? data[at + i] : 0) ^ flip));
        at += take;
        out.push_back(at < data.size() ? kMoreFollows : static_cast<std::uint8_t>(take ^ flip));
    } while (at < data.size());
}

}  // namespace

bool appendKey(std::vector<std::uint8_t>& key, const storage::ColumnDef& column, const Value& value, bool ascending,
               bool jet3) {
    if (isNull(value) && column.type != ct::kBoolean) {
        key.push_back(ascending ? kAscendingNull : kDescendingNull);
        return true;
    }
    key.push_back(ascending ? kAscendingValue : kDescendingValue);
    const std::size_t from = key.size();
    switch (column.type) {
    // Numbers are keyed on the value the row stores, converted as the row
    // encoder converts it, so that key and row always agree.
    case ct::kBoolean: key.push_back(!isNull(value) && numericValue(column, value) != 0 ? 0x00 : 0xFF); break;
    case ct::kByte: key.push_back(static_cast<std::uint8_t>(integerValue(column, value))); break;
    case ct::kInteger:
        bigEndian(key, static_cast<std::uint16_t>(static_cast<std::uint16_t>(integerValue(column, value)) ^ 0x8000u));
        break;
    case ct::kLong:
        bigEndian(key,
                  static_cast<std::uint32_t>(static_cast<std::uint32_t>(integerValue(column, value)) ^ 0x80000000u));
        break;
    case ct::kCurrency:
    case ct::kBigInt:
        bigEndian(key, static_cast<std::uint64_t>(integerValue(column, value)) ^ 0x8000000000000000ull);
        break;
    case ct::kSingle: floatKey<float, std::uint32_t>(key, static_cast<float>(numericValue(column, value))); break;
    case ct::kDouble:
    case ct::kDateTime: floatKey<double, std::uint64_t>(key, numericValue(column, value)); break;
    case ct::kText:
    case ct::kMemo: {
        const std::string* s = std::get_if<std::string>(&value);
        return appendTextKey(key, s ? *s : valueToString(value), jet3, ascending);
    }
    case ct::kGuid:
        if (auto* g = std::get_if<Guid>(&value)) {
            // Keys take the GUID in its written order: the first three
            // groups, stored little-endian, turned around.
            constexpr std::size_t kWritten[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
            Bytes written;
            for (std::size_t i : kWritten) written.push_back(g->bytes[i]);
            binaryKey(key, written, ascending);
        }
        return true;
    default:
        if (auto* b = std::get_if<Bytes>(&value)) binaryKey(key, *b, ascending);
        return true;
    }
    if (!ascending)
        for (std::size_t i = from; i < key.size(); ++i) key[i] = static_cast<std::uint8_t>(~key[i]);
    return true;
}

std::vector<std::uint8_t> indexKey(const std::vector<KeyColumn>& columns, const std::vector<Value>& rowValues,
                                   const storage::TableDefinition& def, bool jet3, bool* exact) {
    std::vector<std::uint8_t> key;
    bool allExact = true;
    for (const auto& kc : columns) {
        int position = def.columnPosition(kc.column->number);
        const Value& v = position >= 0 && static_cast<std::size_t>(position) < rowValues.size()
                             ? rowValues[static_cast<std::size_t>(position)]
                             : Value{};
        allExact = appendKey(key, *kc.column, v, kc.ascending, jet3) && allExact;
    }
    if (exact) *exact = allExact;
    return key;
}

std::vector<KeyColumn> indexKeyColumns(const storage::TableDefinition& def, const storage::RealIndex& index) {
    std::vector<KeyColumn> out;
    for (const auto& c : index.columns) {
        const int position = def.columnPosition(c.columnNumber);
        if (position < 0) throw Error(kErrDamaged, "The database has been damaged. Repair it before use.", "index column");
        out.push_back({&def.columns[static_cast<std::size_t>(position)], c.ascending});
    }
    return out;
}

std::optional<std::vector<std::uint8_t>> completeKey(const std::vector<KeyColumn>& columns,
                                                     const std::vector<Value>& rowValues,
                                                     const storage::TableDefinition& def, bool jet3) {
    for (const auto& kc : columns) {
        const int position = def.columnPosition(kc.column->number);
        if (position < 0 || static_cast<std::size_t>(position) >= rowValues.size() ||
            isNull(rowValues[static_cast<std::size_t>(position)]))
            return std::nullopt;
    }
    return indexKey(columns, rowValues, def, jet3);
}

}  // namespace jet::write
