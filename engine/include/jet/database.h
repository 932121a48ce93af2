// Database: an open Jet database file and its object model.
#pragma once

#include <memory>
#include <string>

#include "jet/collection.h"
#include "jet/property.h"
#include "jet/querydef.h"
#include "jet/recordset.h"
#include "jet/relation.h"
#include "jet/tabledef.h"
#include "jet/types.h"

namespace jet {

class DatabaseImpl;

// Database.TableDefs: the tables of the catalog. Append writes a new table
// into the database at once (its definition, usage maps, empty indexes, its
// catalog row and column properties); Refresh reads the catalog again, in
// the catalog's name order. Refresh replaces the TableDef objects: references
// taken before it no longer refer into the collection.
class TableDefs : public Collection<TableDef> {
public:
    explicit TableDefs(DatabaseImpl& db) : db_(&db) {}
    // Throws DAO's errors: 3010 a table or query of that name exists, 3125
    // a name Jet refuses, 3264 no fields (or an index without fields),
    // 3259 an invalid field type or size, 3265 an index naming no field of
    // the table, 3283 a second primary key, 3027 a read-only database.
    // Nothing is written when it throws.
    void Append(std::unique_ptr<TableDef> table);
    void Refresh();

private:
    DatabaseImpl* db_;
};

// Database.Relations: the relationships of the catalog, in name order.
// Append writes a new relationship into the database at once: its catalog
// entry, one MSysRelationships row per field pair and, unless it has
// dbRelationDontEnforce, the foreign-key indexes Jet keeps for it in both
// tables (the foreign table's is listed among its Indexes, named as the
// relation). Refresh reads the relationships again; references taken before
// it no longer refer into the collection.
class Relations : public Collection<Relation> {
public:
    explicit Relations(DatabaseImpl& db) : db_(&db) {}
    // Throws DAO's errors: 3012 a relation of that name exists, 3125 a name
    // Jet refuses, 3366 no fields, 3265 a table or field that does not
    // exist, 3368 fields of different types; for an enforced relation 3609
    // when the primary table has no unique index over exactly its fields,
    // 3285 a field named twice, 3284 the foreign table has an index of the
    // relation's name, 3626 a table would pass 32 indexes, 3379 existing
    // rows of the foreign table without a match, and 3251 when a side is a
    // query or a linked table. 3027 on a read-only database. Nothing is
    // written when it throws. When both sides are uniquely indexed the
    // stored attributes gain dbRelationUnique, as Jet marks a one-to-one
    // relation.
    void Append(std::unique_ptr<Relation> relation);
    void Refresh();

private:
    DatabaseImpl* db_;
};

class Database {
public:
    explicit Database(std::unique_ptr<DatabaseImpl> impl);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // The file's path as it was opened.
    const std::string& Name() const;
    // "3.0" for a Jet 3 file, "4.0" for Jet 4, "12.0" and up for ACE.
    const std::string& Version() const;
    int CollatingOrder() const;  // a dbSort... code, -1 when unknown
    int CodePage() const;        // Jet 3: the text code page; Jet 4/ACE: 1200 (UCS-2)
    bool Transactions() const;
    bool Updatable() const;      // False when opened read-only, and for ACE files
    // Not DAO's: what the open did about a rollback journal left beside the
    // file by a write that was cut short, as a sentence for the user (undone
    // from it; the journal set aside as not belonging to the file; or, in a
    // read-only open, waiting for a writable one). Empty when there was
    // none. JournalWaiting() is true in the last case.
    std::string JournalNotice() const;
    bool JournalWaiting() const;

    jet::TableDefs& TableDefs();
    Collection<QueryDef>& QueryDefs();
    jet::Relations& Relations();
    Collection<Property>& Properties();

    // A new table definition to fill in and append to TableDefs().
    std::unique_ptr<TableDef> CreateTableDef(const std::string& name = {}, long attributes = 0,
                                             const std::string& sourceTableName = {},
                                             const std::string& connect = {}) const;

    // A saved query from Jet SQL text. With a name the query is stored at
    // once (its parts in MSysQueries, its catalog entry) and appended to
    // QueryDefs(); the object returned describes it, SQL() giving the text
    // Access shows for it. Without a name it is a temporary query: parsed,
    // not stored. Throws 3012 when a table or query of that name exists,
    // 3125 for a name Jet refuses, 3027 on a read-only database, and the
    // parser's errors (3075, 3131, 3142, ...) for SQL it refuses. Nothing
    // is written when it throws.
    std::unique_ptr<QueryDef> CreateQueryDef(const std::string& name = {}, const std::string& sql = {});

    // The saved query `name` of `source` stored here under its name as its
    // parts stand in the source, so that what its SQL does not show (a
    // crosstab's column-heading alias, options rows) is kept too; for
    // copying a database's structure. Throws as CreateQueryDef does, and
    // 3265 when `source` has no such query. Nothing is written when it
    // throws.
    std::unique_ptr<QueryDef> CopyQueryDef(Database& source, const std::string& name);

    // A new relation to fill in (fields by Relation::CreateField, each with
    // its ForeignName) and append to Relations(). `table` is the primary
    // ("one") side, `foreignTable` the side whose fields refer to it.
    std::unique_ptr<Relation> CreateRelation(const std::string& name = {}, const std::string& table = {},
                                             const std::string& foreignTable = {}, long attributes = 0) const;

    // Runs one of Jet's data-definition statements (a trailing ";"
    // allowed; one statement per call, as Jet takes them): CREATE TABLE
    // with Jet's types, NOT NULL, COUNTER and CONSTRAINT clauses (PRIMARY
    // KEY, UNIQUE, FOREIGN KEY ... REFERENCES with Jet 4's ON UPDATE / ON
    // DELETE CASCADE); CREATE [UNIQUE] INDEX ... ON t (f [ASC|DESC], ...)
    // [WITH PRIMARY | DISALLOW NULL | IGNORE NULL], built from the table's
    // rows; ALTER TABLE t ADD CONSTRAINT, a foreign key becoming an
    // enforced relation named as the constraint. Throws the parser's
    // syntax errors (3290, 3289, 3291, 3292, 3293, 3295), 3010 a table that
    // exists, 3371 a table that does not, 3375 an index name the table has,
    // the appends' errors (3283, 3265, 3609, 3368, 3022, ...), 3065 for a
    // select query, 3251 for DROP and for statements that are not DDL, 3027
    // on a read-only database. A statement refused is not written. A CREATE
    // TABLE with foreign keys is committed in steps, the table and then each
    // relation, with the relations' checks made before the table is
    // written: only a failure of the file itself (a full disk), or a
    // referenced table already holding 32 indexes (3626), in a later step
    // leaves the table without its relation.
    void Execute(const std::string& sql);

    // A recordset over a table (dbOpenTable or dbOpenDynaset), its rows read
    // at once. Throws 3078 when no table has that name, 3251 for a query or a
    // linked table (its rows live elsewhere), 3001 for another type. On an
    // updatable database the recordset writes (AddNew, Edit, Update, Delete).
    std::unique_ptr<Recordset> OpenRecordset(const std::string& name, int type = dbOpenTable);

    // Releases the file and its lock; using the collections afterwards
    // raises 3420.
    void Close();
    bool IsOpen() const;

    DatabaseImpl& impl() { return *impl_; }

private:
    std::unique_ptr<DatabaseImpl> impl_;
};

}  // namespace jet
