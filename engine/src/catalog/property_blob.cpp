#include "catalog/property_blob.h"

#include <cstring>

#include "catalog/utf16_text.h"
#include "jet/collection.h"
#include "jet/error.h"
#include "jet/types.h"

namespace jet::catalog {
namespace {

constexpr std::uint16_t kChunkNames = 0x80;
constexpr std::size_t kChunkHeaderSize = 6;   // length (4) + chunk type (2)
constexpr std::size_t kEntryHeaderSize = 8;   // length, ddl flag, type, name index, value length

[[noreturn]] void damaged(const char* what) {
    throw Error(kErrDamaged, "The database has been damaged. Repair it before use.",
                std::string("property blob: ") + what);
}

class BlobReader {
public:
    explicit BlobReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::uint16_t u16(std::size_t at) const {
        need(at, 2);
        return static_cast<std::uint16_t>(bytes_[at] | (bytes_[at + 1] << 8));
    }
    std::uint32_t u32(std::size_t at) const {
        need(at, 4);
        return static_cast<std::uint32_t>(bytes_[at]) | (static_cast<std::uint32_t>(bytes_[at + 1]) << 8) |
               (static_cast<std::uint32_t>(bytes_[at + 2]) << 16) |
               (static_cast<std::uint32_t>(bytes_[at + 3]) << 24);
    }
    std::uint8_t u8(std::size_t at) const {
        need(at, 1);
        return bytes_[at];
    }
    std::span<const std::uint8_t> slice(std::size_t at, std::size_t length) const {
        need(at, length);
        return bytes_.subspan(at, length);
    }
    std::size_t size() const { return bytes_.size(); }

private:
    void need(std::size_t at, std::size_t length) const {
        if (at > bytes_.size() || length > bytes_.size() - at) damaged("length beyond the end");
    }
    std::span<const std::uint8_t> bytes_;
};

template <class T>
T readLittleEndian(std::span<const std::uint8_t> bytes) {
    // Stored little-endian, as every host we build for is.
    T value{};
    std::memcpy(&value, bytes.data(), sizeof(T));
    return value;
}

struct Decoder {
    bool unicode;
    const TextDecoder& singleByte;

    std::string text(std::span<const std::uint8_t> bytes) const {
        if (unicode) return utf16leToUtf8(bytes);
        if (singleByte) return singleByte(bytes);
        return std::string(bytes.begin(), bytes.end());
    }

    // Fixed-size kinds whose stored size does not match are kept as bytes:
    // the blob stays readable and the caller sees the raw value.
    Value value(int type, std::span<const std::uint8_t> data) const {
        switch (type) {
        case dbBoolean:
            if (data.size() >= 1) return data[0] != 0;
            break;
        case dbByte:
            if (data.size() == 1) return data[0];
            break;
        case dbInteger:
            // Access writes Integer properties in two bytes or, widened, in four.
            if (data.size() == 2 || data.size() == 4) return readLittleEndian<std::int16_t>(data.first(2));
            break;
        case dbLong:
            if (data.size() == 4) return readLittleEndian<std::int32_t>(data);
            break;
        case dbCurrency:
            if (data.size() == 8) return Currency{readLittleEndian<std::int64_t>(data)};
            break;
        case dbSingle:
            if (data.size() == 4) return readLittleEndian<float>(data);
            break;
        case dbDouble:
            if (data.size() == 8) return readLittleEndian<double>(data);
            break;
        case dbDate:
            if (data.size() == 8) return DateTime{readLittleEndian<double>(data)};
            break;
        case dbBigInt:
            if (data.size() == 8) return readLittleEndian<std::int64_t>(data);
            break;
        case dbGUID:
            if (data.size() == 16) {
                Guid g;
                for (std::size_t i = 0; i < 16; ++i) g.bytes[i] = data[i];
                return g;
            }
            break;
        case dbText:
        case dbMemo:
            return text(data);
        default:
            break;
        }
        return Bytes(data.begin(), data.end());
    }
};

std::vector<std::string> readNamePool(const BlobReader& r, std::size_t begin, std::size_t end, const Decoder& d) {
    std::vector<std::string> names;
    std::size_t at = begin;
    while (at + 2 <= end) {
        std::size_t length = r.u16(at);
        at += 2;
        if (length > end - at) damaged("name beyond its chunk");
        names.push_back(d.text(r.slice(at, length)));
        at += length;
    }
    return names;
}

PropertyBlock readValueBlock(const BlobReader& r, std::size_t begin, std::size_t end,
                             const std::vector<std::string>& names, const Decoder& d) {
    PropertyBlock block;
    // The block opens with its own header: its length, then the item's name.
    std::size_t headerLength = r.u32(begin);
    if (headerLength < 6 || headerLength > end - begin) damaged("block header length");
    std::size_t nameLength = r.u16(begin + 4);
    if (nameLength > headerLength - 6) damaged("block name length");
    block.objectName = d.text(r.slice(begin + 6, nameLength));

    std::size_t at = begin + headerLength;
    while (at + kEntryHeaderSize <= end) {
        std::size_t entryLength = r.u16(at);
        if (entryLength < kEntryHeaderSize || entryLength > end - at) damaged("entry length");
        StoredProperty property;
        property.ddl = r.u8(at + 2) != 0;
        property.type = r.u8(at + 3);
        std::size_t nameIndex = r.u16(at + 4);
        std::size_t valueLength = r.u16(at + 6);
        if (valueLength > entryLength - kEntryHeaderSize) damaged("value length");
        if (nameIndex >= names.size()) damaged("name index");
        property.name = names[nameIndex];
        property.value = d.value(property.type, r.slice(at + kEntryHeaderSize, valueLength));
        block.properties.push_back(std::move(property));
        at += entryLength;
    }
    return block;
}

}  // namespace

const StoredProperty* PropertyBlock::find(std::string_view name) const {
    for (const auto& p : properties)
        if (namesEqual(p.name, name)) return &p;
    return nullptr;
}

const PropertyBlock* PropertyBlob::block(std::string_view objectName) const {
    for (const auto& b : blocks)
        if (namesEqual(b.objectName, objectName)) return &b;
    return nullptr;
}

PropertyBlob parsePropertyBlob(std::span<const std::uint8_t> blob, const TextDecoder& decodeSingleByte) {
    PropertyBlob result;
    if (blob.empty()) return result;
    if (blob.size() < 4) damaged("too short");
    bool unicode;
    if (std::memcmp(blob.data(), "MR2\0", 4) == 0) unicode = true;
    else if (std::memcmp(blob.data(), "KKD\0", 4) == 0) unicode = false;
    else throw Error(kErrUnrecognizedFormat, "Unrecognized database format.", "property blob signature");

    Decoder decoder{unicode, decodeSingleByte};
    BlobReader r(blob);
    std::vector<std::string> names;
    std::size_t at = 4;
    while (at + kChunkHeaderSize <= r.size()) {
        std::size_t length = r.u32(at);
        if (length < kChunkHeaderSize || length > r.size() - at) damaged("chunk length");
        std::uint16_t type = r.u16(at + 4);
        std::size_t begin = at + kChunkHeaderSize, end = at + length;
        if (type == kChunkNames) names = readNamePool(r, begin, end, decoder);
        else if (type <= 2) result.blocks.push_back(readValueBlock(r, begin, end, names, decoder));
        // Other chunk kinds carry nothing DAO shows.
        at = end;
    }
    return result;
}

}  // namespace jet::catalog
