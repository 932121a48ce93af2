// Which names Jet accepts for tables, fields and indexes, and which field
// types this engine writes.
#pragma once

#include <string>

#include "jet/error.h"

namespace jet {

inline constexpr std::size_t kMaxObjectNameLength = 64;  // characters

// 1 to 64 characters, not starting with a space, none of . ! ` [ ] and no
// control characters.
bool isValidObjectName(const std::string& name);
// DAO's 3125 for `name`.
Error invalidNameError(const std::string& name);
// Field.Type codes a table in a Jet 3 or Jet 4 file can hold.
bool isWritableFieldType(int type);

}  // namespace jet
