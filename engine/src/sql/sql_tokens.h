// Tokens of Jet SQL text. Every token keeps where it stands in the text, so
// that the parser can store expressions exactly as they were written.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace jet::sql {

enum class TokenKind {
    Word,     // letters, digits and "_", not starting with a digit
    Name,     // [bracketed]; text holds what stands between the brackets
    String,   // '...' or "..."; text holds the value, doubled quotes undone
    Date,     // #...#
    Number,
    Symbol,   // operators and punctuation: ( ) , ; . ! = <> <= >= ...
    End,
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::size_t begin = 0;  // offset of the first character in the SQL text
    std::size_t end = 0;    // one past the last character
    std::string text;

    bool isWord(std::string_view word) const;    // any case
    bool isSymbol(std::string_view symbol) const;
};

// Splits `sql` into tokens, the last one End. Throws jet::Error for text
// no statement can hold: 3126 for a bracket left open, 3075 for a string or
// a date left open.
std::vector<Token> tokenize(std::string_view sql);

// Words that open or join clauses and so never name a column by
// themselves.
bool isClauseWord(std::string_view word);

}  // namespace jet::sql
