// DBEngine: opens and creates databases, all in its one workspace (copies of
// a DBEngine share it).
#pragma once

#include <memory>
#include <string>

#include "jet/database.h"
#include "jet/types.h"
#include "jet/workspace.h"

namespace jet {

class DBEngine {
public:
    // Opens a Jet 3, Jet 4 or ACE database. `exclusive` takes the file for
    // this opener alone; `readOnly` opens it without write access (ACE files
    // are always read-only). Throws Error: 3024 file not found, 3343 not a
    // Jet file, an unknown version or an encryption scheme this engine does
    // not read, 3049 damaged (the encryption header too), 3045 in use, 3031
    // a password or encrypted file and `connect` (";PWD=secret") does not
    // hold its password, 3051 no permission. Encoded and encrypted files
    // open read-only in effect: writes are refused with 3027.
    std::shared_ptr<Database> OpenDatabase(const std::string& name, bool exclusive = false,
                                           bool readOnly = false, const std::string& connect = {});

    // Creates a new, empty database and opens it. `locale` is one of DAO's
    // locale strings (";LANGID=0x0409;CP=1252;COUNTRY=0", the General sort
    // order and code page 1252), optionally with the database password as
    // DAO takes it (";LANGID=0x0409;CP=1252;COUNTRY=0;PWD=secret", at most
    // 20 characters; the new database is opened with it). `options`: 0 or dbVersion30 for a Jet 3
    // file, as DAO 3.5 made by default; dbVersion40 for Jet 4. Throws 3204
    // when the file exists (it is left untouched), 3001 for an option or
    // locale this engine does not write, 3044 for a folder that does not
    // exist.
    std::shared_ptr<Database> CreateDatabase(const std::string& name, const std::string& locale, int options = 0);

    // CreateDatabase for a file that is nobody's yet: a database built
    // under a temporary name that the caller flushes (fsync) and renames
    // into place once it is whole. Opened exclusively; its commits write
    // their pages without a journal and without flushing them, so a crash
    // leaves a file that must be thrown away, never used. Not a DAO member.
    std::shared_ptr<Database> CreateDatabaseWithoutJournal(const std::string& name, const std::string& locale,
                                                           int options = 0);

    // The default workspace, the only one: index 0. Throws 3265 for another.
    Workspace& Workspaces(int index);
    // The default workspace's transactions, as DAO's DBEngine offers them.
    void BeginTrans() { workspace_->BeginTrans(); }
    void CommitTrans() { workspace_->CommitTrans(); }
    void Rollback() { workspace_->Rollback(); }

private:
    std::shared_ptr<Database> enlisted(std::shared_ptr<Database> database);

    std::shared_ptr<Workspace> workspace_ = std::make_shared<Workspace>();
};

}  // namespace jet
