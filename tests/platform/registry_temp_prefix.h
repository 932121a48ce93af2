// A registry prefix folder of its own for one test: created empty, named in
// the environment for the registry calls, and removed with everything in it
// afterwards (made writable first, for the tests that lock it down).
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace registry_test {

class TempPrefix {
public:
    TempPrefix() {
        std::string pattern = (std::filesystem::temp_directory_path() / "strux32-registry-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        folder_ = pattern;
        ::setenv("STRUX32_REGISTRY_PREFIX", folder_.c_str(), 1);
    }
    ~TempPrefix() {
        ::unsetenv("STRUX32_REGISTRY_PREFIX");
        std::error_code ignored;
        for (auto it = std::filesystem::recursive_directory_iterator(folder_, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored))
            ::chmod(it->path().c_str(), 0700);
        ::chmod(folder_.c_str(), 0700);
        std::filesystem::remove_all(folder_, ignored);
    }
    TempPrefix(const TempPrefix&) = delete;
    TempPrefix& operator=(const TempPrefix&) = delete;

    const std::string& folder() const { return folder_; }
    std::string machineHive() const { return folder_ + "/system.reg"; }
    std::string userHive() const { return folder_ + "/user.reg"; }

private:
    std::string folder_;
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
