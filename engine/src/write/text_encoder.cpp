#include "write/text_encoder.h"

#include <cerrno>
#include <cstdio>
#include <iconv.h>

#include "jet/error.h"
#include "storage/text_codec.h"

namespace jet::write {
namespace {

// The character of `utf8` starting at `at`, as "'X' (U+XXXX)".
std::string describeCharacter(const char* at, std::size_t left) {
    std::size_t length = 1;
    while (length < left && (static_cast<unsigned char>(at[length]) & 0xC0) == 0x80) ++length;
    std::uint32_t code = static_cast<unsigned char>(at[0]);
    if (code >= 0xF0) code &= 0x07;
    else if (code >= 0xE0) code &= 0x0F;
    else if (code >= 0xC0) code &= 0x1F;
    for (std::size_t i = 1; i < length; ++i) code = (code << 6) | (static_cast<unsigned char>(at[i]) & 0x3F);
    char hex[16];
    std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(code));
    return "'" + std::string(at, length) + "' (" + hex + ")";
}

// The text in code page `codePage`; `missing`, when a character has no
// place in it, gets its description and the conversion stops.
std::vector<std::uint8_t> toCodePage(const std::string& utf8, std::uint16_t codePage, std::string& missing) {
    bool ascii = true;
    for (unsigned char c : utf8) ascii = ascii && c < 0x80;
    if (ascii) return {utf8.begin(), utf8.end()};
    const std::uint16_t page = codePage ? codePage : 1252;
    std::string target = "CP" + std::to_string(page);
    iconv_t cd = iconv_open(target.c_str(), "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) cd = iconv_open("CP1252", "UTF-8");
    std::vector<std::uint8_t> out;
    std::string in = utf8;
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        // No converter at all: only ASCII is sure to be stored as given.
        for (; inLeft > 0 && static_cast<unsigned char>(*inPtr) < 0x80; ++inPtr, --inLeft)
            out.push_back(static_cast<std::uint8_t>(*inPtr));
        missing = "the character " + describeCharacter(inPtr, inLeft) + " is not in code page " + std::to_string(page);
        return out;
    }
    std::vector<char> buffer(in.size() * 2 + 8);
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        std::size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.insert(out.end(), buffer.data(), outPtr);
        if (r == static_cast<std::size_t>(-1) && (errno == EILSEQ || errno == EINVAL)) {
            missing = "the character " + describeCharacter(inPtr, inLeft) + " is not in code page " + std::to_string(page);
            break;
        }
    }
    iconv_close(cd);
    return out;
}

}  // namespace

std::vector<std::uint8_t> encodeText(const std::string& utf8, const format::JetFormat& format,
                                     std::uint16_t codePage) {
    if (format.unicodeText) {
        std::string ucs2 = storage::encodeUcs2(utf8);
        return {ucs2.begin(), ucs2.end()};
    }
    std::string missing;
    auto bytes = toCodePage(utf8, codePage, missing);
    if (!missing.empty()) throw Error(kErrDataTypeConversion, "Data type conversion error.", missing);
    return bytes;
}

std::string unstorableCharacter(const std::string& utf8, const format::JetFormat& format, std::uint16_t codePage) {
    if (format.unicodeText) return {};
    std::string missing;
    toCodePage(utf8, codePage, missing);
    return missing;
}

std::size_t characterCount(const std::string& utf8) {
    std::size_t n = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

}  // namespace jet::write
