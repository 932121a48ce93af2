// Finding the system information program, and turning registry data into
// the text the about box works with.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace viewer {

// Reads one registry value as text: (root, key, value name, text out) ->
// found.
using KeyValueReader =
    std::function<bool(std::uint32_t root, const std::string& key, const std::string& name, std::string& value)>;

// The program to start for system information: the path named by the first
// key's PATH value as it stands, else MSINFO32.EXE in the folder named by
// the second key when that file exists; nullopt when there is none.
std::optional<std::string> sysInfoProgram(const KeyValueReader& getKeyValue,
                                          const std::function<bool(const std::string&)>& fileExists);

// The text of registry data of type REG_SZ (cut at the reported size, one
// final zero dropped) or REG_DWORD (the little-endian 32-bit value as a
// signed decimal number); nullopt for other types or short data.
std::optional<std::string> registryValueText(std::uint32_t type, const std::vector<std::uint8_t>& data);

}  // namespace viewer
