#include "catalog/dao_codes.h"

#include <gtest/gtest.h>

#include "jet/types.h"

using namespace jet::catalog;

TEST(DaoCodes, ColumnTypesReadAsDaoTypes) {
    EXPECT_EQ(daoFieldType(kColBoolean), jet::dbBoolean);
    EXPECT_EQ(daoFieldType(kColCurrency), jet::dbCurrency);
    EXPECT_EQ(daoFieldType(kColOle), jet::dbLongBinary);
    EXPECT_EQ(daoFieldType(kColMemo), jet::dbMemo);
    EXPECT_EQ(daoFieldType(kColGuid), jet::dbGUID);
    // The stored byte and DAO's code part ways from here on.
    EXPECT_EQ(daoFieldType(kColNumeric), jet::dbDecimal);
    EXPECT_EQ(daoFieldType(kColBigInt), jet::dbBigInt);
    EXPECT_EQ(daoFieldType(kColVarBinary), jet::dbVarBinary);
    EXPECT_EQ(daoFieldType(kColComplex), jet::dbAttachment);
    EXPECT_EQ(daoFieldType(kColComplex, jet::dbComplexText), jet::dbComplexText);
    EXPECT_EQ(daoFieldType(0x0D), 0);
    EXPECT_EQ(daoFieldType(0x46), 0);
}

TEST(DaoCodes, SizesAreCharactersForTextAndZeroForLongValues) {
    EXPECT_EQ(daoFieldSize(kColText, 100, true), 50);
    EXPECT_EQ(daoFieldSize(kColText, 50, false), 50);
    EXPECT_EQ(daoFieldSize(kColMemo, 0, true), 0);
    EXPECT_EQ(daoFieldSize(kColOle, 0, false), 0);
    EXPECT_EQ(daoFieldSize(kColBoolean, 0, false), 1);  // stored in the null mask, no bytes
    EXPECT_EQ(daoFieldSize(kColInteger, 2, false), 2);
    EXPECT_EQ(daoFieldSize(kColNumeric, 17, true), 16);
    EXPECT_EQ(daoFieldSize(kColGuid, 16, true), 16);
    EXPECT_EQ(daoFieldSize(kColBinary, 255, true), 255);
}

TEST(DaoCodes, FieldAttributesAsTableFieldsReportThem) {
    EXPECT_EQ(daoFieldAttributes(kColText, 0x02), jet::dbVariableField);
    EXPECT_EQ(daoFieldAttributes(kColLong, 0x03), jet::dbFixedField);
    EXPECT_EQ(daoFieldAttributes(kColLong, 0x07), 17);  // a counter
    // The auto-number bit on other kinds does not make a counter.
    EXPECT_EQ(daoFieldAttributes(kColText, 0x06), jet::dbVariableField);
    EXPECT_EQ(daoFieldAttributes(kColGuid, 0x43), jet::dbFixedField);
    EXPECT_EQ(daoFieldAttributes(kColMemo, 0x82), jet::dbVariableField | jet::dbHyperlinkField);
    EXPECT_EQ(daoFieldAttributes(kColGuid, 0x13, true), jet::dbFixedField | jet::dbSystemField);
    EXPECT_EQ(daoFieldAttributes(kColLong, 0x13, false), jet::dbFixedField);  // system tables set the bit too
}

TEST(DaoCodes, TableDefAttributesFromCatalogRows) {
    EXPECT_EQ(daoTableDefAttributes(kObjLocalTable, 0), 0);
    // Either system bit makes DAO's two-bit system value.
    EXPECT_EQ(daoTableDefAttributes(kObjLocalTable, 0x80000000u), jet::dbSystemObject);
    EXPECT_EQ(daoTableDefAttributes(kObjLocalTable, 0x00000002u), jet::dbSystemObject);
    EXPECT_EQ(daoTableDefAttributes(kObjLocalTable, 0x00000002u), -2147483646L);
    EXPECT_EQ(daoTableDefAttributes(kObjLocalTable, 0x00000008u), jet::dbHiddenObject);
    EXPECT_EQ(daoTableDefAttributes(kObjLinkedTable, 0), jet::dbAttachedTable);
    EXPECT_EQ(daoTableDefAttributes(kObjLinkedOdbc, 0x20000u), jet::dbAttachedODBC | jet::dbAttachSavePWD);
    // Link options mean nothing on a local table.
    EXPECT_EQ(daoTableDefAttributes(kObjLocalTable, 0x10000u), 0);
}

TEST(DaoCodes, CollatingOrder) {
    EXPECT_EQ(daoCollatingOrder(0x0409), jet::dbSortGeneral);
    EXPECT_EQ(daoCollatingOrder(0x0400), jet::dbSortNeutral);
    EXPECT_EQ(daoCollatingOrder(0), jet::dbSortUndefined);
    EXPECT_EQ(daoCollatingOrder(1026), 1026);
}
