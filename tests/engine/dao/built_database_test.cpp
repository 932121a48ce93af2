// The object model over a catalog the test builds byte by byte, in Jet 3
// and Jet 4 layout, for what neither the corpus nor the engine's own files
// hold: queries whose rows are gone or that read each other, a linked table
// and a hidden one, no relationships table, a password given in the connect
// string. Fields, indexes, rows, query texts and relations are read through
// files the engine writes and the corpus.
#include <gtest/gtest.h>

#include "../catalog/blob_builder.h"
#include "../storage/fixture_builder.h"
#include "dao/database_impl.h"
#include "jet/dao.h"
#include "storage/table_definition.h"
#include "jet/error.h"
#include "support/error_number.h"

namespace {

namespace coltype = jet::storage::coltype;
using fixture::Bytes;
using Values = fixture::RowValues;

constexpr std::uint32_t kTablesContainer = 0x0F000001;
constexpr std::uint32_t kSystemFlag = 0x80000000u;

Bytes le16(std::uint32_t v) { return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)}; }

class BuiltDatabase : public ::testing::TestWithParam<const jet::format::JetFormat*> {
protected:
    const jet::format::JetFormat& fmt() const { return *GetParam(); }
    bool unicode() const { return fmt().unicodeText; }
    Bytes text(const std::string& s) const { return fixture::storedText(fmt(), s); }
    Bytes memo(const std::string& s) const { return fixture::longValueInline(text(s)); }

    fixture::Column column(const std::string& name, std::uint8_t type, std::uint16_t chars = 0,
                           std::uint8_t flags = 0) const {
        fixture::Column c;
        c.name = name;
        c.type = type;
        c.length = type == coltype::kText ? static_cast<std::uint16_t>(chars * (unicode() ? 2 : 1)) : 0;
        c.flags = flags;
        return c;
    }

    // A table at `page` holding `rows`, split over data pages of `perPage`.
    void addTable(fixture::Database& db, std::uint32_t page, fixture::Table table, const std::vector<Values>& rows,
                  std::size_t perPage = 4) const {
        table.columns = fixture::layoutColumns(fmt(), table.columns);
        std::vector<std::uint32_t> pages;
        for (std::size_t i = 0; i < rows.size(); i += perPage) {
            std::vector<fixture::Slot> slots;
            for (std::size_t k = i; k < rows.size() && k < i + perPage; ++k)
                slots.push_back({fixture::encodeRow(fmt(), table.columns, rows[k])});
            pages.push_back(db.addDataPage(page, slots));
        }
        table.rowCount = static_cast<std::uint32_t>(rows.size());
        table.ownedMap = db.addInlineUsageMap(pages);
        db.writeTdef(page, fixture::encodeTdefBody(fmt(), table));
    }

    Values catalogRow(std::uint32_t id, std::uint32_t parent, const std::string& name, int type, std::uint32_t flags,
                      const Bytes& properties = {}, const std::string& database = {},
                      const std::string& foreignName = {}) const {
        return {fixture::le32(id),
                fixture::le32(parent),
                text(name),
                le16(static_cast<std::uint32_t>(type)),
                fixture::leDouble(38000.25),
                fixture::leDouble(38001.5),
                fixture::le32(flags),
                database.empty() ? std::optional<Bytes>() : memo(database),
                std::nullopt,
                foreignName.empty() ? std::optional<Bytes>() : text(foreignName),
                properties.empty() ? std::optional<Bytes>() : fixture::longValueInline(properties)};
    }

    std::unique_ptr<jet::Database> build(const std::string& password = {}, const std::string& connect = {}) const {
        fixture::Database db(fmt());
        if (!password.empty()) db.setPassword(password);
        const std::uint32_t catalogPage = db.addPage();  // 2: the catalog always lives here
        const std::uint32_t settingsPage = db.addPage();
        const std::uint32_t queriesPage = db.addPage();
        const std::uint32_t alphaPage = db.addPage();

        // Settings: ID counter, Setting text, Tab01 integer.
        fixture::Table settings;
        settings.columns = {column("ID", coltype::kLong, 0, 0x04), column("Setting", coltype::kText, 50),
                            column("Tab01", coltype::kInteger)};
        addTable(db, settingsPage,
                 settings,
                 {{fixture::le32(2), text("Wide"), le16(20)},
                  {fixture::le32(1), text("Default"), le16(10)},
                  {fixture::le32(3), text("it's"), std::nullopt}});

        fixture::Table alpha;
        alpha.columns = {column("SettingID", coltype::kLong), column("Note", coltype::kMemo)};
        addTable(db, alphaPage, alpha, {});

        fixture::Table queries;
        queries.columns = {column("Attribute", coltype::kByte), column("Expression", coltype::kMemo),
                           column("Flag", coltype::kInteger), column("Name1", coltype::kText, 255),
                           column("Name2", coltype::kText, 255), column("ObjectId", coltype::kLong),
                           column("Order", coltype::kBinary)};
        queries.columns.back().length = 255;
        auto queryRow = [&](std::uint32_t object, int attribute, std::optional<int> flag,
                            std::optional<std::string> name1, std::optional<std::string> expression) {
            return Values{Bytes{static_cast<std::uint8_t>(attribute)},
                          expression ? std::optional<Bytes>(memo(*expression)) : std::nullopt,
                          flag ? std::optional<Bytes>(le16(static_cast<std::uint32_t>(*flag))) : std::nullopt,
                          name1 ? std::optional<Bytes>(text(*name1)) : std::nullopt,
                          std::nullopt,
                          fixture::le32(object),
                          std::nullopt};
        };
        addTable(db, queriesPage, queries,
                 {// "*" over a table, and two queries that read each other.
                  queryRow(0x103, 1, 1, {}, {}), queryRow(0x103, 3, 0, {}, {}),
                  queryRow(0x103, 5, {}, "Settings", {}), queryRow(0x103, 6, 0, {}, "Settings.*"),
                  queryRow(0x104, 1, 1, {}, {}), queryRow(0x104, 3, 0, {}, {}),
                  queryRow(0x104, 5, {}, "Loop B", {}), queryRow(0x104, 6, 0, {}, "[Loop B].*"),
                  queryRow(0x105, 1, 1, {}, {}), queryRow(0x105, 3, 0, {}, {}),
                  queryRow(0x105, 5, {}, "Loop A", {}), queryRow(0x105, 6, 0, {}, "[Loop A].*")},
                 8);

        const Bytes databaseProperties =
            blobtest::BlobBuilder(unicode())
                .names({"AccessVersion"})
                .block("", {{0, jet::dbText, blobtest::stored("08.50", unicode())}})
                .bytes();

        fixture::Table catalog;
        catalog.columns = {column("Id", coltype::kLong),          column("ParentId", coltype::kLong),
                           column("Name", coltype::kText, 128),   column("Type", coltype::kInteger),
                           column("DateCreate", coltype::kDateTime), column("DateUpdate", coltype::kDateTime),
                           column("Flags", coltype::kLong),       column("Database", coltype::kMemo),
                           column("Connect", coltype::kMemo),     column("ForeignName", coltype::kText, 128),
                           column("LvProp", coltype::kOle)};
        addTable(db, catalogPage, catalog,
                 {catalogRow(kTablesContainer, 0x0F000000, "Tables", 3, kSystemFlag),
                  catalogRow(0x0F000003, 0x0F000002, "MSysDb", 2, kSystemFlag, databaseProperties),
                  catalogRow(settingsPage, kTablesContainer, "Settings", 1, 0),
                  catalogRow(catalogPage, kTablesContainer, "MSysObjects", 1, kSystemFlag),
                  catalogRow(queriesPage, kTablesContainer, "MSysQueries", 1, kSystemFlag),
                  catalogRow(alphaPage, kTablesContainer, "Alpha Table", 1, 0x8),
                  catalogRow(0x200, kTablesContainer, "Linked Prices", 6, 0, {}, "C:\\data\\prices.mdb", "Prices"),
                  // A make-table query whose MSysQueries rows are gone.
                  catalogRow(0x102, kTablesContainer, "Lost Rows", 5, 0x50),
                  catalogRow(0x103, kTablesContainer, "All Settings", 5, 0),
                  catalogRow(0x104, kTablesContainer, "Loop A", 5, 0),
                  catalogRow(0x105, kTablesContainer, "Loop B", 5, 0)},
                 2);
        return std::make_unique<jet::Database>(jet::DatabaseImpl::openBytes(db.bytes(), "built.mdb", true, connect));
    }
};

std::vector<std::string> namesOf(const auto& collection) {
    std::vector<std::string> names;
    for (const auto& item : collection) names.push_back(item->Name());
    return names;
}

}  // namespace

TEST_P(BuiltDatabase, TablesInCatalogOrderWithTheirKinds) {
    auto db = build();
    EXPECT_EQ(db->Version(), fmt().isJet3() ? "3.0" : "4.0");
    EXPECT_EQ(db->CollatingOrder(), jet::dbSortGeneral);
    EXPECT_EQ(namesOf(db->TableDefs()), (std::vector<std::string>{"Alpha Table", "Linked Prices", "MSysObjects",
                                                                  "MSysQueries", "Settings"}));
    EXPECT_EQ(db->TableDefs()["Alpha Table"].Attributes(), jet::dbHiddenObject);
    EXPECT_EQ(db->TableDefs()["MSysQueries"].Attributes(), jet::dbSystemObject);
    EXPECT_EQ(db->TableDefs()["Settings"].Attributes(), 0);
    EXPECT_EQ(db->TableDefs()["Settings"].RecordCount(), 3);

    const jet::TableDef& linked = db->TableDefs()["Linked Prices"];
    EXPECT_EQ(linked.Attributes(), jet::dbAttachedTable);
    EXPECT_EQ(linked.Connect(), ";DATABASE=C:\\data\\prices.mdb");
    EXPECT_EQ(linked.SourceTableName(), "Prices");
    EXPECT_EQ(linked.Fields().Count(), 0);
    EXPECT_EQ(jet::valueToString(db->Properties()["AccessVersion"].Value()), "08.50");
}

TEST_P(BuiltDatabase, QueriesWithoutRowsOrReadingEachOther) {
    auto db = build();
    ASSERT_EQ(namesOf(db->QueryDefs()), (std::vector<std::string>{"All Settings", "Loop A", "Loop B", "Lost Rows"}));
    // "*" stands for the table's columns; queries reading each other end the
    // expansion instead of recursing.
    EXPECT_EQ(namesOf(db->QueryDefs()["All Settings"].Fields()), (std::vector<std::string>{"ID", "Setting", "Tab01"}));
    EXPECT_EQ(db->QueryDefs()["Loop A"].SQL(), "SELECT [Loop B].*\r\nFROM [Loop B];\r\n");
    EXPECT_EQ(db->QueryDefs()["Loop A"].Fields().Count(), 0);
    // Without its rows a query is still listed, with the kind its catalog
    // flags give, no SQL text, and marked as damaged.
    const jet::QueryDef& lost = db->QueryDefs()["Lost Rows"];
    EXPECT_EQ(lost.Type(), jet::dbQMakeTable);
    EXPECT_EQ(lost.SQL(), "");
    EXPECT_NE(lost.Damage().find("no MSysQueries rows"), std::string::npos) << lost.Damage();
    EXPECT_EQ(db->QueryDefs()["All Settings"].Damage(), "");
    EXPECT_EQ(db->Relations().Count(), 0);  // no MSysRelationships at all
}

TEST_P(BuiltDatabase, PasswordComesFromTheConnectString) {
    auto errorOf = [&](const std::string& connect) {
        return testsupport::errorNumber<jet::Error>([&] { build("Secret1", connect); });
    };
    EXPECT_EQ(errorOf(""), jet::kErrPassword);
    EXPECT_EQ(errorOf(";PWD=wrong"), jet::kErrPassword);
    EXPECT_EQ(errorOf(";PWD=Secret1"), 0);
    EXPECT_EQ(errorOf("MS Access;pwd=Secret1;"), 0);  // the key in any case, among other parts
}

INSTANTIATE_TEST_SUITE_P(Formats, BuiltDatabase,
                         ::testing::Values(&jet::format::jet3Format(), &jet::format::jet4Format()),
                         [](const auto& info) { return info.param->isJet3() ? "Jet3" : "Jet4"; });
