// strux copy FILE [-o OUT] [--force]: the empty copy of a database, made by
// the same generator as the program's print mode "2".
#include "codegen/generate_structure.h"
#include "codegen/text_file.h"
#include "command.h"
#include "commands/arguments.h"
#include "commands/generation_source.h"
#include "commands/registry.h"
#include "jet/dao.h"

namespace cli {

namespace {

class CopyCommand : public Command {
public:
    std::string name() const override { return "copy"; }
    std::string summary() const override { return "make an empty copy of a database (structure, no rows)"; }
    std::string help() const override {
        return "usage: strux copy FILE [-o OUT] [--force]\n"
               "\n"
               "Creates a new database with FILE's tables, fields, indexes, queries and\n"
               "relations, and no rows. A Jet 3 database is copied as Jet 3; Jet 4 and\n"
               "Access 2007+ (.accdb) databases are copied as Jet 4 (.mdb format), so that\n"
               "every character of their names is kept. The copy is written beside FILE as\n"
               "\"Empty Copy of FILE\" and its path is printed.\n"
               "\n"
               "  -o OUT    write the copy to OUT instead\n"
               "  --force   replace an existing file at the copy's path; without it an\n"
               "            existing file is left alone and the command fails (status 2)\n"
               "\n"
               "What the copy cannot hold is named on stderr and the rest is copied: linked\n"
               "tables, fields of types a Jet 4 database has no column for (attachments,\n"
               "multi-valued fields) with their indexes, relations to tables not copied,\n"
               "pass-through queries (their text is for the server they connect to) and\n"
               "queries the engine refuses, with its reason.\n"
               "\n"
               "The copy is built under a hidden temporary name beside OUT\n"
               "(\".OUT.strux-XXXXXX\") and renamed to OUT only once it is whole: an\n"
               "interrupted or failed copy leaves OUT as it was, and a reader of an existing\n"
               "OUT keeps the file it has open. A temporary file that a killed run left is\n"
               "removed by a later run. OUT may not be a folder, a FIFO, a device or FILE\n"
               "itself (status 2).\n";
    }

    int execute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) override {
        const ParsedArguments parsed = parseArguments(args, {"-o"}, {"--force"});
        if (!parsed.problem.empty()) return usage(err, parsed.problem);
        const std::string& file = parsed.file;
        if (const int status = checkInput(name(), file, err); status != kExitOk) return status;
        const std::string output = parsed.values.count("-o") ? parsed.values.at("-o") : "";
        const bool force = parsed.flags.count("--force") > 0;

        GenerationSource opened(file);
        // The copy is made from the database as it was before the write the
        // waiting journal undoes: said, as the other commands say it.
        if (opened.db->JournalWaiting()) err << "strux copy: warning: " << opened.db->JournalNotice() << '\n';
        codegen::CodeRequest& request = opened.request;
        request.copyOut = output.empty() ? codegen::emptyCopyPath(request.sDbPath) : output;

        std::string mode = "COPY";
        codegen::QuietHost host(force);
        try {
            const auto files = codegen::GenerateStructure(mode, request, opened.source, host);
            for (const auto& item : files.copy.leftOut)
                err << "strux copy: not copied: " << item.kind << " \"" << item.name << "\": " << item.reason << '\n';
            out << files.copyPath << '\n';
            return kExitOk;
        } catch (const codegen::CopyDeclined& e) {
            err << "strux copy: " << e.path() << " exists; --force replaces it\n";
            return kExitIoError;
        } catch (const codegen::WriteError& e) {
            err << "strux copy: error " << e.number() << ": " << e.what() << '\n';
            return kExitIoError;
        } catch (const jet::Error& e) {
            err << "strux copy: error " << e.number() << ": " << e.what();
            if (!e.context().empty()) err << " (" << e.context() << ')';
            err << '\n';
            // A full disk or a copy that cannot be written is a failed output;
            // a structure the engine refuses is the engine's.
            const bool output = e.number() == jet::kErrDiskFull || e.number() == jet::kErrNoPermission ||
                                e.number() == jet::kErrDiskOrNetwork ||
                                e.context() == request.copyOut;
            return output ? kExitIoError : kExitEngineError;
        }
    }

private:
    int usage(std::ostream& err, const std::string& problem) {
        err << "strux copy: " << problem << "\n" << help();
        return kExitUsage;
    }
};

}  // namespace

std::unique_ptr<Command> makeCopyCommand() { return std::make_unique<CopyCommand>(); }

}  // namespace cli
