#include "write/property_blob_writer.h"

#include <cstring>

#include "jet/collection.h"
#include "jet/error.h"
#include "jet/types.h"
#include "write/bytes.h"
#include "write/text_encoder.h"

namespace jet::write {
namespace {

constexpr std::uint16_t kChunkNames = 0x80;
constexpr std::uint16_t kChunkObject = 0x00;   // the object's own properties
constexpr std::uint16_t kChunkColumn = 0x01;   // a column's properties

template <class T>
std::vector<std::uint8_t> raw(T v) {
    std::vector<std::uint8_t> out(sizeof(T));
    std::memcpy(out.data(), &v, sizeof(T));
    return out;
}

std::vector<std::uint8_t> valueBytes(const catalog::StoredProperty& p, const format::JetFormat& format,
                                     std::uint16_t codePage) {
    const Value& v = p.value;
    switch (p.type) {
    case dbBoolean: return {static_cast<std::uint8_t>(std::get_if<bool>(&v) && *std::get_if<bool>(&v) ? 1 : 0)};
    case dbByte: return {std::get_if<std::uint8_t>(&v) ? *std::get_if<std::uint8_t>(&v) : std::uint8_t{0}};
    case dbInteger: return raw(std::get_if<std::int16_t>(&v) ? *std::get_if<std::int16_t>(&v) : std::int16_t{0});
    case dbLong: return raw(std::get_if<std::int32_t>(&v) ? *std::get_if<std::int32_t>(&v) : std::int32_t{0});
    case dbDouble: return raw(std::get_if<double>(&v) ? *std::get_if<double>(&v) : 0.0);
    case dbDate: return raw(std::get_if<DateTime>(&v) ? std::get_if<DateTime>(&v)->days : 0.0);
    case dbText:
    case dbMemo: return encodeText(std::get_if<std::string>(&v) ? *std::get_if<std::string>(&v) : valueToString(v), format, codePage);
    default:
        if (auto* b = std::get_if<Bytes>(&v)) return *b;
        throw Error(kErrInvalidArgument, "Invalid argument.", "property '" + p.name + "'");
    }
}

}  // namespace

std::vector<std::uint8_t> encodePropertyBlob(const catalog::PropertyBlob& blob, const format::JetFormat& format,
                                             std::uint16_t codePage) {
    std::vector<std::string> names;
    auto nameIndex = [&](const std::string& name) {
        for (std::size_t i = 0; i < names.size(); ++i)
            if (namesEqual(names[i], name)) return static_cast<std::uint16_t>(i);
        names.push_back(name);
        return static_cast<std::uint16_t>(names.size() - 1);
    };
    std::vector<std::vector<std::uint8_t>> blocks;
    for (const auto& block : blob.blocks) {
        if (block.properties.empty()) continue;
        ByteWriter b;
        auto objectName = encodeText(block.objectName, format, codePage);
        b.u32(0);  // chunk length, set below
        b.u16(block.objectName.empty() ? kChunkObject : kChunkColumn);
        b.u32(static_cast<std::uint32_t>(6 + objectName.size()));
        b.u16(static_cast<std::uint16_t>(objectName.size()));
        b.append(objectName);
        for (const auto& p : block.properties) {
            auto value = valueBytes(p, format, codePage);
            b.u16(static_cast<std::uint16_t>(8 + value.size()));
            b.u8(p.ddl ? 1 : 0);
            b.u8(static_cast<std::uint8_t>(p.type));
            b.u16(nameIndex(p.name));
            b.u16(static_cast<std::uint16_t>(value.size()));
            b.append(value);
        }
        put32(b.bytes(), 0, static_cast<std::uint32_t>(b.size()));
        blocks.push_back(std::move(b.bytes()));
    }
    if (blocks.empty()) return {};
    ByteWriter out;
    const char* signature = format.unicodeText ? "MR2" : "KKD";
    out.append(std::span(reinterpret_cast<const std::uint8_t*>(signature), 4));
    ByteWriter pool;
    for (const auto& n : names) {
        auto bytes = encodeText(n, format, codePage);
        pool.u16(static_cast<std::uint16_t>(bytes.size()));
        pool.append(bytes);
    }
    out.u32(static_cast<std::uint32_t>(6 + pool.size()));
    out.u16(kChunkNames);
    out.append(pool.bytes());
    for (const auto& b : blocks) out.append(b);
    return out.bytes();
}

}  // namespace jet::write
