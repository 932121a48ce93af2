#include "write/index_key.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <string_view>

#include "jet/error.h"
#include "write/row_encoder.h"

namespace jet::write {
namespace {

namespace ct = storage::coltype;
constexpr std::uint8_t kAscendingValue = 0x7F;
constexpr std::uint8_t kAscendingNull = 0x00;
constexpr std::uint8_t kDescendingValue = 0x80;
constexpr std::uint8_t kDescendingNull = 0xFF;
constexpr std::uint8_t kJet3TextEnd = 0x00;
constexpr std::uint8_t kJet4TextEnd = 0x01;       // after the character codes
constexpr std::uint8_t kJet4ExtraEnd = 0x00;      // after the (empty) extra codes
constexpr std::uint8_t kStandIn = 0x10;           // for characters without a known code

// General order, Jet 3: one code per printable ASCII character, 0x20 to 0x7E.
constexpr std::uint8_t kJet3Ascii[95] = {
    0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F, 0x20,  // ' ' to '/'
    0x56, 0x57, 0x58, 0x59, 0x5A, 0x5B, 0x5C, 0x5D, 0x5E, 0x5F,                                      // '0' to '9'
    0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27,                                                        // ':' to '@'
    0x60, 0x61, 0x62, 0x64, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6F,                    // 'A' to 'M'
    0x70, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x7A, 0x7B, 0x7C, 0x7D, 0x7E,                    // 'N' to 'Z'
    0x28, 0x29, 0x2A, 0x2B, 0x2C, 0x2D,                                                              // '[' to '`'
    0x60, 0x61, 0x62, 0x64, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6F,                    // 'a' to 'm'
    0x70, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x7A, 0x7B, 0x7C, 0x7D, 0x7E,                    // 'n' to 'z'
    0x2E, 0x2F, 0x30, 0x31,                                                                          // '{' to '~'
};

// General order, Jet 4 (the order of Access 2000 to 2007): letters and
// digits as the corpus files show them, case folded.
constexpr std::uint8_t kJet4Letters[26] = {
    0x4A, 0x4C, 0x4D, 0x4F, 0x51, 0x53, 0x55, 0x57, 0x59, 0x5B, 0x5C, 0x5E, 0x60,
    0x62, 0x64, 0x66, 0x68, 0x69, 0x6B, 0x6D, 0x6F, 0x71, 0x73, 0x75, 0x76, 0x78,
};
constexpr std::uint8_t kJet4Digit0 = 0x36;  // '0'; each next digit two more
// Characters other than plain letters and digits: one or two code bytes,
// and the mark they leave in the marks (unmarked but for ª, º and ð).
struct Jet4Code {
    char32_t character;  // lower case
    std::uint8_t first, second;  // second 0: a one-byte code
    std::uint8_t mark = 0x02;
};
constexpr Jet4Code kJet4Codes[] = {
    {U'\t', 0x08, 0x03}, {U'\n', 0x08, 0x04}, {0x0B, 0x08, 0x05}, {0x0C, 0x08, 0x06}, {U'\r', 0x08, 0x07},
    {U' ', 0x07, 0},      {U'!', 0x09, 0},      {U'"', 0x0A, 0},    {U'#', 0x0C, 0},    {U'$', 0x0E, 0},
    {U'%', 0x10, 0},      {U'&', 0x12, 0},      {U'(', 0x14, 0},    {U')', 0x16, 0},    {U'*', 0x18, 0},
    {U'+', 0x2C, 0},      {U',', 0x1A, 0},      {U'.', 0x1C, 0},    {U'/', 0x1E, 0},    {U':', 0x20, 0},
    {U';', 0x22, 0},      {U'<', 0x2E, 0},      {U'=', 0x30, 0},    {U'>', 0x32, 0},    {U'?', 0x24, 0},
    {U'@', 0x26, 0},      {U'[', 0x27, 0},      {U'\\', 0x29, 0},  {U']', 0x2A, 0},    {U'^', 0x2B, 0x02},
    {U'_', 0x2B, 0x03},   {U'`', 0x2B, 0x07},   {U'{', 0x2B, 0x09}, {U'|', 0x2B, 0x0B}, {U'}', 0x2B, 0x0D},
    {U'~', 0x2B, 0x0F},   {0xA0, 0x08, 0x02},   {U'¡', 0x2B, 0x10}, {U'¢', 0x34, 0xA6}, {U'£', 0x34, 0xA7},
    {U'¤', 0x34, 0xA8},   {U'¥', 0x34, 0xA9},   {U'¦', 0x2B, 0x11}, {U'§', 0x34, 0xAA}, {U'¨', 0x2B, 0x12},
    {U'©', 0x34, 0xAB},   {U'ª', 0x4A, 0, 0x03}, {U'«', 0x33, 0x05}, {U'¬', 0x34, 0xAC}, {U'®', 0x34, 0xAD},
    {U'¯', 0x2B, 0x13},   {U'°', 0x34, 0xAE},   {U'±', 0x33, 0x04}, {U'²', 0x3A, 0},    {U'³', 0x3C, 0},
    {U'´', 0x2B, 0x14},   {U'µ', 0x34, 0xAF},   {U'¶', 0x34, 0xB0}, {U'·', 0x34, 0xB1}, {U'¸', 0x2B, 0x15},
    {U'¹', 0x38, 0},      {U'º', 0x64, 0, 0x03}, {U'»', 0x33, 0x07}, {U'¼', 0x37, 0x12}, {U'½', 0x37, 0x16},
    {U'¾', 0x37, 0x1A},   {U'¿', 0x2B, 0x16},   {U'×', 0x33, 0x09}, {U'÷', 0x33, 0x0A}, {U'æ', 0x4A, 0x51},
    {U'ð', 0x4F, 0, 0x68}, {U'þ', 0x6D, 0x57},  {U'ß', 0x6B, 0x6B},
};
// Characters that take no part in the order: listed after the marks with
// their place. Control characters are among them.
std::optional<std::uint8_t> jet4IgnoredCode(char32_t c) {
    if (c >= 0x01 && c <= 0x08) return static_cast<std::uint8_t>(c + 2);
    if (c >= 0x0E && c <= 0x1F) return static_cast<std::uint8_t>(c - 3);
    if (c >= 0x7F && c <= 0x9F) return static_cast<std::uint8_t>(0x1D + (c - 0x7F));
    switch (c) {
    case U'\'': return 0x80;
    case U'-': return 0x82;
    case 0xAD: return 0x83;  // soft hyphen
    default: return std::nullopt;
    }
}

// Code points of UTF-8 text.
std::vector<char32_t> codePoints(const std::string& s) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        char32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
        for (int k = 1; k <= extra && i + k < s.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out.push_back(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

// Jet 4 letters with a diacritic sort as the plain letter; the mark is kept
// in the extra codes after the characters.
constexpr std::uint8_t kJet4NoMark = 0x02;
struct Jet4Marked {
    char32_t character;
    char base;
    std::uint8_t mark;
};
constexpr std::uint8_t kGrave = 0x0F, kAcute = 0x0E, kCircumflex = 0x12, kTilde = 0x19, kDiaeresis = 0x13,
                       kRing = 0x1A, kCedilla = 0x1C, kStroke = 0x21;
constexpr Jet4Marked kJet4MarkedLetters[] = {
    {U'à', 'a', kGrave},  {U'á', 'a', kAcute}, {U'â', 'a', kCircumflex}, {U'ã', 'a', kTilde},
    {U'ä', 'a', kDiaeresis}, {U'å', 'a', kRing}, {U'ç', 'c', kCedilla},   {U'è', 'e', kGrave},
    {U'é', 'e', kAcute},  {U'ê', 'e', kCircumflex}, {U'ë', 'e', kDiaeresis}, {U'ì', 'i', kGrave},
    {U'í', 'i', kAcute},  {U'î', 'i', kCircumflex}, {U'ï', 'i', kDiaeresis}, {U'ñ', 'n', kTilde},
    {U'ò', 'o', kGrave},  {U'ó', 'o', kAcute}, {U'ô', 'o', kCircumflex}, {U'õ', 'o', kTilde},
    {U'ö', 'o', kDiaeresis}, {U'ø', 'o', kStroke}, {U'ù', 'u', kGrave},  {U'ú', 'u', kAcute},
    {U'û', 'u', kCircumflex}, {U'ü', 'u', kDiaeresis}, {U'ý', 'y', kAcute}, {U'ÿ', 'y', kDiaeresis},
};
constexpr std::uint8_t kJet4SectionEnd = 0x01;
constexpr std::uint16_t kIgnoredPositionFlag = 0x8000;
constexpr std::uint16_t kIgnoredPositionStart = 7, kIgnoredPositionStep = 4;
constexpr std::uint8_t kIgnoredMidfix = 0x06;

char32_t lowerLatin1(char32_t c) {
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
    return c;
}

bool jet4TextCodes(std::vector<std::uint8_t>& out, const std::vector<char32_t>& characters) {
    bool exact = true;
    std::vector<std::uint8_t> marks;  // one per coded character
    std::vector<std::pair<std::size_t, std::uint8_t>> ignored;  // position, code
    auto code = [&](std::uint8_t c, std::uint8_t mark) {
        out.push_back(c);
        marks.push_back(mark);
    };
    for (char32_t original : characters) {
        const char32_t c = lowerLatin1(original);
        if (c >= 'a' && c <= 'z') code(kJet4Letters[c - 'a'], kJet4NoMark);
        else if (c >= '0' && c <= '9') code(static_cast<std::uint8_t>(kJet4Digit0 + 2 * (c - '0')), kJet4NoMark);
        else if (auto* p = std::find_if(std::begin(kJet4Codes), std::end(kJet4Codes),
                                        [c](const Jet4Code& k) { return k.character == c; });
                 p != std::end(kJet4Codes)) {
            if (p->second != 0) out.push_back(p->first);
            code(p->second != 0 ? p->second : p->first, p->mark);
        } else if (auto* m = std::find_if(std::begin(kJet4MarkedLetters), std::end(kJet4MarkedLetters),
                                          [c](const Jet4Marked& k) { return k.character == c; });
                   m != std::end(kJet4MarkedLetters))
            code(kJet4Letters[m->base - 'a'], m->mark);
        else if (auto ignoredCode = jet4IgnoredCode(c))
            ignored.emplace_back(marks.size(), *ignoredCode);
        else {
            code(kStandIn, kJet4NoMark);
            exact = false;
        }
    }
    out.push_back(kJet4TextEnd);
    // Marks up to the last marked character.
    std::size_t lastMark = marks.size();
    while (lastMark > 0 && marks[lastMark - 1] == kJet4NoMark) --lastMark;
    out.insert(out.end(), marks.begin(), marks.begin() + static_cast<std::ptrdiff_t>(lastMark));
    if (!ignored.empty()) {
        out.insert(out.end(), 3, kJet4SectionEnd);
        for (auto [position, c] : ignored) {
            const auto at = static_cast<std::uint16_t>(kIgnoredPositionFlag |
                                                       (kIgnoredPositionStart + kIgnoredPositionStep * position));
            out.push_back(static_cast<std::uint8_t>(at >> 8));
            out.push_back(static_cast<std::uint8_t>(at));
            out.push_back(kIgnoredMidfix);
            out.push_back(c);
        }
    }
    out.push_back(kJet4ExtraEnd);
    return exact;
}

// General order, Jet 3, past ASCII (the code page's own characters).
// Letters with a diacritic sort as the plain letter; their marks follow the
// codes (see jet3TextCodes). Ligatures sort as their two letters.
struct Jet3Marked {
    char32_t character;  // lower case
    char base;
    std::uint8_t mark;
};
constexpr std::uint8_t kJet3Unmarked = 2, kJet3Grave = 3, kJet3Acute = 4, kJet3Circumflex = 5, kJet3Diaeresis = 6,
                       kJet3Tilde = 7, kJet3Ring = 8, kJet3Cedilla = 9, kJet3Caron = 10;
constexpr Jet3Marked kJet3MarkedLetters[] = {
    {U'à', 'a', kJet3Grave},      {U'á', 'a', kJet3Acute},     {U'â', 'a', kJet3Circumflex},
    {U'ã', 'a', kJet3Tilde},      {U'ä', 'a', kJet3Diaeresis}, {U'å', 'a', kJet3Ring},
    {U'ç', 'c', kJet3Cedilla},    {U'è', 'e', kJet3Grave},     {U'é', 'e', kJet3Acute},
    {U'ê', 'e', kJet3Circumflex}, {U'ë', 'e', kJet3Diaeresis}, {U'ì', 'i', kJet3Grave},
    {U'í', 'i', kJet3Acute},      {U'î', 'i', kJet3Circumflex}, {U'ï', 'i', kJet3Diaeresis},
    {U'ñ', 'n', kJet3Tilde},      {U'ò', 'o', kJet3Grave},     {U'ó', 'o', kJet3Acute},
    {U'ô', 'o', kJet3Circumflex}, {U'õ', 'o', kJet3Tilde},     {U'ö', 'o', kJet3Diaeresis},
    {U'ù', 'u', kJet3Grave},      {U'ú', 'u', kJet3Acute},     {U'û', 'u', kJet3Circumflex},
    {U'ü', 'u', kJet3Diaeresis},  {U'ý', 'y', kJet3Acute},     {U'ÿ', 'y', kJet3Diaeresis},
    {U'š', 's', kJet3Caron},
};
// The plain letters that take a place in the marks (unmarked), whether or
// not this text marks them.
constexpr std::string_view kJet3MarkableLetters = "aceinosuy";
struct Jet3Code {
    char32_t character;
    std::uint8_t code;
};
constexpr Jet3Code kJet3Symbols[] = {
    {U'\t', 0x11},  {0xA0, 0x11},    {0xAD, 0x1E},    {U'«', 0x13},    {U'»', 0x13},    {U'“', 0x13},
    {U'”', 0x13},   {U'„', 0x13},    {U'‘', 0x18},    {U'’', 0x18},    {U'‚', 0x18},    {U'‹', 0x18},
    {U'›', 0x18},   {U'–', 0x1E},    {U'—', 0x1E},    {U'ƒ', 0x32},    {U'…', 0x33},    {U'†', 0x34},
    {U'‡', 0x35},   {U'ˆ', 0x36},    {U'‰', 0x37},    {U'•', 0x38},    {U'˜', 0x39},    {U'™', 0x3A},
    {U'¡', 0x3B},   {U'¢', 0x3C},    {U'£', 0x3D},    {U'¤', 0x3E},    {U'¥', 0x3F},    {U'¦', 0x40},
    {U'§', 0x41},   {U'¨', 0x42},    {U'©', 0x43},    {U'ª', 0x44},    {U'¬', 0x45},    {U'®', 0x46},
    {U'¯', 0x47},   {U'°', 0x48},    {U'±', 0x49},    {U'´', 0x4A},    {U'µ', 0x4B},    {U'¶', 0x4C},
    {U'·', 0x4D},   {U'¸', 0x4E},    {U'º', 0x4F},    {U'¼', 0x50},    {U'½', 0x51},    {U'¾', 0x52},
    {U'¿', 0x53},   {U'×', 0x54},    {U'÷', 0x55},    {U'¹', 0x57},    {U'²', 0x58},    {U'³', 0x59},
    {U'ð', 0x65},   {U'þ', 0x7F},    {U'ø', 0x81},
};
struct Jet3Ligature {
    char32_t character;
    char first, second;
};
constexpr Jet3Ligature kJet3Ligatures[] = {{U'æ', 'a', 'e'}, {U'ß', 's', 's'}, {U'œ', 'o', 'e'}};
// Control characters and the code page's late additions share one code.
constexpr std::uint8_t kJet3Other = 0x10;
bool jet3Other(char32_t c) {
    return c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D || c == U'ž' ||
           c == U'€';
}

char32_t lowerJet3(char32_t c) {
    switch (c) {
    case U'Š': return U'š';
    case U'Œ': return U'œ';
    case U'Ÿ': return U'ÿ';
    case U'Ž': return U'ž';
    default: return lowerLatin1(c);
    }
}

// Jet 3 text: one code per character; then, when a letter carries a
// diacritic, a run of 4-bit marks instead of the closing 0x00: a zero, one
// mark for each of the letters a c e i n o s u y up to the last marked one
// (2 when unmarked), a zero, padded to whole bytes.
bool jet3TextCodes(std::vector<std::uint8_t>& out, const std::vector<char32_t>& characters) {
    bool exact = true;
    std::vector<std::uint8_t> marks;
    std::size_t lastMark = 0;
    auto letter = [&](char c, std::uint8_t mark) {
        out.push_back(kJet3Ascii[c - 0x20]);
        if (kJet3MarkableLetters.find(c) == std::string_view::npos) return;
        marks.push_back(mark);
        if (mark != kJet3Unmarked) lastMark = marks.size();
    };
    for (char32_t original : characters) {
        const char32_t c = lowerJet3(original);
        if (c >= 'a' && c <= 'z') letter(static_cast<char>(c), kJet3Unmarked);
        else if (c >= 0x20 && c <= 0x7E) out.push_back(kJet3Ascii[c - 0x20]);
        else if (auto* m = std::find_if(std::begin(kJet3MarkedLetters), std::end(kJet3MarkedLetters),
                                        [c](const Jet3Marked& k) { return k.character == c; });
                 m != std::end(kJet3MarkedLetters))
            letter(m->base, m->mark);
        else if (auto* l = std::find_if(std::begin(kJet3Ligatures), std::end(kJet3Ligatures),
                                        [c](const Jet3Ligature& k) { return k.character == c; });
                 l != std::end(kJet3Ligatures)) {
            letter(l->first, kJet3Unmarked);
            letter(l->second, kJet3Unmarked);
        } else if (auto* p = std::find_if(std::begin(kJet3Symbols), std::end(kJet3Symbols),
                                          [c](const Jet3Code& k) { return k.character == c; });
                   p != std::end(kJet3Symbols))
            out.push_back(p->code);
        else if (jet3Other(c))
            out.push_back(kJet3Other);
        else {
            out.push_back(kStandIn);
            exact = false;
        }
    }
    if (lastMark == 0) {
        out.push_back(kJet3TextEnd);
        return exact;
    }
    std::vector<std::uint8_t> nibbles{0};
    nibbles.insert(nibbles.end(), marks.begin(), marks.begin() + static_cast<std::ptrdiff_t>(lastMark));
    nibbles.push_back(0);
    if (nibbles.size() % 2 != 0) nibbles.push_back(0);
    for (std::size_t i = 0; i < nibbles.size(); i += 2)
        out.push_back(static_cast<std::uint8_t>(nibbles[i] << 4 | nibbles[i + 1]));
    return exact;
}

bool textCodes(std::vector<std::uint8_t>& out, const std::string& text, bool jet3) {
    // Trailing blanks do not count in a key.
    std::vector<char32_t> characters = codePoints(text);
    while (!characters.empty() && characters.back() == U' ') characters.pop_back();
    return jet3 ? jet3TextCodes(out, characters) : jet4TextCodes(out, characters);
}

template <class T>
void bigEndian(std::vector<std::uint8_t>& out, T v) {
    std::uint8_t raw[sizeof(T)];
    std::memcpy(raw, &v, sizeof(T));
    for (std::size_t i = sizeof(T); i-- > 0;) out.push_back(raw[i]);
}

// Floating point: positive values with the sign bit set, negative ones with
// every bit inverted, so that bytes compare as the numbers do.
template <class F, class U>
void floatKey(std::vector<std::uint8_t>& out, F value) {
    U bits;
    std::memcpy(&bits, &value, sizeof(F));
    const U sign = U{1} << (sizeof(U) * 8 - 1);
    bits = (bits & sign) ? static_cast<U>(~bits) : static_cast<U>(bits | sign);
    bigEndian(out, bits);
}

// Binary values go in runs of 8 bytes, zero-padded; after each run a byte
// says "more follows" (9) or how many bytes of the last run count. A
// descending key inverts everything but the "more follows" marks.
void binaryKey(std::vector<std::uint8_t>& out, const Bytes& data, bool ascending) {
    // A zero-length value is its flag byte alone, as Jet writes it.
    if (data.empty()) return;
    const std::uint8_t flip = ascending ? 0x00 : 0xFF;
    constexpr std::size_t kRun = 8;
    constexpr std::uint8_t kMoreFollows = 9;
    std::size_t at = 0;
    do {
        const std::size_t take = std::min(kRun, data.size() - at);
        for (std::size_t i = 0; i < kRun; ++i)
            out.push_back(static_cast<std::uint8_t>((i < take ? data[at + i] : 0) ^ flip));
        at += take;
        out.push_back(at < data.size() ? kMoreFollows : static_cast<std::uint8_t>(take ^ flip));
    } while (at < data.size());
}

}  // namespace

bool appendKey(std::vector<std::uint8_t>& key, const storage::ColumnDef& column, const Value& value, bool ascending,
               bool jet3) {
    if (isNull(value) && column.type != ct::kBoolean) {
        key.push_back(ascending ? kAscendingNull : kDescendingNull);
        return true;
    }
    key.push_back(ascending ? kAscendingValue : kDescendingValue);
    const std::size_t from = key.size();
    bool exact = true;
    switch (column.type) {
    // Numbers are keyed on the value the row stores, converted as the row
    // encoder converts it, so that key and row always agree.
    case ct::kBoolean: key.push_back(!isNull(value) && numericValue(column, value) != 0 ? 0x00 : 0xFF); break;
    case ct::kByte: key.push_back(static_cast<std::uint8_t>(integerValue(column, value))); break;
    case ct::kInteger:
        bigEndian(key, static_cast<std::uint16_t>(static_cast<std::uint16_t>(integerValue(column, value)) ^ 0x8000u));
        break;
    case ct::kLong:
        bigEndian(key,
                  static_cast<std::uint32_t>(static_cast<std::uint32_t>(integerValue(column, value)) ^ 0x80000000u));
        break;
    case ct::kCurrency:
    case ct::kBigInt:
        bigEndian(key, static_cast<std::uint64_t>(integerValue(column, value)) ^ 0x8000000000000000ull);
        break;
    case ct::kSingle: floatKey<float, std::uint32_t>(key, static_cast<float>(numericValue(column, value))); break;
    case ct::kDouble:
    case ct::kDateTime: floatKey<double, std::uint64_t>(key, numericValue(column, value)); break;
    case ct::kText:
    case ct::kMemo: {
        const std::string* s = std::get_if<std::string>(&value);
        exact = textCodes(key, s ? *s : valueToString(value), jet3);
        break;
    }
    case ct::kGuid:
        if (auto* g = std::get_if<Guid>(&value)) {
            // Keys take the GUID in its written order: the first three
            // groups, stored little-endian, turned around.
            constexpr std::size_t kWritten[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
            Bytes written;
            for (std::size_t i : kWritten) written.push_back(g->bytes[i]);
            binaryKey(key, written, ascending);
        }
        return exact;
    default:
        if (auto* b = std::get_if<Bytes>(&value)) binaryKey(key, *b, ascending);
        return exact;
    }
    if (!ascending)
        for (std::size_t i = from; i < key.size(); ++i) key[i] = static_cast<std::uint8_t>(~key[i]);
    return exact;
}

std::vector<std::uint8_t> indexKey(const std::vector<KeyColumn>& columns, const std::vector<Value>& rowValues,
                                   const storage::TableDefinition& def, bool jet3, bool* exact) {
    std::vector<std::uint8_t> key;
    bool allExact = true;
    for (const auto& kc : columns) {
        int position = def.columnPosition(kc.column->number);
        const Value& v = position >= 0 && static_cast<std::size_t>(position) < rowValues.size()
                             ? rowValues[static_cast<std::size_t>(position)]
                             : Value{};
        allExact = appendKey(key, *kc.column, v, kc.ascending, jet3) && allExact;
    }
    if (exact) *exact = allExact;
    return key;
}

std::vector<KeyColumn> indexKeyColumns(const storage::TableDefinition& def, const storage::RealIndex& index) {
    std::vector<KeyColumn> out;
    for (const auto& c : index.columns) {
        const int position = def.columnPosition(c.columnNumber);
        if (position < 0) throw Error(kErrDamaged, "The database has been damaged. Repair it before use.", "index column");
        out.push_back({&def.columns[static_cast<std::size_t>(position)], c.ascending});
    }
    return out;
}

std::optional<std::vector<std::uint8_t>> completeKey(const std::vector<KeyColumn>& columns,
                                                     const std::vector<Value>& rowValues,
                                                     const storage::TableDefinition& def, bool jet3) {
    for (const auto& kc : columns) {
        const int position = def.columnPosition(kc.column->number);
        if (position < 0 || static_cast<std::size_t>(position) >= rowValues.size() ||
            isNull(rowValues[static_cast<std::size_t>(position)]))
            return std::nullopt;
    }
    return indexKey(columns, rowValues, def, jet3);
}

}  // namespace jet::write
