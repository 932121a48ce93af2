// The pieces of the common error handler that need no window: the message
// text, the button group of a message-box style and the mapping of the
// pressed button to the caller's results.
#pragma once

#include <cstdint>
#include <string>

namespace subs {

// The contact sentence used when the caller gives none.
extern const char* const kDefaultContact;
// The maker's support line, added below a message without the caller's contact.
extern const char* const kSupportLine;
// Added after the clipboard copy, so the clipboard holds the message alone.
extern const char* const kStoredInClipboard;

// The message for an error in an area, with its closing line breaks (and the
// support line when sContact is empty), as it goes to the clipboard.
std::string errorMessageText(int32_t errorNumber, int32_t areaNumber, const std::string& areaText,
                             const std::string& contact);

// A message-box style reduced to its button group (0 OK ... 5 Retry/Cancel)
// by taking away the known flag values, largest first; unknown flags are
// left in, giving a group of 6 or more.
int32_t buttonGroup(int32_t style);

// The caller's result for the pressed button within a button group; the
// user's error number when the group has no mapping.
int16_t resultForButton(int32_t group, int pressed, int16_t b1, int16_t b2, int16_t b3, int16_t userErrNum);

// VB's CInt of a 32-bit error number: RuntimeError 6 when it does not fit.
int16_t toErrorInteger(int32_t errorNumber);

}  // namespace subs
