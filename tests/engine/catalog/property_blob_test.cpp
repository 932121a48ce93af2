#include "catalog/property_blob.h"

#include "blob_builder.h"

#include <gtest/gtest.h>

#include <cstring>

#include "jet/error.h"
#include "support/error_number.h"
#include "jet/types.h"

using jet::catalog::parsePropertyBlob;

using namespace blobtest;

namespace {

template <class T>
Bytes raw(T v) {
    Bytes b(sizeof(T));
    std::memcpy(b.data(), &v, sizeof(T));
    return b;
}

jet::catalog::PropertyBlob parse(const Bytes& b) { return parsePropertyBlob(b, nullptr); }

long errorNumberOf(const Bytes& b) {
    return testsupport::errorNumber<jet::Error>([&] { parse(b); });
}

}  // namespace

// The blobs Access wrote are read for every corpus file (Required and
// AllowZeroLength in the reference comparison, captions, formats and
// validation in Northwind); these are the value kinds and widths the corpus
// does not show. A fixed-size kind stored in another width stays bytes,
// except Integer, which Access also writes widened to four bytes.
TEST(PropertyBlob, EveryWidthOfEveryValueKind) {
    jet::Guid guid;
    for (std::size_t i = 0; i < 16; ++i) guid.bytes[i] = static_cast<std::uint8_t>(0xA0 + i);
    const Bytes guidBytes(guid.bytes.begin(), guid.bytes.end());
    const struct {
        int type;
        Bytes stored;
        jet::Value value;
    } cases[] = {
        {jet::dbBoolean, {0}, false},
        {jet::dbBoolean, {1, 0}, true},
        {jet::dbBoolean, {}, Bytes{}},
        {jet::dbByte, {7}, std::uint8_t{7}},
        {jet::dbByte, {7, 0}, Bytes{7, 0}},
        {jet::dbInteger, raw<std::int16_t>(-2), std::int16_t{-2}},
        {jet::dbInteger, raw<std::int32_t>(0x1234), std::int16_t{0x1234}},
        {jet::dbInteger, {1}, Bytes{1}},
        {jet::dbInteger, {1, 2, 3}, Bytes{1, 2, 3}},
        {jet::dbLong, raw<std::int32_t>(123456789), std::int32_t{123456789}},
        {jet::dbLong, {1, 2}, Bytes{1, 2}},
        {jet::dbCurrency, raw<std::int64_t>(25000), jet::Currency{25000}},
        {jet::dbCurrency, raw<std::int32_t>(1), raw<std::int32_t>(1)},
        {jet::dbSingle, raw<float>(0.5f), 0.5f},
        {jet::dbSingle, raw<double>(0.5), raw<double>(0.5)},
        {jet::dbDouble, raw<double>(2.25), 2.25},
        {jet::dbDouble, raw<float>(2.25f), raw<float>(2.25f)},
        {jet::dbDate, raw<double>(35000.5), jet::DateTime{35000.5}},
        {jet::dbDate, raw<float>(1), raw<float>(1)},
        {jet::dbBigInt, raw<std::int64_t>(-5), std::int64_t{-5}},
        {jet::dbBigInt, raw<std::int32_t>(-5), raw<std::int32_t>(-5)},
        {jet::dbGUID, guidBytes, guid},
        {jet::dbGUID, raw<double>(1), raw<double>(1)},
        {jet::dbLongBinary, {1, 2, 3}, Bytes{1, 2, 3}},
        {jet::dbText, stored("Unit", true), std::string("Unit")},
        {jet::dbMemo, {}, std::string()},
    };
    std::vector<std::string> names;
    std::vector<Entry> entries;
    for (const auto& c : cases) {
        entries.push_back({static_cast<int>(names.size()), c.type, c.stored});
        names.push_back("P" + std::to_string(names.size()));
    }
    const auto parsed = parse(BlobBuilder(true).names(names).block("Unit Price", entries, 1).bytes());
    const auto* block = parsed.block("Unit Price");
    ASSERT_NE(block, nullptr);
    ASSERT_EQ(block->properties.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(block->find(names[i])->value, cases[i].value) << "type " << cases[i].type << ", "
                                                                 << cases[i].stored.size() << " bytes";
        EXPECT_EQ(block->find(names[i])->type, cases[i].type);
    }
}

TEST(PropertyBlob, Jet4TextIsUcs2WithSurrogatesAndJet3UsesTheCodePageDecoder) {
    // "é" and U+1F600 as UTF-16LE
    Bytes text = {'a', 0, 0xE9, 0, 0x3D, 0xD8, 0x00, 0xDE};
    auto jet4 = parse(BlobBuilder(true).names({"Caption"}).block("", {{0, jet::dbText, text}}).bytes());
    EXPECT_EQ(std::get<std::string>(jet4.blocks[0].properties[0].value), "a\xC3\xA9\xF0\x9F\x98\x80");

    auto jet3Blob = BlobBuilder(false).names({"Caption"}).block("", {{0, jet::dbMemo, {'x', 0xE9}}}).bytes();
    int calls = 0;
    auto latin1 = [&](std::span<const std::uint8_t> b) {
        ++calls;
        std::string out;
        for (auto c : b) out += c < 0x80 ? std::string(1, static_cast<char>(c)) : std::string("\xC3\xA9");
        return out;
    };
    auto jet3 = parsePropertyBlob(jet3Blob, latin1);
    EXPECT_EQ(std::get<std::string>(jet3.blocks[0].properties[0].value), "x\xC3\xA9");
    EXPECT_EQ(calls, 3);  // the pool name, the block's (empty) name, the value
}

TEST(PropertyBlob, EmptyBlobHasNoBlocksAndUnknownChunksAreSkipped) {
    EXPECT_TRUE(parse({}).blocks.empty());
    auto blob = BlobBuilder(true).names({"Format"}).bytes();
    // A chunk of a kind that holds nothing DAO shows.
    Bytes other = {8, 0, 0, 0, 0x33, 0, 0xAA, 0xBB};
    blob.insert(blob.end(), other.begin(), other.end());
    auto withBlock = BlobBuilder(true).names({"Format"}).block("", {{0, jet::dbText, stored("0", true)}}).bytes();
    const std::size_t poolLength = withBlock[4] | (withBlock[5] << 8);
    blob.insert(blob.end(), withBlock.begin() + 4 + static_cast<std::ptrdiff_t>(poolLength), withBlock.end());
    auto parsed = parse(blob);
    ASSERT_EQ(parsed.blocks.size(), 1u);
    EXPECT_EQ(std::get<std::string>(parsed.blocks[0].find("Format")->value), "0");
}

TEST(PropertyBlob, DamageRaisesDaoErrorsNeverReadsBeyond) {
    EXPECT_EQ(errorNumberOf({'X', 'Y', 'Z', 0, 0, 0}), jet::kErrUnrecognizedFormat);
    EXPECT_EQ(errorNumberOf({'M', 'R'}), jet::kErrDamaged);

    const Bytes good =
        BlobBuilder(true).names({"A", "B"}).block("Col", {{1, jet::dbText, stored("value", true)}}, 1).bytes();
    ASSERT_EQ(errorNumberOf(good), 0);

    // Every truncation either parses (a cut at a chunk boundary) or raises 3049.
    for (std::size_t cut = 4; cut < good.size(); ++cut) {
        Bytes b(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut));
        long n = errorNumberOf(b);
        EXPECT_TRUE(n == 0 || n == jet::kErrDamaged) << "cut at " << cut;
    }
    // Every single-byte change to 0xFF as well.
    for (std::size_t at = 4; at < good.size(); ++at) {
        Bytes b = good;
        b[at] = 0xFF;
        long n = errorNumberOf(b);
        EXPECT_TRUE(n == 0 || n == jet::kErrDamaged) << "byte " << at;
    }
    // A name index past the pool.
    auto badIndex = BlobBuilder(true).names({"A"}).block("", {{5, jet::dbText, {}}}).bytes();
    EXPECT_EQ(errorNumberOf(badIndex), jet::kErrDamaged);
}
