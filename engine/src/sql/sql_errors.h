// The numbers of Jet's SQL syntax errors, for the tokenizer and both
// parsers (queries and data definition).
#pragma once

namespace jet::sql {

enum SyntaxError : long {
    kErrExpression = 3075,
    kErrBracketing = 3126,
    kErrNotStatement = 3129,
    kErrDelete = 3130,
    kErrFrom = 3131,
    kErrGroupBy = 3132,
    kErrInsert = 3134,
    kErrJoin = 3135,
    kErrOrderBy = 3138,
    kErrParameters = 3139,
    kErrSelect = 3141,
    kErrAfterEnd = 3142,
    kErrTransform = 3143,
    kErrUpdate = 3144,
    kErrOwnerAccess = 3257,
    kErrConstraint = 3289,
    kErrCreateTable = 3290,
    kErrCreateIndex = 3291,
    kErrFieldDefinition = 3292,
    kErrAlterTable = 3293,
    kErrDrop = 3295,
    kErrValueCount = 3346,
    kErrTooComplex = 3360,
};

}  // namespace jet::sql
