// Index keys of text: the General sort order of Jet 3 (by the code page's
// characters) and of Jet 4 (by UTF-16 code units). Layout:
// docs/jet-writing.md#index-keys.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace jet::write {

// Whether a database's text keys are in an order this encoder writes: the
// General order of Jet 3 and of Jet 4 before its 2010 revision (sort order
// 0x0409, or none stored, version 0). Writing rows or definitions into any
// other database would leave its indexes out of order.
inline bool encodesSortOrder(std::uint16_t sortOrder, std::uint16_t sortOrderVersion) {
    return (sortOrder == 0x0409 || sortOrder == 0) && sortOrderVersion == 0;
}

// Appends the key bytes of `text` (after the column's flag byte). Returns
// false when a Jet 3 text holds a character the code page's order does not
// place (it is written with a stand-in code: the entry sorts near, not
// exactly where Jet would put it). Every Jet 4 character has its code.
bool appendTextKey(std::vector<std::uint8_t>& key, const std::string& text, bool jet3, bool ascending);

// Two texts in the order of their ascending keys: <0, 0 or >0.
int compareTextKeys(const std::string& a, const std::string& b, bool jet3);

}  // namespace jet::write
