// strux schema FILE --dialect D [-o OUT]: the structure as an SQL script
// for SQLite, PostgreSQL or MySQL/MariaDB, or as Jet SQL DDL.
#include <filesystem>

#include "command.h"
#include "commands/arguments.h"
#include "commands/database_password.h"
#include "commands/registry.h"
#include "files/replacement_file.h"
#include "jet/dao.h"
#include "schema/access_script.h"
#include "schema/schema_script.h"

namespace cli {

namespace {

class SchemaCommand : public Command {
public:
    std::string name() const override { return "schema"; }
    std::string summary() const override { return "write the structure as SQL for Access (Jet DDL), SQLite, PostgreSQL or MySQL"; }
    std::string help() const override {
        return "usage: strux schema FILE --dialect access|sqlite|postgres|mysql [-o OUT]\n"
               "\n"
               "Writes an SQL script that creates FILE's structure in another database:\n"
               "CREATE TABLE with each field's type, size, NOT NULL and default (where the\n"
               "target holds it), AutoNumbers as the target's counters, the primary key,\n"
               "CREATE INDEX for every other index (unique, several fields, descending),\n"
               "a foreign key for every enforced relation with its cascades, and a view for\n"
               "every saved select query the target can read as written. What the target\n"
               "cannot hold (a linked table, an attachment field, a default or validation\n"
               "rule in Access functions, a query using Access's functions, # dates or\n"
               "wildcards) is named in a comment where it would stand; nothing is\n"
               "translated by guess. Names are quoted for the target.\n"
               "\n"
               "The access dialect is Jet SQL that Database.Execute runs, one statement per\n"
               "Execute (each ends with \";\" at the end of its line): CREATE TABLE, CREATE\n"
               "INDEX for every index (WITH PRIMARY, DISALLOW NULL or IGNORE NULL), ALTER\n"
               "TABLE ... ADD CONSTRAINT ... FOREIGN KEY for every enforced relation (with\n"
               "its cascades in Jet 4). Names are in brackets. What DDL cannot say (defaults,\n"
               "validation, descriptions, relations not enforced) is named on a line\n"
               "\"-- not in DDL: WHERE: WHAT\"; saved queries stand in comments holding the\n"
               "SQL that CreateQueryDef takes.\n"
               "\n"
               "  --dialect D   access, sqlite, postgres (postgresql) or mysql (mariadb)\n"
               "  -o OUT        write the script to OUT, whole or not at all (not over\n"
               "                FILE, a folder, a FIFO or a device: status 2); without it\n"
               "                the script goes to standard output\n";
    }

    int execute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) override {
        const ParsedArguments parsed = parseArguments(args, {"--dialect", "-o"});
        if (!parsed.problem.empty()) return usage(err, parsed.problem);
        if (!parsed.values.count("--dialect")) return usage(err, "--dialect is needed");
        const bool access = parsed.values.at("--dialect") == "access";
        const auto dialect = schema::dialectNamed(parsed.values.at("--dialect"));
        if (!dialect && !access) return usage(err, "no dialect '" + parsed.values.at("--dialect") + "'");
        const std::string& file = parsed.file;
        if (const int status = checkInput(name(), file, err); status != kExitOk) return status;
        const std::string output = parsed.values.count("-o") ? parsed.values.at("-o") : "";
        if (!output.empty()) {
            std::string why = files::notARegularFile(output);
            if (files::sameFile(output, file)) why = "is the database being read";
            if (!why.empty()) {
                err << "strux schema: " << output << " " << why << "; the script is not written there\n";
                return kExitIoError;
            }
        }

        auto db = openWithPassword([&](const std::string& password) {
            return jet::DBEngine().OpenDatabase(file, false, true, connectFor(password));
        });
        if (db->JournalWaiting()) err << "strux schema: warning: " << db->JournalNotice() << '\n';
        const std::string title = std::filesystem::path(file).filename().string();
        const std::string script = access ? schema::accessScript(*db, title) : schema::schemaScript(*db, *dialect, title);
        if (output.empty()) {
            out << script;
            return kExitOk;
        }
        try {
            files::ReplacementFile target(output, {file});
            target.write(script);
            target.commit();
        } catch (const std::exception& e) {
            err << "strux schema: could not write " << output << ": " << e.what() << '\n';
            return kExitIoError;
        }
        return kExitOk;
    }

private:
    int usage(std::ostream& err, const std::string& problem) const {
        err << "strux schema: " << problem << "\n" << help();
        return kExitUsage;
    }
};

}  // namespace

std::unique_ptr<Command> makeSchemaCommand() { return std::make_unique<SchemaCommand>(); }

}  // namespace cli
