// MSysQueries rows in a form two readings of one query can be compared in:
// one line per row, in an order that keeps what the SQL text fixes and
// drops what it does not (object ids, the Order column, the designer's
// order of sources).
#pragma once

#include <string>
#include <vector>

// The module's own header lives beside its sources.
#include "../engine/src/catalog/query_sql.h"

namespace qtest {

using jet::queries::QueryRow;

struct CanonicalOptions {
    // Compare a Text parameter's declared length (LvExtra): a Jet 3 file
    // has no column for it.
    bool parameterLengths = true;
};

// Rows in a canonical order: by attribute, within a crosstab's columns and
// groups by part, sources by name; the start row's flag and an empty
// options row dropped, a missing type row read as a select's.
std::vector<std::string> canonicalRows(std::vector<QueryRow> rows, const CanonicalOptions& options = {});

// The lines indented, one a line, for a failure message.
std::string joinedRows(const std::vector<std::string>& lines);

}  // namespace qtest
