#include "schema/view_sql.h"

#include <algorithm>
#include <cctype>
#include <cstddef>

namespace schema {

namespace {

enum class Kind { Space, Name, Word, String, Date, Number, Symbol, End };

struct Token {
    Kind kind;
    std::string text;  // a name without brackets, a string without quotes
};

bool isWordByte(unsigned char c) { return std::isalnum(c) || c == '_' || c >= 0x80; }

std::vector<Token> tokenize(const std::string& sql) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < sql.size()) {
        const auto c = static_cast<unsigned char>(sql[i]);
        if (std::isspace(c)) {
            std::size_t j = i;
            bool lineBreak = false;
            while (j < sql.size() && std::isspace(static_cast<unsigned char>(sql[j]))) lineBreak |= sql[j++] == '\n';
            tokens.push_back({Kind::Space, lineBreak ? "\n" : " "});
            i = j;
        } else if (c == '[') {
            const auto end = sql.find(']', i + 1);
            if (end == std::string::npos) return tokens.push_back({Kind::End, "["}), tokens;
            tokens.push_back({Kind::Name, sql.substr(i + 1, end - i - 1)});
            i = end + 1;
        } else if (c == '"' || c == '\'') {
            std::string text;
            std::size_t j = i + 1;
            for (; j < sql.size(); ++j) {
                if (sql[j] == static_cast<char>(c)) {
                    if (j + 1 < sql.size() && sql[j + 1] == static_cast<char>(c)) {
                        text += sql[++j];
                        continue;
                    }
                    break;
                }
                text += sql[j];
            }
            tokens.push_back({Kind::String, text});
            i = j + 1;
        } else if (c == '#') {
            const auto end = sql.find('#', i + 1);
            tokens.push_back({Kind::Date, sql.substr(i, end == std::string::npos ? std::string::npos : end - i + 1)});
            i = end == std::string::npos ? sql.size() : end + 1;
        } else if (std::isdigit(c)) {
            std::size_t j = i;
            while (j < sql.size() && (std::isdigit(static_cast<unsigned char>(sql[j])) || sql[j] == '.')) ++j;
            tokens.push_back({Kind::Number, sql.substr(i, j - i)});
            i = j;
        } else if (isWordByte(c)) {
            std::size_t j = i;
            while (j < sql.size() && isWordByte(static_cast<unsigned char>(sql[j]))) ++j;
            tokens.push_back({Kind::Word, sql.substr(i, j - i)});
            i = j;
        } else {
            std::string symbol(1, sql[i]);
            if (i + 1 < sql.size() && ((c == '<' && (sql[i + 1] == '>' || sql[i + 1] == '=')) || (c == '>' && sql[i + 1] == '=')))
                symbol += sql[i + 1];
            tokens.push_back({Kind::Symbol, symbol});
            i += symbol.size();
        }
    }
    tokens.push_back({Kind::End, ""});
    return tokens;
}

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The words every target reads as Jet does.
bool isSharedKeyword(const std::string& word) {
    static const std::set<std::string> words{"SELECT", "DISTINCT", "FROM",   "WHERE", "AS",   "ON",     "INNER",
                                             "LEFT",   "RIGHT",    "OUTER",  "JOIN",  "AND",  "OR",     "NOT",
                                             "IN",     "IS",       "NULL",   "LIKE",  "BETWEEN", "ORDER", "BY",
                                             "GROUP",  "HAVING",   "DESC",   "ASC",   "UNION", "ALL",   "EXISTS",
                                             "ANY",    "SOME"};
    return words.count(word) > 0;
}

// Jet's words the targets have no counterpart for, as the comment names them.
const char* jetOnlyWord(const std::string& word) {
    if (word == "DISTINCTROW") return "DISTINCTROW";
    if (word == "TOP") return "TOP";
    if (word == "TRANSFORM" || word == "PIVOT") return "a crosstab (TRANSFORM ... PIVOT)";
    if (word == "PARAMETERS") return "parameters";
    if (word == "OWNERACCESS" || word == "WITH") return "WITH OWNERACCESS OPTION";
    if (word == "MOD" || word == "XOR" || word == "EQV" || word == "IMP") return "the operator Mod, Xor, Eqv or Imp";
    return nullptr;
}

bool isSharedAggregate(const std::string& word) {
    return word == "COUNT" || word == "SUM" || word == "AVG" || word == "MIN" || word == "MAX";
}

bool isBooleanWord(const std::string& word, bool& value) {
    if (word == "TRUE" || word == "YES") return value = true, true;
    if (word == "FALSE" || word == "NO") return value = false, true;
    return false;
}

// A LIKE pattern means the same to a target only without Jet's wildcards
// (* ? # [ ]) and without the ones the targets have (% _), which Jet's
// default syntax takes literally.
bool isPlainPattern(const std::string& pattern) { return pattern.find_first_of("*?#[]%_") == std::string::npos; }

void addLacking(ViewSql& view, std::string what) {
    if (std::find(view.lacking.begin(), view.lacking.end(), what) == view.lacking.end())
        view.lacking.push_back(std::move(what));
}

}  // namespace

std::string foldedName(const std::string& name) {
    std::string folded = name;
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

void NameBook::add(const std::string& name) { names_.emplace(foldedName(name), name); }

std::string NameBook::spelling(const std::string& name) { return names_.emplace(foldedName(name), name).first->second; }

bool NameBook::knows(const std::string& name) const { return names_.count(foldedName(name)) > 0; }

ViewSql translateSelect(Dialect dialect, const std::string& jetSql, NameBook& names) {
    ViewSql view;
    const std::vector<Token> tokens = tokenize(jetSql);
    auto nextSolid = [&](std::size_t i) {
        ++i;
        while (i < tokens.size() && tokens[i].kind == Kind::Space) ++i;
        return i < tokens.size() ? i : tokens.size() - 1;
    };
    // A name beside "!" is a form's or a control's ([Forms]![Orders]), not
    // the database's.
    auto besideBang = [&](std::size_t i) {
        std::size_t before = i;
        while (before > 0 && tokens[before - 1].kind == Kind::Space) --before;
        return (before > 0 && tokens[before - 1].text == "!") || tokens[nextSolid(i)].text == "!";
    };
    bool afterLike = false;
    bool afterIn = false;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        const bool likePattern = afterLike;
        const bool inList = afterIn;
        if (token.kind != Kind::Space) afterLike = afterIn = false;
        switch (token.kind) {
            case Kind::Space: view.select += token.text; break;
            case Kind::End:
                if (!token.text.empty()) addLacking(view, "a bracket left open");
                break;
            case Kind::Name:
                if (!besideBang(i)) view.namesRead.insert(foldedName(token.text));
                view.select += quoteName(dialect, names.spelling(token.text));
                break;
            case Kind::String:
                if (likePattern && !isPlainPattern(token.text)) addLacking(view, "LIKE with Jet's wildcards");
                if (inList) addLacking(view, "an external database (IN 'file')");
                view.select += quoteText(dialect, token.text);
                break;
            case Kind::Date: addLacking(view, "# dates"); break;
            case Kind::Number: view.select += token.text; break;
            case Kind::Word: {
                const std::string word = upper(token.text);
                bool flag = false;
                if (tokens[nextSolid(i)].text == "(" && !isSharedKeyword(word)) {
                    if (isSharedAggregate(word)) view.select += word;
                    else addLacking(view, "the function " + token.text);
                } else if (const char* jetOnly = jetOnlyWord(word)) {
                    addLacking(view, jetOnly);
                } else if (isSharedKeyword(word)) {
                    view.select += word;
                    afterLike = word == "LIKE";
                    afterIn = word == "IN";
                } else if (isBooleanWord(word, flag)) {
                    view.select += dialect == Dialect::Sqlite ? (flag ? "1" : "0") : (flag ? "TRUE" : "FALSE");
                } else {
                    if (!besideBang(i)) view.namesRead.insert(foldedName(token.text));
                    view.select += quoteName(dialect, names.spelling(token.text));
                }
                break;
            }
            case Kind::Symbol:
                if (token.text == ";") break;
                if (token.text == "&") addLacking(view, "the & operator");
                else if (token.text == "!") addLacking(view, "! references");
                else if (token.text == "\\" || token.text == "^") addLacking(view, "the operator " + token.text);
                else if (token.text == "?") addLacking(view, "? parameters");
                else view.select += token.text;
                break;
        }
    }
    while (!view.select.empty() && std::isspace(static_cast<unsigned char>(view.select.back()))) view.select.pop_back();
    return view;
}

}  // namespace schema
