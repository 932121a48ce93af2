// strux vb FILE [--style standalone|project|project-noform] [-o OUT.bas]:
// the Visual Basic 5 module that recreates a database's structure, written
// by the same generator as the program's code print modes.
#include "codegen/generate_structure.h"
#include "codegen/text_file.h"
#include "command.h"
#include "commands/arguments.h"
#include "commands/generation_source.h"
#include "commands/registry.h"
#include "jet/dao.h"

namespace cli {

namespace {

struct Style {
    const char* option;
    const char* modeWord;
    bool noFormFile;
};

constexpr Style kStyles[] = {
    {"standalone", "VBFILE", false},
    {"project", "VBFILE2", false},
    {"project-noform", "VBFILE2", true},
};

class VbCommand : public Command {
public:
    std::string name() const override { return "vb"; }
    std::string summary() const override { return "write Visual Basic 5 code that recreates the structure"; }
    std::string help() const override {
        return "usage: strux vb FILE [--style standalone|project|project-noform] [-o OUT.bas]\n"
               "\n"
               "Writes a Visual Basic 5 module whose procedures create the database's listed\n"
               "tables, indexes, queries and relations through DAO. The module is written\n"
               "beside the database, named after it with the extension .bas, replacing an\n"
               "earlier one.\n"
               "\n"
               "  --style standalone      a module with Sub Main (the default)\n"
               "  --style project         a module for a project, and the outline form\n"
               "                          CreateVBForm.frm beside the module\n"
               "  --style project-noform  the project module without the form\n"
               "  -o OUT.bas              write the module to OUT.bas instead\n"
               "\n"
               "What DAO 3.5 cannot create (calculated fields, fields of types a Jet 3\n"
               "database has no column for, with their indexes, relations to tables not\n"
               "created) stands in the module as a comment where it would be created, and\n"
               "is named on stderr. Linked tables are linked to their source, and\n"
               "pass-through queries get their connection before their text.\n"
               "\n"
               "Each file replaces an earlier one only once it is written whole; a path that\n"
               "is a folder, a FIFO, a device or the database itself is refused (status 2).\n";
    }

    int execute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) override {
        const ParsedArguments parsed = parseArguments(args, {"--style", "-o"});
        if (!parsed.problem.empty()) return usage(err, parsed.problem);
        const Style* style = &kStyles[0];
        if (const auto given = parsed.values.find("--style"); given != parsed.values.end()) {
            style = nullptr;
            for (const auto& known : kStyles)
                if (given->second == known.option) style = &known;
            if (!style) return usage(err, "unknown style " + given->second);
        }
        const std::string& file = parsed.file;
        if (const int status = checkInput(name(), file, err); status != kExitOk) return status;
        const std::string output = parsed.values.count("-o") ? parsed.values.at("-o") : "";

        GenerationSource opened(file);
        if (opened.db->JournalWaiting()) err << "strux vb: warning: " << opened.db->JournalNotice() << '\n';
        codegen::CodeRequest& request = opened.request;
        request.bNoFormFile = style->noFormFile;
        request.moduleOut = output;

        std::string mode = style->modeWord;
        codegen::QuietHost host;
        try {
            const auto files = codegen::GenerateStructure(mode, request, opened.source, host);
            for (const auto& item : files.notCreated)
                err << "strux vb: not created: " << item.kind << " \"" << item.name << "\": " << item.reason << '\n';
            if (!files.formPath.empty()) out << files.formPath << '\n';
            out << files.modulePath << '\n';
        } catch (const codegen::WriteError& e) {
            err << "strux vb: error " << e.number() << ": " << e.what() << '\n';
            return kExitIoError;
        }
        return kExitOk;
    }

private:
    int usage(std::ostream& err, const std::string& problem) {
        err << "strux vb: " << problem << "\n" << help();
        return kExitUsage;
    }
};

}  // namespace

std::unique_ptr<Command> makeVbCommand() { return std::make_unique<VbCommand>(); }

}  // namespace cli
