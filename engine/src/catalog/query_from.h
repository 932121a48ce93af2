// The FROM list of a rebuilt query: its source rows combined with its join
// rows, nested and parenthesised as Access writes them. Internal to the
// query rebuilder.
#pragma once

#include <string>
#include <vector>

#include "catalog/query_sql.h"

namespace jet::queries::detail {

// "A, B INNER JOIN C ON ..." for the given source (attribute 5) and join
// (attribute 7) rows; "" when there are none. Each join takes the sources
// that hold its two tables out of the list and goes to its end; a join
// between two tables already joined adds its condition to that join.
std::string fromList(const std::vector<QueryRow>& sources, const std::vector<QueryRow>& joins);

// How a source row reads in a FROM list: "[Order Details]",
// "Products AS [Product List]", "[SELECT ...]. AS X".
std::string sourceText(const QueryRow& source);

// The name joins and column references use for a source: its alias, else
// its table name.
std::string sourceKey(const QueryRow& source);

}  // namespace jet::queries::detail
