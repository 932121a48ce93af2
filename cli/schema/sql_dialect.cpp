#include "schema/sql_dialect.h"

#include <cctype>
#include <cstdint>
#include <cstdio>

#include "jet/field.h"
#include "jet/types.h"

namespace schema {

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

bool isNumberLiteral(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    bool digits = false, point = false;
    for (; i < text.size(); ++i) {
        if (std::isdigit(static_cast<unsigned char>(text[i]))) digits = true;
        else if (text[i] == '.' && !point) point = true;
        else return false;
    }
    return digits;
}

// A string literal of Access ("it""s" or 'it''s') as its text.
std::optional<std::string> accessString(std::string_view text) {
    if (text.size() < 2) return std::nullopt;
    const char quote = text.front();
    if ((quote != '"' && quote != '\'') || text.back() != quote) return std::nullopt;
    std::string value;
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        if (text[i] == quote) {
            if (i + 2 < text.size() && text[i + 1] == quote) ++i;
            else return std::nullopt;  // two literals joined by something else
        }
        value += text[i];
    }
    return value;
}

bool isTextType(int type) { return type == jet::dbText || type == jet::dbMemo || type == jet::dbChar; }

bool isNumberType(int type) {
    switch (type) {
        case jet::dbByte: case jet::dbInteger: case jet::dbLong: case jet::dbCurrency: case jet::dbSingle:
        case jet::dbDouble: case jet::dbBigInt: case jet::dbDecimal: case jet::dbNumeric: case jet::dbFloat:
            return true;
        default: return false;
    }
}

std::string booleanLiteral(Dialect dialect, bool value) {
    if (dialect == Dialect::Sqlite) return value ? "1" : "0";
    return value ? "TRUE" : "FALSE";
}

}  // namespace

std::optional<Dialect> dialectNamed(std::string_view name) {
    if (name == "sqlite") return Dialect::Sqlite;
    if (name == "postgres" || name == "postgresql") return Dialect::Postgres;
    if (name == "mysql" || name == "mariadb") return Dialect::Mysql;
    return std::nullopt;
}

std::string dialectName(Dialect dialect) {
    switch (dialect) {
        case Dialect::Sqlite: return "SQLite";
        case Dialect::Postgres: return "PostgreSQL";
        case Dialect::Mysql: break;
    }
    return "MySQL/MariaDB";
}

std::string quoteName(Dialect dialect, std::string_view name) {
    const char quote = dialect == Dialect::Mysql ? '`' : '"';
    std::string quoted(1, quote);
    for (char c : name) {
        if (c == quote) quoted += quote;
        quoted += c;
    }
    return quoted + quote;
}

std::string quoteText(Dialect dialect, std::string_view text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') quoted += '\'';
        if (c == '\\' && dialect == Dialect::Mysql) quoted += '\\';
        quoted += c;
    }
    return quoted + "'";
}

std::size_t nameLimit(Dialect dialect) {
    switch (dialect) {
        case Dialect::Postgres: return 63;
        case Dialect::Mysql: return 64;
        case Dialect::Sqlite: break;
    }
    return 0;
}

std::string fittedName(std::string_view name, std::size_t limit) {
    if (limit == 0 || name.size() <= limit) return std::string(name);
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : name) hash = (hash ^ c) * 16777619u;
    char suffix[10];
    std::snprintf(suffix, sizeof suffix, "_%08x", hash);
    std::size_t keep = limit - 9;
    // Never cut a UTF-8 sequence: step back to the start of a character.
    while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
    return std::string(name.substr(0, keep)) + suffix;
}

bool isAutoNumber(const jet::Field& field) {
    return field.Type() == jet::dbLong && (field.Attributes() & jet::dbAutoIncrField) != 0;
}

std::optional<std::string> columnType(Dialect dialect, const jet::Field& field, std::string& why) {
    const bool sqlite = dialect == Dialect::Sqlite, postgres = dialect == Dialect::Postgres;
    const std::string size = std::to_string(field.Size() > 0 ? field.Size() : 255);
    switch (field.Type()) {
        case jet::dbBoolean: return std::string("BOOLEAN");
        case jet::dbByte: return sqlite ? "INTEGER" : postgres ? "SMALLINT" : "TINYINT UNSIGNED";
        case jet::dbInteger: return sqlite ? "INTEGER" : "SMALLINT";
        case jet::dbLong: return sqlite ? "INTEGER" : postgres ? "INTEGER" : "INT";
        case jet::dbBigInt: return sqlite ? "INTEGER" : "BIGINT";
        // Currency is a scaled 64-bit integer: four decimals, nineteen digits.
        case jet::dbCurrency: return sqlite ? "NUMERIC" : postgres ? "NUMERIC(19,4)" : "DECIMAL(19,4)";
        case jet::dbSingle: return postgres || sqlite ? "REAL" : "FLOAT";
        case jet::dbDouble: case jet::dbFloat: return sqlite ? "REAL" : postgres ? "DOUBLE PRECISION" : "DOUBLE";
        case jet::dbDecimal: case jet::dbNumeric:
            // The engine does not give a decimal field's precision and scale;
            // Jet's largest precision holds every value.
            return sqlite ? "NUMERIC" : postgres ? "NUMERIC" : "DECIMAL(28,10)";
        case jet::dbDate: case jet::dbTimeStamp: return postgres ? "TIMESTAMP" : "DATETIME";
        case jet::dbTime: return std::string("TIME");
        case jet::dbText: case jet::dbChar:
            return "VARCHAR(" + size + ")";
        case jet::dbMemo: return sqlite ? "TEXT" : postgres ? "TEXT" : "LONGTEXT";
        case jet::dbBinary: case jet::dbVarBinary:
            return sqlite ? "BLOB" : postgres ? "BYTEA" : "VARBINARY(" + size + ")";
        case jet::dbLongBinary: return sqlite ? "BLOB" : postgres ? "BYTEA" : "LONGBLOB";
        // Jet keeps a GUID as 16 bytes and shows it as {xxxxxxxx-...}.
        case jet::dbGUID: return sqlite ? "VARCHAR(38)" : postgres ? "UUID" : "CHAR(38)";
        case jet::dbAttachment: why = "an attachment field"; return std::nullopt;
        default:
            if (field.Type() > jet::dbAttachment && field.Type() <= jet::dbComplexText) {
                why = "a multi-valued field";
                return std::nullopt;
            }
            why = "a field of type " + std::to_string(field.Type());
            return std::nullopt;
    }
}

std::optional<std::string> defaultValue(Dialect dialect, const jet::Field& field) {
    std::string_view text = trimmed(field.DefaultValue());
    if (!text.empty() && text.front() == '=') text = trimmed(text.substr(1));
    if (text.empty()) return std::nullopt;
    const int type = field.Type();
    if (type == jet::dbBoolean) {
        if (equalsIgnoringCase(text, "Yes") || equalsIgnoringCase(text, "True") || equalsIgnoringCase(text, "On") ||
            text == "-1" || text == "1")
            return booleanLiteral(dialect, true);
        if (equalsIgnoringCase(text, "No") || equalsIgnoringCase(text, "False") || equalsIgnoringCase(text, "Off") ||
            text == "0")
            return booleanLiteral(dialect, false);
        return std::nullopt;
    }
    // A text longer than its field fits no row: MySQL refuses it as a
    // default, the others at the first insert.
    auto fits = [&](std::string_view value) {
        std::size_t characters = 0;
        for (unsigned char c : value) characters += (c & 0xC0) != 0x80;
        return type == jet::dbMemo || field.Size() <= 0 || characters <= static_cast<std::size_t>(field.Size());
    };
    if (isNumberLiteral(text)) {
        if (isNumberType(type)) return std::string(text);
        if (isTextType(type) && type != jet::dbMemo && fits(text)) return quoteText(dialect, text);
        return std::nullopt;
    }
    if (const auto value = accessString(text)) {
        if (!fits(*value)) return std::nullopt;
        // MySQL gives a LONGTEXT no literal default.
        if (isTextType(type) && !(type == jet::dbMemo && dialect == Dialect::Mysql)) return quoteText(dialect, *value);
        return std::nullopt;
    }
    if (type == jet::dbDate && (equalsIgnoringCase(text, "Now()") || equalsIgnoringCase(text, "Now")))
        return std::string("CURRENT_TIMESTAMP");
    if (type == jet::dbDate && dialect != Dialect::Mysql && (equalsIgnoringCase(text, "Date()") || equalsIgnoringCase(text, "Date")))
        return std::string("CURRENT_DATE");
    return std::nullopt;
}

}  // namespace schema
