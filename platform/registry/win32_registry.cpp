#include "registry/win32_registry.h"

#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "registry/hive.h"
#include "registry/hive_store.h"

namespace win32 {

namespace {

// Rights that change a key or its values; asking for any of them on a hive
// that cannot be written is refused at once, as Windows refuses them when the
// key's security does not grant them.
constexpr REGSAM kWriteRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK | DELETE | WRITE_DAC |
                                WRITE_OWNER;
// Longest value name Windows accepts, in characters.
constexpr std::size_t kMaxValueNameLength = 16383;
// Handles count up from here and stay below the predefined roots.
constexpr HKEY kFirstHandle = 0x100;
constexpr HKEY kLastHandle = 0x7FFFFFFF;

struct OpenKey {
    std::string hivePath;
    std::string rootName;
    std::vector<std::string> path;
    REGSAM access = 0;

    regstore::HiveFile hive() const { return regstore::HiveFile(hivePath, rootName); }
};

std::mutex handlesMutex;
std::unordered_map<HKEY, OpenKey>& Handles() {
    static std::unordered_map<HKEY, OpenKey> handles;
    return handles;
}
HKEY nextHandle = kFirstHandle;

std::optional<OpenKey> Resolve(HKEY hKey) {
    // The prefix is looked up on each call, so a process (or a test) that
    // changes it reaches the new hives from its next call on.
    if (hKey == HKEY_LOCAL_MACHINE)
        return OpenKey{regstore::PrefixFolder() + "/system.reg", "HKEY_LOCAL_MACHINE", {}, KEY_ALL_ACCESS};
    if (hKey == HKEY_CURRENT_USER)
        return OpenKey{regstore::PrefixFolder() + "/user.reg", "HKEY_CURRENT_USER", {}, KEY_ALL_ACCESS};
    std::lock_guard<std::mutex> guard(handlesMutex);
    const auto found = Handles().find(hKey);
    if (found == Handles().end()) return std::nullopt;
    return found->second;
}

HKEY NewHandle(OpenKey key) {
    std::lock_guard<std::mutex> guard(handlesMutex);
    auto& handles = Handles();
    while (handles.count(nextHandle)) nextHandle = nextHandle == kLastHandle ? kFirstHandle : nextHandle + 1;
    const HKEY handle = nextHandle;
    nextHandle = nextHandle == kLastHandle ? kFirstHandle : nextHandle + 1;
    handles.emplace(handle, std::move(key));
    return handle;
}

// The key below `parent` that lpSubKey names, or the error of a bad path.
LONG ChildPath(const OpenKey& parent, const char* lpSubKey, std::vector<std::string>& path) {
    const auto names = regstore::SplitKeyPath(lpSubKey ? lpSubKey : "");
    if (!names || parent.path.size() + names->size() > regstore::kMaxKeyDepth) return ERROR_BAD_PATHNAME;
    path = parent.path;
    path.insert(path.end(), names->begin(), names->end());
    return ERROR_SUCCESS;
}

}  // namespace

LONG RegCreateKeyExA(HKEY hKey, const char* lpSubKey, DWORD /*Reserved*/, const char* /*lpClass*/,
                     DWORD /*dwOptions*/, REGSAM samDesired, const SECURITY_ATTRIBUTES* /*lpSecurityAttributes*/,
                     HKEY* phkResult, DWORD* lpdwDisposition) {
    if (!phkResult) return ERROR_INVALID_PARAMETER;
    const auto parent = Resolve(hKey);
    if (!parent) return ERROR_INVALID_HANDLE;
    OpenKey key{parent->hivePath, parent->rootName, {}, samDesired};
    if (const LONG rc = ChildPath(*parent, lpSubKey, key.path); rc != ERROR_SUCCESS) return rc;

    const regstore::HiveFile file = key.hive();
    std::shared_ptr<const regstore::Key> hive;
    if (const LONG rc = file.read(hive); rc != ERROR_SUCCESS) return rc;
    DWORD disposition = REG_OPENED_EXISTING_KEY;
    if (!hive->find(key.path)) {
        if (!(parent->access & KEY_CREATE_SUB_KEY)) return ERROR_ACCESS_DENIED;
        const LONG rc = file.update([&](regstore::Key& h, bool& changed) {
            h.create(key.path, &changed);
            if (changed) disposition = REG_CREATED_NEW_KEY;
            return ERROR_SUCCESS;
        });
        if (rc != ERROR_SUCCESS) return rc;
    } else if ((samDesired & kWriteRights) && !file.writable()) {
        return ERROR_ACCESS_DENIED;
    }
    *phkResult = NewHandle(std::move(key));
    if (lpdwDisposition) *lpdwDisposition = disposition;
    return ERROR_SUCCESS;
}

LONG RegOpenKeyExA(HKEY hKey, const char* lpSubKey, DWORD /*ulOptions*/, REGSAM samDesired, HKEY* phkResult) {
    if (!phkResult) return ERROR_INVALID_PARAMETER;
    const auto parent = Resolve(hKey);
    if (!parent) return ERROR_INVALID_HANDLE;
    OpenKey key{parent->hivePath, parent->rootName, {}, samDesired};
    if (const LONG rc = ChildPath(*parent, lpSubKey, key.path); rc != ERROR_SUCCESS) return rc;

    const regstore::HiveFile file = key.hive();
    std::shared_ptr<const regstore::Key> hive;
    if (const LONG rc = file.read(hive); rc != ERROR_SUCCESS) return rc;
    if (!hive->find(key.path)) return ERROR_FILE_NOT_FOUND;
    if ((samDesired & kWriteRights) && !file.writable()) return ERROR_ACCESS_DENIED;
    *phkResult = NewHandle(std::move(key));
    return ERROR_SUCCESS;
}

LONG RegSetValueExA(HKEY hKey, const char* lpValueName, DWORD /*Reserved*/, DWORD dwType, const BYTE* lpData,
                    DWORD cbData) {
    const auto key = Resolve(hKey);
    if (!key) return ERROR_INVALID_HANDLE;
    if (!(key->access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
    if (!lpData && cbData != 0) return ERROR_INVALID_PARAMETER;
    const std::string name = lpValueName ? lpValueName : "";
    if (name.size() > kMaxValueNameLength || !regstore::IsStorableValueName(name)) return ERROR_INVALID_PARAMETER;
    const std::string data(reinterpret_cast<const char*>(lpData), lpData ? cbData : 0);

    return key->hive().update([&](regstore::Key& hive, bool& changed) {
        regstore::Key* target = hive.find(key->path);
        if (!target) return ERROR_KEY_DELETED;
        changed = target->setValue(name, dwType, data);
        return ERROR_SUCCESS;
    });
}

LONG RegQueryValueExA(HKEY hKey, const char* lpValueName, DWORD* lpReserved, DWORD* lpType, BYTE* lpData,
                      DWORD* lpcbData) {
    const auto key = Resolve(hKey);
    if (!key) return ERROR_INVALID_HANDLE;
    if (lpReserved || (lpData && !lpcbData)) return ERROR_INVALID_PARAMETER;
    if (!(key->access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;

    std::shared_ptr<const regstore::Key> hive;
    if (const LONG rc = key->hive().read(hive); rc != ERROR_SUCCESS) return rc;
    const regstore::Key* source = hive->find(key->path);
    if (!source) return ERROR_KEY_DELETED;
    const regstore::Value* value = source->findValue(lpValueName ? lpValueName : "");
    if (!value) return ERROR_FILE_NOT_FOUND;

    if (lpType) *lpType = value->type;
    const auto size = static_cast<DWORD>(value->data.size());
    if (lpData) {
        if (*lpcbData < size) {
            *lpcbData = size;
            return ERROR_MORE_DATA;
        }
        std::memcpy(lpData, value->data.data(), size);
    }
    if (lpcbData) *lpcbData = size;
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY hKey) {
    if (hKey == HKEY_LOCAL_MACHINE || hKey == HKEY_CURRENT_USER) return ERROR_SUCCESS;
    std::lock_guard<std::mutex> guard(handlesMutex);
    return Handles().erase(hKey) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

}  // namespace win32
