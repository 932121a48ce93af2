// The text clean-ups behind cvTextFix. Blanks are spaces only, as VB's Trim
// sees them; letters are changed in Unicode (texts are UTF-8).
#pragma once

#include <string>

namespace subs {

std::string upperCase(const std::string& text);
std::string lowerCase(const std::string& text);
// The first letter of every word upper case, the rest unchanged; words are
// separated by white space.
std::string properCase(const std::string& text);
// Leading and trailing spaces removed.
std::string trimBlanks(const std::string& text);
// Every run of two or more spaces made one.
std::string collapseBlankRuns(const std::string& text);
// Each `find` replaced by `replacement`, left to right; the search goes on
// behind each replacement, so a replacement holding `find` stays as it is.
// An empty `find` replaces nothing.
std::string replaceEach(const std::string& text, const std::string& find, const std::string& replacement);

}  // namespace subs
