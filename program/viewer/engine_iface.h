// The program's view of the database engine: an engine that opens database
// files and the open databases it hands out. The program holds these through
// the interfaces below so that one place binds them to the Jet engine and
// tests can open databases that they build in memory, including ones whose
// reads fail.
#pragma once

#include <memory>
#include <string>

#include "jet/collection.h"
#include "jet/querydef.h"
#include "jet/recordset.h"
#include "jet/relation.h"
#include "jet/tabledef.h"

namespace jet {
class Database;
}

namespace viewer {

// An open database. Every member may throw jet::Error with DAO's number.
class DatabaseHandle {
public:
    virtual ~DatabaseHandle() = default;

    virtual jet::Collection<jet::TableDef>& TableDefs() = 0;
    virtual jet::Collection<jet::QueryDef>& QueryDefs() = 0;
    virtual jet::Collection<jet::Relation>& Relations() = 0;
    virtual int CollatingOrder() const = 0;
    virtual bool Transactions() const = 0;
    virtual bool Updatable() const = 0;
    virtual std::unique_ptr<jet::Recordset> OpenRecordset(const std::string& name, int type) = 0;
    // The transactions of the workspace it was opened in: the writes
    // between BeginTrans and CommitTrans reach the file as one commit, and
    // Rollback gives them back. CommitTrans throws jet::Error when the file
    // refuses the commit; the transaction is then still open. A database
    // without transactions (Transactions() false) writes at once.
    virtual void BeginTrans() {}
    virtual void CommitTrans() {}
    virtual void Rollback() {}
    virtual void Close() = 0;
    // What the open found of an interrupted write (a journal applied, set
    // aside or waiting); empty when there was none.
    virtual std::string JournalNotice() const { return {}; }

    // The engine's own database object behind this handle, for the parts of
    // the program that work on the file itself; nullptr when there is none.
    virtual jet::Database* database() { return nullptr; }
};

// Opens database files. Throws jet::Error when the file cannot be opened.
// `connect` is DAO's connect string (";PWD=secret" for a protected file).
class Engine {
public:
    virtual ~Engine() = default;
    virtual std::shared_ptr<DatabaseHandle> OpenDatabase(const std::string& name, bool exclusive = false,
                                                         bool readOnly = false, const std::string& connect = {}) = 0;
};

// The Jet engine of this project. The program reaches it through
// `dbeEngine`, which start-up binds to this one.
Engine& jetEngine();

}  // namespace viewer
