// Rebuilding every saved query of a database, each once, with "*" expanded
// through the columns of the tables and saved queries it reads from, which
// may themselves be queries to rebuild first.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "catalog/query_sql.h"
#include "catalog/system_tables.h"
#include "jet/dao.h"

namespace jet::dao {

class QueryResolver {
public:
    // `queries` are the catalog's query objects, `rows` the MSysQueries rows
    // by object id, `tables` the tables already built. All must outlive the
    // resolver.
    QueryResolver(const std::vector<const catalog::CatalogObject*>& queries,
                  const std::map<std::int32_t, std::vector<queries::QueryRow>>& rows,
                  const Collection<TableDef>& tables);

    // The rebuilt query, or nullptr when its rows describe no query.
    const queries::RebuiltQuery* rebuilt(const catalog::CatalogObject& query);
    // Why rebuilt() gave nullptr for `query`: the damage its rows showed.
    const Error* failure(const catalog::CatalogObject& query) const;

private:
    std::optional<std::vector<std::string>> columnsOf(const std::string& source);

    const std::vector<const catalog::CatalogObject*>& queries_;
    const std::map<std::int32_t, std::vector<queries::QueryRow>>& rows_;
    const Collection<TableDef>& tables_;
    std::map<std::int32_t, std::optional<queries::RebuiltQuery>> done_;
    std::map<std::int32_t, Error> failures_;
    std::set<std::int32_t> inProgress_;  // a query that reads itself gets no columns from itself
};

}  // namespace jet::dao
