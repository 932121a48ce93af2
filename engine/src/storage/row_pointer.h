// A reference to one row slot: page number in the upper 24 bits, slot index
// in the low 8 (docs/jet-format.md#row-pointers). Usage maps, long values,
// overflow rows and index entries all refer to rows this way.
#pragma once

#include <cstdint>

namespace jet::storage {

struct RowPointer {
    std::uint32_t page = 0;
    std::uint8_t row = 0;

    static RowPointer fromStored(std::uint32_t stored) {
        return RowPointer{stored >> 8, static_cast<std::uint8_t>(stored & 0xFF)};
    }
    std::uint32_t stored() const { return (page << 8) | row; }
    bool isNull() const { return page == 0 && row == 0; }
    bool operator==(const RowPointer&) const = default;
};

}  // namespace jet::storage
