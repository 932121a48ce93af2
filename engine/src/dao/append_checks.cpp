// DAO's checks on objects a program appends: names, field types, primary keys.
#include "dao/object_names.h"
#include "jet/collection.h"
#include "jet/index.h"
#include "jet/types.h"

namespace jet {

bool isValidObjectName(const std::string& name) {
    if (name.empty() || name.front() == ' ') return false;
    std::size_t characters = 0;
    for (unsigned char c : name) {
        if ((c & 0xC0) != 0x80) ++characters;
        if (c < 0x20 || c == '.' || c == '!' || c == '`' || c == '[' || c == ']') return false;
    }
    return characters <= kMaxObjectNameLength;
}

Error invalidNameError(const std::string& name) {
    return Error(kErrInvalidName, "'" + name + "' is not a valid name. Make sure that it does not include invalid "
                                               "characters or punctuation and that it is not too long.");
}

bool isWritableFieldType(int type) {
    switch (type) {
    case dbBoolean: case dbByte: case dbInteger: case dbLong: case dbCurrency: case dbSingle: case dbDouble:
    case dbDate: case dbBinary: case dbText: case dbLongBinary: case dbMemo: case dbGUID: case dbDecimal:
    case dbChar: case dbVarBinary:
        return true;
    default:
        return false;
    }
}

void checkAppend(const Collection<Field>&, const Field& item) {
    if (!isValidObjectName(item.Name())) throw invalidNameError(item.Name());
    // Members of an index carry no type; a table's fields must have one.
    if (item.Type() != 0 && !isWritableFieldType(item.Type()))
        throw Error(kErrInvalidType, "Invalid field data type.");
}

void checkAppend(const Collection<Index>& to, const Index& item) {
    if (!isValidObjectName(item.Name())) throw invalidNameError(item.Name());
    if (item.Primary())
        for (const auto& other : to)
            if (other->Primary()) throw Error(kErrSecondPrimaryKey, "Primary key already exists.");
}

Error duplicateNameError(const Field&) { return Error(kErrDuplicateField, "Cannot define field more than once."); }
Error duplicateNameError(const Index&) { return Error(kErrIndexExists, "Index already exists."); }

}  // namespace jet
