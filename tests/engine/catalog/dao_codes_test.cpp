// DAO's codes where the stored bytes do not say them plainly. The ordinary
// types, sizes and attributes are compared with the referee's reading of
// every corpus file (corpus_reference_test.cpp); these are the cases the
// corpus does not hold.
#include "catalog/dao_codes.h"

#include <gtest/gtest.h>

#include "jet/types.h"

using namespace jet::catalog;

TEST(DaoCodes, CodesTheCorpusDoesNotShow) {
    EXPECT_EQ(daoFieldType(kColComplex), jet::dbAttachment);
    EXPECT_EQ(daoFieldType(kColComplex, jet::dbComplexText), jet::dbComplexText);
    EXPECT_EQ(daoFieldType(0x0D), 0);  // no type Jet writes
    EXPECT_EQ(daoFieldType(0x46), 0);
    EXPECT_EQ(daoFieldSize(kColBoolean, 0, false), 1);  // stored in the null mask, no bytes
    // The auto-number bit on other kinds does not make a counter.
    EXPECT_EQ(daoFieldAttributes(kColText, 0x06), jet::dbVariableField);
    EXPECT_EQ(daoFieldAttributes(kColGuid, 0x13, true), jet::dbFixedField | jet::dbSystemField);
    EXPECT_EQ(daoFieldAttributes(kColLong, 0x13, false), jet::dbFixedField);  // system tables set the bit too
    // Either system bit makes DAO's two-bit system value.
    EXPECT_EQ(daoTableDefAttributes(kObjLocalTable, 0x00000002u), -2147483646L);
    EXPECT_EQ(daoTableDefAttributes(kObjLinkedOdbc, 0x20000u), jet::dbAttachedODBC | jet::dbAttachSavePWD);
    // Link options mean nothing on a local table.
    EXPECT_EQ(daoTableDefAttributes(kObjLocalTable, 0x10000u), 0);
    EXPECT_EQ(daoCollatingOrder(0x0409), jet::dbSortGeneral);
    EXPECT_EQ(daoCollatingOrder(0x0400), jet::dbSortNeutral);
    EXPECT_EQ(daoCollatingOrder(0), jet::dbSortUndefined);
    EXPECT_EQ(daoCollatingOrder(1026), 1026);
}
