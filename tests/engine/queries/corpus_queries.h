// Corpus query rows and reference readings for the query SQL tests: the
// MSysQueries rows of a real database as mdbtools' mdb-export gives them,
// and the queries of a corpus-reference JSON file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/queries/query_rows.h"

namespace qtest {

// True when mdb-export can be run.
bool haveMdbExport();

struct CorpusQuery {
    std::string name;
    std::int32_t catalogFlags = 0;
    std::vector<QueryRow> rows;  // in stored order
};

// Every query (catalog type 5) of `database` with its rows; empty when
// mdb-export fails.
std::vector<CorpusQuery> corpusQueries(const std::filesystem::path& database);

struct ReferenceQuery {
    std::string name;
    int typeCode = 0;
    std::optional<std::string> sql;
};

// The "queries" of a corpus-reference JSON file; none when there is no file.
std::vector<ReferenceQuery> referenceQueries(const std::filesystem::path& json);

}  // namespace qtest
