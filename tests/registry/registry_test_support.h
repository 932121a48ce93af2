// Shared pieces of the clsRegistry tests: a fresh object, and a look at what
// the registry holds, taken through the registry calls themselves.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "clsRegistry.h"
#include "platform/registry_temp_prefix.h"
#include "registry/win32_registry.h"

namespace registry_test {

inline constexpr std::int32_t kMachine = static_cast<std::int32_t>(win32::HKEY_LOCAL_MACHINE);
inline constexpr std::int32_t kUser = static_cast<std::int32_t>(win32::HKEY_CURRENT_USER);

// A stored value as the registry holds it: type and bytes.
struct Stored {
    win32::DWORD type = 0;
    std::string bytes;
};

inline std::optional<Stored> ReadStored(win32::HKEY root, const std::string& path, const std::string& name) {
    win32::HKEY key = 0;
    if (win32::RegOpenKeyExA(root, path.c_str(), 0, win32::KEY_READ, &key) != win32::ERROR_SUCCESS)
        return std::nullopt;
    Stored stored;
    win32::DWORD size = 0;
    std::optional<Stored> result;
    if (win32::RegQueryValueExA(key, name.c_str(), nullptr, &stored.type, nullptr, &size) == win32::ERROR_SUCCESS) {
        stored.bytes.resize(size);
        if (win32::RegQueryValueExA(key, name.c_str(), nullptr, &stored.type,
                                    reinterpret_cast<win32::BYTE*>(stored.bytes.data()), &size) ==
            win32::ERROR_SUCCESS)
            result = stored;
    }
    win32::RegCloseKey(key);
    return result;
}

// Writes a value of any type beside the class, for the reads it must refuse.
inline void StoreRaw(win32::HKEY root, const std::string& path, const std::string& name, win32::DWORD type,
                     const std::string& bytes) {
    win32::HKEY key = 0;
    if (win32::RegCreateKeyExA(root, path.c_str(), 0, "", 0, win32::KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        win32::ERROR_SUCCESS)
        throw std::runtime_error("cannot create " + path);
    win32::RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const win32::BYTE*>(bytes.data()),
                          static_cast<win32::DWORD>(bytes.size()));
    win32::RegCloseKey(key);
}

// An object with a top key and a company key set and its key created.
inline std::unique_ptr<clsRegistry> ObjectOnKey(const std::string& top, const std::string& company,
                                                const std::string& sub = {}) {
    auto registry = cvRegistry::CreateObject();
    registry->TopKey(top);
    if (!registry->CreateKey(company, sub)) throw std::runtime_error("CreateKey failed");
    return registry;
}

}  // namespace registry_test
