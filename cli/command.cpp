#include "command.h"

#include "commands/database_password.h"
#include "commands/registry.h"
#include "jet/error.h"

namespace cli {

std::vector<std::unique_ptr<Command>> allCommands() {
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(makeDumpCommand());
    commands.push_back(makeVbCommand());
    commands.push_back(makeReportCommand());
    commands.push_back(makeVerifyCommand());
    commands.push_back(makeCopyCommand());
    return commands;
}

namespace {

void writeOverview(std::ostream& out) {
    out << "usage: strux COMMAND [OPTIONS] FILE\n"
           "\n"
           "Reads Microsoft Access / Jet databases (.mdb, .accdb).\n"
           "\n"
           "Commands:\n";
    for (const auto& command : allCommands())
        out << "  " << command->name() << std::string(10 - std::min<std::size_t>(9, command->name().size()), ' ')
            << command->summary() << '\n';
    out << "\nOptions of every command:" << passwordHelp();
    out << "\n'strux COMMAND --help' describes a command.\n";
}

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        writeOverview(err);
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        writeOverview(out);
        return kExitOk;
    }
    for (auto& command : allCommands()) {
        if (command->name() != args[0]) continue;
        std::vector<std::string> rest(args.begin() + 1, args.end());
        for (const auto& arg : rest) {
            if (arg == "--help" || arg == "-h") {
                out << command->help() << passwordHelp();
                return kExitOk;
            }
        }
        try {
            // Every command opens a database: the password options are
            // everyone's, taken here once.
            if (const std::string problem = takePasswordOptions(rest); !problem.empty())
                throw PasswordProblem(problem);
            return command->execute(rest, out, err);
        } catch (const PasswordProblem& e) {
            err << "strux " << command->name() << ": " << e.what() << '\n';
            return kExitUsage;
        } catch (const jet::Error& e) {
            err << "strux " << command->name() << ": error " << e.number() << ": " << e.what() << '\n';
            return kExitEngineError;
        }
    }
    err << "strux: unknown command '" << args[0] << "'\n\n";
    writeOverview(err);
    return kExitUsage;
}

}  // namespace cli
