#include "sql/sql_parser.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <utility>

#include "catalog/query_names.h"
#include "catalog/query_parts.h"
#include "jet/error.h"
#include "sql/sql_errors.h"
#include "sql/sql_tokens.h"

namespace jet::sql {

using queries::QueryRow;
using namespace queries::detail;

namespace {

// Parentheses, NOTs and subqueries nest by recursion; past this depth the
// text is refused before the stack runs out.
constexpr int kMaxNesting = 200;

// The type row's Flag for each kind of query.
enum TypeFlag : int {
    kTypeSelect = 1,
    kTypeMakeTable = 2,
    kTypeAppend = 3,
    kTypeUpdate = 4,
    kTypeDelete = 5,
    kTypeCrosstab = 6,
    kTypeDataDefinition = 7,
    kTypePassThrough = 8,
    kTypeUnion = 9,
};

int daoType(int typeFlag) {
    switch (typeFlag) {
    case kTypeMakeTable: return queries::dbQMakeTable;
    case kTypeAppend: return queries::dbQAppend;
    case kTypeUpdate: return queries::dbQUpdate;
    case kTypeDelete: return queries::dbQDelete;
    case kTypeCrosstab: return queries::dbQCrosstab;
    case kTypeDataDefinition: return queries::dbQDDL;
    case kTypePassThrough: return queries::dbQSQLPassThrough;
    case kTypeUnion: return queries::dbQSetOperation;
    default: return queries::dbQSelect;
    }
}

// A parameter's declared type as its row's Flag: Jet's column type code.
std::optional<int> parameterTypeCode(const std::string& word) {
    static const std::pair<const char*, int> kTypes[] = {
        {"VALUE", 0},       {"BIT", 1},         {"BOOLEAN", 1},     {"YESNO", 1},      {"LOGICAL", 1},
        {"LOGICAL1", 1},    {"BYTE", 2},        {"INTEGER1", 2},    {"SHORT", 3},      {"SMALLINT", 3},
        {"INTEGER2", 3},    {"LONG", 4},        {"INTEGER", 4},     {"INT", 4},        {"INTEGER4", 4},
        {"CURRENCY", 5},    {"MONEY", 5},       {"IEEESINGLE", 6},  {"SINGLE", 6},     {"FLOAT4", 6},
        {"REAL", 6},        {"IEEEDOUBLE", 7},  {"DOUBLE", 7},      {"FLOAT", 7},      {"FLOAT8", 7},
        {"NUMBER", 7},      {"NUMERIC", 7},     {"DATETIME", 8},    {"DATE", 8},       {"TIME", 8},
        {"TIMESTAMP", 8},   {"BINARY", 9},      {"VARBINARY", 9},   {"TEXT", 10},      {"CHAR", 10},
        {"CHARACTER", 10},  {"STRING", 10},     {"VARCHAR", 10},    {"ALPHANUMERIC", 10}, {"LONGBINARY", 11},
        {"OLEOBJECT", 11},  {"GENERAL", 11},    {"MEMO", 12},       {"LONGTEXT", 12},  {"NOTE", 12},
        {"GUID", 15},       {"DECIMAL", 16},
    };
    for (const auto& [name, code] : kTypes)
        if (namesEqual(word, name)) return code;
    return std::nullopt;
}

QueryRow makeRow(int attribute, std::optional<int> flag = std::nullopt) {
    QueryRow r;
    r.attribute = attribute;
    r.flag = flag;
    return r;
}

// The rows of one statement as they are found, put in order at the end.
struct Rows {
    QueryRow type = makeRow(kAttrType, kTypeSelect);
    std::vector<QueryRow> parameters;
    int options = 0;
    std::optional<std::string> top;
    std::optional<QueryRow> inputDatabase;
    std::vector<QueryRow> sources;
    std::vector<QueryRow> columns;
    std::vector<QueryRow> joins;
    std::optional<std::string> where;
    std::vector<QueryRow> groups;
    std::optional<std::string> having;
    std::vector<QueryRow> orders;
    // Where an ORDER BY clause began (a union's last part hands it on).
    std::optional<std::size_t> orderByToken;

    std::vector<QueryRow> finish() const {
        std::vector<QueryRow> out{makeRow(kAttrStart, 0), type};
        out.insert(out.end(), parameters.begin(), parameters.end());
        if (options != 0 || top) {
            QueryRow o = makeRow(kAttrOptions, options);
            o.name1 = top;
            out.push_back(std::move(o));
        }
        if (inputDatabase) out.push_back(*inputDatabase);
        out.insert(out.end(), sources.begin(), sources.end());
        out.insert(out.end(), columns.begin(), columns.end());
        out.insert(out.end(), joins.begin(), joins.end());
        if (where) {
            QueryRow w = makeRow(kAttrWhere);
            w.expression = where;
            out.push_back(std::move(w));
        }
        out.insert(out.end(), groups.begin(), groups.end());
        if (having) {
            QueryRow h = makeRow(kAttrHaving);
            h.expression = having;
            out.push_back(std::move(h));
        }
        out.insert(out.end(), orders.begin(), orders.end());
        out.push_back(makeRow(kAttrEnd));
        return out;
    }
};

// A source of a FROM list in the making: the names its tables go by.
struct FromItem {
    std::vector<std::string> keys;
};

std::string trimRight(std::string s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
    return s;
}

class Parser {
public:
    Parser(std::string_view sql, std::vector<Token> tokens) : sql_(sql), toks_(std::move(tokens)) {}

    ParsedQuery statement() {
        Rows rows;
        if (cur().isWord("PARAMETERS")) parameters(rows);
        const std::size_t start = p_;
        if (cur().isWord("TRANSFORM")) {
            crosstab(rows);
        } else if (cur().isWord("SELECT")) {
            if (topLevelUnions(start).empty()) select(rows, true, 0);
            else unionQuery(rows, start);
        } else if (cur().isWord("INSERT")) {
            insert(rows);
        } else if (cur().isWord("UPDATE")) {
            update(rows);
        } else if (cur().isWord("DELETE")) {
            remove(rows);
        } else {
            fail(kErrNotStatement,
                 "Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', or 'UPDATE'.");
        }
        if (cur().isWord("WITH")) {
            advance();
            if (!cur().isWord("OWNERACCESS") || !at(p_ + 1).isWord("OPTION"))
                fail(kErrOwnerAccess, "Syntax error in WITH OWNERACCESS OPTION declaration.");
            p_ += 2;
            rows.options |= kOptOwnerAccess;
        }
        if (cur().isSymbol(";")) advance();
        if (cur().kind != TokenKind::End) fail(kErrAfterEnd, "Characters found after end of SQL statement.");
        return {daoType(rows.type.flag.value_or(kTypeSelect)), rows.finish()};
    }

private:
    // ---- tokens -------------------------------------------------------

    const Token& cur() const { return at(p_); }
    const Token& at(std::size_t i) const { return toks_[std::min(i, toks_.size() - 1)]; }
    void advance() {
        if (p_ + 1 < toks_.size()) ++p_;
    }
    bool isNameToken(const Token& t) const {
        return t.kind == TokenKind::Name || (t.kind == TokenKind::Word && !isClauseWord(t.text));
    }
    // The text of tokens [from, to) as written.
    std::string text(std::size_t from, std::size_t to) const {
        if (to <= from) return {};
        return std::string(sql_.substr(at(from).begin, at(to - 1).end - at(from).begin));
    }

    [[noreturn]] void fail(long number, const std::string& message) const {
        throw Error(number, message, "at character " + std::to_string(cur().begin + 1));
    }
    [[noreturn]] void selectError() const {
        fail(kErrSelect, "The SELECT statement includes a reserved word or an argument name that is misspelled or "
                         "missing, or the punctuation is incorrect.");
    }
    // DAO quotes the expression from its start to the end of its clause.
    [[noreturn]] void expressionError(std::size_t start, const char* what = "Syntax error (missing operator)") const {
        std::size_t end = std::max(start, p_);
        while (at(end).kind != TokenKind::End && !at(end).isSymbol(";") && !isClauseStart(at(end))) ++end;
        if (end == start && at(end).kind != TokenKind::End) ++end;
        fail(kErrExpression, std::string(what) + " in query expression '" + text(start, end) + "'.");
    }
    static bool isClauseStart(const Token& t) {
        for (const char* w : {"FROM", "WHERE", "GROUP", "HAVING", "ORDER", "UNION", "PIVOT", "WITH", "INTO", "SET",
                              "VALUES"})
            if (t.isWord(w)) return true;
        return false;
    }

    // Counts one level of nesting for as long as it lives.
    class Nested {
    public:
        explicit Nested(Parser& p) : p_(p) {
            if (++p_.nesting_ > kMaxNesting) p_.fail(kErrTooComplex, "Query is too complex.");
        }
        ~Nested() { --p_.nesting_; }
        Nested(const Nested&) = delete;
        Nested& operator=(const Nested&) = delete;

    private:
        Parser& p_;
    };

    // ---- expressions --------------------------------------------------

    // One expression; returns its text. Stops at the first token that
    // cannot continue it.
    std::string expression() {
        const std::size_t start = p_;
        if (exprDepth_++ == 0) exprStart_ = start;
        logical();
        --exprDepth_;
        return text(start, p_);
    }

    void logical() {
        notExpr();
        while (cur().isWord("AND") || cur().isWord("OR") || cur().isWord("XOR") || cur().isWord("EQV") ||
               cur().isWord("IMP")) {
            advance();
            notExpr();
        }
    }

    void notExpr() {
        Nested guard(*this);
        if (cur().isWord("NOT")) {
            advance();
            notExpr();
            return;
        }
        comparison();
    }

    void comparison() {
        arithmetic();
        while (true) {
            const Token& t = cur();
            if (t.isSymbol("=") || t.isSymbol("<>") || t.isSymbol("<") || t.isSymbol(">") || t.isSymbol("<=") ||
                t.isSymbol(">=")) {
                advance();
                arithmetic();
                continue;
            }
            std::size_t q = p_;
            if (t.isWord("NOT") && (at(q + 1).isWord("LIKE") || at(q + 1).isWord("BETWEEN") || at(q + 1).isWord("IN")))
                ++q;
            const Token& op = at(q);
            if (op.isWord("LIKE")) {
                p_ = q + 1;
                arithmetic();
            } else if (op.isWord("BETWEEN")) {
                p_ = q + 1;
                arithmetic();
                if (!cur().isWord("AND")) expressionError(exprStart_);
                advance();
                arithmetic();
            } else if (op.isWord("IN") && at(q + 1).isSymbol("(")) {
                // "IN 'file'" after a FROM list names a database instead.
                p_ = q + 1;
                list();
            } else if (q == p_ && t.isWord("IS")) {
                advance();
                if (cur().isWord("NOT")) advance();
                if (!cur().isWord("NULL")) expressionError(exprStart_);
                advance();
            } else {
                return;
            }
        }
    }

    void arithmetic() {
        unary();
        while (true) {
            const Token& t = cur();
            if (t.isSymbol("+") || t.isSymbol("-") || t.isSymbol("*") || t.isSymbol("/") || t.isSymbol("\\") ||
                t.isSymbol("^") || t.isSymbol("&") || t.isWord("MOD")) {
                advance();
                unary();
            } else {
                return;
            }
        }
    }

    void unary() {
        while (cur().isSymbol("-") || cur().isSymbol("+")) advance();
        primary();
    }

    // "(" items ")", an item being an expression or a subquery.
    void list() {
        Nested guard(*this);
        advance();  // (
        if (cur().isSymbol(")")) {
            advance();
            return;
        }
        // Count(*): the one place a bare "*" stands as an argument.
        if (cur().isSymbol("*") && at(p_ + 1).isSymbol(")")) {
            p_ += 2;
            return;
        }
        while (true) {
            if (cur().isWord("SELECT")) subquery();
            else expression();
            if (cur().isSymbol(",")) {
                advance();
                continue;
            }
            break;
        }
        if (!cur().isSymbol(")")) expressionError(exprStart_, "Missing ), ], or Item");
        advance();
    }

    void subquery() {
        Rows scratch;
        const int depth = exprDepth_;
        const std::size_t start = exprStart_;
        exprDepth_ = 0;
        select(scratch, false, 0);
        exprDepth_ = depth;
        exprStart_ = start;
    }

    void primary() {
        const Token& t = cur();
        switch (t.kind) {
        case TokenKind::Number:
        case TokenKind::String:
        case TokenKind::Date: advance(); return;
        case TokenKind::Symbol:
            if (!t.isSymbol("(")) expressionError(exprStart_);
            list();
            return;
        case TokenKind::Word:
            // Left() and Right() share their names with join words.
            if (isClauseWord(t.text) && !t.isWord("LEFT") && !t.isWord("RIGHT")) expressionError(exprStart_);
            if (at(p_ + 1).isSymbol("(")) {
                advance();
                list();
                return;
            }
            nameChain();
            return;
        case TokenKind::Name: nameChain(); return;
        case TokenKind::End: expressionError(exprStart_);
        }
    }

    // Table.Column, [Forms]![Form]![Control], Table.*
    void nameChain() {
        advance();
        while ((cur().isSymbol(".") || cur().isSymbol("!"))) {
            const Token& next = at(p_ + 1);
            if (next.kind == TokenKind::Name || next.kind == TokenKind::Word || (cur().isSymbol(".") && next.isSymbol("*"))) {
                p_ += 2;
                if (at(p_ - 1).isSymbol("*")) return;
            } else {
                expressionError(exprStart_);
            }
        }
    }

    // ---- PARAMETERS ---------------------------------------------------

    void parameters(Rows& rows) {
        advance();
        while (true) {
            const std::size_t start = p_;
            if (!isNameToken(cur())) fail(kErrParameters, "Syntax error in PARAMETER clause.");
            advance();
            while ((cur().isSymbol("!") || cur().isSymbol(".")) && isNameToken(at(p_ + 1))) p_ += 2;
            QueryRow row = makeRow(kAttrParameter);
            row.name1 = storedParameterName(start, p_);
            if (cur().kind != TokenKind::Word) fail(kErrParameters, "Syntax error in PARAMETER clause.");
            const auto code = parameterTypeCode(cur().text);
            if (!code) fail(kErrParameters, "Syntax error in PARAMETER clause.");
            row.flag = *code;
            advance();
            if (cur().isSymbol("(")) {
                const std::string& size = at(p_ + 1).text;
                // A Text length is at most 255; anything longer than a few
                // digits is no length at all.
                if (at(p_ + 1).kind != TokenKind::Number || !at(p_ + 2).isSymbol(")") || size.size() > 9 ||
                    !std::all_of(size.begin(), size.end(), [](char c) { return c >= '0' && c <= '9'; }))
                    fail(kErrParameters, "Syntax error in PARAMETER clause.");
                row.extra = std::stoi(size);
                p_ += 3;
            }
            rows.parameters.push_back(std::move(row));
            if (cur().isSymbol(",")) {
                advance();
                continue;
            }
            break;
        }
        if (!cur().isSymbol(";")) fail(kErrParameters, "Syntax error in PARAMETER clause.");
        advance();
    }

    // Access keeps a parameter's name without the brackets it needs, and
    // with those it does not ("[pCustomerID]"): the only reading that
    // gives back the text it was declared with.
    std::string storedParameterName(std::size_t from, std::size_t to) const {
        if (to == from + 1) {
            const Token& t = at(from);
            if (t.kind == TokenKind::Name && needsBrackets(t.text)) return t.text;
            return text(from, to);
        }
        std::vector<std::string> parts;
        bool allBracketed = true, anyNeeds = false;
        for (std::size_t i = from; i < to; i += 2) {
            const Token& t = at(i);
            parts.push_back(t.text);
            allBracketed = allBracketed && t.kind == TokenKind::Name;
            anyNeeds = anyNeeds || needsBrackets(t.text);
        }
        if (!allBracketed || !anyNeeds || at(from + 1).isSymbol(".")) return text(from, to);
        std::string out;
        for (std::size_t i = 0; i < parts.size(); ++i) out += (i ? "!" : "") + parts[i];
        return out;
    }

    // ---- SELECT -------------------------------------------------------

    // SELECT ... [INTO ...] [FROM ...] [WHERE] [GROUP BY] [HAVING]
    // [ORDER BY]; column and group rows get `partFlag` (a crosstab's row
    // headings).
    void select(Rows& rows, bool allowInto, int partFlag) {
        advance();  // SELECT
        predicates(rows);
        selectList(rows, partFlag);
        if (cur().isWord("INTO")) {
            if (!allowInto) selectError();
            advance();
            if (!isNameToken(cur())) selectError();
            rows.type.flag = kTypeMakeTable;
            rows.type.name1 = cur().text;
            advance();
            if (cur().isWord("IN")) externalDatabase(rows.type.name2, rows.type.expression);
        }
        if (cur().isWord("FROM")) {
            advance();
            fromList(rows);
            if (cur().isWord("IN")) {
                QueryRow db = makeRow(kAttrInputDatabase);
                externalDatabase(db.name1, db.expression);
                rows.inputDatabase = std::move(db);
            }
            if (!isFromEnd(cur())) fail(kErrFrom, "Syntax error in FROM clause.");
        }
        clauses(rows, partFlag);
    }

    void predicates(Rows& rows) {
        while (true) {
            if (cur().isWord("ALL")) {
                advance();
            } else if (cur().isWord("DISTINCT")) {
                rows.options |= kOptDistinct;
                advance();
            } else if (cur().isWord("DISTINCTROW")) {
                rows.options |= kOptDistinctRow;
                advance();
            } else if (cur().isWord("TOP")) {
                advance();
                if (cur().kind != TokenKind::Number) selectError();
                rows.options |= kOptTop;
                rows.top = cur().text;
                advance();
                if (cur().isWord("PERCENT")) {
                    rows.options |= kOptPercent;
                    advance();
                }
            } else {
                return;
            }
        }
    }

    void selectList(Rows& rows, int partFlag) {
        if (cur().kind == TokenKind::End || cur().isSymbol(";") || isClauseStart(cur())) return;
        while (true) {
            if (cur().isSymbol("*")) {
                rows.options |= kOptAllColumns;
                advance();
            } else {
                const std::size_t start = p_;
                QueryRow column = makeRow(kAttrColumn, partFlag);
                column.expression = expression();
                if (cur().isWord("AS")) {
                    advance();
                    if (!isNameToken(cur()) && cur().kind != TokenKind::Word) expressionError(start);
                    column.name1 = cur().text;
                    advance();
                }
                if (!cur().isSymbol(",") && !isListEnd(cur())) expressionError(start);
                rows.columns.push_back(std::move(column));
            }
            if (!cur().isSymbol(",")) return;
            advance();
            if (isListEnd(cur())) selectError();  // a comma with nothing after it
        }
    }

    bool isListEnd(const Token& t) const {
        return t.kind == TokenKind::End || t.isSymbol(";") || t.isSymbol(")") || isClauseStart(t);
    }

    void clauses(Rows& rows, int partFlag) {
        if (cur().isWord("WHERE")) {
            advance();
            rows.where = clauseExpression();
        }
        if (cur().isWord("GROUP")) {
            advance();
            if (!cur().isWord("BY") || isListEnd(at(p_ + 1))) fail(kErrGroupBy, "Syntax error in GROUP BY clause.");
            advance();
            for (const std::string& e : expressionList()) {
                QueryRow g = makeRow(kAttrGroupBy, partFlag);
                g.expression = e;
                rows.groups.push_back(std::move(g));
            }
        }
        if (cur().isWord("HAVING")) {
            advance();
            rows.having = clauseExpression();
        }
        if (cur().isWord("ORDER")) {
            rows.orderByToken = p_;
            advance();
            if (!cur().isWord("BY") || isListEnd(at(p_ + 1))) fail(kErrOrderBy, "Syntax error in ORDER BY clause.");
            advance();
            while (true) {
                const std::size_t start = p_;
                QueryRow o = makeRow(kAttrOrderBy);
                o.expression = expression();
                if (cur().isWord("DESC")) {
                    o.name1 = "D";
                    advance();
                } else if (cur().isWord("ASC")) {
                    advance();
                }
                if (!cur().isSymbol(",") && !isListEnd(cur())) expressionError(start);
                rows.orders.push_back(std::move(o));
                if (!cur().isSymbol(",")) break;
                advance();
            }
        }
    }

    // An expression that must fill its clause.
    std::string clauseExpression() {
        const std::size_t start = p_;
        std::string e = expression();
        if (!isListEnd(cur())) expressionError(start);
        return e;
    }

    std::vector<std::string> expressionList() {
        std::vector<std::string> out;
        while (true) {
            const std::size_t start = p_;
            out.push_back(expression());
            if (!cur().isSymbol(",") && !isListEnd(cur())) expressionError(start);
            if (!cur().isSymbol(",")) return out;
            advance();
        }
    }

    // IN 'path' [connect]
    void externalDatabase(std::optional<std::string>& path, std::optional<std::string>& connect) {
        advance();  // IN
        if (cur().kind != TokenKind::String) fail(kErrFrom, "Syntax error in FROM clause.");
        path = cur().text;
        advance();
        if (cur().kind == TokenKind::Name) {
            connect = cur().text;
            advance();
        }
    }

    // ---- FROM ---------------------------------------------------------

    bool isFromEnd(const Token& t) const {
        if (t.kind == TokenKind::End || t.isSymbol(";") || t.isSymbol(")")) return true;
        for (const char* w : {"WHERE", "GROUP", "HAVING", "ORDER", "UNION", "WITH", "PIVOT", "SET"})
            if (t.isWord(w)) return true;
        return false;
    }

    void fromList(Rows& rows) {
        while (true) {
            joinChain(rows);
            if (!cur().isSymbol(",")) return;
            advance();
        }
    }

    std::optional<int> joinType() {
        int type = 0;
        std::size_t q = p_;
        if (at(q).isWord("INNER")) type = 1;
        else if (at(q).isWord("LEFT")) type = 2;
        else if (at(q).isWord("RIGHT")) type = 3;
        else return std::nullopt;
        ++q;
        if (type != 1 && at(q).isWord("OUTER")) ++q;
        if (!at(q).isWord("JOIN")) fail(kErrFrom, "Syntax error in FROM clause.");
        p_ = q + 1;
        return type;
    }

    FromItem joinChain(Rows& rows) {
        FromItem left = fromPrimary(rows);
        while (auto type = joinType()) {
            if (isFromEnd(cur()) || cur().isSymbol(",")) fail(kErrFrom, "Syntax error in FROM clause.");
            FromItem right = fromPrimary(rows);
            if (!cur().isWord("ON")) fail(kErrJoin, "Syntax error in JOIN operation.");
            advance();
            const std::size_t start = p_;
            expression();
            addJoin(rows, left, right, *type, start, p_);
            left.keys.insert(left.keys.end(), right.keys.begin(), right.keys.end());
        }
        return left;
    }

    FromItem fromPrimary(Rows& rows) {
        Nested guard(*this);
        if (cur().isSymbol("(")) {
            advance();
            if (cur().isWord("SELECT")) {
                // A subquery in parentheses: kept as Jet keeps the bracketed
                // form, by its text.
                const std::size_t start = p_;
                subquery();
                QueryRow s = makeRow(kAttrSource);
                s.expression = text(start, p_);
                if (!cur().isSymbol(")")) fail(kErrFrom, "Syntax error in FROM clause.");
                advance();
                return finishSource(rows, std::move(s));
            }
            FromItem inner = joinChain(rows);
            if (!cur().isSymbol(")")) fail(kErrFrom, "Syntax error in FROM clause.");
            advance();
            return inner;
        }
        const Token& t = cur();
        if (t.kind == TokenKind::Name && at(p_ + 1).isSymbol(".") && startsWithSelect(t.text)) {
            // Jet 4's "[SELECT ...]. AS Alias"
            QueryRow s = makeRow(kAttrSource);
            s.expression = t.text;
            p_ += 2;
            if (isNameToken(cur()) && !cur().isWord("AS")) {
                s.name1 = cur().text;
                advance();
            }
            return finishSource(rows, std::move(s));
        }
        if (!isNameToken(t)) fail(kErrFrom, "Syntax error in FROM clause.");
        QueryRow s = makeRow(kAttrSource);
        s.name1 = t.text;
        advance();
        return finishSource(rows, std::move(s));
    }

    static bool startsWithSelect(std::string_view s) {
        while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
        return s.size() > 6 && namesEqual(s.substr(0, 6), "SELECT") && std::isspace(static_cast<unsigned char>(s[6]));
    }

    FromItem finishSource(Rows& rows, QueryRow source) {
        if (cur().isWord("AS")) {
            advance();
            if (!isNameToken(cur())) fail(kErrFrom, "Syntax error in FROM clause.");
            source.name2 = cur().text;
            advance();
        } else if (isNameToken(cur())) {
            source.name2 = cur().text;
            advance();
        }
        FromItem item;
        item.keys.push_back(source.name2 ? *source.name2 : source.name1.value_or(""));
        rows.sources.push_back(std::move(source));
        return item;
    }

    // One join row per condition: "ON (a) AND (b)" is two conditions,
    // stored last first, each naming the tables it links.
    void addJoin(Rows& rows, const FromItem& left, const FromItem& right, int type, std::size_t from, std::size_t to) {
        std::vector<std::pair<std::size_t, std::size_t>> pieces;
        for (std::size_t i = from; i < to;) {
            if (!at(i).isSymbol("(")) {
                pieces.clear();
                break;
            }
            const std::size_t close = matching(i, to);
            if (close >= to) {
                pieces.clear();
                break;
            }
            pieces.emplace_back(i + 1, close);
            if (close + 1 == to) break;
            if (!at(close + 1).isWord("AND")) {
                pieces.clear();
                break;
            }
            i = close + 2;
        }
        if (pieces.size() < 2) pieces = {{from, to}};
        for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) {
            QueryRow j = makeRow(kAttrJoin, type);
            const auto qualifiers = qualifiersIn(it->first, it->second);
            j.name1 = pick(qualifiers, left.keys, left.keys.back());
            j.name2 = pick(qualifiers, right.keys, right.keys.front());
            j.expression = text(it->first, it->second);
            rows.joins.push_back(std::move(j));
        }
    }

    std::size_t matching(std::size_t open, std::size_t limit) const {
        int depth = 0;
        for (std::size_t i = open; i < limit; ++i) {
            if (at(i).isSymbol("(")) ++depth;
            else if (at(i).isSymbol(")") && --depth == 0) return i;
        }
        return limit;
    }

    std::vector<std::string> qualifiersIn(std::size_t from, std::size_t to) const {
        std::vector<std::string> out;
        for (std::size_t i = from; i + 1 < to; ++i)
            if ((at(i).kind == TokenKind::Name || at(i).kind == TokenKind::Word) && at(i + 1).isSymbol(".") &&
                (i == from || !at(i - 1).isSymbol(".")))
                out.push_back(at(i).text);
        return out;
    }

    static std::string pick(const std::vector<std::string>& qualifiers, const std::vector<std::string>& keys,
                            const std::string& fallback) {
        for (const std::string& q : qualifiers)
            for (const std::string& k : keys)
                if (namesEqual(q, k)) return k;
        return fallback;
    }

    // ---- the other statements -----------------------------------------

    void crosstab(Rows& rows) {
        rows.type.flag = kTypeCrosstab;
        advance();  // TRANSFORM
        QueryRow value = makeRow(kAttrColumn, 0);
        const std::size_t start = p_;
        value.expression = expression();
        if (cur().isWord("AS")) {
            advance();
            if (!isNameToken(cur())) expressionError(start);
            value.name1 = cur().text;
            advance();
        }
        if (!cur().isWord("SELECT")) fail(kErrTransform, "Syntax error in TRANSFORM statement.");
        rows.columns.push_back(std::move(value));
        select(rows, false, kCrosstabRowHeading);
        if (!cur().isWord("PIVOT")) fail(kErrTransform, "Syntax error in TRANSFORM statement.");
        advance();
        const std::size_t pivotStart = p_;
        QueryRow pivot = makeRow(kAttrColumn, kCrosstabPivot);
        pivot.expression = clauseExpression();
        // The group row holds the pivot without its list of headings.
        std::size_t groupEnd = p_;
        int depth = 0;
        for (std::size_t i = pivotStart; i < p_; ++i) {
            if (at(i).isSymbol("(")) ++depth;
            else if (at(i).isSymbol(")")) --depth;
            else if (depth == 0 && at(i).isWord("IN") && at(i + 1).isSymbol("(")) groupEnd = i;
        }
        QueryRow group = makeRow(kAttrGroupBy, kCrosstabPivot);
        group.expression = text(pivotStart, groupEnd);
        rows.columns.push_back(std::move(pivot));
        rows.groups.push_back(std::move(group));
    }

    // Top-level UNION words from `start` on.
    std::vector<std::size_t> topLevelUnions(std::size_t start) const {
        std::vector<std::size_t> out;
        int depth = 0;
        for (std::size_t i = start; at(i).kind != TokenKind::End; ++i) {
            if (at(i).isSymbol("(")) ++depth;
            else if (at(i).isSymbol(")")) --depth;
            else if (depth == 0 && at(i).isWord("UNION")) out.push_back(i);
        }
        return out;
    }

    // Jet stores a union as two texts: everything before its last UNION,
    // and the last part; the ORDER BY after it sorts the whole.
    void unionQuery(Rows& rows, std::size_t start) {
        rows.type.flag = kTypeUnion;
        std::size_t lastUnion = 0;
        bool all = false;
        Rows last;
        while (true) {
            if (!cur().isWord("SELECT")) selectError();
            last = Rows{};
            select(last, false, 0);
            if (!cur().isWord("UNION")) break;
            lastUnion = p_;
            advance();
            all = cur().isWord("ALL");
            if (all) advance();
        }
        const std::size_t secondStart = lastUnion + (all ? 2 : 1);
        const std::size_t secondEnd = last.orderByToken ? *last.orderByToken : p_;
        QueryRow first = makeRow(kAttrSource);
        first.name2 = kUnionPart1;
        first.expression = std::string(sql_.substr(at(start).begin, at(lastUnion).begin - at(start).begin));
        QueryRow second = makeRow(kAttrSource);
        second.name2 = kUnionPart2;
        second.expression = trimRight(std::string(sql_.substr(at(secondStart).begin, at(secondEnd).begin - at(secondStart).begin)));
        rows.sources = {std::move(first), std::move(second)};
        rows.orders = std::move(last.orders);
        rows.options = all ? kOptAllColumns : kOptAllColumns | kOptDistinct;
    }

    void insert(Rows& rows) {
        rows.type.flag = kTypeAppend;
        advance();
        if (!cur().isWord("INTO")) fail(kErrInsert, "Syntax error in INSERT INTO statement.");
        advance();
        if (!isNameToken(cur())) fail(kErrInsert, "Syntax error in INSERT INTO statement.");
        rows.type.name1 = cur().text;
        advance();
        std::vector<std::string> targets;
        if (cur().isSymbol("(")) {
            advance();
            while (true) {
                const std::size_t s = p_;
                if (!isNameToken(cur())) fail(kErrInsert, "Syntax error in INSERT INTO statement.");
                advance();
                while (cur().isSymbol(".") && isNameToken(at(p_ + 1))) p_ += 2;
                targets.push_back(text(s, p_));
                if (!cur().isSymbol(",")) break;
                advance();
            }
            if (!cur().isSymbol(")")) fail(kErrInsert, "Syntax error in INSERT INTO statement.");
            advance();
        }
        if (cur().isWord("IN")) externalDatabase(rows.type.name2, rows.type.expression);
        if (cur().isWord("VALUES")) {
            advance();
            if (!cur().isSymbol("(")) fail(kErrInsert, "Syntax error in INSERT INTO statement.");
            advance();
            for (const std::string& e : expressionList()) {
                QueryRow c = makeRow(kAttrColumn, kAppendValue);
                c.expression = e;
                rows.columns.push_back(std::move(c));
            }
            if (!cur().isSymbol(")")) fail(kErrInsert, "Syntax error in INSERT INTO statement.");
            advance();
        } else if (cur().isWord("SELECT")) {
            select(rows, false, 0);
        } else {
            fail(kErrInsert, "Syntax error in INSERT INTO statement.");
        }
        if (!targets.empty()) {
            if (targets.size() != rows.columns.size())
                fail(kErrValueCount, "Number of query values and destination fields are not the same.");
            for (std::size_t i = 0; i < targets.size(); ++i) rows.columns[i].name2 = targets[i];
        }
    }

    void update(Rows& rows) {
        rows.type.flag = kTypeUpdate;
        advance();
        if (cur().isWord("DISTINCTROW")) {
            rows.options |= kOptDistinctRow;
            advance();
        }
        fromList(rows);
        if (cur().isWord("IN")) {
            QueryRow db = makeRow(kAttrInputDatabase);
            externalDatabase(db.name1, db.expression);
            rows.inputDatabase = std::move(db);
        }
        if (!cur().isWord("SET")) fail(kErrUpdate, "Syntax error in UPDATE statement.");
        advance();
        while (true) {
            const std::size_t s = p_;
            if (!isNameToken(cur())) fail(kErrUpdate, "Syntax error in UPDATE statement.");
            advance();
            while (cur().isSymbol(".") && isNameToken(at(p_ + 1))) p_ += 2;
            QueryRow c = makeRow(kAttrColumn, 0);
            c.name2 = text(s, p_);
            if (!cur().isSymbol("=")) fail(kErrUpdate, "Syntax error in UPDATE statement.");
            advance();
            const std::size_t e = p_;
            c.expression = expression();
            if (!cur().isSymbol(",") && !isListEnd(cur())) expressionError(e);
            rows.columns.push_back(std::move(c));
            if (!cur().isSymbol(",")) break;
            advance();
        }
        if (cur().isWord("WHERE")) {
            advance();
            rows.where = clauseExpression();
        }
    }

    void remove(Rows& rows) {
        rows.type.flag = kTypeDelete;
        advance();
        if (cur().isWord("DISTINCTROW")) {
            rows.options |= kOptDistinctRow;
            advance();
        }
        selectList(rows, 0);
        if (!cur().isWord("FROM")) fail(kErrDelete, "Syntax error in DELETE statement.");
        advance();
        fromList(rows);
        if (cur().isWord("IN")) {
            QueryRow db = makeRow(kAttrInputDatabase);
            externalDatabase(db.name1, db.expression);
            rows.inputDatabase = std::move(db);
        }
        if (!isFromEnd(cur())) fail(kErrFrom, "Syntax error in FROM clause.");
        clauses(rows, 0);
    }

    std::string_view sql_;
    std::vector<Token> toks_;
    std::size_t p_ = 0;
    int exprDepth_ = 0;
    std::size_t exprStart_ = 0;
    int nesting_ = 0;
};

bool isDataDefinition(const std::vector<Token>& tokens) {
    const Token& first = tokens.front();
    return first.isWord("CREATE") || first.isWord("ALTER") || first.isWord("DROP");
}

ParsedQuery storedText(int typeFlag, std::string_view sql, const std::optional<std::string>& connect) {
    QueryRow type = makeRow(kAttrType, typeFlag);
    type.name1 = connect;
    type.expression = std::string(sql);
    return {daoType(typeFlag), {makeRow(kAttrStart, 0), std::move(type), makeRow(kAttrEnd)}};
}

}  // namespace

ParsedQuery parseQuery(std::string_view sql, const ParseOptions& options) {
    if (options.passThrough) return storedText(kTypePassThrough, sql, options.connect);
    std::vector<Token> tokens = tokenize(sql);
    if (tokens.front().kind == TokenKind::End)
        throw Error(kErrNotStatement,
                    "Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', or 'UPDATE'.");
    // Jet hands data-definition text to its own DDL processor and keeps it
    // as written.
    if (isDataDefinition(tokens)) return storedText(kTypeDataDefinition, sql, std::nullopt);
    return Parser(sql, std::move(tokens)).statement();
}

}  // namespace jet::sql
