// The system's single-byte code page of the "A" registry calls. Names and
// texts reach the registry as Windows-1252 bytes, as on the 32-bit Windows
// the program was designed for; the rest of the system speaks UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace win32 {

// UTF-8 to Windows-1252. A character the code page cannot hold becomes "?",
// as Windows' default character does; malformed UTF-8 bytes become "?" too.
std::string Utf8ToAnsi(std::string_view utf8);

// Windows-1252 to UTF-8. Every byte has a character (the five bytes the code
// page leaves undefined map to the C1 controls of the same number, as
// Windows does), so AnsiToUtf8 followed by Utf8ToAnsi gives back the bytes.
std::string AnsiToUtf8(std::string_view ansi);

// Registry names compare without regard to case: both sides folded to upper
// case, for ASCII and the Latin letters of the code page.
char AnsiUpper(char c);
bool AnsiEqualNoCase(std::string_view a, std::string_view b);
std::string AnsiUpperCase(std::string_view s);

}  // namespace win32
