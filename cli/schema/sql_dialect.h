// What differs between the SQL databases a schema is written for: how a
// name is quoted, how long it may be, which column type holds each of Jet's
// field types, which of Jet's default values a column can keep.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace jet {
class Field;
}

namespace schema {

enum class Dialect { Sqlite, Postgres, Mysql };

// "sqlite", "postgres" (or "postgresql"), "mysql" (or "mariadb").
std::optional<Dialect> dialectNamed(std::string_view name);
std::string dialectName(Dialect dialect);

// `name` as a quoted identifier: "Order ""Details""" or `Order Details`.
std::string quoteName(Dialect dialect, std::string_view name);

// `text` as a string literal: 'it''s' (MySQL doubles backslashes too,
// which it otherwise reads as escapes).
std::string quoteText(Dialect dialect, std::string_view text);

// The longest name the dialect keeps, in bytes (0: no limit). PostgreSQL
// cuts longer names silently, MySQL refuses them.
std::size_t nameLimit(Dialect dialect);

// `name` cut to `limit` bytes at a character's start, with a short hash of
// the whole name appended when it had to be cut, so that two long names
// that share their beginning stay apart.
std::string fittedName(std::string_view name, std::size_t limit);

// The column type for a field, without NOT NULL or a default; nullopt for
// types no column of the dialect holds (attachments, multi-valued fields),
// with the reason in `why`.
std::optional<std::string> columnType(Dialect dialect, const jet::Field& field, std::string& why);

// Whether the field fills itself in with a counter (AutoNumber Long).
bool isAutoNumber(const jet::Field& field);

// The field's default value as the dialect's DEFAULT expression, or nullopt
// when it cannot hold it (an expression of Access functions): the caller
// names it in a comment. Jet writes defaults as Access expressions: 0,
// "text", Yes, =Now().
std::optional<std::string> defaultValue(Dialect dialect, const jet::Field& field);

}  // namespace schema
