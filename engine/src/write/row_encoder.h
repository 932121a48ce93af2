// One table row to its stored bytes: fixed values at their offsets,
// variable values with their offset table (and Jet 3's jump table), the
// null mask. Long values (memo, OLE) are placed by the caller, which hands
// back the 12-byte reference (or the inline form) to store in the row.
// Layout: docs/jet-format.md#rows; choices: docs/jet-writing.md#rows.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "jet/value.h"
#include "storage/table_definition.h"

namespace jet::write {

// Stores a long value's bytes and returns what the row holds for it.
using LongValueSink = std::function<std::vector<std::uint8_t>(std::span<const std::uint8_t> data)>;

// The number `value` holds as `column` stores it: a Currency in units, True
// as -1, text parsed as a number. Throws 3421 when it holds no number.
double numericValue(const storage::ColumnDef& column, const Value& value);

// The integer an integer or Currency `column` stores for `value`: rounded
// half to even as VB rounds, a Currency scaled by 10,000. Throws 3421 when
// it holds no number or one outside the column's range.
std::int64_t integerValue(const storage::ColumnDef& column, const Value& value);

// The stored form of `value` for `column` (text encoded, numbers at their
// width). Throws jet::Error 3421 when the value cannot be converted to the
// column's type, 3163 when text or binary is longer than the column.
std::vector<std::uint8_t> encodeValue(const storage::ColumnDef& column, const Value& value,
                                      const format::JetFormat& format, std::uint16_t codePage);

// The row for `values` (one per def.columns entry, Null for none). Boolean
// columns live in the null mask.
std::vector<std::uint8_t> encodeRow(const storage::TableDefinition& def, const std::vector<Value>& values,
                                    const format::JetFormat& format, std::uint16_t codePage,
                                    const LongValueSink& longValues);

}  // namespace jet::write
