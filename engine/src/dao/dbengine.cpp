#include "jet/dbengine.h"

#include "dao/database_impl.h"
#include "jet/error.h"
#include "write/database_creator.h"

namespace jet {

std::shared_ptr<Database> DBEngine::OpenDatabase(const std::string& name, bool exclusive, bool readOnly,
                                                 const std::string& connect) {
    return enlisted(std::make_shared<Database>(DatabaseImpl::open(name, exclusive, readOnly, connect)));
}

std::shared_ptr<Database> DBEngine::enlisted(std::shared_ptr<Database> database) {
    workspace_->enlist(database);
    return database;
}

Workspace& DBEngine::Workspaces(int index) {
    if (index != 0) throw Error(kErrItemNotFound, "Item not found in this collection.");
    return *workspace_;
}

namespace {

write::NewDatabase newDatabase(const std::string& locale, int options) {
    const format::JetFormat* format = nullptr;
    const int version = options & (dbVersion10 | dbVersion11 | dbVersion20 | dbVersion30 | dbVersion40);
    if (version == 0 || version == dbVersion30) format = &format::jet3Format();
    else if (version == dbVersion40) format = &format::jet4Format();
    // Older versions and encryption are not written.
    if (!format || (options & ~version) != 0) throw Error(kErrInvalidArgument, "Invalid argument.");
    return write::parseLocale(locale, *format);
}

// The connect string that opens the new database with its password.
std::string connectFor(const write::NewDatabase& made) { return made.password.empty() ? "" : ";PWD=" + made.password; }

}  // namespace

std::shared_ptr<Database> DBEngine::CreateDatabase(const std::string& name, const std::string& locale, int options) {
    const write::NewDatabase wanted = newDatabase(locale, options);
    write::createDatabaseFile(name, wanted);
    return OpenDatabase(name, false, false, connectFor(wanted));
}

std::shared_ptr<Database> DBEngine::CreateDatabaseWithoutJournal(const std::string& name, const std::string& locale,
                                                                 int options) {
    const write::NewDatabase wanted = newDatabase(locale, options);
    write::createDatabaseFile(name, wanted, {}, write::FilePageSink::Journal::Off);
    auto db = OpenDatabase(name, true, false, connectFor(wanted));
    db->impl().journaled = false;
    return db;
}

}  // namespace jet
