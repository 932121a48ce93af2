#include "root_key.h"

#include <cmath>

#include "vb/vb_error.h"

namespace cvregistry {

win32::HKEY RootHandle(const vb::Variant& root) {
    if (root.isArray()) return 0;
    double number = 0;
    try {
        number = root.toDouble();
    } catch (const vb::RuntimeError&) {
        return 0;  // Null, an object, text that is no number
    }
    if (!std::isfinite(number) || number != std::floor(number) || number < -2147483648.0 || number > 4294967295.0)
        return 0;
    return static_cast<win32::HKEY>(static_cast<std::int64_t>(number));
}

std::string RootKeyName(const vb::Variant& root) {
    switch (RootHandle(root)) {
        case win32::HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
        case win32::HKEY_CURRENT_USER: return "HKEY_CURRENT_USER";
        case win32::HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
        case win32::HKEY_USERS: return "HKEY_USERS";
        case win32::HKEY_CURRENT_CONFIG: return "HKEY_CURRENT_CONFIG";
        case win32::HKEY_DYN_DATA: return "HKEY_DYN_DATA";
        default: return "";
    }
}

}  // namespace cvregistry
