#include "write/text_key.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "storage/text_codec.h"
#include "write/general_order.h"

namespace jet::write {
namespace {

constexpr std::uint8_t kStandIn = 0x10;  // for characters without a known code
constexpr std::uint8_t kJet3TextEnd = 0x00;
// Keys hold no more of a text than a Text column can: longer memos share
// the key of their first 255 characters.
constexpr std::size_t kKeyCharacters = 255;

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

char32_t lowerLatin1(char32_t c) {
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
    return c;
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


// UTF-16 code units of UTF-8 text, as a Jet 4 row stores them.
std::u16string utf16Units(const std::string& text) {
    const std::string bytes = storage::encodeUcs2(text);
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        units.push_back(static_cast<char16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                              static_cast<std::uint8_t>(bytes[i + 1]) << 8));
    return units;
}

void appendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, std::uint8_t bytes) {
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// Jet 4 text keys come in sections. First the codes of the characters that
// take part in the order, closed by 0x01. Then the marks: one byte or more
// per coded character up to the last one that has a mark (0x02 for none; a
// ligature is one character here). Then, when the text holds kana or
// characters left out of the order, two more 0x01, the kana flags (three to
// a byte, 2 bits each, trailing 3s dropped) with a fixed tail, and for each
// left-out character 0x01 once, then its position, 0x06 and its code. The
// key ends with 0x00.
class Jet4TextKey {
public:
    explicit Jet4TextKey(std::vector<std::uint8_t>& out) : out_(out) {}

    void add(char16_t unit) {
        const GeneralOrderCharacter c = generalOrderCharacter(unit);
        const std::size_t character = characters_;
        switch (c.role) {
        case CharacterRole::kIgnored: return;
        case CharacterRole::kSorted: code(c); return;
        case CharacterRole::kMarked:
        case CharacterRole::kKana:
            code(c);
            if (c.markBytes > 0) {
                padMarks(character);
                appendBigEndian(marks_, c.mark, c.markBytes);
                markedCharacters_ = characters_;
            }
            if (c.role == CharacterRole::kKana) kanaFlags_.push_back(c.kanaFlag);
            return;
        case CharacterRole::kModifier:
            padMarks(character);
            if (marks_.empty()) marks_.push_back(static_cast<std::uint8_t>(c.code));
            else marks_.back() = static_cast<std::uint8_t>(marks_.back() + c.code);
            return;
        case CharacterRole::kPlaced: placeAt(c); return;
        }
    }

    void finish() {
        out_.push_back(kSectionEnd);
        while (!marks_.empty() && marks_.back() <= kUnmarked) marks_.pop_back();
        out_.insert(out_.end(), marks_.begin(), marks_.end());
        if (!kanaFlags_.empty() || !placed_.empty()) {
            out_.insert(out_.end(), 2, kSectionEnd);
            if (!kanaFlags_.empty()) appendKanaFlags();
            if (!placed_.empty()) {
                out_.push_back(kSectionEnd);
                out_.insert(out_.end(), placed_.begin(), placed_.end());
            }
        }
        out_.push_back(kKeyEnd);
    }

private:
    static constexpr std::uint8_t kSectionEnd = 0x01, kKeyEnd = 0x00, kUnmarked = 0x02;

    void code(const GeneralOrderCharacter& c) {
        appendBigEndian(out_, c.code, c.codeBytes);
        ++characters_;
        letters_ += c.places;
    }

    // Characters before `character` without a mark of their own count as unmarked.
    void padMarks(std::size_t character) {
        if (markedCharacters_ < character) {
            marks_.insert(marks_.end(), character - markedCharacters_, kUnmarked);
            markedCharacters_ = character;
        }
    }

    // A left-out character's position is the number of letters before it,
    // whether or not the text has marks: a ligature counts each of its
    // letters here, though it takes one place among the marks (Access keys
    // "Nuß-Nougat" with the hyphen at 4, not 3), a combining mark none.
    void placeAt(const GeneralOrderCharacter& c) {
        const auto word = static_cast<std::uint16_t>(0x8000 | (7 + 4 * letters_));
        placed_.push_back(static_cast<std::uint8_t>(word >> 8));
        placed_.push_back(static_cast<std::uint8_t>(word));
        placed_.push_back(0x06);
        appendBigEndian(placed_, c.code, c.codeBytes);
    }

    void appendKanaFlags() {
        constexpr std::uint8_t kPlainFlag = 3, kFlagByte = 0x80;
        while (!kanaFlags_.empty() && kanaFlags_.back() == kPlainFlag) kanaFlags_.pop_back();
        for (std::size_t i = 0; i < kanaFlags_.size(); i += 3) {
            std::uint8_t packed = kFlagByte;
            for (std::size_t k = 0; k < 3 && i + k < kanaFlags_.size(); ++k)
                packed = static_cast<std::uint8_t>(packed | kanaFlags_[i + k] << (4 - 2 * k));
            out_.push_back(packed);
        }
        constexpr std::uint8_t kKanaTail[] = {0xFF, 0x02, 0x80, 0xFF, 0x80};
        out_.insert(out_.end(), std::begin(kKanaTail), std::end(kKanaTail));
        if (!placed_.empty()) out_.push_back(0xFF);
    }

    std::vector<std::uint8_t>& out_;
    std::size_t characters_ = 0;  // characters coded so far
    std::size_t letters_ = 0;     // their letters, a ligature counting each
    std::vector<std::uint8_t> marks_;
    std::size_t markedCharacters_ = 0;  // characters the marks cover
    std::vector<std::uint8_t> kanaFlags_;
    std::vector<std::uint8_t> placed_;
};

}  // namespace

bool appendTextKey(std::vector<std::uint8_t>& key, const std::string& text, bool jet3, bool ascending) {
    const std::size_t from = key.size();
    bool exact = true;
    if (jet3) {
        std::vector<char32_t> characters = codePoints(text);
        if (characters.size() > kKeyCharacters) characters.resize(kKeyCharacters);
        while (!characters.empty() && characters.back() == U' ') characters.pop_back();
        exact = jet3TextCodes(key, characters);
    } else {
        std::u16string units = utf16Units(text);
        if (units.size() > kKeyCharacters) units.resize(kKeyCharacters);
        while (!units.empty() && units.back() == u' ') units.pop_back();
        Jet4TextKey encoder(key);
        for (char16_t unit : units) encoder.add(unit);
        encoder.finish();
    }
    if (!ascending) {
        for (std::size_t i = from; i < key.size(); ++i) key[i] = static_cast<std::uint8_t>(~key[i]);
        // Jet 4 closes a descending text with one more, uninverted, end byte.
        if (!jet3) key.push_back(0x00);
    }
    return exact;
}

int compareTextKeys(const std::string& a, const std::string& b, bool jet3) {
    std::vector<std::uint8_t> x, y;
    appendTextKey(x, a, jet3, true);
    appendTextKey(y, b, jet3, true);
    return x == y ? 0 : (x < y ? -1 : 1);
}

}  // namespace jet::write
