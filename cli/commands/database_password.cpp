#include "commands/database_password.h"

#include <fstream>
#include <iostream>
#include <termios.h>
#include <unistd.h>

namespace cli {
namespace {

struct GivenOptions {
    std::optional<std::string> text;
    std::optional<std::string> file;
};

GivenOptions& given() {
    static GivenOptions options;
    return options;
}

}  // namespace

std::string takePasswordOptions(std::vector<std::string>& args) {
    given() = {};
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool isFile = arg == "--password-file" || arg.rfind("--password-file=", 0) == 0;
        const bool isText = arg == "--password" || arg.rfind("--password=", 0) == 0;
        if (!isFile && !isText) {
            rest.push_back(arg);
            continue;
        }
        const std::string option = isFile ? "--password-file" : "--password";
        std::optional<std::string>& slot = isFile ? given().file : given().text;
        if (arg == option) {
            if (i + 1 == args.size()) return option + " needs a value";
            slot = args[++i];
        } else {
            slot = arg.substr(option.size() + 1);
        }
    }
    if (given().text && given().file) return "--password and --password-file exclude each other";
    args = std::move(rest);
    return {};
}

const char* passwordHelp() {
    return "\n"
           "  --password TEXT       the database password (a protected .mdb, an encrypted\n"
           "                        .accdb)\n"
           "  --password-file FILE  the password from the first line of FILE\n"
           "                        Without either, a file that needs a password asks for it\n"
           "                        on the terminal; when standard input is not a terminal\n"
           "                        the command fails with error 3031 (exit status 2).\n";
}

std::optional<std::string> givenPassword() {
    if (given().text) return given().text;
    if (!given().file) return std::nullopt;
    std::ifstream in(*given().file);
    std::string line;
    if (!in || (!std::getline(in, line) && !in.eof()))
        throw PasswordProblem("cannot read the password file " + *given().file);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

std::optional<std::string> askPassword() {
    if (!::isatty(STDIN_FILENO)) return std::nullopt;
    termios saved{};
    if (::tcgetattr(STDIN_FILENO, &saved) != 0) return std::nullopt;
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    std::cerr << "Enter database password: " << std::flush;
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    std::string line;
    std::getline(std::cin, line);
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::cerr << '\n';
    return line;
}

}  // namespace cli
