// Bounds-checked little-endian reads over one buffer (a page, or a table
// definition gathered from several pages). Every read of a value that comes
// from the file goes through here: reading outside the buffer throws a
// damaged-database jet::Error naming the page and offset, instead of reading
// past the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace jet::format {

class ByteReader {
public:
    // `bytes` (and `file`) must outlive the reader. `pageNumber`, `what` and
    // `file` only serve to name the place in errors ("page 12 (data page)").
    ByteReader(std::span<const std::uint8_t> bytes, std::uint32_t pageNumber, std::string what = {},
               std::string_view file = {});

    std::size_t size() const { return bytes_.size(); }
    std::uint32_t pageNumber() const { return page_; }

    // Each throws jet::Error(3049) when [offset, offset + width) is not
    // inside the buffer.
    // The common reads are inline: a table definition is thousands of them,
    // and the check is one comparison when it passes.
    std::uint8_t u8(std::size_t offset) const {
        check(offset, 1);
        return bytes_[offset];
    }
    std::uint16_t u16(std::size_t offset) const {
        check(offset, 2);
        return static_cast<std::uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
    }
    std::uint32_t u24(std::size_t offset) const;
    std::uint32_t u32(std::size_t offset) const {
        check(offset, 4);
        return static_cast<std::uint32_t>(bytes_[offset]) | (static_cast<std::uint32_t>(bytes_[offset + 1]) << 8) |
               (static_cast<std::uint32_t>(bytes_[offset + 2]) << 16) |
               (static_cast<std::uint32_t>(bytes_[offset + 3]) << 24);
    }
    std::uint64_t u64(std::size_t offset) const;
    std::int16_t i16(std::size_t offset) const { return static_cast<std::int16_t>(u16(offset)); }
    std::int32_t i32(std::size_t offset) const { return static_cast<std::int32_t>(u32(offset)); }
    std::int64_t i64(std::size_t offset) const { return static_cast<std::int64_t>(u64(offset)); }
    float f32(std::size_t offset) const;
    double f64(std::size_t offset) const;

    // A sub-range; throws jet::Error(3049) when it leaves the buffer.
    std::span<const std::uint8_t> bytes(std::size_t offset, std::size_t length) const;

    // True when [offset, offset + length) lies inside the buffer.
    bool contains(std::size_t offset, std::size_t length) const {
        return offset <= bytes_.size() && length <= bytes_.size() - offset;
    }

    // Throws the damaged-database error for this buffer, with `detail` and
    // `offset` in its context.
    [[noreturn]] void fail(const std::string& detail, std::size_t offset) const;

private:
    void check(std::size_t offset, std::size_t length) const {
        if (!contains(offset, length)) failRead(offset, length);
    }
    [[noreturn]] void failRead(std::size_t offset, std::size_t length) const;

    std::span<const std::uint8_t> bytes_;
    std::uint32_t page_;
    std::string what_;
    std::string_view file_;
};

// Sequential reads over a ByteReader, for structures read field by field
// (table definitions). Positions are checked like ByteReader's.
class ByteCursor {
public:
    explicit ByteCursor(const ByteReader& reader, std::size_t position = 0)
        : reader_(reader), pos_(position) {}

    std::size_t position() const { return pos_; }
    void seek(std::size_t position) { pos_ = position; }
    void skip(std::size_t count);

    std::uint8_t u8() { return advance(reader_.u8(pos_), 1); }
    std::uint16_t u16() { return advance(reader_.u16(pos_), 2); }
    std::uint32_t u32() { return advance(reader_.u32(pos_), 4); }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    std::span<const std::uint8_t> bytes(std::size_t length);

    const ByteReader& reader() const { return reader_; }

private:
    template <typename T>
    T advance(T value, std::size_t width) {
        pos_ += width;
        return value;
    }

    const ByteReader& reader_;
    std::size_t pos_;
};

}  // namespace jet::format
