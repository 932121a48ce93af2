// Decoded values of chosen corpus tables, checked against what mdbtools'
// mdb-export and the reference readings show for the same rows: text in a
// code page and in compressed Unicode, memo and OLE long values over many
// pages, dates, currency, GUIDs, decimals, overflow rows, deleted rows and
// deleted columns.
#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include <gtest/gtest.h>

#include "catalog/system_tables.h"
#include "io/page_file.h"
#include "jet/error.h"
#include "storage/table_reader.h"
#include "support/corpus.h"

namespace {

using jet::Value;

// All rows of one table, values by column name.
struct TableRows {
    jet::storage::TableDefinition def;
    std::vector<std::map<std::string, Value>> rows;

    const std::map<std::string, Value>& where(const std::string& column, const Value& value) const {
        for (const auto& row : rows)
            if (row.at(column) == value) return row;
        throw std::runtime_error("no row with " + column);
    }
};

// `prepare` may adjust the definition before rows are read, as the catalog
// does for calculated columns.
TableRows readTable(const std::string& corpusPath, const std::string& table,
                    const std::function<void(jet::storage::TableDefinition&)>& prepare = {}) {
    auto file = jet::io::PageFile::open(testsupport::corpusFile(corpusPath).string(),
                                        {.exclusive = false, .readOnly = true, .password = {}});
    for (const auto& entry : jet::catalog::readCatalog(*file)) {
        if (entry.type != 1 || entry.name != table) continue;
        TableRows out;
        out.def = jet::storage::readTableDefinition(*file, entry.tdefPage());
        if (prepare) prepare(out.def);
        jet::storage::TableReader reader(*file, out.def);
        jet::storage::Row row;
        while (reader.next(row)) {
            std::map<std::string, Value> named;
            for (std::size_t i = 0; i < out.def.columns.size(); ++i) named[out.def.columns[i].name] = row.values[i];
            out.rows.push_back(std::move(named));
        }
        return out;
    }
    throw std::runtime_error("no table " + table + " in " + corpusPath);
}

Value text(const char* s) { return Value(std::string(s)); }

// The catalog as mdb-export lists it: number of rows by object type.
TEST(CorpusValues, CatalogRowsByObjectType) {
    STRUX_REQUIRE_CORPUS();
    struct Expected {
        const char* path;
        std::map<int, int> byType;
    };
    const Expected files[] = {
        {"real/nwind-jet3.mdb",
         {{-32757, 3}, {-32758, 1}, {-32761, 3}, {-32764, 13}, {-32766, 7}, {-32768, 21}, {1, 17}, {2, 1}, {3, 8},
          {5, 22}, {8, 7}}},
        {"real/northwind-small-jet4.mdb", {{-32757, 3}, {1, 7}, {2, 1}, {3, 9}, {5, 8}}},
        {"V2010/testV2010.accdb", {{-32757, 3}, {1, 25}, {2, 1}, {3, 9}}},
    };
    for (const auto& expected : files) {
        SCOPED_TRACE(expected.path);
        auto file = jet::io::PageFile::open(testsupport::corpusFile(expected.path).string(),
                                            {.exclusive = false, .readOnly = true, .password = {}});
        std::map<int, int> byType;
        std::set<std::string> names;
        for (const auto& entry : jet::catalog::readCatalog(*file)) {
            ++byType[entry.type];
            names.insert(entry.name);
        }
        EXPECT_EQ(byType, expected.byType);
        EXPECT_TRUE(names.count("MSysObjects"));
    }
}

// Row counts are compared for every table of every file with the reference
// reading (corpus_reference_test.cpp); these are the values.
TEST(CorpusValues, Jet3CodePageTextLongValuesCurrencyAndDates) {
    STRUX_REQUIRE_CORPUS();
    auto customers = readTable("real/nwind-jet3.mdb", "Customers");
    const auto& anatr = customers.where("CustomerID", text("ANATR"));
    EXPECT_EQ(anatr.at("CompanyName"), text("Ana Trujillo Emparedados y helados"));
    EXPECT_EQ(anatr.at("Address"), text("Avda. de la Constituci\xC3\xB3n 2222"));
    EXPECT_EQ(anatr.at("City"), text("M\xC3\xA9xico D.F."));
    EXPECT_TRUE(jet::isNull(anatr.at("Region")));
    EXPECT_EQ(customers.where("CustomerID", text("BERGS")).at("City"), text("Lule\xC3\xA5"));

    auto employees = readTable("real/nwind-jet3.mdb", "Employees");
    const auto& nancy = employees.where("EmployeeID", Value(std::int32_t{1}));
    const auto& notes = std::get<std::string>(nancy.at("Notes"));
    EXPECT_EQ(notes.size(), 175u);
    EXPECT_EQ(notes.rfind("Education includes a BA in psychology from Colorado State University in 1970.", 0), 0u);
    // 21626 bytes on 2 KB pages: a chain of long-value rows.
    const auto& photo = std::get<jet::Bytes>(nancy.at("Photo"));
    ASSERT_EQ(photo.size(), 21626u);
    EXPECT_EQ((jet::Bytes(photo.begin(), photo.begin() + 8)), (jet::Bytes{0x15, 0x1C, 0x2F, 0x00, 0x02, 0x00, 0x00, 0x00}));
    EXPECT_EQ(std::get<jet::Bytes>(employees.where("EmployeeID", Value(std::int32_t{3})).at("Photo")).size(), 21722u);
    EXPECT_EQ(nancy.at("BirthDate"), Value(jet::DateTime{17875}));  // days since 30 December 1899
    EXPECT_EQ(nancy.at("HireDate"), Value(jet::DateTime{33725}));

    const auto products = readTable("real/nwind-jet3.mdb", "Products");
    const auto& chai = products.where("ProductName", text("Chai"));
    EXPECT_EQ(chai.at("UnitPrice"), Value(jet::Currency{180000}));
    EXPECT_EQ(chai.at("Discontinued"), Value(false));
    EXPECT_EQ(chai.at("UnitsInStock"), Value(std::int16_t{39}));
    const auto orders = readTable("real/nwind-jet3.mdb", "Orders");
    const auto& order = orders.where("OrderID", Value(std::int32_t{10330}));
    EXPECT_EQ(order.at("Freight"), Value(jet::Currency{127500}));
    EXPECT_EQ(order.at("ShipAddress"), text("Carrera 52 con Ave. Bol\xC3\xADvar #65-98 Llano Largo"));
}

// A 600-byte Jet 3 row: the variable columns after its first 256 bytes are
// found through the jump table.
TEST(CorpusValues, Jet3RowsLongerThan256Bytes) {
    STRUX_REQUIRE_CORPUS();
    auto table = readTable("V1997/test2V1997.mdb", "MSP_PROJECTS");
    ASSERT_EQ(table.rows.size(), 1u);
    const auto& row = table.rows[0];
    EXPECT_EQ(std::get<std::string>(row.at("PROJ_PROP_AUTHOR")).size(), 348u);
    EXPECT_EQ(row.at("PROJ_OPT_CURRENCY_SYMBOL"), text("\xC2\xA3"));
    EXPECT_EQ(row.at("PROJ_INFO_CAL_NAME"), text("Standard"));
    EXPECT_EQ(row.at("PROJ_PROP_TITLE"), text("Project1"));
    EXPECT_EQ(row.at("PROJ_DATA_SOURCE"), text("Z:\\temp\\Project1.mpd"));
    EXPECT_EQ(row.at("PROJ_OPT_MINUTES_PER_WEEK"), Value(std::int32_t{2400}));
}

TEST(CorpusValues, GuidsAndUnicodeText) {
    STRUX_REQUIRE_CORPUS();
    // {8E39276A-BCA8-4AC4-891E-49911D8438DD}: the first three groups stored little-endian.
    jet::Guid expected{{0x6A, 0x27, 0x39, 0x8E, 0xA8, 0xBC, 0xC4, 0x4A, 0x89, 0x1E, 0x49, 0x91, 0x1D, 0x84, 0x38, 0xDD}};
    EXPECT_EQ(readTable("V1997/testIndexCodesV1997.mdb", "Table13").where("name", text("row0")).at("data"), Value(expected));
    // Compressed Unicode in Jet 4.
    auto table = readTable("V2003/testUnicodeCompV2003.mdb", "Table");
    EXPECT_EQ(table.where("ID", Value(std::int32_t{1})).at("Unicode"), text("only ascii chars"));
    EXPECT_EQ(table.where("ID", Value(std::int32_t{2})).at("Unicode"), text("\xC3\xA4\xC3\xA4kk\xC3\xB6si\xC3\xA4"));
    EXPECT_EQ(table.where("ID", Value(std::int32_t{3})).at("Unicode"), text("\xD0\x9C\xD0\xB8\xD1\x80"));
    // A surrogate pair in an ACE file becomes one character.
    EXPECT_EQ(readTable("V2010/testEmoticonsV2010.accdb", "data").where("key", Value(std::int32_t{128512})).at("data"),
              text("a\xF0\x9F\x98\x80" "a"));
}

TEST(CorpusValues, Decimals) {
    STRUX_REQUIRE_CORPUS();
    for (const char* path : {"V2000/fixedNumericTestV2000.mdb", "V2007/fixedNumericTestV2007.accdb",
                             "V2010/fixedNumericTestV2010.accdb"}) {
        SCOPED_TRACE(path);
        auto table = readTable(path, "test");
        ASSERT_EQ(table.rows.size(), 1u);
        const auto& row = table.rows[0];
        EXPECT_EQ(row.at("col1"), text("some data"));
        auto col2 = std::get<jet::Decimal>(row.at("col2"));
        EXPECT_FALSE(col2.negative);
        EXPECT_EQ(col2.magnitude, (std::array<std::uint32_t, 3>{1, 0, 0}));
        auto col6 = std::get<jet::Decimal>(row.at("col6"));
        EXPECT_TRUE(col6.negative);
        EXPECT_EQ(col6.magnitude, (std::array<std::uint32_t, 3>{1, 0, 0}));
        EXPECT_EQ(std::get<jet::Decimal>(row.at("col5")).magnitude, (std::array<std::uint32_t, 3>{4, 0, 0}));
    }
    // 102030405060.654321 with scale 6.
    auto calc = readTable("V2010/calcFieldTestV2010.accdb", "Table1");
    auto popularity = std::get<jet::Decimal>(calc.where("ID", Value(std::int32_t{4})).at("Popularity"));
    const std::uint64_t scaled = 102030405060654321ull;
    EXPECT_EQ(popularity.scale, 6);
    EXPECT_EQ(popularity.magnitude, (std::array<std::uint32_t, 3>{static_cast<std::uint32_t>(scaled),
                                                                  static_cast<std::uint32_t>(scaled >> 32), 0}));
    EXPECT_TRUE(std::get<jet::Decimal>(calc.where("ID", Value(std::int32_t{2})).at("Popularity")).negative);
}

TEST(CorpusValues, CalculatedColumnsOnceTheirResultTypeIsKnown) {
    STRUX_REQUIRE_CORPUS();
    using namespace jet::storage;
    const std::map<std::string, std::uint8_t> resultTypes{{"LastFirst", coltype::kText},
                                                          {"AllNames", coltype::kMemo},
                                                          {"IsRich", coltype::kBoolean},
                                                          {"MonthlySalary", coltype::kCurrency},
                                                          {"WeeklySalary", coltype::kNumeric}};
    auto withoutTypes = readTable("V2010/calcFieldTestV2010.accdb", "Table1");
    EXPECT_TRUE(std::holds_alternative<jet::Bytes>(withoutTypes.where("ID", Value(std::int32_t{1})).at("IsRich")));

    auto table = readTable("V2010/calcFieldTestV2010.accdb", "Table1", [&](TableDefinition& def) {
        for (auto& column : def.columns)
            if (resultTypes.count(column.name)) column.calculatedType = resultTypes.at(column.name);
    });
    const auto& wayne = table.where("ID", Value(std::int32_t{1}));
    EXPECT_EQ(wayne.at("LastFirst"), text("Wayne, Bruce"));
    EXPECT_EQ(wayne.at("AllNames"), text("Wayne, Bruce=Wayne, Bruce"));
    EXPECT_EQ(wayne.at("IsRich"), Value(true));
    EXPECT_EQ(wayne.at("MonthlySalary"), Value(jet::Currency{833333333}));  // 1000000 / 12
    auto weekly = std::get<jet::Decimal>(wayne.at("WeeklySalary"));          // 1000000 / 52
    EXPECT_EQ(weekly.scale, 10);
    EXPECT_EQ(weekly.magnitude, (std::array<std::uint32_t, 3>{0x1FB004EC, 0xAEE7, 0}));
    EXPECT_EQ(table.where("ID", Value(std::int32_t{2})).at("IsRich"), Value(false));
}

TEST(CorpusValues, OverflowRowsAreFollowedAndListedOnce) {
    STRUX_REQUIRE_CORPUS();
    const std::multiset<std::string> expected{"row1col1", "row2col1", "row2col3", "row3col3", "row3col9", "row4col1",
                                              "row4col2", "row5col2", "row6col2", "row6col3", "row7col1", "row7col7"};
    for (const char* path : {"V1997/overflowTestV1997.mdb", "V2000/overflowTestV2000.mdb",
                             "V2003/overflowTestV2003.mdb", "V2007/overflowTestV2007.accdb",
                             "V2010/overflowTestV2010.accdb"}) {
        SCOPED_TRACE(path);
        auto table = readTable(path, "Table1");
        EXPECT_EQ(table.rows.size(), 7u);
        std::multiset<std::string> seen;
        for (const auto& row : table.rows)
            for (const auto& [name, value] : row)
                if (!jet::isNull(value)) seen.insert(std::get<std::string>(value));
        EXPECT_EQ(seen, expected);
    }
}

TEST(CorpusValues, DeletedRowsAndDeletedColumns) {
    STRUX_REQUIRE_CORPUS();
    for (const char* path : {"V1997/delTestV1997.mdb", "V2000/delTestV2000.mdb", "V2003/delTestV2003.mdb",
                             "V2007/delTestV2007.accdb", "V2010/delTestV2010.accdb"}) {
        SCOPED_TRACE(path);
        auto table = readTable(path, "Table");
        ASSERT_EQ(table.rows.size(), 2u);
        EXPECT_EQ(table.where("a", text("z")).at("b"), text("y"));
        EXPECT_EQ(table.where("a", text("v")).at("b"), text("u"));
    }
    for (const char* path : {"V1997/delColTestV1997.mdb", "V2000/delColTestV2000.mdb", "V2003/delColTestV2003.mdb",
                             "V2007/delColTestV2007.accdb", "V2010/delColTestV2010.accdb"}) {
        SCOPED_TRACE(path);
        auto table = readTable(path, "Table1");
        ASSERT_EQ(table.rows.size(), 2u);
        const auto& first = table.where("id", Value(std::int32_t{0}));
        EXPECT_EQ(first.at("id2"), Value(std::int32_t{2}));
        EXPECT_EQ(first.at("data"), text("foo"));
        EXPECT_EQ(first.at("data2"), text("foo2"));
        const auto& second = table.where("id", Value(std::int32_t{3}));
        EXPECT_EQ(second.at("id2"), Value(std::int32_t{5}));
        EXPECT_EQ(second.at("data2"), text("bar2"));
    }
}

}  // namespace
