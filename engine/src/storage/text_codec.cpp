#include "storage/text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <map>
#include <set>
#include <string>

namespace jet::storage {
namespace {

constexpr std::uint8_t kCompressedMarker0 = 0xFF;  // jet-format.md#text
constexpr std::uint8_t kCompressedMarker1 = 0xFE;  // jet-format.md#text
constexpr std::uint16_t kDefaultCodePage = 1252;   // jet-format.md#text
constexpr char32_t kReplacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Turns a sequence of UTF-16 code units into UTF-8, pairing surrogates.
class Utf16Sink {
public:
    explicit Utf16Sink(std::string& out) : out_(out) {}
    void put(char16_t unit) {
        if (pendingHigh_) {
            if (unit >= 0xDC00 && unit <= 0xDFFF) {
                appendUtf8(out_, 0x10000 + ((static_cast<char32_t>(pendingHigh_) - 0xD800) << 10) + (unit - 0xDC00));
                pendingHigh_ = 0;
                return;
            }
            appendUtf8(out_, kReplacement);
            pendingHigh_ = 0;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            pendingHigh_ = unit;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            appendUtf8(out_, kReplacement);
        } else {
            appendUtf8(out_, unit);
        }
    }
    void finish() {
        if (pendingHigh_) appendUtf8(out_, kReplacement);
        pendingHigh_ = 0;
    }

private:
    std::string& out_;
    char16_t pendingHigh_ = 0;
};

void putUncompressed(Utf16Sink& sink, std::span<const std::uint8_t> bytes) {
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        sink.put(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
}

// Most names are ASCII: such a text is its low bytes. False, with `out`
// untouched, when a code unit is not ASCII.
bool decodeAsciiUcs2(std::span<const std::uint8_t> bytes, std::string& out) {
    const std::size_t units = bytes.size() / 2;
    for (std::size_t i = 0; i < units; ++i)
        if (bytes[2 * i + 1] != 0 || bytes[2 * i] >= 0x80) return false;
    out.resize(units);
    for (std::size_t i = 0; i < units; ++i) out[i] = static_cast<char>(bytes[2 * i]);
    return true;
}

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// Converters are costly to open and text is decoded value by value, so each
// thread keeps one per code page.
class Converters {
public:
    ~Converters() {
        // Unknown code pages share the default page's converter.
        std::set<iconv_t> distinct;
        for (auto& [page, cd] : open_)
            if (cd != kNoConverter) distinct.insert(cd);
        for (iconv_t cd : distinct) iconv_close(cd);
    }
    iconv_t get(std::uint16_t codePage) {
        auto found = open_.find(codePage);
        if (found != open_.end()) return found->second;
        iconv_t cd = iconv_open("UTF-8", ("CP" + std::to_string(codePage)).c_str());
        if (cd == kNoConverter && codePage != kDefaultCodePage) cd = get(kDefaultCodePage);
        return open_.emplace(codePage, cd).first->second;
    }

private:
    std::map<std::uint16_t, iconv_t> open_;
};

iconv_t converterFor(std::uint16_t codePage) {
    thread_local Converters converters;
    return converters.get(codePage);
}

// Windows code page 1252, the code page of nearly every Jet 3 file, for
// 0x80 to 0x9F; from 0xA0 on it is Latin-1. Decoded here rather than through
// iconv, whose first use loads a conversion module: a cost every start of a
// short-lived reader would pay. The five bytes the code page leaves
// undefined are 0 here and, as below, pass through as C1 controls.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

std::string decodeCp1252(std::span<const std::uint8_t> bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (std::uint8_t b : bytes) {
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
        } else {
            const char16_t mapped = b < 0xA0 ? kCp1252High[b - 0x80] : 0;
            appendUtf8(out, mapped ? mapped : static_cast<char32_t>(b));
        }
    }
    return out;
}

}  // namespace

std::string decodeUcs2Text(std::span<const std::uint8_t> bytes) {
    std::string out;
    out.reserve(bytes.size());
    Utf16Sink sink(out);
    if (bytes.size() >= 2 && bytes[0] == kCompressedMarker0 && bytes[1] == kCompressedMarker1) {
        // Runs separated by single zero bytes; the first run has one byte per
        // character, the next two, and so on alternately. Writers only use a
        // two-byte run when none of its bytes is zero.
        bool compressed = true;
        std::size_t runStart = 2;
        for (std::size_t i = 2; i <= bytes.size(); ++i) {
            if (i < bytes.size() && bytes[i] != 0) continue;
            auto run = bytes.subspan(runStart, i - runStart);
            if (compressed) {
                for (std::uint8_t b : run) sink.put(b);
            } else {
                putUncompressed(sink, run);
            }
            compressed = !compressed;
            runStart = i + 1;
        }
    } else if (!decodeAsciiUcs2(bytes, out)) {
        putUncompressed(sink, bytes);
    }
    sink.finish();
    return out;
}

std::string decodeCodePageText(std::span<const std::uint8_t> bytes, std::uint16_t codePage) {
    std::string out;
    bool ascii = true;
    for (std::uint8_t b : bytes) ascii = ascii && b < 0x80;
    if (ascii) return std::string(bytes.begin(), bytes.end());
    if (codePage == 0 || codePage == kDefaultCodePage) return decodeCp1252(bytes);

    iconv_t cd = converterFor(codePage);
    if (cd == kNoConverter) {
        // No converter at all: keep ASCII and mark the rest.
        for (std::uint8_t b : bytes) b < 0x80 ? out.push_back(static_cast<char>(b)) : appendUtf8(out, kReplacement);
        return out;
    }
    out.resize(bytes.size() * 4 + 4);
    char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes.data()));
    std::size_t inLeft = bytes.size();
    char* dst = out.data();
    std::size_t outLeft = out.size();
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &dst, &outLeft) != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) break;  // cannot happen: four bytes per input byte suffice
        // A byte the code page leaves undefined. Windows passes such bytes
        // of code page 1252 through as the C1 control of the same value,
        // which is what the program that wrote them saw; elsewhere mark it.
        std::string replacement;
        appendUtf8(replacement, codePage == 0 || codePage == kDefaultCodePage
                                    ? static_cast<char32_t>(static_cast<std::uint8_t>(*in))
                                    : kReplacement);
        ++in;
        --inLeft;
        if (outLeft >= replacement.size()) {
            for (char c : replacement) *dst++ = c;
            outLeft -= replacement.size();
        }
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // reset the shift state for the next caller
    out.resize(out.size() - outLeft);
    return out;
}

std::string decodeText(std::span<const std::uint8_t> bytes, const format::JetFormat& format,
                       std::uint16_t codePage) {
    return format.unicodeText ? decodeUcs2Text(bytes) : decodeCodePageText(bytes, codePage);
}

std::string encodeUcs2(const std::string& utf8) {
    std::string out;
    auto putUnit = [&](char16_t u) {
        out.push_back(static_cast<char>(u & 0xFF));
        out.push_back(static_cast<char>(u >> 8));
    };
    for (std::size_t i = 0; i < utf8.size();) {
        auto b = static_cast<std::uint8_t>(utf8[i]);
        char32_t c = kReplacement;
        std::size_t len = 1;
        if (b < 0x80) {
            c = b;
        } else if ((b & 0xE0) == 0xC0) {
            len = 2;
        } else if ((b & 0xF0) == 0xE0) {
            len = 3;
        } else if ((b & 0xF8) == 0xF0) {
            len = 4;
        }
        if (len > 1) {
            if (i + len <= utf8.size()) {
                c = b & (0x7F >> len);
                for (std::size_t k = 1; k < len; ++k) c = (c << 6) | (static_cast<std::uint8_t>(utf8[i + k]) & 0x3F);
            } else {
                len = utf8.size() - i;
            }
        }
        i += len;
        if (c >= 0x10000) {
            c -= 0x10000;
            putUnit(static_cast<char16_t>(0xD800 + (c >> 10)));
            putUnit(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            putUnit(static_cast<char16_t>(c));
        }
    }
    return out;
}

}  // namespace jet::storage
