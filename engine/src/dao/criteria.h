// Criteria of Recordset.FindFirst / FindNext: a Boolean expression over the
// row's columns as DAO accepts it in a WHERE clause without the WHERE.
// Supported: comparisons (=, <>, <, <=, >, >=) between column names (plain
// or in [brackets]) and literals ('text' or "text" with doubled quotes,
// numbers, #dates#, True, False), IS [NOT] NULL, LIKE with * and ?, joined by
// AND, OR, NOT and parentheses. Text compares as in Jet's General sort
// order: equal without regard to case, ordered with accented letters beside
// their base letters.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "jet/value.h"

namespace jet::dao {

class Criteria {
public:
    // Gives the value of a column of the current row, or nullptr when the
    // row has no column of that name.
    using ColumnLookup = std::function<const Value*(std::string_view name)>;

    // Throws jet::Error 3077 "Syntax error in expression." when the text is
    // not such an expression.
    static Criteria parse(std::string_view text);

    // True when the row satisfies the criteria; a comparison with Null is
    // never satisfied. Throws jet::Error 3070 for a name that is not a
    // column and 3464 when text is compared with a number it cannot be read as.
    bool matches(const ColumnLookup& lookup) const;

    struct Node;

private:
    explicit Criteria(std::shared_ptr<const Node> root) : root_(std::move(root)) {}
    std::shared_ptr<const Node> root_;
};

// Compares two values as Jet compares them in criteria and indexes: numbers
// (and dates, currency, Booleans) by value, text in the General sort order, text
// with a number after reading the text as a number. Returns <0, 0 or >0;
// throws jet::Error 3464 when the kinds cannot be compared. Neither value
// may be Null.
int compareValues(const Value& a, const Value& b);

}  // namespace jet::dao
