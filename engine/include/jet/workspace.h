// Workspace: the transactions of the databases one DBEngine opened. Between
// BeginTrans and CommitTrans the writes to every one of them are held in
// memory (the database shows them to its own readers, the file does not
// have them); the outermost CommitTrans writes each database's changes as
// one journaled commit, and Rollback gives back what the level changed.
#pragma once

#include <memory>
#include <vector>

namespace jet {

class Database;

class Workspace {
public:
    Workspace() = default;
    // A workspace that goes with transactions open rolls them back, as
    // DAO's Close does: a database left holding pages would lose every
    // later write at its close.
    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    // Opens a transaction level, nested in the open ones. Throws 3003 past
    // five levels, as Jet does.
    void BeginTrans();
    // Ends the innermost level. The outermost writes every database's held
    // pages; when one cannot be written (3026 disk full, 3045 another
    // opener has the file, ...) it throws, that database's changes stay
    // held and the transaction stays open, to be tried again or rolled
    // back. Throws 3034 without an open transaction.
    void CommitTrans();
    // Gives back what the innermost level changed in every database: their
    // catalogs are read again (references to their TableDefs, QueryDefs and
    // Relations taken before no longer refer into the collections) and open
    // recordsets reread their rows. Throws 3034 without an open transaction.
    void Rollback();

    // Not DAO's: the number of open levels.
    int TransactionDepth() const { return depth_; }

    // The database joins the open levels (DBEngine does this for the
    // databases it opens).
    void enlist(const std::shared_ptr<Database>& database);

private:
    std::vector<std::shared_ptr<Database>> enlisted();

    std::vector<std::weak_ptr<Database>> databases_;
    int depth_ = 0;
};

}  // namespace jet
