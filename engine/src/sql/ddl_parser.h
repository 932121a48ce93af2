// Jet's data-definition statements read into what they define: CREATE
// TABLE with its fields and constraints, CREATE INDEX, ALTER TABLE ... ADD
// CONSTRAINT, DROP TABLE and DROP INDEX. The statements' effect is the
// executor's (dao/ddl_execute.cpp); this module only reads them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace jet::sql {

struct DdlConstraint {
    enum class Kind { PrimaryKey, Unique, ForeignKey };
    Kind kind = Kind::PrimaryKey;
    std::string name;
    std::vector<std::string> fields;            // the constrained fields, in order
    std::string referencedTable;                // foreign keys
    std::vector<std::string> referencedFields;  // empty: the referenced table's primary key
    bool cascadeUpdates = false, cascadeDeletes = false;
};

struct DdlField {
    std::string name;
    int type = 0;      // DAO's db... type
    long size = 0;     // characters of a text, bytes of a binary; 0 when none was given
    bool notNull = false;
    bool counter = false;  // COUNTER / AUTOINCREMENT
};

struct DdlIndexMember {
    std::string name;
    bool descending = false;
};

struct DdlStatement {
    enum class Kind { CreateTable, CreateIndex, AddConstraint, DropTable, DropIndex };
    Kind kind = Kind::CreateTable;
    std::string table;
    // CREATE TABLE
    std::vector<DdlField> fields;
    // CREATE TABLE (inline and table constraints, in order) and ADD CONSTRAINT
    std::vector<DdlConstraint> constraints;
    // CREATE INDEX and DROP INDEX
    std::string index;
    std::vector<DdlIndexMember> members;
    bool unique = false, primary = false, disallowNull = false, ignoreNull = false;
};

// Whether `sql` starts as a data-definition statement (CREATE, ALTER, DROP).
bool isDdlStatement(std::string_view sql);

// Reads one statement (a trailing ";" allowed). Cascades are Jet 4's:
// with `jet3` an ON UPDATE or ON DELETE clause is refused. Throws
// jet::Error as Jet words its refusals: 3290 in CREATE TABLE, 3292 in a
// field definition (a type Jet does not know), 3289 in a CONSTRAINT
// clause, 3291 in CREATE INDEX, 3293 in ALTER TABLE, 3295 in DROP; the
// tokenizer's 3126 and 3075 for a bracket or string left open. The context
// names the character offset.
DdlStatement parseDdl(std::string_view sql, bool jet3);

}  // namespace jet::sql
