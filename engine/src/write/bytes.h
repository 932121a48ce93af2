// Little-endian stores into page and row buffers.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "jet/error.h"

namespace jet::write {

// Reads and stores past the end of `b` are refused rather than made: the
// offsets often come from the file, and a damaged one must not reach
// memory beyond the page.
[[noreturn]] inline void outsideBuffer(std::size_t at, std::size_t size) {
    throw Error(kErrDamaged, "The database has been damaged. Repair it before use.",
                "offset " + std::to_string(at) + " outside a " + std::to_string(size) + "-byte buffer");
}

inline void put16(std::span<std::uint8_t> b, std::size_t at, std::uint16_t v) {
    if (at > b.size() || b.size() - at < 2) outsideBuffer(at, b.size());
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void put32(std::span<std::uint8_t> b, std::size_t at, std::uint32_t v) {
    if (at > b.size() || b.size() - at < 4) outsideBuffer(at, b.size());
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline std::uint16_t get16(std::span<const std::uint8_t> b, std::size_t at) {
    if (at > b.size() || b.size() - at < 2) outsideBuffer(at, b.size());
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
inline std::uint32_t get32(std::span<const std::uint8_t> b, std::size_t at) {
    if (at > b.size() || b.size() - at < 4) outsideBuffer(at, b.size());
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

// Appending little-endian values to a growing buffer.
class ByteWriter {
public:
    void u8(std::uint8_t v) { bytes_.push_back(v); }
    void u16(std::uint16_t v) { u8(static_cast<std::uint8_t>(v)); u8(static_cast<std::uint8_t>(v >> 8)); }
    void u32(std::uint32_t v) { for (int i = 0; i < 4; ++i) u8(static_cast<std::uint8_t>(v >> (8 * i))); }
    void fill(std::size_t n, std::uint8_t v = 0) { bytes_.insert(bytes_.end(), n, v); }
    void append(std::span<const std::uint8_t> b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }
    std::size_t size() const { return bytes_.size(); }
    std::vector<std::uint8_t>& bytes() { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace jet::write
