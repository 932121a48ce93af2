#include "clsRegistry.h"

#include <cstring>

#include "registry/ansi_code_page.h"
#include "registry/win32_registry.h"
#include "root_key.h"
#include "vb/interaction.h"
#include "vb/vb_error.h"

namespace {

using win32::DWORD;
using win32::HKEY;
using win32::LONG;

// Access asked for when an existing key is opened (query, set, create
// sub-key, enumerate, notify) and when a key is created (all access).
constexpr win32::REGSAM kOpenAccess = 0x2001F;
constexpr win32::REGSAM kCreateAccess = 0xF003F;
// The text buffer of GetNamedValue: a text of 2047 characters and its zero.
constexpr DWORD kTextBufferBytes = 2048;
constexpr const char* kBufferTooSmall = "The buffer was too small to hold all the data. The required size was ";

// VB's Trim: blanks only, not tabs.
std::string TrimBlanks(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string UpperCase(const std::string& utf8) {
    return win32::AnsiToUtf8(win32::AnsiUpperCase(win32::Utf8ToAnsi(utf8)));
}

class RegistryObject final : public clsRegistry {
public:
    ~RegistryObject() override {
        if (keyOpen_) win32::RegCloseKey(openKey_);
    }

    bool AutoCreate() const override { return autoCreate_; }
    void AutoCreate(bool bNew_AutoCreate) override { autoCreate_ = bNew_AutoCreate; }

    vb::Variant RootKey() const override { return rootKey_; }
    void RootKey(const vb::Variant& vNew_RootKey) override { rootKey_ = vNew_RootKey; }

    bool CreateKey(const std::string& sCompanyKey, const std::string& sKey) override {
        if (topKey_.empty()) {
            Report("Sub key of " + cvregistry::RootKeyName(rootKey_) + " has not been set", vb::vbCritical,
                   "Registry access error");
            return false;
        }
        std::string company = TrimBlanks(sCompanyKey);
        if (company.empty()) {
            if (companyKey_.empty()) {
                Report("Company key of " + UpperCase(topKey_) + " has not been set", vb::vbCritical,
                       "Registry access error");
                return false;
            }
            company = companyKey_;
        }
        companyKey_ = TrimBlanks(company);
        if (!sKey.empty()) companyKey_ += "\\" + sKey;
        return OpenCurrentKey();
    }

    std::string TopKey() const override { return topKey_; }
    void TopKey(const std::string& sNew_TopKey) override { topKey_ = TrimBlanks(sNew_TopKey); }

    std::string CompanyKey() const override { return companyKey_; }
    void CompanyKey(const std::string& sNew_CompanyKey) override { companyKey_ = TrimBlanks(sNew_CompanyKey); }

    std::int32_t SetValue(const vb::Variant& vName, const vb::Variant& vValue) override {
        if (!ReopenKey()) return win32::ERROR_BADKEY;
        const LONG result = WriteValue(vName, vValue);
        CloseAfterUse();
        return result;
    }

    vb::Variant QueryOpenKey() const override { return vb::Variant(static_cast<std::int32_t>(openKey_)); }
    void QueryOpenKey(const vb::Variant&) override {}

    bool CloseKey() override {
        if (!keyOpen_) return true;
        if (win32::RegCloseKey(openKey_) != win32::ERROR_SUCCESS) return false;
        keyOpen_ = false;
        openKey_ = 0;
        return true;
    }

    bool KeyOpen() const override { return keyOpen_; }
    void KeyOpen(const vb::Variant&) override {}

    bool ShowMessages() const override { return showMessages_; }
    void ShowMessages(bool bNew_MessageState) override { showMessages_ = bNew_MessageState; }

    vb::Variant GetNamedValue(const std::string& sRegName) override {
        if (!ReopenKey()) return vb::Variant::Null();
        vb::Variant result = ReadValue(win32::Utf8ToAnsi(sRegName));
        CloseAfterUse();
        return result;
    }

private:
    void Report(const std::string& text, int style, const std::string& title) const {
        if (showMessages_) vb::MsgBox(text, style, title);
    }

    // Creates or opens root\path, as the auto-create flag says, and keeps the
    // handle; gives the Win32 result unchanged.
    LONG OpenKey(const std::string& path, win32::REGSAM access) {
        // A key left open by a caller that did not close it first would
        // otherwise stay open, unreachable, for the rest of the run.
        if (keyOpen_) win32::RegCloseKey(openKey_);
        keyOpen_ = false;
        const HKEY root = cvregistry::RootHandle(rootKey_);
        const std::string ansiPath = win32::Utf8ToAnsi(path);
        HKEY handle = 0;
        LONG result;
        if (autoCreate_) {
            DWORD disposition = 0;
            result = win32::RegCreateKeyExA(root, ansiPath.c_str(), 0, "1", win32::REG_OPTION_NON_VOLATILE,
                                            kCreateAccess, &security_, &handle, &disposition);
        } else {
            result = win32::RegOpenKeyExA(root, ansiPath.c_str(), 0, access, &handle);
        }
        openKey_ = result == win32::ERROR_SUCCESS ? handle : 0;
        return result;
    }

    bool OpenCurrentKey() {
        if (OpenKey(topKey_ + "\\" + companyKey_, kOpenAccess) == win32::ERROR_SUCCESS) {
            keyOpen_ = true;
            return true;
        }
        openKey_ = 0;
        keyOpen_ = false;
        return false;
    }

    bool ReopenKey() {
        if (keyOpen_) return true;
        if (topKey_.empty() || companyKey_.empty()) {
            openKey_ = 0;
            keyOpen_ = false;
            return false;
        }
        return OpenCurrentKey();
    }

    void CloseAfterUse() {
        win32::RegCloseKey(openKey_);
        openKey_ = 0;
        keyOpen_ = false;
    }

    LONG WriteValue(const vb::Variant& vName, const vb::Variant& vValue) const {
        DWORD type = 0;
        std::string data;
        switch (vValue.VarType()) {
            case vb::vbEmpty:
            case vb::vbNull:
                Report("The value is uninitialised or contains no data.", vb::vbExclamation, "DLL Error");
                return win32::ERROR_BADKEY;
            case vb::vbInteger:
            case vb::vbLong: {
                const std::int32_t number = vValue.toLong();
                type = win32::REG_DWORD;
                data.resize(4);
                std::memcpy(data.data(), &number, 4);
                break;
            }
            case vb::vbString:
                type = win32::REG_SZ;
                data = win32::Utf8ToAnsi(vValue.toString());
                data += '\0';
                break;
            default:
                Report("The cvRegistry DLL does not support variables of type " + std::to_string(vValue.VarType()),
                       vb::vbExclamation, "Error");
                return win32::ERROR_BADKEY;
        }
        std::string name;
        try {
            name = win32::Utf8ToAnsi(vName.toString());
        } catch (const vb::RuntimeError&) {
            // A name with no text form (Null, an array) names no value.
            return win32::ERROR_INVALID_PARAMETER;
        }
        return win32::RegSetValueExA(openKey_, name.c_str(), 0, type, reinterpret_cast<const win32::BYTE*>(data.data()),
                                     static_cast<DWORD>(data.size()));
    }

    vb::Variant ReadValue(const std::string& name) const {
        DWORD type = 0;
        DWORD needed = 0;
        const LONG first = win32::RegQueryValueExA(openKey_, name.c_str(), nullptr, &type, nullptr, &needed);
        switch (type) {
            case win32::REG_NONE:
                if (first == win32::ERROR_FILE_NOT_FOUND)
                    Report("The name value was not found", vb::vbExclamation, "API Error 2 returned");
                return {};
            case win32::REG_SZ: {
                char buffer[kTextBufferBytes] = {};
                DWORD size = kTextBufferBytes;
                const LONG result = win32::RegQueryValueExA(openKey_, name.c_str(), nullptr, &type,
                                                            reinterpret_cast<win32::BYTE*>(buffer), &size);
                if (result == win32::ERROR_SUCCESS) {
                    // The text without its terminating zero; a value someone
                    // stored without one loses nothing.
                    if (size > 0 && buffer[size - 1] == '\0') --size;
                    return vb::Variant(win32::AnsiToUtf8(std::string_view(buffer, size)));
                }
                if (result == win32::ERROR_MORE_DATA)
                    Report(kBufferTooSmall + std::to_string(size), vb::vbExclamation, "API Error 234 returned");
                return vb::Variant::Null();
            }
            case win32::REG_DWORD: {
                // The number's own four bytes are the capacity, whatever size
                // the value claims: a longer value is a read that does not fit.
                std::int32_t number = 0;
                DWORD size = sizeof number;
                const LONG result = win32::RegQueryValueExA(openKey_, name.c_str(), nullptr, &type,
                                                            reinterpret_cast<win32::BYTE*>(&number), &size);
                if (result == win32::ERROR_SUCCESS) return vb::Variant(number);
                if (result == win32::ERROR_MORE_DATA)
                    Report(kBufferTooSmall + std::to_string(size), vb::vbExclamation, "API Error 234");
                return vb::Variant::Null();
            }
            default:
                return {};
        }
    }

    win32::SECURITY_ATTRIBUTES security_{};
    vb::Variant rootKey_{static_cast<std::int32_t>(win32::HKEY_LOCAL_MACHINE)};
    std::string topKey_;
    std::string companyKey_;
    bool autoCreate_ = true;
    HKEY openKey_ = 0;
    bool keyOpen_ = false;
    bool showMessages_ = false;
};

}  // namespace

namespace cvRegistry {

std::unique_ptr<clsRegistry> CreateObject() { return std::make_unique<RegistryObject>(); }

}  // namespace cvRegistry
