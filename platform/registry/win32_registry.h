// The Win32 registry calls that the program and the registry library make,
// with Windows' names, arguments and result codes, over hive files on disk
// (hive_store.h says where and how they are kept).
//
// Roots: HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER. The other predefined roots
// are not available here; a call on them answers ERROR_INVALID_HANDLE, as
// for any handle that is not open.
//
// Handles are 32-bit numbers, as on the 32-bit Windows of the design. A
// handle names its key by path: it stays valid while other handles or other
// processes change the hive, and a call on a key that has vanished from the
// hive answers ERROR_KEY_DELETED. All calls are safe from several threads.
//
// Access rights are checked as Windows does: a handle opened without
// KEY_SET_VALUE cannot set values, and asking for write rights on a hive
// that cannot be written gives ERROR_ACCESS_DENIED. Creating a key or setting
// a value on an unwritable hive gives ERROR_ACCESS_DENIED too.
#pragma once

#include <cstdint>

namespace win32 {

using HKEY = std::uint32_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using BYTE = std::uint8_t;
using REGSAM = DWORD;

// The security attributes record passed to RegCreateKeyExA; all zero means
// the default security, which is the only security the hives know.
struct SECURITY_ATTRIBUTES {
    DWORD nLength = 0;
    DWORD lpSecurityDescriptor = 0;
    LONG bInheritHandle = 0;
};

constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
constexpr HKEY HKEY_USERS = 0x80000003u;
constexpr HKEY HKEY_PERFORMANCE_DATA = 0x80000004u;
constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;
constexpr HKEY HKEY_DYN_DATA = 0x80000006u;

// Result codes.
constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;     // no such key or value
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_BAD_PATHNAME = 161;
constexpr LONG ERROR_MORE_DATA = 234;
constexpr LONG ERROR_BADKEY = 1010;
constexpr LONG ERROR_KEY_DELETED = 1018;

// Value types.
constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_MULTI_SZ = 7;

// Access rights.
constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_CREATE_LINK = 0x0020;
constexpr REGSAM DELETE = 0x00010000;
constexpr REGSAM READ_CONTROL = 0x00020000;
constexpr REGSAM WRITE_DAC = 0x00040000;
constexpr REGSAM WRITE_OWNER = 0x00080000;
constexpr REGSAM KEY_READ = 0x00020019;
constexpr REGSAM KEY_WRITE = 0x00020006;
constexpr REGSAM KEY_ALL_ACCESS = 0x000F003F;

// Options and dispositions of RegCreateKeyExA. A volatile key is kept like
// any other: the hives have no notion of a key that dies with the session.
constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_OPTION_VOLATILE = 1;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Opens hKey\lpSubKey, creating it and every missing key above it. The class
// text and the security attributes are accepted and not kept. On success
// *phkResult is a new handle and *lpdwDisposition (when given) tells whether
// the key was created. Fails with ERROR_BAD_PATHNAME for a path that starts
// with a backslash or holds an empty or too long name, and with
// ERROR_ACCESS_DENIED when the hive cannot be written (for a missing key, or
// when samDesired asks for write rights) or hKey lacks KEY_CREATE_SUB_KEY.
LONG RegCreateKeyExA(HKEY hKey, const char* lpSubKey, DWORD Reserved, const char* lpClass, DWORD dwOptions,
                     REGSAM samDesired, const SECURITY_ATTRIBUTES* lpSecurityAttributes, HKEY* phkResult,
                     DWORD* lpdwDisposition);

// Opens an existing key; ERROR_FILE_NOT_FOUND when it is missing. A null or
// empty lpSubKey opens hKey's own key again.
LONG RegOpenKeyExA(HKEY hKey, const char* lpSubKey, DWORD ulOptions, REGSAM samDesired, HKEY* phkResult);

// Writes a value of any type (a null or empty name is the key's default
// value); the cbData bytes are kept exactly. Needs KEY_SET_VALUE. A name
// with control characters gives ERROR_INVALID_PARAMETER: the hive text
// could not hold it.
LONG RegSetValueExA(HKEY hKey, const char* lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                    DWORD cbData);

// Reads a value. *lpType (when given) gets its type. With lpData null,
// *lpcbData (when given) gets the size in bytes and the call succeeds; with a
// buffer of *lpcbData bytes that is too small, the call gives ERROR_MORE_DATA
// and the size needed in *lpcbData; otherwise the bytes are copied and
// *lpcbData is their count. A missing value gives ERROR_FILE_NOT_FOUND and
// leaves the outputs alone. Needs KEY_QUERY_VALUE; lpReserved must be null.
LONG RegQueryValueExA(HKEY hKey, const char* lpValueName, DWORD* lpReserved, DWORD* lpType, BYTE* lpData,
                      DWORD* lpcbData);

// Closes a handle; closing a predefined root is allowed and does nothing.
LONG RegCloseKey(HKEY hKey);

}  // namespace win32
