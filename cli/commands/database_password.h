// The database password of every command: "--password TEXT" or
// "--password-file FILE" (its first line) on the command line; without
// either, a file that needs a password is asked for one on the terminal,
// without echo, and when standard input is no terminal the command fails
// with 3031 and exit status 2.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "jet/error.h"

namespace cli {

// A command cannot go on for want of a password (or its file): exit status 2.
class PasswordProblem : public std::runtime_error {
public:
    explicit PasswordProblem(const std::string& message) : std::runtime_error(message) {}
};

// Takes the password options out of `args` (any position, "--password=X"
// too) and keeps them for openWithPassword() until the next call. Returns
// what is wrong with them ("--password needs a value"), empty when nothing.
std::string takePasswordOptions(std::vector<std::string>& args);

// The help lines of the password options, for every command's help.
const char* passwordHelp();

// The password given on the command line: the text, or the first line of
// the file. Throws PasswordProblem when the file cannot be read.
std::optional<std::string> givenPassword();

// Asks on the terminal; nullopt when standard input is not one.
std::optional<std::string> askPassword();

// Calls `open(password)` with the given password (empty when none); when it
// fails with 3031 and none was given, asks for one and tries once more, or
// throws PasswordProblem with the 3031 message when it cannot ask.
template <typename Open>
auto openWithPassword(Open open) -> decltype(open(std::string())) {
    const std::optional<std::string> given = givenPassword();
    try {
        return open(given.value_or(std::string()));
    } catch (const jet::Error& e) {
        if (e.number() != jet::kErrPassword || given) throw;
        const std::optional<std::string> typed = askPassword();
        if (!typed) throw PasswordProblem("error " + std::to_string(e.number()) + ": " + e.what());
        return open(*typed);
    }
}

// The connect string that carries `password` to OpenDatabase.
inline std::string connectFor(const std::string& password) { return password.empty() ? "" : ";PWD=" + password; }

}  // namespace cli
