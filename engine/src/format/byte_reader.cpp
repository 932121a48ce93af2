#include "format/byte_reader.h"

#include <bit>
#include <cstring>

#include "format/format_errors.h"

namespace jet::format {

ByteReader::ByteReader(std::span<const std::uint8_t> bytes, std::uint32_t pageNumber, std::string what,
                       std::string_view file)
    : bytes_(bytes), page_(pageNumber), what_(std::move(what)), file_(file) {}

void ByteReader::failRead(std::size_t offset, std::size_t length) const {
    fail("read of " + std::to_string(length) + " bytes past the end (" + std::to_string(bytes_.size()) + ")",
         offset);
}

void ByteReader::fail(const std::string& detail, std::size_t offset) const {
    std::string where = "page " + std::to_string(page_);
    if (!what_.empty()) where += " (" + what_ + ")";
    where += " offset " + std::to_string(offset) + ": " + detail;
    throw damagedDatabase(std::string(file_), where);
}

std::uint32_t ByteReader::u24(std::size_t offset) const {
    check(offset, 3);
    return static_cast<std::uint32_t>(bytes_[offset]) | (static_cast<std::uint32_t>(bytes_[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes_[offset + 2]) << 16);
}

std::uint64_t ByteReader::u64(std::size_t offset) const {
    check(offset, 8);
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | bytes_[offset + i];
    return v;
}

float ByteReader::f32(std::size_t offset) const { return std::bit_cast<float>(u32(offset)); }

double ByteReader::f64(std::size_t offset) const { return std::bit_cast<double>(u64(offset)); }

std::span<const std::uint8_t> ByteReader::bytes(std::size_t offset, std::size_t length) const {
    check(offset, length);
    return bytes_.subspan(offset, length);
}

void ByteCursor::skip(std::size_t count) {
    if (!reader_.contains(pos_, count)) reader_.fail("skip past the end", pos_);
    pos_ += count;
}

std::span<const std::uint8_t> ByteCursor::bytes(std::size_t length) {
    auto out = reader_.bytes(pos_, length);
    pos_ += length;
    return out;
}

}  // namespace jet::format
