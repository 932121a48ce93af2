#include "catalog/name_order.h"

namespace jet::catalog {
namespace {

// Rank of one byte in the General sort order, as far as the catalog needs it.
int rank(unsigned char c) {
    if (c >= 'a' && c <= 'z') return 0x300 + (c - 'a');
    if (c >= 'A' && c <= 'Z') return 0x300 + (c - 'A');
    if (c >= '0' && c <= '9') return 0x200 + (c - '0');
    if (c >= 0x80) return 0x400 + c;  // letters beyond ASCII come after ASCII ones
    return 0x100 + c;                 // blanks and punctuation first, in code order
}

}  // namespace

bool catalogNameLess(std::string_view a, std::string_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        int x = rank(static_cast<unsigned char>(a[i])), y = rank(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

}  // namespace jet::catalog
