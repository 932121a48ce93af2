// DAO's numeric codes: field types, attribute bits, collating orders, query
// and recordset types. The values are DAO's own, because callers compare
// against them as DAO callers do.
#pragma once

namespace jet {

// Field.Type
enum FieldType : int {
    dbBoolean = 1,
    dbByte = 2,
    dbInteger = 3,
    dbLong = 4,
    dbCurrency = 5,
    dbSingle = 6,
    dbDouble = 7,
    dbDate = 8,
    dbBinary = 9,
    dbText = 10,
    dbLongBinary = 11,
    dbMemo = 12,
    dbGUID = 15,
    dbBigInt = 16,
    dbVarBinary = 17,
    dbChar = 18,
    dbNumeric = 19,
    dbDecimal = 20,
    dbFloat = 21,
    dbTime = 22,
    dbTimeStamp = 23,
    // Kinds only ACE files hold; codes as ACE's DAO reports them.
    dbAttachment = 101,
    dbComplexByte = 102,
    dbComplexInteger = 103,
    dbComplexLong = 104,
    dbComplexSingle = 105,
    dbComplexDouble = 106,
    dbComplexGUID = 107,
    dbComplexDecimal = 108,
    dbComplexText = 109,
};

// Field.Attributes
enum FieldAttribute : long {
    dbFixedField = 1,
    dbVariableField = 2,
    dbAutoIncrField = 16,
    dbUpdatableField = 32,
    dbSystemField = 8192,
    dbHyperlinkField = 32768,
    dbDescending = 1,  // on an index's field
};

// TableDef.Attributes
enum TableDefAttribute : long {
    dbHiddenObject = 1,
    // Negative, as DAO's 32-bit Long holds it (-2147483646).
    dbSystemObject = static_cast<long>(static_cast<int>(0x80000002u)),
    dbAttachExclusive = 0x10000,
    dbAttachSavePWD = 0x20000,
    dbAttachedODBC = 0x20000000,
    dbAttachedTable = 0x40000000,
};

// Relation.Attributes
enum RelationAttribute : long {
    dbRelationUnique = 1,
    dbRelationDontEnforce = 2,
    dbRelationInherited = 4,
    dbRelationUpdateCascade = 256,
    dbRelationDeleteCascade = 4096,
    dbRelationLeft = 16777216,
    dbRelationRight = 33554432,
};

// QueryDef.Type
enum QueryDefType : int {
    dbQSelect = 0,
    dbQCrosstab = 16,
    dbQDelete = 32,
    dbQUpdate = 48,
    dbQAppend = 64,
    dbQMakeTable = 80,
    dbQDDL = 96,
    dbQSQLPassThrough = 112,
    dbQSetOperation = 128,
    dbQSPTBulk = 144,
    dbQCompound = 160,
    dbQProcedure = 224,
    dbQAction = 240,
};

// Database.CollatingOrder
enum CollatingOrder : int {
    dbSortUndefined = -1,
    dbSortNeutral = 1024,
    dbSortArabic = 1025,
    dbSortChineseTraditional = 1028,
    dbSortCzech = 1029,
    dbSortNorwdan = 1030,
    dbSortGreek = 1032,
    dbSortGeneral = 1033,
    dbSortSpanish = 1034,
    dbSortHebrew = 1037,
    dbSortHungarian = 1038,
    dbSortIcelandic = 1039,
    dbSortJapanese = 1041,
    dbSortKorean = 1042,
    dbSortDutch = 1043,
    dbSortPolish = 1045,
    dbSortCyrillic = 1049,
    dbSortSwedFin = 1053,
    dbSortThai = 1054,
    dbSortTurkish = 1055,
    dbSortSlovenian = 1060,
    dbSortChineseSimplified = 2052,
};

// OpenRecordset type
enum RecordsetType : int {
    dbOpenTable = 1,
    dbOpenDynaset = 2,
    dbOpenSnapshot = 4,
};

// CreateDatabase options
enum DatabaseOption : int {
    dbEncrypt = 2,
    dbVersion10 = 1,
    dbVersion11 = 8,
    dbVersion20 = 16,
    dbVersion30 = 32,
    dbVersion40 = 64,
};

// The locale string of CreateDatabase for the General sort order.
inline constexpr const char* dbLangGeneral = ";LANGID=0x0409;CP=1252;COUNTRY=0";

}  // namespace jet
