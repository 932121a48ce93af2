// strux diff A B: the structural difference of two databases, as lines or
// JSON, with the exit status a script or a CI job can test.
#include <sstream>

#include "command.h"
#include "commands/database_password.h"
#include "commands/registry.h"
#include "diff/diff_output.h"
#include "diff/structure_diff.h"
#include "jet/dao.h"

namespace cli {

namespace {

class DiffCommand : public Command {
public:
    std::string name() const override { return "diff"; }
    std::string summary() const override { return "compare the structures of two databases"; }
    std::string help() const override {
        return "usage: strux diff [--json] [--ignore-case] [--no-queries] [--no-system]\n"
               "                  [--ignore ordinal] A B\n"
               "\n"
               "Prints what differs between the structures of databases A and B (of any\n"
               "formats), one line per difference with its path, as\n"
               "  table Orders / field ShipDate: type Date/Time -> Text(20)\n"
               "  table Archive: added\n"
               "Compared: the database's version, collating order and code page; tables;\n"
               "fields (type and size, required, zero length, attributes, default value,\n"
               "validation rule and text, description, ordinal position); indexes (members\n"
               "and their order, primary, unique, required, ignore nulls); relations (tables,\n"
               "field pairs, attributes); saved queries (type, parameters, SQL). Objects are\n"
               "paired by name, as Jet pairs them: without regard to case. Rows are not\n"
               "compared.\n"
               "\n"
               "  --json             the differences as JSON, for programs\n"
               "  --ignore-case      names and texts differing only in case count as equal\n"
               "  --no-queries       leave out the saved queries\n"
               "  --no-system        leave out system tables, their relations and the hidden\n"
               "                     \"~\" queries\n"
               "  --ignore ordinal   leave out the fields' ordinal positions\n"
               "\n"
               "Exit status: 0 the structures are equal, 1 they differ, 2 a database could\n"
               "not be read, the command line is wrong or the output could not be written.\n";
    }

    int execute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) override {
        diff::DiffOptions options;
        bool json = false;
        std::vector<std::string> files;
        for (std::size_t i = 0; i < args.size(); ++i) {
            const std::string& arg = args[i];
            if (arg == "--json") json = true;
            else if (arg == "--ignore-case") options.ignoreCase = true;
            else if (arg == "--no-queries") options.queries = false;
            else if (arg == "--no-system") options.system = false;
            else if (arg == "--ignore" || arg.rfind("--ignore=", 0) == 0) {
                std::string what;
                if (arg == "--ignore") {
                    if (i + 1 == args.size()) return usage(err, "--ignore needs a value");
                    what = args[++i];
                } else {
                    what = arg.substr(9);
                }
                if (what != "ordinal") return usage(err, "--ignore takes 'ordinal', not '" + what + "'");
                options.ordinal = false;
            } else if (!arg.empty() && arg[0] == '-') return usage(err, "unknown option " + arg);
            else files.push_back(arg);
        }
        if (files.size() != 2) return usage(err, "two databases to compare, A and B");
        for (const auto& file : files)
            if (const int status = checkInput(name(), file, err); status != kExitOk) return status;

        try {
            auto a = open(files[0], err);
            auto b = open(files[1], err);
            const std::vector<diff::Difference> differences = diff::compareStructures(*a, *b, options);
            // The whole text first, so that a failure part-way prints nothing.
            std::ostringstream text;
            if (json) diff::writeDifferencesJson(files[0], files[1], differences, text);
            else diff::writeDifferencesText(differences, text);
            out << text.str();
            return differences.empty() ? kExitEqual : kExitDifferent;
        } catch (const jet::Error& e) {
            // 1 means "they differ": a database that cannot be read is 2.
            err << "strux diff: error " << e.number() << ": " << e.what();
            if (!e.context().empty()) err << " (" << e.context() << ')';
            err << '\n';
            return kExitUnreadable;
        }
    }

private:
    static constexpr int kExitEqual = 0;
    static constexpr int kExitDifferent = 1;
    static constexpr int kExitUnreadable = 2;

    static std::shared_ptr<jet::Database> open(const std::string& file, std::ostream& err) {
        std::shared_ptr<jet::Database> db = openWithPassword([&](const std::string& password) {
            return jet::DBEngine().OpenDatabase(file, false, true, connectFor(password));
        });
        if (db->JournalWaiting()) err << "strux diff: warning: " << db->JournalNotice() << '\n';
        return db;
    }

    int usage(std::ostream& err, const std::string& problem) const {
        err << "strux diff: " << problem << "\n" << help();
        return kExitUsage;
    }
};

}  // namespace

std::unique_ptr<Command> makeDiffCommand() { return std::make_unique<DiffCommand>(); }

}  // namespace cli
