#include "sql/ddl_parser.h"

#include <cstdlib>

#include "jet/error.h"
#include "jet/types.h"
#include "sql/sql_errors.h"
#include "sql/sql_tokens.h"

namespace jet::sql {

namespace {

const char* messageFor(long number) {
    switch (number) {
    case kErrCreateTable: return "Syntax error in CREATE TABLE statement.";
    case kErrConstraint: return "Syntax error in CONSTRAINT clause.";
    case kErrCreateIndex: return "Syntax error in CREATE INDEX statement.";
    case kErrFieldDefinition: return "Syntax error in field definition.";
    case kErrAlterTable: return "Syntax error in ALTER TABLE statement.";
    case kErrDrop: return "Syntax error in DROP TABLE or DROP INDEX statement.";
    default: return "Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', or 'UPDATE'.";
    }
}

// Jet's type words and the DAO type each gives; `sized` types take a
// length in parentheses.
struct TypeWord {
    const char* word;
    int type;
    bool sized;
};

constexpr TypeWord kTypeWords[] = {
    {"TEXT", dbText, true},          {"VARCHAR", dbText, true},      {"CHAR", dbText, true},
    {"CHARACTER", dbText, true},     {"STRING", dbText, true},       {"ALPHANUMERIC", dbText, true},
    {"NCHAR", dbText, true},         {"NVARCHAR", dbText, true},
    {"MEMO", dbMemo, false},         {"LONGTEXT", dbMemo, false},    {"LONGCHAR", dbMemo, false},
    {"NOTE", dbMemo, false},         {"NTEXT", dbMemo, false},
    {"BIT", dbBoolean, false},       {"YESNO", dbBoolean, false},    {"LOGICAL", dbBoolean, false},
    {"LOGICAL1", dbBoolean, false},  {"BOOLEAN", dbBoolean, false},
    {"BYTE", dbByte, false},         {"TINYINT", dbByte, false},     {"INTEGER1", dbByte, false},
    {"SHORT", dbInteger, false},     {"SMALLINT", dbInteger, false}, {"INTEGER2", dbInteger, false},
    {"LONG", dbLong, false},         {"INT", dbLong, false},         {"INTEGER", dbLong, false},
    {"INTEGER4", dbLong, false},
    {"SINGLE", dbSingle, false},     {"REAL", dbSingle, false},      {"FLOAT4", dbSingle, false},
    {"IEEESINGLE", dbSingle, false},
    {"DOUBLE", dbDouble, false},     {"FLOAT", dbDouble, false},     {"FLOAT8", dbDouble, false},
    {"NUMBER", dbDouble, false},     {"NUMERIC", dbDouble, false},   {"IEEEDOUBLE", dbDouble, false},
    {"CURRENCY", dbCurrency, false}, {"MONEY", dbCurrency, false},
    {"DATETIME", dbDate, false},     {"DATE", dbDate, false},        {"TIME", dbDate, false},
    {"TIMESTAMP", dbDate, false},
    {"GUID", dbGUID, false},         {"UNIQUEIDENTIFIER", dbGUID, false},
    {"BINARY", dbBinary, true},      {"VARBINARY", dbBinary, true},
    {"LONGBINARY", dbLongBinary, false}, {"OLEOBJECT", dbLongBinary, false},
    {"GENERAL", dbLongBinary, false}, {"IMAGE", dbLongBinary, false},
    {"DECIMAL", dbDecimal, false},   {"DEC", dbDecimal, false},
};

bool isCounterWord(const Token& t) {
    return t.isWord("COUNTER") || t.isWord("AUTOINCREMENT") || t.isWord("IDENTITY");
}

class DdlParser {
public:
    DdlParser(std::string_view sql, bool jet3) : toks_(tokenize(sql)), jet3_(jet3) {}

    DdlStatement statement() {
        DdlStatement s;
        if (word("CREATE")) {
            if (word("TABLE")) createTable(s);
            else if (word("UNIQUE")) {
                s.unique = true;
                if (!word("INDEX")) fail(kErrCreateIndex);
                createIndex(s);
            } else if (word("INDEX")) createIndex(s);
            else fail(kErrNotStatement);
        } else if (word("ALTER")) {
            if (!word("TABLE")) fail(kErrAlterTable);
            alterTable(s);
        } else if (word("DROP")) {
            drop(s);
        } else {
            fail(kErrNotStatement);
        }
        if (cur().isSymbol(";")) advance();
        if (cur().kind != TokenKind::End) fail(lastClause_);
        return s;
    }

private:
    const Token& cur() const { return toks_[p_]; }
    void advance() {
        if (cur().kind != TokenKind::End) ++p_;
    }
    bool word(std::string_view w) {
        if (!cur().isWord(w)) return false;
        advance();
        return true;
    }
    bool symbol(std::string_view s) {
        if (!cur().isSymbol(s)) return false;
        advance();
        return true;
    }
    [[noreturn]] void fail(long number) const {
        throw Error(number, messageFor(number), "at character " + std::to_string(cur().begin + 1));
    }
    void expectSymbol(std::string_view s, long number) {
        if (!symbol(s)) fail(number);
    }

    // A name: a bare word or [bracketed].
    std::string name(long number) {
        if (cur().kind != TokenKind::Word && cur().kind != TokenKind::Name) fail(number);
        std::string text = cur().text;
        if (text.empty()) fail(number);
        advance();
        return text;
    }

    std::vector<std::string> nameList(long number) {
        std::vector<std::string> names;
        expectSymbol("(", number);
        do names.push_back(name(number));
        while (symbol(","));
        expectSymbol(")", number);
        return names;
    }

    long number(long error) {
        if (cur().kind != TokenKind::Number) fail(error);
        char* end = nullptr;
        const long value = std::strtol(cur().text.c_str(), &end, 10);
        if (*end != '\0' || value < 0) fail(error);
        advance();
        return value;
    }

    void createTable(DdlStatement& s) {
        lastClause_ = kErrCreateTable;
        s.kind = DdlStatement::Kind::CreateTable;
        s.table = name(kErrCreateTable);
        expectSymbol("(", kErrCreateTable);
        do {
            if (cur().isWord("CONSTRAINT")) s.constraints.push_back(tableConstraint());
            else field(s);
        } while (symbol(","));
        expectSymbol(")", kErrCreateTable);
        if (s.fields.empty()) fail(kErrCreateTable);
    }

    void field(DdlStatement& s) {
        DdlField f;
        f.name = name(kErrFieldDefinition);
        if (isCounterWord(cur())) {
            advance();
            f.type = dbLong;
            f.counter = true;
            // A seed and step other than Jet's own (1, 1) would not be kept.
            if (symbol("(")) {
                if (number(kErrFieldDefinition) != 1) fail(kErrFieldDefinition);
                expectSymbol(",", kErrFieldDefinition);
                if (number(kErrFieldDefinition) != 1) fail(kErrFieldDefinition);
                expectSymbol(")", kErrFieldDefinition);
            }
        } else {
            const TypeWord* type = nullptr;
            for (const auto& candidate : kTypeWords)
                if (cur().isWord(candidate.word)) type = &candidate;
            if (!type) fail(kErrFieldDefinition);
            advance();
            f.type = type->type;
            if (type->sized && symbol("(")) {
                f.size = number(kErrFieldDefinition);
                if (f.size == 0) fail(kErrFieldDefinition);
                expectSymbol(")", kErrFieldDefinition);
            } else if (type->type == dbText) {
                f.size = 255;  // TEXT alone is a text of Jet's longest size
            }
        }
        if (word("NOT")) {
            if (!word("NULL")) fail(kErrFieldDefinition);
            f.notNull = true;
        }
        if (cur().isWord("CONSTRAINT")) {
            advance();
            DdlConstraint c;
            c.name = name(kErrConstraint);
            c.fields = {f.name};
            if (word("PRIMARY")) {
                if (!word("KEY")) fail(kErrConstraint);
                c.kind = DdlConstraint::Kind::PrimaryKey;
            } else if (word("UNIQUE")) {
                c.kind = DdlConstraint::Kind::Unique;
            } else if (word("REFERENCES")) {
                c.kind = DdlConstraint::Kind::ForeignKey;
                references(c);
                if (c.referencedFields.size() > 1) fail(kErrConstraint);
            } else {
                fail(kErrConstraint);
            }
            s.constraints.push_back(std::move(c));
        }
        if (word("NOT")) {  // NOT NULL may follow the constraint too
            if (f.notNull || !word("NULL")) fail(kErrFieldDefinition);
            f.notNull = true;
        }
        s.fields.push_back(std::move(f));
    }

    DdlConstraint tableConstraint() {
        advance();  // CONSTRAINT
        DdlConstraint c;
        c.name = name(kErrConstraint);
        if (word("PRIMARY")) {
            if (!word("KEY")) fail(kErrConstraint);
            c.kind = DdlConstraint::Kind::PrimaryKey;
            c.fields = nameList(kErrConstraint);
        } else if (word("UNIQUE")) {
            c.kind = DdlConstraint::Kind::Unique;
            c.fields = nameList(kErrConstraint);
        } else if (word("FOREIGN")) {
            if (!word("KEY")) fail(kErrConstraint);
            c.kind = DdlConstraint::Kind::ForeignKey;
            c.fields = nameList(kErrConstraint);
            if (!word("REFERENCES")) fail(kErrConstraint);
            references(c);
            if (!c.referencedFields.empty() && c.referencedFields.size() != c.fields.size()) fail(kErrConstraint);
        } else {
            fail(kErrConstraint);
        }
        return c;
    }

    void references(DdlConstraint& c) {
        c.referencedTable = name(kErrConstraint);
        if (cur().isSymbol("(")) c.referencedFields = nameList(kErrConstraint);
        while (cur().isWord("ON")) {
            if (jet3_) fail(kErrConstraint);  // Jet 3 has no cascades in its DDL
            advance();
            bool* cascade = nullptr;
            if (word("UPDATE")) cascade = &c.cascadeUpdates;
            else if (word("DELETE")) cascade = &c.cascadeDeletes;
            else fail(kErrConstraint);
            if (word("CASCADE")) *cascade = true;
            else if (word("NO")) {
                if (!word("ACTION")) fail(kErrConstraint);
            } else {
                fail(kErrConstraint);
            }
        }
    }

    void createIndex(DdlStatement& s) {
        lastClause_ = kErrCreateIndex;
        s.kind = DdlStatement::Kind::CreateIndex;
        s.index = name(kErrCreateIndex);
        if (!word("ON")) fail(kErrCreateIndex);
        s.table = name(kErrCreateIndex);
        expectSymbol("(", kErrCreateIndex);
        do {
            DdlIndexMember m;
            m.name = name(kErrCreateIndex);
            if (word("DESC")) m.descending = true;
            else word("ASC");
            s.members.push_back(std::move(m));
        } while (symbol(","));
        expectSymbol(")", kErrCreateIndex);
        if (!word("WITH")) return;
        if (word("PRIMARY")) s.primary = true;
        else if (word("DISALLOW") && word("NULL")) s.disallowNull = true;
        else if (word("IGNORE") && word("NULL")) s.ignoreNull = true;
        else fail(kErrCreateIndex);
    }

    void alterTable(DdlStatement& s) {
        lastClause_ = kErrAlterTable;
        s.kind = DdlStatement::Kind::AddConstraint;
        s.table = name(kErrAlterTable);
        if (!word("ADD") || !cur().isWord("CONSTRAINT"))
            throw Error(kErrOperationNotSupported, "Operation is not supported for this type of object.",
                        "ALTER TABLE adds constraints only");
        s.constraints.push_back(tableConstraint());
    }

    void drop(DdlStatement& s) {
        lastClause_ = kErrDrop;
        if (word("TABLE")) {
            s.kind = DdlStatement::Kind::DropTable;
            s.table = name(kErrDrop);
        } else if (word("INDEX")) {
            s.kind = DdlStatement::Kind::DropIndex;
            s.index = name(kErrDrop);
            if (!word("ON")) fail(kErrDrop);
            s.table = name(kErrDrop);
        } else {
            fail(kErrDrop);
        }
    }

    std::vector<Token> toks_;
    std::size_t p_ = 0;
    bool jet3_;
    long lastClause_ = kErrNotStatement;
};

}  // namespace

bool isDdlStatement(std::string_view sql) {
    const std::vector<Token> tokens = tokenize(sql);
    const Token& first = tokens.front();
    return first.isWord("CREATE") || first.isWord("ALTER") || first.isWord("DROP");
}

DdlStatement parseDdl(std::string_view sql, bool jet3) { return DdlParser(sql, jet3).statement(); }

}  // namespace jet::sql
