#include "registry/hive.h"

#include <algorithm>

#include "registry/ansi_code_page.h"

namespace regstore {

namespace {

bool HasControlCharacter(std::string_view s) {
    return std::any_of(s.begin(), s.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b == 0x7F;
    });
}

bool SortsBefore(const Key& key, std::string_view upperName) {
    return win32::AnsiUpperCase(key.name()) < upperName;
}

}  // namespace

const Key* Key::findSubKey(std::string_view name) const {
    for (const Key& k : subKeys_)
        if (win32::AnsiEqualNoCase(k.name(), name)) return &k;
    return nullptr;
}

Key* Key::findSubKey(std::string_view name) {
    return const_cast<Key*>(static_cast<const Key*>(this)->findSubKey(name));
}

Key& Key::subKey(std::string_view name, bool* created) {
    if (Key* existing = findSubKey(name)) {
        if (created) *created = false;
        return *existing;
    }
    const std::string upper = win32::AnsiUpperCase(name);
    auto at = std::find_if(subKeys_.begin(), subKeys_.end(),
                           [&](const Key& k) { return !SortsBefore(k, upper); });
    if (created) *created = true;
    return *subKeys_.insert(at, Key(std::string(name)));
}

const Value* Key::findValue(std::string_view name) const {
    for (const Value& v : values_)
        if (win32::AnsiEqualNoCase(v.name, name)) return &v;
    return nullptr;
}

bool Key::setValue(std::string_view name, std::uint32_t type, std::string_view data) {
    for (Value& v : values_) {
        if (!win32::AnsiEqualNoCase(v.name, name)) continue;
        if (v.type == type && v.data == data) return false;
        v.type = type;
        v.data.assign(data);
        return true;
    }
    values_.push_back(Value{std::string(name), type, std::string(data)});
    return true;
}

const Key* Key::find(const std::vector<std::string>& path) const {
    const Key* key = this;
    for (const std::string& name : path) {
        key = key->findSubKey(name);
        if (!key) return nullptr;
    }
    return key;
}

Key* Key::find(const std::vector<std::string>& path) {
    return const_cast<Key*>(static_cast<const Key*>(this)->find(path));
}

Key& Key::create(const std::vector<std::string>& path, bool* created) {
    Key* key = this;
    bool any = false;
    for (const std::string& name : path) {
        bool made = false;
        key = &key->subKey(name, &made);
        any = any || made;
    }
    if (created) *created = any;
    return *key;
}

std::optional<std::vector<std::string>> SplitKeyPath(std::string_view path) {
    std::vector<std::string> names;
    if (path.empty()) return names;
    if (path.front() == '\\') return std::nullopt;
    if (path.back() == '\\') path.remove_suffix(1);
    std::size_t start = 0;
    while (true) {
        const std::size_t end = path.find('\\', start);
        const std::string_view name =
            path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (name.empty() || name.size() > kMaxKeyNameLength || HasControlCharacter(name))
            return std::nullopt;
        names.emplace_back(name);
        if (names.size() > kMaxKeyDepth) return std::nullopt;
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return names;
}

bool IsStorableValueName(std::string_view name) { return !HasControlCharacter(name); }

}  // namespace regstore
