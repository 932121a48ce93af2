// Names in rebuilt query text: when Jet puts an identifier between square
// brackets, and how DAO names a query's output columns. Internal to the
// query rebuilder.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace jet::queries::detail {

// True when `name` cannot stand bare in Jet SQL: empty, starting with a
// digit, holding a character other than a letter, digit or underscore, or
// a reserved word.
bool needsBrackets(std::string_view name);

// `name` as it appears in SQL text: bracketed when needed, unchanged when
// it already is bracketed.
std::string quoteName(std::string_view name);

// A qualified name ("Table1.col1", "[Order Details].Quantity"), each part
// quoted on its own.
std::string quoteQualified(std::string_view name);

// A parameter's name as a PARAMETERS declaration shows it. A form
// reference ("Forms!Dialog Name!Field") is bracketed part by part.
std::string quoteParameter(std::string_view name);

// `text` cut at `separator` where it stands outside brackets, quotes and
// parentheses; every piece trimmed of blanks.
std::vector<std::string> splitTopLevel(std::string_view text, char separator);

// Names compare as Jet compares them here: ASCII letters without case.
bool namesEqual(std::string_view a, std::string_view b);

// Removes one pair of enclosing square brackets, if any.
std::string unbracket(std::string_view name);

// One item of a select list.
struct OutputItem {
    std::string expression;
    std::string alias;  // "" when none
};

// The items of the first SELECT of a SQL text (a union part), or an empty
// list when none is found.
std::vector<OutputItem> parseSelectList(std::string_view sql);

// The column headings a crosstab's PIVOT ... In (...) fixes, unquoted; empty
// when the pivot expression has no In list.
std::vector<std::string> pivotHeadings(std::string_view pivot);

// A "*" item's columns: (qualifier, column) pairs for a qualifier ("" for a
// bare "*"), the qualifier being the table or alias they come from.
using StarColumns = std::function<std::vector<std::pair<std::string, std::string>>(const std::string& qualifier)>;

// DAO's names of the output columns of a select list: the alias; else the
// column of a plain column reference; else "Expr1000" + the item's position.
// Column names that occur twice are qualified with their table
// ("Customers.CompanyName").
std::vector<std::string> outputFieldNames(const std::vector<OutputItem>& items, const StarColumns& starColumns);

}  // namespace jet::queries::detail
