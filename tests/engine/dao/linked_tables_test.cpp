// Linked tables: the link is read, the source is never opened.
#include <gtest/gtest.h>

#include "jet/dao.h"
#include "support/corpus.h"
#include "support/error_number.h"

TEST(LinkedTables, AccessLinkKeepsItsSourceFileAndTableName) {
    STRUX_REQUIRE_CORPUS();
    auto db = jet::DBEngine().OpenDatabase(testsupport::corpusFile("V2007/linkerTestV2007.accdb").string(), false, true);
    const jet::TableDef& linked = db->TableDefs()["Table2"];
    EXPECT_EQ(linked.Attributes(), jet::dbAttachedTable);
    EXPECT_EQ(linked.Connect(), ";DATABASE=Z:\\jackcess_test\\linkeeTest.accdb");
    EXPECT_EQ(linked.SourceTableName(), "Table1");
    EXPECT_EQ(linked.Fields().Count(), 0);
    EXPECT_EQ(linked.Indexes().Count(), 0);
    EXPECT_EQ(linked.RecordCount(), -1);
    // Its rows live in the other file.
    EXPECT_EQ(testsupport::errorNumber<jet::Error>([&] { db->OpenRecordset("Table2", jet::dbOpenDynaset); }),
              jet::kErrOperationNotSupported);
    EXPECT_EQ(db->TableDefs()["Table1"].Attributes() & jet::dbAttachedTable, 0);
}

TEST(LinkedTables, OdbcLinkShowsTheOdbcPrefixDaoGivesIt) {
    STRUX_REQUIRE_CORPUS();
    auto db = jet::DBEngine().OpenDatabase(testsupport::corpusFile("V2007/odbcLinkerTestV2007.accdb").string(), false, true);
    const jet::TableDef& linked = db->TableDefs()["Ordrar"];
    EXPECT_NE(linked.Attributes() & jet::dbAttachedODBC, 0);
    EXPECT_EQ(linked.Attributes() & jet::dbAttachedTable, 0);
    EXPECT_EQ(linked.Connect().rfind("ODBC;DSN=Magnapinna;", 0), 0u) << linked.Connect();
    EXPECT_EQ(linked.SourceTableName(), "dbo.Ordrar");
}
