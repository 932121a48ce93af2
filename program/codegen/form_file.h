// The outline form that goes with a project-style module: a Visual Basic 5
// form file asking for the new database's name and folder, which then calls
// the module's CreateBase. Its text does not depend on the database; only
// the date line varies.
#pragma once

#include <string>
#include <vector>

namespace codegen {

inline constexpr const char* kFormFileName = "CreateVBForm.frm";

// The 147 lines of the form file; `created` is the date and time text of
// its "'Form created " line.
std::vector<std::string> formLines(const std::string& created);

// "CreateVBForm.frm" in the database's folder: `sDbPath` up to and with its
// last path separator ("\" or "/"), or the bare name when it has none.
std::string formFilePath(const std::string& sDbPath);

// Writes the form file at `formPath`, replacing an earlier one; every line
// ends with CR LF. Throws WriteError.
void CreateVBForm(const std::string& formPath, const std::string& created);

}  // namespace codegen
