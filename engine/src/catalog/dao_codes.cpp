#include "catalog/dao_codes.h"

#include "jet/types.h"

namespace jet::catalog {

int daoFieldType(std::uint8_t columnType, int complexKind) {
    switch (columnType) {
    case kColBoolean: return dbBoolean;
    case kColByte: return dbByte;
    case kColInteger: return dbInteger;
    case kColLong: return dbLong;
    case kColCurrency: return dbCurrency;
    case kColSingle: return dbSingle;
    case kColDouble: return dbDouble;
    case kColDateTime: return dbDate;
    case kColBinary: return dbBinary;
    case kColText: return dbText;
    case kColOle: return dbLongBinary;
    case kColMemo: return dbMemo;
    case kColGuid: return dbGUID;
    case kColNumeric: return dbDecimal;
    case kColVarBinary: return dbVarBinary;
    case kColComplex: return complexKind != 0 ? complexKind : dbAttachment;
    case kColBigInt: return dbBigInt;
    case kColDateTimeExtended: return dbTimeStamp;
    default: return 0;
    }
}

long daoFieldSize(std::uint8_t columnType, std::uint16_t storedLength, bool unicodeText) {
    switch (columnType) {
    case kColBoolean:
    case kColByte: return 1;
    case kColInteger: return 2;
    case kColLong:
    case kColSingle:
    case kColComplex: return 4;
    case kColCurrency:
    case kColDouble:
    case kColDateTime:
    case kColBigInt: return 8;
    case kColGuid:
    case kColNumeric: return 16;
    case kColText: return unicodeText ? storedLength / 2 : storedLength;
    case kColMemo:
    case kColOle: return 0;
    default: return storedLength;
    }
}

long daoFieldAttributes(std::uint8_t columnType, std::uint8_t columnFlags, bool replicationColumn) {
    long attributes = (columnFlags & kColFlagFixed) ? dbFixedField : dbVariableField;
    // Only a long integer counter increments; the GUID kind is filled by a
    // default value instead and DAO does not flag it.
    if ((columnFlags & kColFlagAutoLong) && columnType == kColLong) attributes |= dbAutoIncrField;
    if ((columnFlags & kColFlagHyperlink) && columnType == kColMemo) attributes |= dbHyperlinkField;
    if (replicationColumn && (columnFlags & kColFlagReplication)) attributes |= dbSystemField;
    return attributes;
}

long daoTableDefAttributes(int objectType, std::uint32_t catalogFlags) {
    long attributes = 0;
    if (catalogFlags & kCatalogSystemBits) attributes |= dbSystemObject;
    if (catalogFlags & kCatalogHidden) attributes |= dbHiddenObject;
    if (objectType == kObjLinkedTable || objectType == kObjLinkedOdbc) {
        attributes |= objectType == kObjLinkedTable ? dbAttachedTable : dbAttachedODBC;
        // The link's own options are kept in the catalog flags with DAO's bits.
        attributes |= static_cast<long>(catalogFlags & (dbAttachExclusive | dbAttachSavePWD));
    }
    return attributes;
}

int daoCollatingOrder(int storedSortOrder) {
    return storedSortOrder == 0 ? dbSortUndefined : storedSortOrder;
}

}  // namespace jet::catalog
