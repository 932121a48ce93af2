// DBEngine: opens and creates databases.
#pragma once

#include <memory>
#include <string>

#include "jet/database.h"
#include "jet/types.h"

namespace jet {

class DBEngine {
public:
    // Opens a Jet 3, Jet 4 or ACE database. `exclusive` takes the file for
    // this opener alone; `readOnly` opens it without write access (ACE files
    // are always read-only). Throws Error: 3024 file not found, 3343 not a
    // Jet file or an unknown version, 3049 damaged, 3045 in use, 3031
    // password or encryption, 3051 no permission.
    std::shared_ptr<Database> OpenDatabase(const std::string& name, bool exclusive = false,
                                           bool readOnly = false, const std::string& connect = {});
};

}  // namespace jet
