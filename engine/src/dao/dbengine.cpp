#include "jet/dbengine.h"

#include "dao/database_impl.h"

namespace jet {

std::shared_ptr<Database> DBEngine::OpenDatabase(const std::string& name, bool exclusive, bool readOnly,
                                                 const std::string& connect) {
    return std::make_shared<Database>(DatabaseImpl::open(name, exclusive, readOnly, connect));
}

}  // namespace jet
