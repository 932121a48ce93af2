#include "dao/criteria.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>
#include <vector>

#include "jet/error.h"
#include "write/text_key.h"

namespace jet::dao {

struct Criteria::Node {
    enum class Kind { Or, And, Not, Compare, IsNull, IsNotNull, Like, Column, Literal } kind;
    std::string op;  // comparison operator
    std::string name;
    Value literal;
    std::shared_ptr<const Node> left, right;
};

namespace {

using NodePtr = std::shared_ptr<const Criteria::Node>;
using Kind = Criteria::Node::Kind;

[[noreturn]] void syntaxError() { throw Error(kErrSyntaxInExpression, "Syntax error in expression."); }
[[noreturn]] void typeMismatch() {
    throw Error(kErrTypeMismatchInCriteria, "Data type mismatch in criteria expression.");
}

struct Token {
    enum class Type { End, Name, Text, Number, Date, Operator, LeftParen, RightParen } type = Type::End;
    std::string text;
    Value value;
};

bool keywordIs(const Token& t, const char* word) {
    if (t.type != Token::Type::Name) return false;
    std::string_view w(word);
    if (t.text.size() != w.size()) return false;
    for (std::size_t i = 0; i < w.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(t.text[i])) != w[i]) return false;
    return true;
}

// Days since 1899-12-30 for a civil date.
double oleDays(int y, int m, int d) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * static_cast<unsigned>(m + (m > 2 ? -3 : 9)) + 2) / 5 + static_cast<unsigned>(d) - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return static_cast<double>(era) * 146097 + doe - 719468 + 25569;
}

// #m/d/yyyy# as Jet reads dates in SQL, or ISO #yyyy-mm-dd#, each with an
// optional hh:mm[:ss] time.
Value parseDate(const std::string& text) {
    int a = 0, b = 0, c = 0, hh = 0, mm = 0, ss = 0;
    char s1 = 0, s2 = 0;
    int consumed = 0;
    if (std::sscanf(text.c_str(), "%d%c%d%c%d%n", &a, &s1, &b, &s2, &c, &consumed) != 5 || s1 != s2 ||
        (s1 != '/' && s1 != '-'))
        syntaxError();
    int year, month, day;
    if (a > 31) year = a, month = b, day = c;
    else month = a, day = b, year = c;
    if (month < 1 || month > 12 || day < 1 || day > 31) syntaxError();
    std::string rest = text.substr(static_cast<std::size_t>(consumed));
    if (rest.find_first_not_of(' ') != std::string::npos) {
        if (std::sscanf(rest.c_str(), " %d:%d:%d", &hh, &mm, &ss) < 2) syntaxError();
    }
    double days = oleDays(year, month, day);
    double time = (hh * 3600 + mm * 60 + ss) / 86400.0;
    return DateTime{days >= 0 ? days + time : days - time};
}

class Lexer {
public:
    explicit Lexer(std::string_view text) : text_(text) {}

    Token next() {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
        Token t;
        if (pos_ >= text_.size()) return t;
        char c = text_[pos_];
        if (c == '(') { ++pos_; t.type = Token::Type::LeftParen; return t; }
        if (c == ')') { ++pos_; t.type = Token::Type::RightParen; return t; }
        if (c == '=' || c == '<' || c == '>') {
            t.type = Token::Type::Operator;
            t.text = c;
            ++pos_;
            if (pos_ < text_.size() && (text_[pos_] == '=' || (c == '<' && text_[pos_] == '>'))) t.text += text_[pos_++];
            return t;
        }
        if (c == '\'' || c == '"') return quoted(c);
        if (c == '[') {
            std::size_t close = text_.find(']', pos_);
            if (close == std::string_view::npos || close == pos_ + 1) syntaxError();
            t.type = Token::Type::Name;
            t.text = std::string(text_.substr(pos_ + 1, close - pos_ - 1));
            pos_ = close + 1;
            return t;
        }
        if (c == '#') {
            std::size_t close = text_.find('#', pos_ + 1);
            if (close == std::string_view::npos) syntaxError();
            t.type = Token::Type::Date;
            t.value = parseDate(std::string(text_.substr(pos_ + 1, close - pos_ - 1)));
            pos_ = close + 1;
            return t;
        }
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-') return number();
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_' || static_cast<unsigned char>(c) >= 0x80) {
            std::size_t start = pos_;
            while (pos_ < text_.size()) {
                unsigned char x = static_cast<unsigned char>(text_[pos_]);
                if (!(std::isalnum(x) || x == '_' || x >= 0x80)) break;
                ++pos_;
            }
            t.type = Token::Type::Name;
            t.text = std::string(text_.substr(start, pos_ - start));
            return t;
        }
        syntaxError();
    }

private:
    Token quoted(char quote) {
        Token t;
        t.type = Token::Type::Text;
        std::string value;
        ++pos_;
        for (;;) {
            if (pos_ >= text_.size()) syntaxError();  // unterminated
            char c = text_[pos_++];
            if (c == quote) {
                if (pos_ < text_.size() && text_[pos_] == quote) {
                    value += quote;
                    ++pos_;
                    continue;
                }
                break;
            }
            value += c;
        }
        t.value = std::move(value);
        return t;
    }

    Token number() {
        Token t;
        t.type = Token::Type::Number;
        std::size_t start = pos_;
        if (text_[pos_] == '-') ++pos_;
        bool digits = false, point = false;
        while (pos_ < text_.size()) {
            char c = text_[pos_];
            if (std::isdigit(static_cast<unsigned char>(c))) digits = true;
            else if (c == '.' && !point) point = true;
            else break;
            ++pos_;
        }
        if (!digits) syntaxError();
        std::string s(text_.substr(start, pos_ - start));
        if (!point) {
            long long v = 0;
            auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
            if (ec == std::errc() && p == s.data() + s.size()) {
                t.value = static_cast<std::int64_t>(v);
                return t;
            }
        }
        t.value = std::strtod(s.c_str(), nullptr);
        return t;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

class Parser {
public:
    explicit Parser(std::string_view text) : lexer_(text) { advance(); }

    NodePtr parseAll() {
        NodePtr root = orExpr();
        if (current_.type != Token::Type::End) syntaxError();
        return root;
    }

private:
    void advance() { current_ = lexer_.next(); }

    static NodePtr make(Kind kind, NodePtr left = nullptr, NodePtr right = nullptr) {
        auto n = std::make_shared<Criteria::Node>();
        n->kind = kind;
        n->left = std::move(left);
        n->right = std::move(right);
        return n;
    }

    NodePtr orExpr() {
        NodePtr left = andExpr();
        while (keywordIs(current_, "OR")) {
            advance();
            left = make(Kind::Or, left, andExpr());
        }
        return left;
    }

    NodePtr andExpr() {
        NodePtr left = notExpr();
        while (keywordIs(current_, "AND")) {
            advance();
            left = make(Kind::And, left, notExpr());
        }
        return left;
    }

    NodePtr notExpr() {
        if (keywordIs(current_, "NOT")) {
            advance();
            return make(Kind::Not, notExpr());
        }
        return predicate();
    }

    NodePtr predicate() {
        if (current_.type == Token::Type::LeftParen) {
            advance();
            NodePtr inner = orExpr();
            if (current_.type != Token::Type::RightParen) syntaxError();
            advance();
            return inner;
        }
        NodePtr left = operand();
        if (current_.type == Token::Type::Operator) {
            std::string op = current_.text;
            advance();
            auto n = std::make_shared<Criteria::Node>();
            n->kind = Kind::Compare;
            n->op = op;
            n->left = left;
            n->right = operand();
            return n;
        }
        if (keywordIs(current_, "IS")) {
            advance();
            bool negated = false;
            if (keywordIs(current_, "NOT")) {
                negated = true;
                advance();
            }
            if (!keywordIs(current_, "NULL")) syntaxError();
            advance();
            return make(negated ? Kind::IsNotNull : Kind::IsNull, left);
        }
        if (keywordIs(current_, "LIKE")) {
            advance();
            if (current_.type != Token::Type::Text) syntaxError();
            auto n = std::make_shared<Criteria::Node>();
            n->kind = Kind::Like;
            n->left = left;
            n->literal = current_.value;
            advance();
            return n;
        }
        syntaxError();
    }

    NodePtr operand() {
        auto n = std::make_shared<Criteria::Node>();
        switch (current_.type) {
        case Token::Type::Name:
            if (keywordIs(current_, "TRUE") || keywordIs(current_, "FALSE")) {
                n->kind = Kind::Literal;
                n->literal = keywordIs(current_, "TRUE");
            } else if (keywordIs(current_, "NULL")) {
                n->kind = Kind::Literal;
                n->literal = Null{};
            } else if (keywordIs(current_, "AND") || keywordIs(current_, "OR") || keywordIs(current_, "NOT") ||
                       keywordIs(current_, "IS") || keywordIs(current_, "LIKE")) {
                syntaxError();
            } else {
                n->kind = Kind::Column;
                n->name = current_.text;
            }
            break;
        case Token::Type::Text:
        case Token::Type::Number:
        case Token::Type::Date:
            n->kind = Kind::Literal;
            n->literal = current_.value;
            break;
        default:
            syntaxError();
        }
        advance();
        return n;
    }

    Lexer lexer_;
    Token current_;
};

std::optional<double> numericValue(const Value& v) {
    struct Visitor {
        std::optional<double> operator()(bool b) const { return b ? -1.0 : 0.0; }  // Jet's True is -1
        std::optional<double> operator()(std::uint8_t x) const { return x; }
        std::optional<double> operator()(std::int16_t x) const { return x; }
        std::optional<double> operator()(std::int32_t x) const { return x; }
        std::optional<double> operator()(std::int64_t x) const { return static_cast<double>(x); }
        std::optional<double> operator()(float x) const { return x; }
        std::optional<double> operator()(double x) const { return x; }
        std::optional<double> operator()(const Currency& c) const { return static_cast<double>(c.scaled) / 10000.0; }
        std::optional<double> operator()(const DateTime& d) const { return d.days; }
        std::optional<double> operator()(const Decimal& d) const {
            double m = d.magnitude[0] + d.magnitude[1] * 4294967296.0 + d.magnitude[2] * 18446744073709551616.0;
            m /= std::pow(10.0, d.scale);
            return d.negative ? -m : m;
        }
        std::optional<double> operator()(const std::string& s) const {
            std::size_t begin = s.find_first_not_of(' ');
            std::size_t end = s.find_last_not_of(' ');
            if (begin == std::string::npos) return std::nullopt;
            std::string trimmed = s.substr(begin, end - begin + 1);
            char* stop = nullptr;
            double v = std::strtod(trimmed.c_str(), &stop);
            if (stop != trimmed.c_str() + trimmed.size()) return std::nullopt;
            return v;
        }
        std::optional<double> operator()(const Null&) const { return std::nullopt; }
        std::optional<double> operator()(const Guid&) const { return std::nullopt; }
        std::optional<double> operator()(const Bytes&) const { return std::nullopt; }
    };
    return std::visit(Visitor{}, v);
}

int foldAscii(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c; }

std::size_t trailingBlanks(const std::string& s) {
    const auto last = s.find_last_not_of(' ');
    return last == std::string::npos ? s.size() : s.size() - last - 1;
}

// Text in the General sort order, as an index orders it: by the key bytes
// Jet writes for each (case does not count, accents do). Keys drop
// trailing blanks; a comparison does not.
int compareText(const std::string& a, const std::string& b) {
    if (const int byKey = write::compareTextKeys(a, b, false); byKey != 0) return byKey;
    const std::size_t blanksA = trailingBlanks(a), blanksB = trailingBlanks(b);
    return blanksA == blanksB ? 0 : (blanksA < blanksB ? -1 : 1);
}

// LIKE with Jet's wildcards: * any run, ? one character, # one digit.
bool likeMatches(std::string_view text, std::string_view pattern) {
    std::size_t t = 0, p = 0, starP = std::string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starT = t;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' ||
                    (pattern[p] == '#' && std::isdigit(static_cast<unsigned char>(text[t]))) ||
                    (pattern[p] != '#' && foldAscii(static_cast<unsigned char>(pattern[p])) ==
                                              foldAscii(static_cast<unsigned char>(text[t]))))) {
            ++p;
            ++t;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

const Value& evaluateOperand(const Criteria::Node& n, const Criteria::ColumnLookup& lookup) {
    if (n.kind == Kind::Literal) return n.literal;
    const Value* v = lookup(n.name);
    if (!v)
        throw Error(kErrUnknownName,
                    "The database engine does not recognize '" + n.name + "' as a valid field name or expression.");
    return *v;
}

bool evaluate(const Criteria::Node& n, const Criteria::ColumnLookup& lookup) {
    switch (n.kind) {
    case Kind::Or: return evaluate(*n.left, lookup) || evaluate(*n.right, lookup);
    case Kind::And: return evaluate(*n.left, lookup) && evaluate(*n.right, lookup);
    case Kind::Not: return !evaluate(*n.left, lookup);
    case Kind::IsNull: return isNull(evaluateOperand(*n.left, lookup));
    case Kind::IsNotNull: return !isNull(evaluateOperand(*n.left, lookup));
    case Kind::Like: {
        const Value& v = evaluateOperand(*n.left, lookup);
        if (isNull(v)) return false;
        std::string text = std::holds_alternative<std::string>(v) ? std::get<std::string>(v) : valueToString(v);
        return likeMatches(text, std::get<std::string>(n.literal));
    }
    case Kind::Compare: {
        const Value& a = evaluateOperand(*n.left, lookup);
        const Value& b = evaluateOperand(*n.right, lookup);
        if (isNull(a) || isNull(b)) return false;
        int c = compareValues(a, b);
        if (n.op == "=") return c == 0;
        if (n.op == "<>") return c != 0;
        if (n.op == "<") return c < 0;
        if (n.op == "<=") return c <= 0;
        if (n.op == ">") return c > 0;
        if (n.op == ">=") return c >= 0;
        syntaxError();
    }
    case Kind::Column:
    case Kind::Literal: {
        // A lone operand is true when it reads as a non-zero number.
        const Value& v = evaluateOperand(n, lookup);
        auto number = numericValue(v);
        return number && *number != 0;
    }
    }
    return false;
}

}  // namespace

int compareValues(const Value& a, const Value& b) {
    const bool aText = std::holds_alternative<std::string>(a);
    const bool bText = std::holds_alternative<std::string>(b);
    if (aText && bText) return compareText(std::get<std::string>(a), std::get<std::string>(b));
    if (std::holds_alternative<Guid>(a) || std::holds_alternative<Guid>(b)) {
        if (a.index() != b.index()) typeMismatch();
        const auto& x = std::get<Guid>(a).bytes;
        const auto& y = std::get<Guid>(b).bytes;
        return x == y ? 0 : (x < y ? -1 : 1);
    }
    if (std::holds_alternative<Bytes>(a) || std::holds_alternative<Bytes>(b)) {
        if (a.index() != b.index()) typeMismatch();
        const auto& x = std::get<Bytes>(a);
        const auto& y = std::get<Bytes>(b);
        return x == y ? 0 : (x < y ? -1 : 1);
    }
    auto x = numericValue(a), y = numericValue(b);
    if (!x || !y) typeMismatch();
    return *x == *y ? 0 : (*x < *y ? -1 : 1);
}

Criteria Criteria::parse(std::string_view text) {
    Parser parser(text);
    return Criteria(parser.parseAll());
}

bool Criteria::matches(const ColumnLookup& lookup) const { return evaluate(*root_, lookup); }

}  // namespace jet::dao
