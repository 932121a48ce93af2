// A saved query as Jet stores it: its parts as rows of MSysQueries and a
// catalog entry whose flags carry the query's kind. What a created query
// writes, and the evidence for it: docs/jet-writing.md#queries.
#pragma once

#include <cstdint>
#include <vector>

#include "catalog/property_blob.h"
#include "catalog/query_sql.h"
#include "jet/value.h"
#include "storage/table_definition.h"

namespace jet::write {

// The MSysQueries row of `row`, in the column order of `msysQueries`. The
// Order column stays Null, as Jet leaves it; LvExtra is written only where
// the part carries a value (a Text parameter's length) and the table has
// the column (Jet 4).
std::vector<Value> queryRowValues(const storage::TableDefinition& msysQueries, const queries::QueryRow& row);

// The rows in the order Jet inserts them: the start and end rows first,
// then the parts as given.
std::vector<queries::QueryRow> jetInsertOrder(std::vector<queries::QueryRow> rows);

// The properties Jet stores on a query it creates from code: ODBCTimeout
// 60 and MaxRecords 0, both owned by the engine.
catalog::PropertyBlob newQueryProperties();

}  // namespace jet::write
