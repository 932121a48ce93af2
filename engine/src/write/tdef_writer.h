// Table definitions to bytes and onto TDEF pages (with continuation pages
// when a definition outgrows one page). Layout: docs/jet-format.md#tdef;
// the values this writer picks for fields the reader ignores:
// docs/jet-writing.md#tdef.
#pragma once

#include <cstdint>
#include <vector>

#include "storage/table_definition.h"
#include "write/page_store.h"

namespace jet::write {

// The definition as one buffer, starting with the 8 bytes of the first
// page's header. `codePage` is the Jet 3 text code page.
std::vector<std::uint8_t> encodeTableDefinition(const storage::TableDefinition& def,
                                                const format::JetFormat& format, std::uint16_t codePage);

// Writes `def` on `firstPage` and as many continuation pages as it needs:
// the pages of the chain it had before are reused in order, further pages
// are allocated. Returns the pages of the chain.
std::vector<std::uint32_t> writeTableDefinition(PageStore& store, std::uint32_t firstPage,
                                                const storage::TableDefinition& def, std::uint16_t codePage);

}  // namespace jet::write
