#include "vb/system_names.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace vb {

namespace {

bool copyOut(const std::string& name, char* buffer, uint32_t* size) {
    if (!size) return false;
    const uint32_t needed = static_cast<uint32_t>(name.size() + 1);
    if (!buffer || *size < needed) {
        *size = needed;
        return false;
    }
    std::memcpy(buffer, name.c_str(), needed);
    *size = needed;
    return true;
}

std::string loginName() {
    std::vector<char> scratch(16384);
    passwd entry {};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, scratch.data(), scratch.size(), &found) == 0 && found && found->pw_name)
        return found->pw_name;
    for (const char* variable : {"USER", "LOGNAME"})
        if (const char* value = std::getenv(variable); value && *value) return value;
    return {};
}

}  // namespace

bool GetUserNameA(char* buffer, uint32_t* size) { return copyOut(loginName(), buffer, size); }

bool GetComputerNameA(char* buffer, uint32_t* size) {
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) != 0) return copyOut({}, buffer, size);
    return copyOut(host, buffer, size);
}

}  // namespace vb
