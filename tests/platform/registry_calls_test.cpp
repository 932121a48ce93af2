// The Win32 registry calls over hive files: handles, values, sizes, rights,
// and what reaches the file.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/registry_temp_prefix.h"
#include "support/files.h"
#include "registry/hive_store.h"
#include "registry/win32_registry.h"

namespace {

using namespace win32;
using registry_test::TempPrefix;
using testsupport::readFile;
using testsupport::writeFile;
using testsupport::ScopedEnv;

HKEY Create(HKEY root, const char* path, DWORD* disposition = nullptr, REGSAM access = KEY_ALL_ACCESS) {
    HKEY key = 0;
    const SECURITY_ATTRIBUTES security;
    EXPECT_EQ(RegCreateKeyExA(root, path, 0, "1", REG_OPTION_NON_VOLATILE, access, &security, &key, disposition),
              ERROR_SUCCESS)
        << path;
    return key;
}

LONG SetText(HKEY key, const char* name, const std::string& text) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1));
}

std::string QueryText(HKEY key, const char* name) {
    char buffer[256] = {};
    DWORD size = sizeof buffer;
    DWORD type = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        type != REG_SZ || size == 0)
        return "<unreadable>";
    return std::string(buffer, size - 1);
}

TEST(RegistryCalls, HandlesAndRootsThatAreNotOpenAreRefused) {
    TempPrefix prefix;
    HKEY key = 0;
    for (const HKEY root : {HKEY_CLASSES_ROOT, HKEY_USERS, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA, HKEY(0), HKEY(12345)}) {
        EXPECT_EQ(RegCreateKeyExA(root, "A", 0, "", 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegOpenKeyExA(root, "A", 0, KEY_READ, &key), ERROR_INVALID_HANDLE);
    }
    const HKEY open = Create(HKEY_CURRENT_USER, "A");
    EXPECT_EQ(RegCloseKey(open), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(open), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetText(open, "x", "y"), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryValueExA(open, "x", nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS) << "a predefined root may be closed";
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "A", 0, "", 0, KEY_ALL_ACCESS, nullptr, nullptr, nullptr),
              ERROR_INVALID_PARAMETER);
}

TEST(RegistryCalls, PathsAndNamesTheHiveCannotHoldAreRefused) {
    TempPrefix prefix;
    HKEY key = 0;
    for (const char* bad : {"\\Leading", "Two\\\\Slashes", "Line\nBreak"})
        EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, bad, 0, "", 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_BAD_PATHNAME)
            << bad;
    const HKEY good = Create(HKEY_CURRENT_USER, "Good\\");
    EXPECT_EQ(SetText(good, "tab\there", "x"), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueExA(good, "null data", 0, REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
    RegCloseKey(good);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "GOOD", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST(RegistryCalls, OpeningDoesNotCreateAndRightsAreChecked) {
    TempPrefix prefix;
    HKEY key = 0;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Missing", 0, 0x2001F, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(std::filesystem::exists(prefix.machineHive()));

    DWORD created = 0, again = 0;
    RegCloseKey(Create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Present", &created));
    RegCloseKey(Create(HKEY_LOCAL_MACHINE, "software\\PRESENT", &again));
    EXPECT_EQ(created, REG_CREATED_NEW_KEY);
    EXPECT_EQ(again, REG_OPENED_EXISTING_KEY);
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Present", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(SetText(key, "x", "y"), ERROR_ACCESS_DENIED) << "opened for reading only";
    DWORD type = 99;
    EXPECT_EQ(RegQueryValueExA(key, "missing", nullptr, &type, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(type, 99u) << "a missing value leaves the caller's type alone";
    HKEY child = 0;
    EXPECT_EQ(RegCreateKeyExA(key, "Child", 0, "", 0, KEY_ALL_ACCESS, nullptr, &child, nullptr), ERROR_ACCESS_DENIED);
    RegCloseKey(key);

    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Present", 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    EXPECT_EQ(SetText(key, "x", "y"), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExA(key, "x", nullptr, nullptr, nullptr, nullptr), ERROR_ACCESS_DENIED);
    RegCloseKey(key);

    // A sub-key opened relative to an open key, and the key itself again.
    const HKEY parent = Create(HKEY_LOCAL_MACHINE, "SOFTWARE");
    ASSERT_EQ(RegOpenKeyExA(parent, "present", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(QueryText(key, "X"), "y");
    HKEY same = 0;
    ASSERT_EQ(RegOpenKeyExA(key, nullptr, 0, KEY_READ, &same), ERROR_SUCCESS);
    EXPECT_NE(same, key);
    EXPECT_EQ(QueryText(same, "x"), "y");
    for (const HKEY h : {parent, key, same}) EXPECT_EQ(RegCloseKey(h), ERROR_SUCCESS);
}

TEST(RegistryCalls, ChangesMadeBesideAnOpenHandleAreSeen) {
    TempPrefix prefix;
    const HKEY key = Create(HKEY_CURRENT_USER, "Shared");
    ASSERT_EQ(SetText(key, "v", "first"), ERROR_SUCCESS);
    EXPECT_EQ(QueryText(key, "v"), "first");

    // A person edits the hive with a text editor while the handle is open.
    std::string text = readFile(prefix.userHive());
    text.replace(text.find("\"first\""), 7, "\"edited by hand\"");
    writeFile(prefix.userHive(), text);
    EXPECT_EQ(QueryText(key, "v"), "edited by hand");

    // The key vanishes from the hive: the handle now names a deleted key.
    writeFile(prefix.userHive(), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Other]\n");
    EXPECT_EQ(SetText(key, "v", "again"), ERROR_KEY_DELETED);
    EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, nullptr, nullptr, nullptr), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST(RegistryCalls, UnwritableHiveGivesAccessDeniedAndStaysAsItWas) {
    TempPrefix prefix;
    RegCloseKey(Create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Existing"));
    const std::string before = readFile(prefix.machineHive());
    ASSERT_EQ(::chmod(prefix.machineHive().c_str(), 0444), 0);

    HKEY key = 0;
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Existing", 0, "1", 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_ACCESS_DENIED)
        << "write rights on a read-only hive";
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Existing", 0, 0x2001F, &key), ERROR_ACCESS_DENIED);
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Existing", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(SetText(HKEY_LOCAL_MACHINE, "x", "y"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(readFile(prefix.machineHive()), before);
}

TEST(RegistryCalls, MissingPrefixFolderIsCreatedOnFirstWrite) {
    TempPrefix prefix;
    const std::string nested = prefix.folder() + "/deeper/registry";
    ::setenv(regstore::kPrefixVariable, nested.c_str(), 1);
    RegCloseKey(Create(HKEY_LOCAL_MACHINE, "SOFTWARE"));
    EXPECT_TRUE(std::filesystem::exists(nested + "/system.reg"));
}

TEST(RegistryCalls, DamagedHiveIsKeptBesideTheNewOneBeforeItIsRewritten) {
    TempPrefix prefix;
    const std::string damaged =
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\Keep]\n\"good\"=\"yes\"\n\"bad\"=dword:nothex\n{not a registry line}\n";
    writeFile(prefix.userHive(), damaged);

    HKEY key = 0;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Keep", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    EXPECT_EQ(QueryText(key, "good"), "yes");
    EXPECT_EQ(RegQueryValueExA(key, "bad", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(readFile(prefix.userHive()), damaged) << "reading never rewrites";

    ASSERT_EQ(SetText(key, "new", "value"), ERROR_SUCCESS);
    RegCloseKey(key);
    std::string kept;
    for (const auto& entry : std::filesystem::directory_iterator(prefix.folder()))
        if (entry.path().filename().string().rfind("user.reg.damaged-", 0) == 0) kept = entry.path();
    ASSERT_FALSE(kept.empty()) << "a copy of the damaged hive";
    EXPECT_EQ(readFile(kept), damaged);
    const std::string rewritten = readFile(prefix.userHive());
    EXPECT_NE(rewritten.find("\"good\"=\"yes\"\n\"new\"=\"value\"\n"), std::string::npos) << rewritten;
}

TEST(RegistryCalls, PrefixComesFromTheEnvironmentOrTheUsersConfigFolder) {
    TempPrefix prefix;
    EXPECT_EQ(regstore::PrefixFolder(), prefix.folder());

    const ScopedEnv noPrefix(regstore::kPrefixVariable, "");
    const ScopedEnv home("HOME", "/home/someone");
    {
        const ScopedEnv config("XDG_CONFIG_HOME", "/somewhere/config");
        EXPECT_EQ(regstore::PrefixFolder(), "/somewhere/config/strux32/registry");
    }
    {
        const ScopedEnv config("XDG_CONFIG_HOME", "relative/config");  // not a valid setting: ignored
        EXPECT_EQ(regstore::PrefixFolder(), "/home/someone/.config/strux32/registry");
    }
    const ScopedEnv noConfig("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(regstore::PrefixFolder(), "/home/someone/.config/strux32/registry");
}

}  // namespace
