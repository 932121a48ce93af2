// Text decoding: UCS-2 and its compressed form, surrogate pairs, damaged
// text, and single-byte code pages.
#include <gtest/gtest.h>
#include <iconv.h>

#include "storage/text_codec.h"

namespace {

using jet::storage::decodeCodePageText;
using jet::storage::decodeUcs2Text;
using Bytes = std::vector<std::uint8_t>;

TEST(TextCodec, CompressedTextAlternatesOneAndTwoByteRuns) {
    // "ab" one byte each, then "Жи" as UCS-2, then "c" one byte again.
    Bytes stored{0xFF, 0xFE, 'a', 'b', 0x00, 0x16, 0x04, 0x38, 0x04, 0x00, 'c'};
    EXPECT_EQ(decodeUcs2Text(stored), "ab\xD0\x96\xD0\xB8" "c");
    EXPECT_EQ(decodeUcs2Text(Bytes{0xFF, 0xFE}), "");
    EXPECT_EQ(decodeUcs2Text(Bytes{0xFF, 0xFE, 'x', 'y', 'z'}), "xyz");
}

TEST(TextCodec, PlainUcs2WithSurrogatePairs) {
    Bytes stored{'A', 0, 0x3D, 0xD8, 0x00, 0xDE, 'B', 0};  // A U+1F600 B
    EXPECT_EQ(decodeUcs2Text(stored), "A\xF0\x9F\x98\x80" "B");
    EXPECT_EQ(jet::storage::encodeUcs2("A\xF0\x9F\x98\x80" "B"),
              std::string(reinterpret_cast<const char*>(stored.data()), stored.size()));
}

TEST(TextCodec, DamagedUcs2StillDecodes) {
    EXPECT_EQ(decodeUcs2Text(Bytes{'A', 0, 'B'}), "A");  // odd trailing byte dropped
    EXPECT_EQ(decodeUcs2Text(Bytes{0x00, 0xDC, 'A', 0}), "\xEF\xBF\xBD" "A");  // lone low surrogate
    EXPECT_EQ(decodeUcs2Text(Bytes{0x3D, 0xD8, 'A', 0}), "\xEF\xBF\xBD" "A");  // lone high surrogate
    EXPECT_EQ(decodeUcs2Text(Bytes{0x3D, 0xD8}), "\xEF\xBF\xBD");
}

TEST(TextCodec, CodePagesThroughIconv) {
    EXPECT_EQ(decodeCodePageText(Bytes{'C', 'a', 'f', 0xE9, ' ', 0x80}, 1252), "Caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(decodeCodePageText(Bytes{0xCC, 0xE8, 0xF0}, 1251), "\xD0\x9C\xD0\xB8\xD1\x80");
    // Code page 1252 leaves 0x81 undefined; Windows passes it through.
    EXPECT_EQ(decodeCodePageText(Bytes{'a', 0x81, 'a'}, 1252), "a\xC2\x81" "a");
    // Zero means the default code page; an unknown one falls back to it.
    EXPECT_EQ(decodeCodePageText(Bytes{0xE9}, 0), "\xC3\xA9");
    EXPECT_EQ(decodeCodePageText(Bytes{0xE9}, 4242), "\xC3\xA9");
}

// Code page 1252 is decoded by a table of its own: each byte as iconv
// decodes it, or passed through where iconv has none.
TEST(TextCodec, CodePage1252TableAgreesWithIconv) {
    iconv_t cd = iconv_open("UTF-8", "CP1252");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    for (int b = 0x80; b <= 0xFF; ++b) {
        char in[1] = {static_cast<char>(b)}, out[8] = {};
        char* from = in;
        char* to = out;
        std::size_t inLeft = 1, outLeft = sizeof out;
        std::string expected;
        if (iconv(cd, &from, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1))
            expected.assign(out, to);
        else
            expected = {static_cast<char>(0xC0 | (b >> 6)), static_cast<char>(0x80 | (b & 0x3F))};
        EXPECT_EQ(decodeCodePageText(Bytes{static_cast<std::uint8_t>(b)}, 1252), expected) << b;
    }
    iconv_close(cd);
}

}  // namespace
