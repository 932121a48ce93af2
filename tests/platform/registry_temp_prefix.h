// A registry prefix folder of its own for one test: created empty, named in
// the environment for the registry calls, and removed with everything in it
// afterwards (made writable first, for the tests that lock it down).
#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

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

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

}  // namespace registry_test
