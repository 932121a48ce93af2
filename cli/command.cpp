#include "command.h"

#include <unistd.h>

#include <cerrno>
#include <iostream>

#include "commands/database_password.h"
#include <cstring>

#include "commands/registry.h"
#include "files/replacement_file.h"
#include "output_buffer.h"
#include "pdf/pdf_printer.h"
#include "jet/database.h"
#include "jet/error.h"

namespace cli {

std::vector<std::unique_ptr<Command>> allCommands() {
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(makeDumpCommand());
    commands.push_back(makeVbCommand());
    commands.push_back(makeReportCommand());
    commands.push_back(makeVerifyCommand());
    commands.push_back(makeCopyCommand());
    commands.push_back(makeDiffCommand());
    commands.push_back(makeSchemaCommand());
    return commands;
}

int checkInput(const std::string& command, const std::string& file, std::ostream& err) {
    const std::string why = files::notARegularFile(file);
    if (why.empty()) return kExitOk;
    err << "strux " << command << ": " << file << " " << why << ", not a database file\n";
    return kExitUsage;
}

namespace {

// Set by runProgram(): the process ends when the command returns.
bool exitsAfterCommand = false;

// What the command printed must have reached standard output: a full disk
// or a closed pipe is a failure, not a success.
int outputWritten(const std::string& command, int status, std::ostream& out, std::ostream& err) {
    out.flush();
    if (out) return status;
    const auto* buffer = dynamic_cast<const DescriptorBuffer*>(out.rdbuf());
    const int error = buffer ? buffer->error() : 0;
    err << "strux " << command << ": could not write standard output";
    if (error) err << ": " << std::strerror(error);
    err << '\n';
    return kExitIoError;
}

void writeOverview(std::ostream& out) {
    out << "usage: strux COMMAND [OPTIONS] FILE (diff: A B)\n"
           "\n"
           "Reads Microsoft Access / Jet databases (.mdb, .accdb).\n"
           "\n"
           "Commands:\n";
    for (const auto& command : allCommands())
        out << "  " << command->name() << std::string(10 - std::min<std::size_t>(9, command->name().size()), ' ')
            << command->summary() << '\n';
    out << "\nOptions of every command:" << passwordHelp();
    out << "\n'strux COMMAND --help' describes a command.\n"
           "\n"
           "Files are written whole: under a hidden temporary name beside the target,\n"
           "renamed over it when complete. Exit status: 0 success; 1 the engine refused\n"
           "the database (for diff: the structures differ; for verify: faults found);\n"
           "2 a bad command line, a FILE that is a folder, FIFO or device, or an output\n"
           "(standard output or a file) that could not be written or is a folder, FIFO,\n"
           "device or the database itself (for diff and verify also a database that\n"
           "cannot be read).\n";
}

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        writeOverview(err);
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        writeOverview(out);
        return outputWritten("--help", kExitOk, out, err);
    }
    for (auto& command : allCommands()) {
        if (command->name() != args[0]) continue;
        std::vector<std::string> rest(args.begin() + 1, args.end());
        for (const auto& arg : rest) {
            if (arg == "--help" || arg == "-h") {
                out << command->help() << passwordHelp();
                return outputWritten(command->name(), kExitOk, out, err);
            }
        }
        int status = kExitEngineError;
        try {
            // Every command opens a database: the password options are
            // everyone's, taken here once.
            if (const std::string problem = takePasswordOptions(rest); !problem.empty())
                throw PasswordProblem(problem);
            status = command->execute(rest, out, err);
        } catch (const PasswordProblem& e) {
            err << "strux " << command->name() << ": " << e.what() << '\n';
            status = kExitUsage;
        } catch (const jet::Error& e) {
            err << "strux " << command->name() << ": error " << e.number() << ": " << e.what() << '\n';
        }
        return outputWritten(command->name(), status, out, err);
    }
    err << "strux: unknown command '" << args[0] << "'\n\n";
    writeOverview(err);
    return kExitUsage;
}

void keepUntilExit(std::shared_ptr<jet::Database> database) {
    if (!exitsAfterCommand) return;
    // Reachable from a static until the end, so that no leak checker
    // counts it.
    static auto* kept = new std::vector<std::shared_ptr<jet::Database>>();
    kept->push_back(std::move(database));
}

std::filesystem::path programFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || !self.has_parent_path()) return std::filesystem::current_path();
    const std::filesystem::path folder = self.parent_path();
    if (folder.filename() == "strux32" && folder.parent_path().filename() == "lib")
        return folder.parent_path().parent_path() / "bin";
    return folder;
}

int runProgram(int argc, char** argv) {
    rememberCommandLine(argc, argv);
    exitsAfterCommand = true;
    std::vector<std::string> args(argv + 1, argv + argc);
    DescriptorBuffer buffer(STDOUT_FILENO);
    std::ostream out(&buffer);
    int status = run(args, out, std::cerr);
    // A file system may report a failed write only when the file is closed:
    // success means the bytes were taken.
    if (out.flush() && ::close(STDOUT_FILENO) != 0 && errno != EBADF && errno != EINTR) {
        std::cerr << "strux: could not write standard output: " << std::strerror(errno) << '\n';
        status = kExitIoError;
    }
    return status;
}

}  // namespace cli
