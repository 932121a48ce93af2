// Every corpus database read through the storage layer and compared with the
// reference reading beside the corpus: the catalog's tables, queries and
// links, and the number of rows a full scan finds. Columns and indexes are
// compared through the object model (catalog/corpus_reference_test.cpp).
#include <algorithm>
#include <map>
#include <regex>
#include <set>

#include <gtest/gtest.h>

#include "corpus_support.h"
#include "jet/error.h"

namespace {

using jet::storage::TableDefinition;
using storagetest::CatalogEntry;

class CorpusStructure : public ::testing::TestWithParam<std::filesystem::path> {};

std::string testName(const ::testing::TestParamInfo<std::filesystem::path>& info) {
    std::string name = storagetest::corpusName(info.param);
    for (auto& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

// Rows a full scan should find: the stored count, unless the reference's
// own scan found another number (stored counts of system tables go stale).
std::map<std::string, long> expectedRowCounts(const testsupport::Json& ref) {
    std::map<std::string, long> counts;
    for (const auto& [name, value] : ref["rowCounts"].members()) counts[name] = static_cast<long>(value.asNumber());
    const std::regex scanned("table '(.*)': stored row count (\\d+) but (\\d+) rows found by scan");
    for (const auto& message : ref["errors"].items()) {
        std::smatch m;
        if (std::regex_match(message.asString(), m, scanned)) counts[m[1]] = std::stol(m[3]);
    }
    return counts;
}

TEST_P(CorpusStructure, TablesColumnsIndexesAndRowsMatchTheReference) {
    const auto& path = GetParam();
    auto file = jet::io::PageFile::open(path.string(), {.exclusive = false, .readOnly = true, .password = {}});
    const std::vector<CatalogEntry> catalog = storagetest::readCatalog(*file);
    ASSERT_FALSE(catalog.empty());

    auto ref = storagetest::referenceFor(path);
    if (!ref) GTEST_SKIP() << "no reference reading for " << path;

    std::set<std::string> referenceTables;
        for (const auto& table : (*ref)["tables"].items()) {
        if (table["linked"].asBool()) continue;
        referenceTables.insert(table["name"].asString());
    }
    std::set<std::string> ourTables;
    for (const auto& entry : catalog)
        if (entry.type == storagetest::kCatalogTypeTable) ourTables.insert(entry.name);
    EXPECT_EQ(ourTables, referenceTables);

    // Queries (type 5) and linked tables (type 4 ODBC, 6 Access) come from
    // the same catalog rows.
    std::multiset<std::string> ourQueries, ourLinked, referenceQueries, referenceLinked;
    for (const auto& entry : catalog) {
        if (entry.type == 5) ourQueries.insert(entry.name);
        if (entry.type == 4 || entry.type == 6) ourLinked.insert(entry.name);
    }
    for (const auto& query : (*ref)["queries"].items()) referenceQueries.insert(query["name"].asString());
    for (const auto& table : (*ref)["tables"].items())
        if (table["linked"].asBool()) referenceLinked.insert(table["name"].asString());
    EXPECT_EQ(ourQueries, referenceQueries);
    EXPECT_EQ(ourLinked, referenceLinked);

    const auto rowCounts = expectedRowCounts(*ref);
    for (const auto& entry : catalog) {
        if (entry.type != storagetest::kCatalogTypeTable || !referenceTables.count(entry.name)) continue;
        SCOPED_TRACE("table " + entry.name);
        TableDefinition def = jet::storage::readTableDefinition(*file, entry.tdefPage());
        EXPECT_EQ(def.rowCount, (*ref)["rowCounts"][entry.name].asNumber());

        jet::storage::TableReader reader(*file, def);
        jet::storage::Row row;
        long rows = 0;
        while (reader.next(row)) {
            ASSERT_EQ(row.values.size(), def.columns.size());
            ++rows;
        }
        EXPECT_EQ(rows, rowCounts.at(entry.name));
    }
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusStructure, ::testing::ValuesIn(testsupport::corpusDatabases()), testName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CorpusStructure);

}  // namespace
