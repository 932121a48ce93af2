// Page allocation and the map of free pages on page 1 (row 0): an inline
// map from page 0 in which a set bit means free. The map grows with the
// file as Access grows it; docs/jet-writing.md#free-page-map.
#pragma once

#include <cstdint>

#include "write/page_store.h"

namespace jet::write {

// A new page at the end of the file, cleared in the map of free pages.
// Throws 3049 when page 1 is damaged, 3026 when no map can reach the page.
std::uint32_t allocatePage(PageStore& store);

}  // namespace jet::write
