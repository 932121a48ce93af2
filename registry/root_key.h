// The root key of a clsRegistry object, which callers set as any Variant, as
// the 32-bit handle the registry calls take, and its name for messages.
#pragma once

#include <string>

#include "registry/win32_registry.h"
#include "vb/variant.h"

namespace cvregistry {

// The handle a root Variant stands for: any whole number from -2^31 to
// 2^32 - 1, taken as its 32 bits, so that both the Long &H80000002 and the
// number 2147483650 name HKEY_LOCAL_MACHINE. Anything else gives handle 0,
// which every registry call refuses as an invalid handle.
win32::HKEY RootHandle(const vb::Variant& root);

// "HKEY_LOCAL_MACHINE" and the other predefined roots' names; "" otherwise.
std::string RootKeyName(const vb::Variant& root);

}  // namespace cvregistry
