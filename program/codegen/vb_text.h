// Pieces of Visual Basic 5 source text shared by the module and form writers.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace codegen {

// VB 5 refuses a source line longer than this many characters.
inline constexpr std::size_t kMaxVbLineLength = 1023;

// A string expression holding `text` (UTF-8): a literal between quotation
// marks, each quotation mark inside doubled so that the literal ends where
// it should. VB reads a source file in the code page of the Windows it runs
// on, so only printable ASCII and tabs are written as they are; any other
// character becomes ChrW$(&H...) joined to the literals with "&" (a
// character beyond U+FFFF as its two surrogates), and the name arrives
// exactly, whatever the reader's code page. Pure ASCII text gives the plain
// literal.
std::string vbQuoted(const std::string& text);

// Whether `text` is written as it stands (printable ASCII and tabs only).
bool isPlainText(const std::string& text);

// "True" or "False", as VB prints a Boolean.
std::string vbBool(bool value);

// A query's SQL on one line: every CR LF becomes one blank and the result
// is trimmed of blanks at both ends. A CR or LF standing alone would end
// the generated line in the middle of its string literal, so it becomes a
// blank as well.
std::string flattenSql(const std::string& sql);

// Whether `name` can stand between square brackets ("DB![name]"): VB ends a
// bracketed name at its first "]", and a name that needs ChrW$ cannot be
// written there at all.
bool fitsInBrackets(const std::string& name);

// The statements that build `text` in the string variable `variable`, each
// line at most `maxLength` characters: `variable = "..."` and then
// `variable = variable & "..."`, each right side written as vbQuoted writes
// it. Pieces are cut between characters, never inside a doubled quotation
// mark or a ChrW$.
std::vector<std::string> buildStringVariable(const std::string& variable, const std::string& text,
                                             std::size_t maxLength = kMaxVbLineLength);

}  // namespace codegen
