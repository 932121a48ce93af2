// The commands of `strux`. Each command is one class; the dispatcher finds
// it by name and the help text comes from the same list, so a command that
// exists is always documented.
#pragma once

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace jet {
class Database;
}

namespace cli {

// Exit statuses shared by every command.
enum ExitStatus : int {
    kExitOk = 0,
    kExitEngineError = 1,  // the engine refused: DAO number and text on stderr
    kExitUsage = 2,        // bad command line, or a FILE that is no file (folder, FIFO, device)
    kExitIoError = 2,      // standard output or an output file could not be written, or was refused
};

class Command {
public:
    virtual ~Command() = default;
    virtual std::string name() const = 0;
    // One line for the command list of `strux --help`.
    virtual std::string summary() const = 0;
    // The whole help of `strux COMMAND --help`: usage line, options.
    virtual std::string help() const = 0;
    // Runs with the arguments after the command's name.
    virtual int execute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) = 0;
};

std::vector<std::unique_ptr<Command>> allCommands();

// The input FILE of `command`: a folder, FIFO or device is refused at once
// (opening a FIFO would wait for a writer for ever) with the reason on
// `err`. Returns kExitOk or kExitUsage.
int checkInput(const std::string& command, const std::string& file, std::ostream& err);

// Runs a whole command line (without the program name) in-process; the
// executable and the tests both come through here.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The folder of the strux being run, whose places (stx32ps.def, the
// delivered files) a command uses. strux-pdf, to which strux hands PDF
// reports, stands in <prefix>/lib/strux32 once installed and serves the
// strux in <prefix>/bin: its folder is that one.
std::filesystem::path programFolder();

// A command that only reads hands its database here once it has written
// its output. Under runProgram() the process ends right after, and the
// operating system takes the memory back at once: destroying the object
// model of a database of thousands of tables freed some hundred thousand
// blocks one by one, a sixth of the command's time. Run in-process (the
// tests) the database is destroyed as usual. Its file is closed, and its
// lock released, when the process ends.
void keepUntilExit(std::shared_ptr<jet::Database> database);

// The whole program: runs argv's command with standard output behind a
// buffer whose failed writes (a full disk, /dev/full) make the status 2.
int runProgram(int argc, char** argv);

}  // namespace cli
