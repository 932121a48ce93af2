#include "catalog/query_names.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <map>
#include <optional>

namespace jet::queries::detail {

namespace {

// Words Jet SQL reserves: keywords, data type names and the aggregate and
// date functions. Jet brackets an identifier spelled like one of them, so
// that the text it writes parses again ("AS [Year]").
constexpr std::string_view kReservedWords[] = {
    "ADD", "ALL", "ALPHANUMERIC", "ALTER", "AND", "ANY", "AS", "ASC", "AUTOINCREMENT", "AVG",
    "BETWEEN", "BINARY", "BIT", "BOOLEAN", "BY", "BYTE", "CHAR", "CHARACTER", "COLUMN",
    "CONSTRAINT", "COUNT", "COUNTER", "CREATE", "CURRENCY", "DATABASE", "DATE", "DATETIME",
    "DELETE", "DESC", "DISALLOW", "DISTINCT", "DISTINCTROW", "DOUBLE", "DROP", "EQV", "EXISTS",
    "FALSE", "FIRST", "FLOAT", "FLOAT4", "FLOAT8", "FOREIGN", "FROM", "FULL", "GENERAL", "GROUP",
    "GUID", "HAVING", "IEEEDOUBLE", "IEEESINGLE", "IGNORE", "IMP", "IN", "INDEX", "INNER",
    "INSERT", "INT", "INTEGER", "INTEGER1", "INTEGER2", "INTEGER4", "INTO", "IS", "JOIN", "KEY",
    "LAST", "LEFT", "LEVEL", "LIKE", "LOGICAL", "LOGICAL1", "LONG", "LONGBINARY", "LONGTEXT",
    "MAX", "MEMO", "MIN", "MOD", "MONEY", "NOT", "NULL", "NUMBER", "NUMERIC", "OLEOBJECT", "ON",
    "OPTION", "OR", "ORDER", "OUTER", "OWNERACCESS", "PARAMETERS", "PERCENT", "PIVOT",
    "PRIMARY", "PROCEDURE", "REAL", "REFERENCES", "RIGHT", "SELECT", "SET", "SHORT", "SINGLE",
    "SMALLINT", "SOME", "STDEV", "STDEVP", "STRING", "SUM", "TABLE", "TEXT", "TIME", "TIMESTAMP",
    "TOP", "TRANSFORM", "TRUE", "UNION", "UNIQUE", "UPDATE", "VALUE", "VALUES", "VAR", "VARP",
    "VARBINARY", "VARCHAR", "WHERE", "WITH", "XOR", "YEAR", "YES", "YESNO", "NO",
};

bool isIdentifierByte(unsigned char c) { return c >= 0x80 || std::isalnum(c) || c == '_'; }

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool isReserved(std::string_view name) {
    // The list is short and looked up rarely; a linear scan keeps it plain.
    const std::string key = upper(name);
    return std::find(std::begin(kReservedWords), std::end(kReservedWords), key) != std::end(kReservedWords);
}

bool isBracketed(std::string_view s) { return s.size() >= 2 && s.front() == '[' && s.back() == ']'; }

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Walks SQL text, telling for each position whether it is outside brackets,
// quotes and parentheses.
class TopLevelScanner {
public:
    explicit TopLevelScanner(std::string_view text) : text_(text) {}

    // Advances over text_[i]; returns true when that character stands at
    // the top level (it opens nothing and closes nothing).
    bool step(std::size_t i) {
        const char c = text_[i];
        if (quote_) {
            if (c == quote_) quote_ = 0;
            return false;
        }
        if (inBracket_) {
            if (c == ']') inBracket_ = false;
            return false;
        }
        switch (c) {
        case '"':
        case '\'': quote_ = c; return false;
        case '[': inBracket_ = true; return false;
        case '(': ++depth_; return false;
        case ')':
            if (depth_ > 0) --depth_;
            return false;
        default: return depth_ == 0;
        }
    }

private:
    std::string_view text_;
    char quote_ = 0;
    bool inBracket_ = false;
    int depth_ = 0;
};

// Positions of `word` (any case, as a whole word) at the top level of text.
std::vector<std::size_t> topLevelWords(std::string_view text, std::string_view word) {
    std::vector<std::size_t> found;
    TopLevelScanner scanner(text);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!scanner.step(i)) continue;
        if (i + word.size() > text.size()) continue;
        if (i > 0 && isIdentifierByte(static_cast<unsigned char>(text[i - 1]))) continue;
        if (i + word.size() < text.size() && isIdentifierByte(static_cast<unsigned char>(text[i + word.size()])))
            continue;
        if (upper(text.substr(i, word.size())) == word) found.push_back(i);
    }
    return found;
}

std::size_t firstTopLevelWord(std::string_view text, std::string_view word, std::size_t from) {
    if (from >= text.size()) return std::string_view::npos;
    auto found = topLevelWords(text.substr(from), word);
    return found.empty() ? std::string_view::npos : found.front() + from;
}

// The next word of text from `pos` on (letters, digits, underscore), and
// where it ends; an empty word when something else comes first.
std::pair<std::string, std::size_t> nextWord(std::string_view text, std::size_t pos) {
    while (pos < text.size() && isBlank(text[pos])) ++pos;
    std::size_t end = pos;
    while (end < text.size() && isIdentifierByte(static_cast<unsigned char>(text[end]))) ++end;
    return {upper(text.substr(pos, end - pos)), end};
}

// The parts of a plain column reference ("T.col", "[T 1].[c]", "col"),
// brackets removed; nothing when `expr` is anything else.
std::optional<std::vector<std::string>> referenceParts(std::string_view expr) {
    std::vector<std::string> parts;
    std::size_t i = 0;
    while (true) {
        if (i >= expr.size()) return std::nullopt;
        std::size_t end;
        std::string part;
        if (expr[i] == '[') {
            end = expr.find(']', i);
            if (end == std::string_view::npos) return std::nullopt;
            part = std::string(expr.substr(i + 1, end - i - 1));
            ++end;
        } else {
            end = i;
            while (end < expr.size() && isIdentifierByte(static_cast<unsigned char>(expr[end]))) ++end;
            if (end == i) return std::nullopt;
            part = std::string(expr.substr(i, end - i));
            if (std::isdigit(static_cast<unsigned char>(part.front()))) return std::nullopt;
        }
        parts.push_back(std::move(part));
        if (end == expr.size()) break;
        if (expr[end] != '.') return std::nullopt;
        i = end + 1;
    }
    // A lone keyword (True, Null, Yes) is a constant, not a column.
    if (parts.size() == 1 && !isBracketed(expr) && isReserved(parts.front())) return std::nullopt;
    return parts;
}

std::string joined(const std::vector<std::string>& parts, std::size_t count, char separator) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        if (i) out += separator;
        out += parts[i];
    }
    return out;
}

std::string unquoteLiteral(std::string_view item) {
    if (item.size() >= 2 && (item.front() == '"' || item.front() == '\'') && item.back() == item.front()) {
        const char q = item.front();
        std::string out;
        for (std::size_t i = 1; i + 1 < item.size(); ++i) {
            out += item[i];
            if (item[i] == q && i + 2 < item.size() && item[i + 1] == q) ++i;  // doubled quote
        }
        return out;
    }
    return unbracket(item);
}

}  // namespace

bool needsBrackets(std::string_view name) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name.front()))) return true;
    for (char c : name)
        if (!isIdentifierByte(static_cast<unsigned char>(c))) return true;
    return isReserved(name);
}

std::string quoteName(std::string_view name) {
    if (isBracketed(name) || !needsBrackets(name)) return std::string(name);
    return "[" + std::string(name) + "]";
}

std::string quoteQualified(std::string_view name) {
    std::string out;
    bool inBracket = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        if (i < name.size()) {
            if (name[i] == '[') inBracket = true;
            else if (name[i] == ']') inBracket = false;
            if (inBracket || name[i] != '.') continue;
        }
        if (start) out += '.';
        out += quoteName(name.substr(start, i - start));
        start = i + 1;
    }
    return out;
}

std::string quoteParameter(std::string_view name) {
    if (!name.empty() && name.front() == '[') return std::string(name);
    if (name.find('!') == std::string_view::npos) return quoteName(name);
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t bang; (bang = name.find('!', start)) != std::string_view::npos; start = bang + 1)
        parts.push_back(name.substr(start, bang - start));
    parts.push_back(name.substr(start));
    const bool bracketAll = std::any_of(parts.begin(), parts.end(), [](std::string_view p) { return needsBrackets(p); });
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i) out += '!';
        out += bracketAll && !isBracketed(parts[i]) ? "[" + std::string(parts[i]) + "]" : std::string(parts[i]);
    }
    return out;
}

std::vector<std::string> splitTopLevel(std::string_view text, char separator) {
    std::vector<std::string> pieces;
    TopLevelScanner scanner(text);
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (scanner.step(i) && text[i] == separator) {
            pieces.emplace_back(trimmed(text.substr(start, i - start)));
            start = i + 1;
        }
    }
    pieces.emplace_back(trimmed(text.substr(start)));
    return pieces;
}

bool namesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

std::string unbracket(std::string_view name) {
    return isBracketed(name) ? std::string(name.substr(1, name.size() - 2)) : std::string(name);
}

std::vector<OutputItem> parseSelectList(std::string_view sql) {
    std::size_t pos = firstTopLevelWord(sql, "SELECT", 0);
    if (pos == std::string_view::npos) return {};
    pos += 6;
    while (true) {
        auto [word, end] = nextWord(sql, pos);
        if (word == "DISTINCT" || word == "DISTINCTROW" || word == "ALL") {
            pos = end;
        } else if (word == "TOP") {
            pos = nextWord(sql, end).second;  // the count
            auto [maybePercent, afterPercent] = nextWord(sql, pos);
            if (maybePercent == "PERCENT") pos = afterPercent;
        } else {
            break;
        }
    }
    std::size_t end = sql.size();
    for (std::string_view stop : {"FROM", "INTO", "UNION", "WHERE", "ORDER"})
        end = std::min(end, firstTopLevelWord(sql, stop, pos));
    const std::size_t semicolon = sql.find(';', pos);
    end = std::min(end, semicolon);
    std::vector<OutputItem> items;
    for (const std::string& piece : splitTopLevel(sql.substr(pos, end - pos), ',')) {
        if (piece.empty()) continue;
        auto as = topLevelWords(piece, "AS");
        if (as.empty()) {
            items.push_back({piece, ""});
        } else {
            std::string_view p(piece);
            items.push_back({std::string(trimmed(p.substr(0, as.back()))), std::string(trimmed(p.substr(as.back() + 2)))});
        }
    }
    return items;
}

std::vector<std::string> pivotHeadings(std::string_view pivot) {
    auto ins = topLevelWords(pivot, "IN");
    if (ins.empty()) return {};
    std::string_view rest = trimmed(pivot.substr(ins.back() + 2));
    if (rest.size() < 2 || rest.front() != '(' || rest.back() != ')') return {};
    std::vector<std::string> headings;
    for (const std::string& item : splitTopLevel(rest.substr(1, rest.size() - 2), ','))
        if (!item.empty()) headings.push_back(unquoteLiteral(item));
    return headings;
}

std::vector<std::string> outputFieldNames(const std::vector<OutputItem>& items, const StarColumns& starColumns) {
    struct Named {
        std::string name;
        std::string qualifier;  // the table of a column reference, else ""
    };
    std::vector<Named> named;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const OutputItem& item = items[i];
        const std::string_view expr = trimmed(item.expression);
        if (!item.alias.empty()) {
            named.push_back({unbracket(trimmed(item.alias)), ""});
            continue;
        }
        const bool bareStar = expr == "*";
        if (bareStar || (expr.size() > 2 && expr.substr(expr.size() - 2) == ".*")) {
            std::string qualifier;
            if (!bareStar) {
                auto parts = referenceParts(expr.substr(0, expr.size() - 2));
                if (!parts) continue;
                qualifier = joined(*parts, parts->size(), '.');
            }
            if (starColumns)
                for (auto& [table, column] : starColumns(qualifier)) named.push_back({column, table});
            continue;
        }
        if (auto parts = referenceParts(expr)) {
            named.push_back({parts->back(), joined(*parts, parts->size() - 1, '.')});
            continue;
        }
        named.push_back({"Expr" + std::to_string(1000 + i), ""});
    }

    std::map<std::string, int> uses;
    for (const Named& n : named) ++uses[upper(n.name)];
    std::vector<std::string> names;
    names.reserve(named.size());
    for (const Named& n : named)
        names.push_back(uses[upper(n.name)] > 1 && !n.qualifier.empty() ? n.qualifier + "." + n.name : n.name);
    return names;
}

}  // namespace jet::queries::detail
