// Stored properties (MSysObjects.LvProp) to bytes: the blob the catalog
// reader parses (catalog/property_blob.h), signature, name pool, then one
// block for the object and one per column that has properties.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalog/property_blob.h"
#include "format/jet_format.h"

namespace jet::write {

// The blob for `blob`'s blocks; empty when no block holds a property.
// Supported value kinds: Boolean, Byte, Integer, Long, Double, Date, Text,
// Memo, Binary.
std::vector<std::uint8_t> encodePropertyBlob(const catalog::PropertyBlob& blob, const format::JetFormat& format,
                                             std::uint16_t codePage);

}  // namespace jet::write
