// The order in which Jet's catalog index (ParentId, Name) keeps object
// names under the General sort order, and with it the order DAO lists
// tables and queries in: letters without regard to case or accent, after
// digits, after blanks and punctuation; hyphens and apostrophes count only
// between names otherwise equal.
#pragma once

#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

namespace jet::catalog {

// True when `a` comes before `b` in catalog order. Names equal but for case
// keep their stored bytes as the tie-break so that the order is total.
bool catalogNameLess(std::string_view a, std::string_view b);

// The positions of `names` in catalog order, names that compare equal in
// their given order: what a stable sort by catalogNameLess gives, with each
// name's sort key made once rather than at every comparison.
std::vector<std::size_t> catalogOrder(const std::vector<std::string_view>& names);

// Sorts `items` stably into the catalog order of `nameOf(item)`.
template <class T, class NameOf>
void sortInCatalogOrder(std::vector<T>& items, NameOf nameOf) {
    std::vector<std::string_view> names;
    names.reserve(items.size());
    for (const T& item : items) names.push_back(nameOf(item));
    const std::vector<std::size_t> order = catalogOrder(names);
    std::vector<T> sorted;
    sorted.reserve(items.size());
    for (std::size_t i : order) sorted.push_back(std::move(items[i]));
    items = std::move(sorted);
}

}  // namespace jet::catalog
