// A registry prefix folder of its own for one test: created empty, named in
// the environment for the registry calls, and removed with everything in it
// afterwards (made writable first, for the tests that lock it down).
#pragma once

#include <cstdlib>
#include <string>

#include "support/files.h"
#include "support/temp_folder.h"

namespace registry_test {

class TempPrefix {
public:
    TempPrefix() { ::setenv("STRUX32_REGISTRY_PREFIX", folder_.path().c_str(), 1); }
    ~TempPrefix() { ::unsetenv("STRUX32_REGISTRY_PREFIX"); }
    TempPrefix(const TempPrefix&) = delete;
    TempPrefix& operator=(const TempPrefix&) = delete;

    std::string folder() const { return folder_.path().string(); }
    std::string machineHive() const { return folder_.file("system.reg"); }
    std::string userHive() const { return folder_.file("user.reg"); }

private:
    testsupport::TempFolder folder_;
};

using testsupport::readFile;
using testsupport::writeFile;

}  // namespace registry_test
