// Errors raised by the engine. Every failure carries DAO's error number and
// message text, so that callers can act on numbers as DAO callers do.
#pragma once

#include <stdexcept>
#include <string>

namespace jet {

// DAO error numbers the engine raises.
enum ErrorNumber : long {
    kErrInvalidArgument = 3001,
    kErrTooManyTransactions = 3003,     // BeginTrans past five levels
    kErrNoTransaction = 3034,           // CommitTrans or Rollback without BeginTrans
    kErrDuplicateObject = 3012,         // object already exists
    kErrDuplicateField = 3191,          // field defined more than once
    kErrNoCurrentRecord = 3021,
    kErrDuplicateKey = 3022,
    kErrFileNotFound = 3024,
    kErrCannotOpenFile = 3044,          // not a valid path
    kErrFileInUse = 3045,
    kErrReadOnly = 3027,
    kErrDiskFull = 3026,                // not enough space on disk
    kErrDiskOrNetwork = 3043,           // the device failed a read or write
    kErrTableExists = 3010,
    kErrDataTypeConversion = 3421,
    kErrFieldTooSmall = 3163,
    kErrRecordTooLarge = 3047,
    kErrLockedForUpdate = 3218,         // could not update: locked by another opener
    kErrIndexNull = 3058,
    kErrUpdateWithoutEdit = 3020,
    kErrNoFields = 3264,
    kErrIndexExists = 3284,
    kErrPassword = 3031,
    kErrDamaged = 3049,                 // cannot open: corrupted file
    kErrNoPermission = 3051,
    kErrInvalidName = 3125,
    kErrRecordDeleted = 3167,           // the row under Edit was deleted by another write
    kErrWriteConflict = 3197,           // the row under Edit was changed by another write
    kErrRelatedRecordsExist = 3200,     // a delete or key change would leave rows of an enforced relation orphaned
    kErrRelatedRecordRequired = 3201,   // a foreign key names no row of the primary table
    kErrDatabaseExists = 3204,
    kErrInvalidType = 3259,
    kErrItemNotFound = 3265,
    kErrSecondPrimaryKey = 3283,
    kErrUnrecognizedFormat = 3343,
    kErrOperationNotSupported = 3251,
    kErrNoCurrentIndex = 3019,          // Seek without an Index set
    kErrUnknownName = 3070,             // criteria name a column the row lacks
    kErrSyntaxInExpression = 3077,
    kErrTypeMismatchInCriteria = 3464,
    kErrNotAnIndex = 3800,
    kErrInputTableNotFound = 3078,
    kErrObjectInvalid = 3420,           // a closed object used
    kErrInvalidIndexDefinition = 3285,  // a field twice in an index or enforced relation
    kErrRelationWithoutFields = 3366,
    kErrRelationFieldTypes = 3368,      // fields of different types
    kErrIntegrityViolation = 3379,      // existing rows break an enforced relation
    kErrNoUniqueIndex = 3609,           // primary side of an enforced relation
    kErrTooManyIndexes = 3626,          // more than 32 on a table
    kErrNoSuchTableOrConstraint = 3371, // a DDL statement names a table or constraint that does not exist
    kErrTableHasIndex = 3375,           // CREATE INDEX with a name the table has
    kErrCannotExecuteSelect = 3065,     // Execute of a query that returns rows
};

// The one exception type of the engine. `number()` is DAO's error number,
// `what()` DAO's message text; `context()` names the database, table or page
// involved (empty when none applies) and is kept apart from the text so that
// messages shown to users stay as DAO words them.
class Error : public std::runtime_error {
public:
    Error(long number, const std::string& description, std::string context = {})
        : std::runtime_error(description), number_(number), context_(std::move(context)) {}

    long number() const { return number_; }
    const std::string& context() const { return context_; }

private:
    long number_;
    std::string context_;
};

}  // namespace jet
