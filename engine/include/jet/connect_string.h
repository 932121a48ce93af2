// DAO's connect strings: "<type>;KEY=value;KEY=value", the type empty (or
// "MS Access") for a Jet database, as in ";PWD=secret" or
// ";DATABASE=C:\Data\Back.mdb".
#pragma once

#include <string>
#include <string_view>

namespace jet {

// The value of the first part "KEY=value" whose key is `key` in any letter
// case; empty when there is none.
std::string connectValue(std::string_view connect, std::string_view key);

}  // namespace jet
