#include "jet/database.h"

#include "dao/database_impl.h"
#include "dao/query_create.h"

namespace jet {

Database::Database(std::unique_ptr<DatabaseImpl> impl) : impl_(std::move(impl)) {}
Database::~Database() = default;

const std::string& Database::Name() const { return impl_->name; }
const std::string& Database::Version() const { return impl_->version; }
int Database::CollatingOrder() const { return impl_->collatingOrder; }
int Database::CodePage() const { return impl_->codePage; }
bool Database::Transactions() const { return impl_->transactions; }
std::string Database::JournalNotice() const { return impl_->file ? impl_->file->journalNotice() : std::string(); }
bool Database::JournalWaiting() const { return impl_->file && impl_->file->journalWaiting(); }
bool Database::Updatable() const { return impl_->updatable; }

jet::TableDefs& Database::TableDefs() {
    impl_->requireOpen();
    return impl_->tableDefs;
}
Collection<QueryDef>& Database::QueryDefs() {
    impl_->requireOpen();
    return impl_->queryDefs;
}
jet::Relations& Database::Relations() {
    impl_->requireOpen();
    return impl_->relations;
}
Collection<Property>& Database::Properties() {
    impl_->requireOpen();
    return impl_->properties;
}

std::unique_ptr<TableDef> Database::CreateTableDef(const std::string& name, long attributes,
                                                   const std::string& sourceTableName,
                                                   const std::string& connect) const {
    impl_->requireOpen();
    auto table = std::make_unique<TableDef>(name);
    table->SetAttributes(attributes);
    table->SetSourceTableName(sourceTableName);
    table->SetConnect(connect);
    return table;
}

std::unique_ptr<QueryDef> Database::CreateQueryDef(const std::string& name, const std::string& sql) {
    return dao::createQueryDef(*impl_, name, sql);
}

std::unique_ptr<QueryDef> Database::CopyQueryDef(Database& source, const std::string& name) {
    return dao::copyQueryDef(*impl_, *source.impl_, name);
}

std::unique_ptr<Relation> Database::CreateRelation(const std::string& name, const std::string& table,
                                                  const std::string& foreignTable, long attributes) const {
    impl_->requireOpen();
    auto relation = std::make_unique<Relation>(name, table, foreignTable);
    relation->SetAttributes(attributes);
    return relation;
}

std::unique_ptr<Recordset> Database::OpenRecordset(const std::string& name, int type) {
    return impl_->openRecordset(name, type);
}

void Database::Close() { impl_->close(); }
bool Database::IsOpen() const { return impl_->isOpen; }

}  // namespace jet
