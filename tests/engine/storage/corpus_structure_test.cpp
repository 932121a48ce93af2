// Every corpus database read through the storage layer and compared with the
// reference reading beside the corpus: the catalog's tables, each table's
// columns and indexes as its definition gives them, and the number of rows
// a full scan finds.
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
std::map<std::string, long> expectedRowCounts(const testjson::Value& ref) {
    std::map<std::string, long> counts;
    for (const auto& [name, value] : ref["rowCounts"].object()) counts[name] = static_cast<long>(value.number());
    const std::regex scanned("table '(.*)': stored row count (\\d+) but (\\d+) rows found by scan");
    for (const auto& message : ref["errors"].array()) {
        std::smatch m;
        if (std::regex_match(message.str(), m, scanned)) counts[m[1]] = std::stol(m[3]);
    }
    return counts;
}

void checkColumns(const TableDefinition& def, const testjson::Value& fields) {
    ASSERT_EQ(def.columns.size(), fields.array().size());
    std::vector<std::uint16_t> numbers;
    for (const auto& c : def.columns) numbers.push_back(c.number);
    std::sort(numbers.begin(), numbers.end());
    for (std::size_t i = 0; i < def.columns.size(); ++i) {
        const auto& column = def.columns[i];
        const auto& field = fields.array()[i];
        SCOPED_TRACE("column " + column.name);
        EXPECT_EQ(column.name, field["name"].str());
        // A calculated column's definition keeps a type of its own; the
        // reference reports the result type from the column's properties.
        if (!column.isCalculated()) {
            EXPECT_EQ(column.type, field["typeCode"].number());
        }
        EXPECT_EQ(column.length, field["size"].number());
        EXPECT_EQ(!column.isFixed(), field["variableLength"].boolean());
        // The reference only counts auto-numbers of the kinds it can generate.
        using namespace jet::storage::coltype;
        const bool autoKind = column.type == kLong || column.type == kGuid || column.type == kComplex;
        EXPECT_EQ(column.isAutoNumber() && autoKind, field["autoNumber"].boolean());
        EXPECT_EQ(column.isHyperlink() && column.type == kMemo, field["hyperlink"].boolean());
        const auto rank = std::lower_bound(numbers.begin(), numbers.end(), column.number) - numbers.begin();
        EXPECT_EQ(rank, field["columnIndex"].number());
    }
}

void checkIndexes(const TableDefinition& def, const testjson::Value& indexes) {
    // The reference lists indexes by their index number; the definition
    // keeps them in stored order, which differs once indexes were dropped.
    auto ordered = def.logicalIndexes;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto& a, const auto& b) { return a.indexNumber < b.indexNumber; });
    ASSERT_EQ(ordered.size(), indexes.array().size());
    for (std::size_t i = 0; i < ordered.size(); ++i) {
        const auto& logical = ordered[i];
        const auto& real = def.realIndexes.at(logical.realIndexNumber);
        const auto& ref = indexes.array()[i];
        SCOPED_TRACE("index " + logical.name);
        EXPECT_EQ(logical.name, ref["name"].str());
        EXPECT_EQ(logical.isPrimary(), ref["primary"].boolean());
        EXPECT_EQ(logical.isForeignKey(), ref["foreign"].boolean());
        EXPECT_EQ(real.ignoreNulls(), ref["ignoreNulls"].boolean());
        EXPECT_EQ(real.required(), ref["required"].boolean());
        if (!logical.isForeignKey()) {
            EXPECT_EQ(real.unique(), ref["unique"].boolean());
        }
        ASSERT_EQ(real.columns.size(), ref["fields"].array().size());
        for (std::size_t k = 0; k < real.columns.size(); ++k) {
            const int position = def.columnPosition(real.columns[k].columnNumber);
            ASSERT_GE(position, 0);
            EXPECT_EQ(def.columns[position].name, ref["fields"].array()[k]["name"].str());
            EXPECT_EQ(!real.columns[k].ascending, ref["fields"].array()[k]["descending"].boolean());
        }
    }
}

TEST_P(CorpusStructure, TablesColumnsIndexesAndRowsMatchTheReference) {
    const auto& path = GetParam();
    auto file = jet::io::PageFile::open(path.string(), {.exclusive = false, .readOnly = true, .password = {}});
    const std::vector<CatalogEntry> catalog = storagetest::readCatalog(*file);
    ASSERT_FALSE(catalog.empty());

    auto ref = storagetest::referenceFor(path);
    if (!ref) GTEST_SKIP() << "no reference reading for " << path;

    std::set<std::string> referenceTables;
    std::map<std::string, const testjson::Value*> byName;
    for (const auto& table : (*ref)["tables"].array()) {
        if (table["linked"].boolean()) continue;
        referenceTables.insert(table["name"].str());
        byName[table["name"].str()] = &table;
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
    for (const auto& query : (*ref)["queries"].array()) referenceQueries.insert(query["name"].str());
    for (const auto& table : (*ref)["tables"].array())
        if (table["linked"].boolean()) referenceLinked.insert(table["name"].str());
    EXPECT_EQ(ourQueries, referenceQueries);
    EXPECT_EQ(ourLinked, referenceLinked);

    const auto rowCounts = expectedRowCounts(*ref);
    for (const auto& entry : catalog) {
        if (entry.type != storagetest::kCatalogTypeTable || !byName.count(entry.name)) continue;
        SCOPED_TRACE("table " + entry.name);
        const auto& table = *byName[entry.name];
        TableDefinition def = jet::storage::readTableDefinition(*file, entry.tdefPage());
        checkColumns(def, table["fields"]);
        checkIndexes(def, table["indexes"]);
        EXPECT_EQ(def.rowCount, (*ref)["rowCounts"][entry.name].number());

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
