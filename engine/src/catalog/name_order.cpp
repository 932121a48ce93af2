#include "catalog/name_order.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

namespace jet::catalog {
namespace {

// Base letters of U+00C0..U+00FF for the comparison that ignores accents;
// two letters where the character sorts as two (Æ, Þ, ß).
const char* const kLatin1Base[64] = {
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
    "D", "N", "O", "O", "O", "O", "O", nullptr, "O", "U", "U", "U", "U", "Y", "TH", "SS",
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
    "D", "N", "O", "O", "O", "O", "O", nullptr, "O", "U", "U", "U", "U", "Y", "TH", "Y",
};

std::uint32_t nextCodePoint(std::string_view s, std::size_t& i) {
    unsigned char c = static_cast<unsigned char>(s[i++]);
    if (c < 0x80) return c;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    std::uint32_t cp = c & (0x3F >> extra);
    for (int k = 0; k < extra && i < s.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    return cp;
}

// A name's weights, in the order they decide: the primary weights, then
// the accents, then where the ignored marks stand, then case (the bytes).
// They are kept as one string, each weight one more than its value and the
// parts ended by 0, so that comparing two keys as strings compares part by
// part, a part that is a prefix of the other's first: one allocation per
// name and one comparison loop instead of four sequences.
using NameKey = std::u32string;

constexpr char32_t kPartEnd = 0;

void pushWeight(NameKey& key, std::uint32_t weight) { key.push_back(static_cast<char32_t>(weight + 1)); }

void pushLetter(NameKey& key, char upper) { pushWeight(key, 0x300 + static_cast<std::uint32_t>(upper - 'A')); }

// The weights that decide the order first: letters without case or accent,
// digits after blanks and punctuation, hyphens and apostrophes ignored (as
// in a word sort).
void appendPrimary(NameKey& key, std::string_view name) {
    for (std::size_t i = 0; i < name.size();) {
        std::uint32_t cp = nextCodePoint(name, i);
        if (cp == '-' || cp == '\'') continue;
        if (cp >= 'a' && cp <= 'z') pushLetter(key, static_cast<char>(cp - 'a' + 'A'));
        else if (cp >= 'A' && cp <= 'Z') pushLetter(key, static_cast<char>(cp));
        else if (cp >= '0' && cp <= '9') pushWeight(key, 0x200 + (cp - '0'));
        else if (cp < 0x80) pushWeight(key, 0x100 + cp);
        else if (cp >= 0xC0 && cp <= 0xFF && kLatin1Base[cp - 0xC0])
            for (const char* b = kLatin1Base[cp - 0xC0]; *b; ++b) pushLetter(key, *b);
        else pushWeight(key, 0x1000 + cp);
    }
    key.push_back(kPartEnd);
}

// Code points with ASCII and Latin-1 letters in upper case; hyphens and
// apostrophes left out, or (`keepIgnorable`) ranked after every character,
// so that "coop" comes before "co-op".
void appendFolded(NameKey& key, std::string_view name, bool keepIgnorable) {
    for (std::size_t i = 0; i < name.size();) {
        std::uint32_t cp = nextCodePoint(name, i);
        if (cp == '-' || cp == '\'') {
            if (keepIgnorable) pushWeight(key, 0x110000 + cp);
            continue;
        }
        if (cp >= 'a' && cp <= 'z') cp -= 0x20;
        else if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) cp -= 0x20;
        pushWeight(key, cp);
    }
    key.push_back(kPartEnd);
}

NameKey nameKey(std::string_view name) {
    NameKey key;
    key.reserve(4 * name.size() + 4);
    appendPrimary(key, name);
    appendFolded(key, name, false);
    appendFolded(key, name, true);
    for (char c : name) pushWeight(key, static_cast<unsigned char>(c));
    return key;
}

}  // namespace

bool catalogNameLess(std::string_view a, std::string_view b) { return nameKey(a) < nameKey(b); }

std::vector<std::size_t> catalogOrder(const std::vector<std::string_view>& names) {
    std::vector<NameKey> keys;
    keys.reserve(names.size());
    for (std::string_view name : names) keys.push_back(nameKey(name));
    std::vector<std::size_t> order(names.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    return order;
}

}  // namespace jet::catalog
