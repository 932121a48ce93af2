#include "write/text_encoder.h"

#include <cerrno>
#include <iconv.h>

#include "storage/text_codec.h"

namespace jet::write {
namespace {

std::vector<std::uint8_t> toCodePage(const std::string& utf8, std::uint16_t codePage) {
    bool ascii = true;
    for (unsigned char c : utf8) ascii = ascii && c < 0x80;
    if (ascii) return {utf8.begin(), utf8.end()};
    std::string target = "CP" + std::to_string(codePage ? codePage : 1252);
    iconv_t cd = iconv_open(target.c_str(), "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) cd = iconv_open("CP1252", "UTF-8");
    std::vector<std::uint8_t> out;
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        for (unsigned char c : utf8) out.push_back(c < 0x80 ? c : '?');
        return out;
    }
    std::string in = utf8;
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    std::vector<char> buffer(in.size() * 2 + 8);
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        std::size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.insert(out.end(), buffer.data(), outPtr);
        if (r == static_cast<std::size_t>(-1) && (errno == EILSEQ || errno == EINVAL)) {
            // Skip the one UTF-8 character the code page lacks.
            out.push_back('?');
            do {
                ++inPtr;
                --inLeft;
            } while (inLeft > 0 && (static_cast<unsigned char>(*inPtr) & 0xC0) == 0x80);
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
    return toCodePage(utf8, codePage);
}

std::size_t characterCount(const std::string& utf8) {
    std::size_t n = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

}  // namespace jet::write
