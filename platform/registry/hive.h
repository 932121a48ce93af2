// One registry root in memory: a tree of keys, each with its values. Names
// and string data are held as the code-page bytes the "A" calls pass; names
// compare without regard to case but keep the case they were created with.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace regstore {

struct Value {
    std::string name;  // "" is the key's default value
    std::uint32_t type = 0;
    std::string data;  // raw bytes, as written by RegSetValueExA
};

class Key {
public:
    explicit Key(std::string name = {}) : name_(std::move(name)) {}

    const std::string& name() const { return name_; }

    // Sub-keys, kept in the order of their upper-case names so that a saved
    // hive lists them as a person expects.
    const std::vector<Key>& subKeys() const { return subKeys_; }
    const Key* findSubKey(std::string_view name) const;
    Key* findSubKey(std::string_view name);
    // The sub-key of that name, created when missing; `created` tells which.
    Key& subKey(std::string_view name, bool* created = nullptr);

    // Values, in the order they were first written (as Windows lists them).
    const std::vector<Value>& values() const { return values_; }
    const Value* findValue(std::string_view name) const;
    // Writes a value; an existing value of that name keeps its place and
    // the case of its name. Returns true when something changed.
    bool setValue(std::string_view name, std::uint32_t type, std::string_view data);

    // The key at `path` below this one, or nullptr.
    const Key* find(const std::vector<std::string>& path) const;
    Key* find(const std::vector<std::string>& path);
    // Creates every missing key along `path`; `created` is true when at
    // least one key was new.
    Key& create(const std::vector<std::string>& path, bool* created = nullptr);

private:
    std::string name_;
    std::vector<Key> subKeys_;
    std::vector<Value> values_;
};

// Longest key name and deepest key path that Windows accepts. The depth
// limit also keeps a hand-made hive from nesting deep enough to exhaust the
// stack of the recursive tree walks.
constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kMaxKeyDepth = 512;

// Splits a sub-key path ("SOFTWARE\Corvane\Strux32") into its names. "" is
// the key itself. A single trailing backslash is tolerated; a leading one, an
// empty name between two backslashes, a name longer than 255 characters, one
// with a control character or more than 512 names make the path bad (nullopt).
std::optional<std::vector<std::string>> SplitKeyPath(std::string_view path);

// True when a value name can be held by a hive: no control characters,
// which the hive's one-line-per-value text could not carry.
bool IsStorableValueName(std::string_view name);

}  // namespace regstore
