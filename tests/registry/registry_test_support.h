// Shared pieces of the clsRegistry tests: a fixture with a registry prefix,
// a scripted UI and a fresh object of its own, and a look at what the
// registry holds, taken through the registry calls themselves.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "clsRegistry.h"
#include "platform/registry_temp_prefix.h"
#include "registry/win32_registry.h"
#include "support/message_box.h"
#include "vb/scripted_ui.h"

namespace registry_test {

inline constexpr std::int32_t kMachine = static_cast<std::int32_t>(win32::HKEY_LOCAL_MACHINE);
inline constexpr std::int32_t kUser = static_cast<std::int32_t>(win32::HKEY_CURRENT_USER);

using testsupport::Box;
using Boxes = std::vector<Box>;

// A stored value's bytes, or nothing when the key or the value is missing.
inline std::optional<std::string> ReadStored(win32::HKEY root, const std::string& path, const std::string& name,
                                             win32::DWORD* typeOut = nullptr) {
    win32::HKEY key = 0;
    if (win32::RegOpenKeyExA(root, path.c_str(), 0, win32::KEY_READ, &key) != win32::ERROR_SUCCESS)
        return std::nullopt;
    std::string bytes(4096, '\0');
    win32::DWORD size = static_cast<win32::DWORD>(bytes.size()), type = 0;
    const bool found = win32::RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                               reinterpret_cast<win32::BYTE*>(bytes.data()), &size) ==
                       win32::ERROR_SUCCESS;
    win32::RegCloseKey(key);
    if (!found) return std::nullopt;
    if (typeOut) *typeOut = type;
    bytes.resize(size);
    return bytes;
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

class RegistryTest : public ::testing::Test {
protected:
    // The object with a top key and a company key set and its key created.
    void onKey(const std::string& top, const std::string& company, const std::string& sub = {}) {
        registry->TopKey(top);
        ASSERT_TRUE(registry->CreateKey(company, sub));
    }
    Boxes shown() { return testsupport::boxes(*ui.operator->()); }

    TempPrefix prefix;
    vb::ScopedScriptedUi ui;
    std::unique_ptr<clsRegistry> registry = cvRegistry::CreateObject();
};

}  // namespace registry_test
