#include "sql/sql_tokens.h"

#include <algorithm>
#include <cctype>
#include <iterator>

#include "jet/error.h"
#include "sql/sql_errors.h"

namespace jet::sql {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Letters beyond ASCII arrive as UTF-8 bytes of 0x80 and above; Jet lets
// them stand in names as it lets ASCII letters.
bool isWordByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || std::isalnum(u) || c == '_';
}

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

constexpr std::string_view kClauseWords[] = {
    "ALL",     "AND",    "AS",      "ASC",    "BETWEEN", "BY",       "DELETE",     "DESC",  "DISTINCT",
    "DISTINCTROW", "EQV", "FROM",   "GROUP",  "HAVING",  "IMP",      "IN",         "INNER", "INSERT",
    "INTO",    "IS",     "JOIN",    "LEFT",   "LIKE",    "MOD",      "NOT",        "ON",    "OR",
    "ORDER",   "OUTER",  "PARAMETERS", "PERCENT", "PIVOT", "RIGHT",  "SELECT",     "SET",   "TOP",
    "TRANSFORM", "UNION", "UPDATE", "VALUES", "WHERE",   "WITH",     "XOR",
};

// The content of a bracket holding a whole SELECT statement ("[SELECT
// ...]. AS X"): brackets inside it nest.
bool opensSubquery(std::string_view sql, std::size_t afterBracket) {
    std::size_t i = afterBracket;
    while (i < sql.size() && isBlank(sql[i])) ++i;
    return sql.size() - i > 6 && equalsNoCase(sql.substr(i, 6), "SELECT") && !isWordByte(sql[i + 6]);
}

[[noreturn]] void throwOpen(long number, const std::string& message, std::size_t at) {
    throw Error(number, message, "at character " + std::to_string(at + 1));
}

}  // namespace

bool Token::isWord(std::string_view word) const { return kind == TokenKind::Word && equalsNoCase(text, word); }

bool Token::isSymbol(std::string_view symbol) const { return kind == TokenKind::Symbol && text == symbol; }

bool isClauseWord(std::string_view word) {
    return std::any_of(std::begin(kClauseWords), std::end(kClauseWords),
                       [word](std::string_view w) { return equalsNoCase(w, word); });
}

std::vector<Token> tokenize(std::string_view sql) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (true) {
        while (i < sql.size() && isBlank(sql[i])) ++i;
        Token t;
        t.begin = i;
        if (i >= sql.size()) {
            t.end = i;
            tokens.push_back(std::move(t));
            return tokens;
        }
        const char c = sql[i];
        if (c == '[') {
            const bool nested = opensSubquery(sql, i + 1);
            int depth = 0;
            std::size_t j = i;
            for (; j < sql.size(); ++j) {
                if (sql[j] == '[' && (nested || depth == 0)) ++depth;
                else if (sql[j] == ']' && --depth == 0) break;
            }
            if (j >= sql.size())
                throwOpen(kErrBracketing, "Invalid bracketing of name '" + std::string(sql.substr(i)) + "'.", i);
            t.kind = TokenKind::Name;
            t.text = std::string(sql.substr(i + 1, j - i - 1));
            t.end = j + 1;
        } else if (c == '"' || c == '\'') {
            std::size_t j = i + 1;
            std::string value;
            while (true) {
                if (j >= sql.size())
                    throwOpen(kErrExpression,
                              "Syntax error in string in query expression '" + std::string(sql.substr(i)) + "'.", i);
                if (sql[j] == c) {
                    if (j + 1 < sql.size() && sql[j + 1] == c) {
                        value += c;
                        j += 2;
                        continue;
                    }
                    break;
                }
                value += sql[j++];
            }
            t.kind = TokenKind::String;
            t.text = std::move(value);
            t.end = j + 1;
        } else if (c == '#') {
            const std::size_t close = sql.find('#', i + 1);
            if (close == std::string_view::npos || sql.substr(i + 1, close - i - 1).find_first_of("\r\n") != std::string_view::npos)
                throwOpen(kErrExpression,
                          "Syntax error in date in query expression '" + std::string(sql.substr(i)) + "'.", i);
            t.kind = TokenKind::Date;
            t.text = std::string(sql.substr(i + 1, close - i - 1));
            t.end = close + 1;
        } else if (isDigit(c) || (c == '.' && i + 1 < sql.size() && isDigit(sql[i + 1]))) {
            std::size_t j = i;
            while (j < sql.size() && isDigit(sql[j])) ++j;
            if (j < sql.size() && sql[j] == '.') {
                ++j;
                while (j < sql.size() && isDigit(sql[j])) ++j;
            }
            if (j < sql.size() && (sql[j] == 'E' || sql[j] == 'e')) {
                std::size_t k = j + 1;
                if (k < sql.size() && (sql[k] == '+' || sql[k] == '-')) ++k;
                if (k < sql.size() && isDigit(sql[k])) {
                    j = k;
                    while (j < sql.size() && isDigit(sql[j])) ++j;
                }
            }
            t.kind = TokenKind::Number;
            t.text = std::string(sql.substr(i, j - i));
            t.end = j;
        } else if (isWordByte(c)) {
            std::size_t j = i;
            while (j < sql.size() && isWordByte(sql[j])) ++j;
            t.kind = TokenKind::Word;
            t.text = std::string(sql.substr(i, j - i));
            t.end = j;
        } else {
            std::size_t len = 1;
            if (i + 1 < sql.size()) {
                const std::string_view two = sql.substr(i, 2);
                if (two == "<>" || two == "<=" || two == ">=") len = 2;
            }
            t.kind = TokenKind::Symbol;
            t.text = std::string(sql.substr(i, len));
            t.end = i + len;
        }
        i = t.end;
        tokens.push_back(std::move(t));
    }
}

}  // namespace jet::sql
