#include "write/query_catalog.h"

#include <algorithm>

#include "catalog/query_parts.h"
#include "jet/types.h"

namespace jet::write {

std::vector<Value> queryRowValues(const storage::TableDefinition& msysQueries, const queries::QueryRow& row) {
    std::vector<Value> values(msysQueries.columns.size());
    auto set = [&](const char* column, Value v) {
        if (const auto* c = msysQueries.findColumn(column))
            values[static_cast<std::size_t>(msysQueries.columnPosition(c->number))] = std::move(v);
    };
    set("ObjectId", row.objectId);
    set("Attribute", static_cast<std::uint8_t>(row.attribute));
    if (row.flag) set("Flag", static_cast<std::int16_t>(*row.flag));
    if (row.name1) set("Name1", *row.name1);
    if (row.name2) set("Name2", *row.name2);
    if (row.expression) set("Expression", *row.expression);
    if (!row.order.empty()) set("Order", Bytes(row.order));
    if (row.extra) set("LvExtra", *row.extra);
    return values;
}

std::vector<queries::QueryRow> jetInsertOrder(std::vector<queries::QueryRow> rows) {
    auto rank = [](const queries::QueryRow& r) {
        if (r.attribute == queries::detail::kAttrStart) return 0;
        if (r.attribute == queries::detail::kAttrEnd) return 1;
        return 2;
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const auto& a, const auto& b) { return rank(a) < rank(b); });
    return rows;
}

catalog::PropertyBlob newQueryProperties() {
    catalog::PropertyBlock own;
    catalog::StoredProperty timeout;
    timeout.name = "ODBCTimeout";
    timeout.type = dbInteger;
    timeout.ddl = true;
    timeout.value = std::int16_t{60};
    catalog::StoredProperty maxRecords;
    maxRecords.name = "MaxRecords";
    maxRecords.type = dbLong;
    maxRecords.ddl = true;
    maxRecords.value = std::int32_t{0};
    own.properties = {std::move(timeout), std::move(maxRecords)};
    catalog::PropertyBlob blob;
    blob.blocks.push_back(std::move(own));
    return blob;
}

}  // namespace jet::write
