// strux verify FILE: the file's inner consistency (indexes against rows,
// usage maps against pages, the catalog), as jet::verifyDatabase checks it.
#include "command.h"
#include "commands/database_password.h"
#include "commands/registry.h"
#include "jet/error.h"
#include "jet/verify.h"

namespace cli {

namespace {

class VerifyCommand : public Command {
public:
    std::string name() const override { return "verify"; }
    std::string summary() const override { return "check a database's indexes, usage maps and catalog"; }
    std::string help() const override {
        return "usage: strux verify FILE\n"
               "\n"
               "Checks that every index holds exactly the table's rows, in order and with the\n"
               "key bytes their values give; that index pages are linked and marked in their\n"
               "usage maps; that no page in use is marked free and no table page with rows is\n"
               "missing from its table's map; and that the catalog's names and ids are unique\n"
               "and each table's definition page is one. Nothing is written.\n"
               "\n"
               "Prints one line per finding. Lines starting 'note:' name checks that could be\n"
               "made only in part; they do not count as faults.\n"
               "\n"
               "Exit status: 0 no faults, 1 faults found (listed), 2 the file could not be\n"
               "read or the command line is wrong.\n";
    }

    int execute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) override {
        if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
            err << "usage: strux verify FILE\n";
            return kExitUsage;
        }
        if (const int status = checkInput(name(), args[0], err); status != kExitOk) return status;
        std::vector<jet::VerifyFinding> findings;
        try {
            findings = openWithPassword([&](const std::string& password) { return jet::verifyDatabase(args[0], password); });
        } catch (const jet::Error& e) {
            err << "strux verify: error " << e.number() << ": " << e.what();
            if (!e.context().empty()) err << " (" << e.context() << ")";
            err << '\n';
            return kExitUnreadable;
        }
        std::size_t faults = 0;
        for (const auto& f : findings) {
            out << jet::describeFinding(f) << '\n';
            if (f.isFault()) ++faults;
        }
        if (faults == 0) {
            out << args[0] << ": no faults found\n";
            return kExitOk;
        }
        out << args[0] << ": " << faults << (faults == 1 ? " fault" : " faults") << " found\n";
        return kExitFaults;
    }

private:
    static constexpr int kExitFaults = 1;
    static constexpr int kExitUnreadable = 2;
};

}  // namespace

std::unique_ptr<Command> makeVerifyCommand() { return std::make_unique<VerifyCommand>(); }

}  // namespace cli
