#include "viewer/object_list.h"

#include <gtest/gtest.h>

#include "jet/types.h"
#include "program_fixture.h"
#include "vb/variant.h"

using namespace programtest;

namespace {

using Lines = std::vector<std::string>;

TEST(ObjectList, ListsTablesQueriesRelationsInCollectionOrderAndSkipsSystemAndTildeObjects) {
    jet::Collection<jet::TableDef> tables;
    tables.add(makeTable("Visible"));
    tables.add(makeTable("Hidden", jet::dbHiddenObject));
    tables.add(makeTable("Linked", jet::dbAttachedTable));
    tables.add(makeTable("SysLow", 2));
    tables.add(makeTable("SysHigh", static_cast<long>(0x80000000u)));
    tables.add(makeTable("MSysObjects", jet::dbSystemObject));
    tables.add(makeTable("Also"));
    jet::Collection<jet::QueryDef> queries;
    queries.add(makeQuery("~sq_ffrmOrders", "SELECT 1;"));
    queries.add(makeQuery("Sales", "SELECT 2;"));
    queries.add(makeQuery("Mid~Tilde", "SELECT 3;"));
    jet::Collection<jet::Relation> relations;
    relations.add(makeRelation("~internal", "A", "B", {{"x", "y"}}));

    EXPECT_EQ(listing::listEntries(tables, queries, relations),
              (Lines{"Tbl: Visible", "Tbl: Hidden", "Tbl: Linked", "Tbl: Also", "Qdf: Sales", "Qdf: Mid~Tilde",
                     "Rel: ~internal"}));
}

TEST(ObjectList, EntryNameAndSelectionFlags) {
    EXPECT_EQ(listing::entryName("Tbl: Order Details"), "Order Details");
    EXPECT_EQ(listing::entryName("Tbl:"), "");

    int16_t query = 0, relation = 0;
    viewer::selectionFlagsForEntry("Qdf: Sales", query, relation);
    EXPECT_EQ(query, -1);
    EXPECT_EQ(relation, 0);
    viewer::selectionFlagsForEntry("Rel: R", query, relation);
    EXPECT_EQ(query, 0);
    EXPECT_EQ(relation, -1);
    // An entry of no known kind leaves the flags as they were.
    viewer::selectionFlagsForEntry("Xyz: R", query, relation);
    EXPECT_EQ(relation, -1);
    viewer::selectionFlagsForEntry("Tbl: T", query, relation);
    EXPECT_EQ(query, 0);
    EXPECT_EQ(relation, 0);

    EXPECT_EQ(viewer::layoutModeFor(0, 0), viewer::LayoutMode::Table);
    EXPECT_EQ(viewer::layoutModeFor(-1, 0), viewer::LayoutMode::Query);
    EXPECT_EQ(viewer::layoutModeFor(0, -1), viewer::LayoutMode::Relation);
    EXPECT_EQ(viewer::layoutModeFor(-1, -1), viewer::LayoutMode::Relation);
}

TEST(ObjectList, SqlIsCutAtEveryCrLf) {
    EXPECT_EQ(viewer::sqlLines("SELECT *\r\nFROM T;\r\n"), (Lines{"SELECT *", "FROM T;"}));
    EXPECT_EQ(viewer::sqlLines("SELECT * FROM T"), (Lines{"SELECT * FROM T"}));
    EXPECT_EQ(viewer::sqlLines("A\r\n\r\nB"), (Lines{"A", "", "B"}));
    // A lone LF or CR is not a line break of the stored text.
    EXPECT_EQ(viewer::sqlLines("A\nB\r\n"), (Lines{"A\nB"}));
    EXPECT_TRUE(viewer::sqlLines("").empty());
}

TEST(ObjectList, QueryPropertiesFollowTheSqlBelowNinetyHyphens) {
    auto query = makeQuery("Q", "SELECT A\r\nFROM T;\r\n");
    query->SetType(jet::dbQUpdate);
    query->SetDateCreated({35000.5});
    query->SetLastUpdated({35000.0});
    query->SetMaxRecords(25);
    query->SetConnect(";DATABASE=C:\\x.mdb");
    query->SetReturnsRecords(false);
    query->SetUpdatable(true);
    const Lines lines = viewer::queryPropertyLines(*query);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0], "SELECT A");
    EXPECT_EQ(lines[1], "FROM T;");
    EXPECT_EQ(lines[2], std::string(90, '-'));
    EXPECT_EQ(lines[3], "Type:            48");
    EXPECT_EQ(lines[4], "Created:         " + vb::Variant::Date(35000.5).toString());
    EXPECT_EQ(lines[5], "Updated:         " + vb::Variant::Date(35000.0).toString());
    EXPECT_EQ(lines[6], "Max records:     25");
    EXPECT_EQ(lines[7], "Connect:         ;DATABASE=C:\\x.mdb");
    EXPECT_EQ(lines[8], "Returns Records: False");
    EXPECT_EQ(lines[9], "Updatable:       True");
    for (std::size_t i = 3; i < lines.size(); ++i) EXPECT_EQ(lines[i][16], ' ') << lines[i];
}

TEST(ObjectList, RelationLines) {
    auto single = makeRelation("CustomersOrders", "Customers", "Orders", {{"CustomerID", "CustID"}});
    EXPECT_EQ(viewer::relationFieldLines(*single), (Lines{"Name   : CustomerID", "Foreign: CustID"}));

    auto pair = makeRelation("R2", "A", "B", {{"K1", "F1"}, {"K2", "F2"}}, 4352);
    pair->SetPartialReplica(true);
    EXPECT_EQ(viewer::relationFieldLines(*pair),
              (Lines{"Name   : K1", "Foreign: F1", std::string(30, ' '), "Name   : K2", "Foreign: F2"}));
    EXPECT_EQ(viewer::relationPropertyLines(*pair),
              (Lines{"Name:            R2", "Table:           A", "Foreign table:   B", "Attributes:      4352",
                     "Partial replica: True"}));
}

}  // namespace
