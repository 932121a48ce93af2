#include "catalog/name_order.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
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

void pushLetter(std::vector<int>& key, char upper) { key.push_back(0x300 + (upper - 'A')); }

// The weights that decide the order first: letters without case or accent,
// digits after blanks and punctuation, hyphens and apostrophes ignored (as
// in a word sort).
std::vector<int> primaryKey(std::string_view name) {
    std::vector<int> key;
    for (std::size_t i = 0; i < name.size();) {
        std::uint32_t cp = nextCodePoint(name, i);
        if (cp == '-' || cp == '\'') continue;
        if (cp >= 'a' && cp <= 'z') pushLetter(key, static_cast<char>(cp - 'a' + 'A'));
        else if (cp >= 'A' && cp <= 'Z') pushLetter(key, static_cast<char>(cp));
        else if (cp >= '0' && cp <= '9') key.push_back(0x200 + static_cast<int>(cp - '0'));
        else if (cp < 0x80) key.push_back(0x100 + static_cast<int>(cp));
        else if (cp >= 0xC0 && cp <= 0xFF && kLatin1Base[cp - 0xC0])
            for (const char* b = kLatin1Base[cp - 0xC0]; *b; ++b) pushLetter(key, *b);
        else key.push_back(0x1000 + static_cast<int>(cp));
    }
    return key;
}

// Code points with ASCII and Latin-1 letters in upper case; hyphens and
// apostrophes left out, or (`keepIgnorable`) ranked after every character,
// so that "coop" comes before "co-op".
std::vector<std::uint32_t> foldedCodePoints(std::string_view name, bool keepIgnorable) {
    std::vector<std::uint32_t> out;
    for (std::size_t i = 0; i < name.size();) {
        std::uint32_t cp = nextCodePoint(name, i);
        if (cp == '-' || cp == '\'') {
            if (keepIgnorable) out.push_back(0x110000 + cp);
            continue;
        }
        if (cp >= 'a' && cp <= 'z') cp -= 0x20;
        else if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) cp -= 0x20;
        out.push_back(cp);
    }
    return out;
}

// A name's weights, in the order they decide: the primary key, then
// accents, then where the ignored marks stand, then case (the bytes).
struct NameKey {
    std::vector<int> primary;
    std::vector<std::uint32_t> accents, marks;
    std::string_view bytes;
};

NameKey nameKey(std::string_view name) {
    return {primaryKey(name), foldedCodePoints(name, false), foldedCodePoints(name, true), name};
}

bool keyLess(const NameKey& a, const NameKey& b) {
    if (a.primary != b.primary) return a.primary < b.primary;
    if (a.accents != b.accents) return a.accents < b.accents;
    if (a.marks != b.marks) return a.marks < b.marks;
    return a.bytes < b.bytes;
}

}  // namespace

bool catalogNameLess(std::string_view a, std::string_view b) { return keyLess(nameKey(a), nameKey(b)); }

std::vector<std::size_t> catalogOrder(const std::vector<std::string_view>& names) {
    std::vector<NameKey> keys;
    keys.reserve(names.size());
    for (std::string_view name : names) keys.push_back(nameKey(name));
    std::vector<std::size_t> order(names.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return keyLess(keys[a], keys[b]); });
    return order;
}

}  // namespace jet::catalog
