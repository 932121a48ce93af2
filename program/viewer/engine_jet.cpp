#include "jet/database.h"
#include "jet/dbengine.h"
#include "viewer/engine_iface.h"

namespace viewer {

namespace {

class JetDatabase : public DatabaseHandle {
public:
    JetDatabase(std::shared_ptr<jet::Database> db, jet::DBEngine& engine) : db_(std::move(db)), engine_(engine) {}

    jet::Collection<jet::TableDef>& TableDefs() override { return db_->TableDefs(); }
    jet::Collection<jet::QueryDef>& QueryDefs() override { return db_->QueryDefs(); }
    jet::Collection<jet::Relation>& Relations() override { return db_->Relations(); }
    int CollatingOrder() const override { return db_->CollatingOrder(); }
    bool Transactions() const override { return db_->Transactions(); }
    bool Updatable() const override { return db_->Updatable(); }
    std::unique_ptr<jet::Recordset> OpenRecordset(const std::string& name, int type) override {
        return db_->OpenRecordset(name, type);
    }
    void BeginTrans() override { engine_.BeginTrans(); }
    void CommitTrans() override { engine_.CommitTrans(); }
    void Rollback() override { engine_.Rollback(); }
    void Close() override { db_->Close(); }
    std::string JournalNotice() const override { return db_->JournalNotice(); }
    jet::Database* database() override { return db_.get(); }

private:
    std::shared_ptr<jet::Database> db_;
    jet::DBEngine& engine_;  // the JetEngine's, which lives as long as the program
};

class JetEngine : public Engine {
public:
    std::shared_ptr<DatabaseHandle> OpenDatabase(const std::string& name, bool exclusive, bool readOnly,
                                                 const std::string& connect) override {
        return std::make_shared<JetDatabase>(engine_.OpenDatabase(name, exclusive, readOnly, connect), engine_);
    }

private:
    jet::DBEngine engine_;
};

}  // namespace

Engine& jetEngine() {
    static JetEngine engine;
    return engine;
}

}  // namespace viewer
