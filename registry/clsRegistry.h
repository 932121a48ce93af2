// clsRegistry, the one creatable class of the cvRegistry library: it holds one
// registry key at a time, named by a root key, a top key below it and a
// company key path below that; it creates or opens that key, writes string
// and 32-bit number values into it, reads them back and closes it.
//
// The program sees only this interface and gets an object from
// cvRegistry::CreateObject(). The members are declared in the interface's
// fixed order; a VB property is a get and a let of the same name.
//
// Every failure comes back as a result: False, 1010, a Win32 code, Empty or
// Null. No member throws. Message boxes appear only while ShowMessages is
// True. Texts are UTF-8 here and reach the registry in the code page.
//
// An object is used from one thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "vb/variant.h"

#if defined(_WIN32)
#define CVREGISTRY_API __declspec(dllexport)
#else
#define CVREGISTRY_API __attribute__((visibility("default")))
#endif

class CVREGISTRY_API clsRegistry {
public:
    // Closes the key when it is open.
    virtual ~clsRegistry() = default;

    // 1. True: CreateKey creates missing keys; False: it only opens them.
    virtual bool AutoCreate() const = 0;
    virtual void AutoCreate(bool bNew_AutoCreate) = 0;

    // 2. The root below which all paths are taken, used as a 32-bit handle;
    // any value is accepted unchanged. Starts as the Long 0x80000002
    // (HKEY_LOCAL_MACHINE).
    virtual vb::Variant RootKey() const = 0;
    virtual void RootKey(const vb::Variant& vNew_RootKey) = 0;

    // 3. Makes top key\company\sKey the current key and opens it. A blank
    // sCompanyKey keeps the company key already set; afterwards CompanyKey
    // holds the whole path below the top key. False when the top key or the
    // company key is missing or the registry refuses the key.
    virtual bool CreateKey(const std::string& sCompanyKey, const std::string& sKey = {}) = 0;

    // 4. The first path part below the root; the value set is trimmed.
    virtual std::string TopKey() const = 0;
    virtual void TopKey(const std::string& sNew_TopKey) = 0;

    // 5. The path below the top key; the value set is trimmed.
    virtual std::string CompanyKey() const = 0;
    virtual void CompanyKey(const std::string& sNew_CompanyKey) = 0;

    // 6. Opens the current key, writes one value and closes the key again.
    // A String is stored as REG_SZ, an Integer or Long as REG_DWORD. Gives 0
    // on success, 1010 when the key cannot be opened or the value's kind
    // cannot be stored, otherwise the Win32 result of the write.
    virtual std::int32_t SetValue(const vb::Variant& vName, const vb::Variant& vValue) = 0;

    // 7. The open key's handle as a Long (0 when none); a let is ignored.
    virtual vb::Variant QueryOpenKey() const = 0;
    virtual void QueryOpenKey(const vb::Variant& vNewValue) = 0;

    // 8. Closes the current key; True when no key is open afterwards.
    virtual bool CloseKey() = 0;

    // 9. True while a key is open; a let is ignored.
    virtual bool KeyOpen() const = 0;
    virtual void KeyOpen(const vb::Variant& vNewValue) = 0;

    // 10. True: failures are also shown in message boxes.
    virtual bool ShowMessages() const = 0;
    virtual void ShowMessages(bool bNew_MessageState) = 0;

    // 11. Opens the current key, reads one value and closes the key again: a
    // String for REG_SZ (up to 2047 characters), a Long for REG_DWORD; Empty
    // when the value is missing or of another type; Null when the key cannot
    // be opened or the read fails (a longer text among them).
    virtual vb::Variant GetNamedValue(const std::string& sRegName) = 0;
};

namespace cvRegistry {

// A new clsRegistry in its initial state; the caller owns it.
CVREGISTRY_API std::unique_ptr<clsRegistry> CreateObject();

}  // namespace cvRegistry
