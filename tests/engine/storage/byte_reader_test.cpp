// Bounds-checked reads: values in little-endian order, and a damaged-file
// error naming the page and offset for every read past the end.
#include <gtest/gtest.h>

#include "crypto/primitives.h"
#include "format/byte_reader.h"
#include "format/database_header.h"
#include "jet/error.h"

namespace {

using jet::format::ByteCursor;
using jet::format::ByteReader;

const std::vector<std::uint8_t> kBytes{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x00, 0x00, 0x80, 0x3F};

TEST(ByteReader, ReadsLittleEndianValues) {
    ByteReader in(kBytes, 7);
    EXPECT_EQ(in.u8(0), 0x01);
    EXPECT_EQ(in.u16(0), 0x0201);
    EXPECT_EQ(in.u24(1), 0x040302u);
    EXPECT_EQ(in.u32(0), 0x04030201u);
    EXPECT_EQ(in.u64(0), 0x0807060504030201ull);
    EXPECT_EQ(in.f32(8), 1.0f);
    EXPECT_EQ(in.i16(6), 0x0807);
}

TEST(ByteReader, ReadsPastTheEndThrowDamageNamingPageAndOffset) {
    ByteReader in(kBytes, 7, "data page", "db.mdb");
    try {
        in.u32(10);
        FAIL() << "read past the end";
    } catch (const jet::Error& e) {
        EXPECT_EQ(e.number(), jet::kErrDamaged);
        EXPECT_NE(e.context().find("page 7 (data page) offset 10"), std::string::npos) << e.context();
        EXPECT_NE(std::string(e.what()).find("db.mdb"), std::string::npos);
    }
    EXPECT_THROW(in.u8(12), jet::Error);
    EXPECT_THROW(in.bytes(4, 9), jet::Error);
    EXPECT_THROW(in.bytes(SIZE_MAX, 2), jet::Error);  // no wrap-around
    EXPECT_FALSE(in.contains(SIZE_MAX - 1, 4));
    EXPECT_TRUE(in.contains(12, 0));
    EXPECT_EQ(in.bytes(12, 0).size(), 0u);
}

TEST(ByteReader, CursorAdvancesAndStopsAtTheEnd) {
    ByteReader in(kBytes, 0);
    ByteCursor at(in);
    EXPECT_EQ(at.u16(), 0x0201);
    EXPECT_EQ(at.u8(), 0x03);
    at.skip(5);
    EXPECT_EQ(at.position(), 8u);
    EXPECT_EQ(at.u32(), 0x3F800000u);
    EXPECT_THROW(at.u8(), jet::Error);
    EXPECT_THROW(at.skip(1), jet::Error);
}

TEST(HeaderMask, Rc4MatchesAPublishedTestVector) {
    // RC4 with key "Key" over "Plaintext" gives BBF316E8D940AF0AD3.
    std::vector<std::uint8_t> key{'K', 'e', 'y'};
    std::vector<std::uint8_t> data{'P', 'l', 'a', 'i', 'n', 't', 'e', 'x', 't'};
    jet::crypto::rc4(key, data);
    EXPECT_EQ(data, (std::vector<std::uint8_t>{0xBB, 0xF3, 0x16, 0xE8, 0xD9, 0x40, 0xAF, 0x0A, 0xD3}));
}

}  // namespace
