#include "jet/dbengine.h"

#include "dao/database_impl.h"
#include "write/database_creator.h"

namespace jet {

std::shared_ptr<Database> DBEngine::OpenDatabase(const std::string& name, bool exclusive, bool readOnly,
                                                 const std::string& connect) {
    return std::make_shared<Database>(DatabaseImpl::open(name, exclusive, readOnly, connect));
}

std::shared_ptr<Database> DBEngine::CreateDatabase(const std::string& name, const std::string& locale, int options) {
    const format::JetFormat* format = nullptr;
    const int version = options & (dbVersion10 | dbVersion11 | dbVersion20 | dbVersion30 | dbVersion40);
    if (version == 0 || version == dbVersion30) format = &format::jet3Format();
    else if (version == dbVersion40) format = &format::jet4Format();
    // Older versions and encryption are not written.
    if (!format || (options & ~version) != 0) throw Error(kErrInvalidArgument, "Invalid argument.");
    const write::NewDatabase wanted = write::parseLocale(locale, *format);
    write::createDatabaseFile(name, wanted);
    return OpenDatabase(name, false, false, wanted.password.empty() ? "" : ";PWD=" + wanted.password);
}

}  // namespace jet
