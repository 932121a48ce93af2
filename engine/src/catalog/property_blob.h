// Stored properties of catalog objects. Access keeps the properties that
// DAO shows for a table, its columns, a query or the database itself
// (Description, Caption, Format, DefaultValue, Required, ...) in one binary
// blob per object: MSysObjects.LvProp. The blob begins with "KKD\0" (Jet 3,
// text in the database's code page) or "MR2\0" (Jet 4 and ACE, UCS-2), then
// holds chunks: one pool of property names, and one block of typed values
// per named item (the object itself under the empty name, then its columns).
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "jet/value.h"

namespace jet::catalog {

struct StoredProperty {
    std::string name;
    int type = 0;        // a DAO field type code (dbBoolean, dbText, ...)
    bool ddl = false;    // set through DDL (the engine enforces or owns it)
    Value value;         // decoded by type; Bytes for a type not decoded
};

struct PropertyBlock {
    std::string objectName;  // "" for the object itself, else a column's name
    std::vector<StoredProperty> properties;

    // The property of that name (case-insensitive), or nullptr.
    const StoredProperty* find(std::string_view name) const;
};

struct PropertyBlob {
    std::vector<PropertyBlock> blocks;

    // The block of that item (case-insensitive; "" = the object itself), or
    // nullptr when the blob has none.
    const PropertyBlock* block(std::string_view objectName) const;
};

// Turns single-byte text of a Jet 3 blob into UTF-8 (the database's code page).
using TextDecoder = std::function<std::string(std::span<const std::uint8_t>)>;

// Parses one blob. An empty blob gives no blocks. Throws jet::Error 3049 when
// a length in the blob points outside it or a name index outside the pool,
// and 3343 when the blob starts with neither signature.
PropertyBlob parsePropertyBlob(std::span<const std::uint8_t> blob, const TextDecoder& decodeSingleByte);

}  // namespace jet::catalog
