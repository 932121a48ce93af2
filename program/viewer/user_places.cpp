#include "viewer/user_places.h"

#include <vector>

#include "registry/win32_registry.h"

namespace viewer {
namespace {

const char* const kPlacesKey = "SOFTWARE\\Corvane\\Strux32\\3.20\\Places";

}  // namespace

std::string rememberedPlace(const char* name) {
    win32::HKEY key = 0;
    if (win32::RegOpenKeyExA(win32::HKEY_CURRENT_USER, kPlacesKey, 0, win32::KEY_READ, &key) != win32::ERROR_SUCCESS)
        return {};
    std::string value;
    win32::DWORD type = 0, size = 0;
    if (win32::RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) == win32::ERROR_SUCCESS &&
        type == win32::REG_SZ && size > 0) {
        std::vector<win32::BYTE> bytes(size);
        if (win32::RegQueryValueExA(key, name, nullptr, nullptr, bytes.data(), &size) == win32::ERROR_SUCCESS)
            value.assign(bytes.begin(), bytes.begin() + size);
    }
    win32::RegCloseKey(key);
    while (!value.empty() && value.back() == '\0') value.pop_back();
    return value;
}

void rememberPlace(const char* name, const std::string& value) {
    win32::HKEY key = 0;
    if (win32::RegCreateKeyExA(win32::HKEY_CURRENT_USER, kPlacesKey, 0, nullptr, 0, win32::KEY_WRITE, nullptr, &key,
                               nullptr) != win32::ERROR_SUCCESS)
        return;
    const std::string stored = value + '\0';
    win32::RegSetValueExA(key, name, 0, win32::REG_SZ, reinterpret_cast<const win32::BYTE*>(stored.data()),
                          static_cast<win32::DWORD>(stored.size()));
    win32::RegCloseKey(key);
}

}  // namespace viewer
