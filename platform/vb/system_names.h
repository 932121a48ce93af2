// The user's and the computer's names, with the contract of the Win32 calls
// the common routines were written against: the name is copied into the
// caller's buffer with a terminating NUL, *size is the buffer's size on entry
// and the number of characters copied (NUL included) on return. When the
// buffer is too small nothing is copied, *size tells the size needed, and the
// result is false.
#pragma once

#include <cstdint>

namespace vb {

// The login name of the effective user (the password database, else $USER).
bool GetUserNameA(char* buffer, uint32_t* size);
// The host name of the machine.
bool GetComputerNameA(char* buffer, uint32_t* size);

}  // namespace vb
