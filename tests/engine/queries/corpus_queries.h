// The MSysQueries rows of a real database as mdbtools' mdb-export gives
// them, independently of the engine's reader.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/queries/query_rows.h"

namespace qtest {

struct CorpusQuery {
    std::string name;
    std::int32_t catalogFlags = 0;
    std::vector<QueryRow> rows;  // in stored order
};

// Every query (catalog type 5) of `database` with its rows; empty when
// mdb-export fails.
std::vector<CorpusQuery> corpusQueries(const std::filesystem::path& database);

}  // namespace qtest
