// strux report FILE [options]: the structure report the program prints, here
// without windows: as text on standard output or as a PDF file.
#include <algorithm>
#include <filesystem>
#include <sstream>

#include "command.h"
#include "commands/database_password.h"
#include "files/replacement_file.h"
#include "commands/registry.h"
#include "docs/structure_document.h"
#include "jet/dao.h"
#include "printer/printers.h"
#include "printer/text_printer_device.h"
#include "printing/report_engine.h"
#include "userdata/settings_folder.h"

#include "pdf/pdf_printer.h"

namespace cli {

namespace {

namespace fs = std::filesystem;

// Where stx32ps.def is kept: beside this program, or for an installed copy
// in the user's data folder, which the user's program shares.
fs::path printDefaultsFolder() {
    return userdata::settingsFolderFor(programFolder(), printing::kPrintDefaultsFileName);
}

struct ReportOptions {
    std::string file;
    std::string pdf;  // -o
    bool text = false;
    printing::ReportSelection selection;
    std::vector<std::string> tables;  // --tables, as given
    std::string html;      // --html DIR
    std::string markdown;  // --markdown FILE
};

// The report without a progress window: nothing to show and nobody to cancel.
class QuietMonitor : public printing::ReportMonitor {};

class ReportCommand : public Command {
public:
    std::string name() const override { return "report"; }
    std::string summary() const override { return "print the structure report (text, PDF) or document it (Markdown, HTML)"; }
    std::string help() const override {
        return "usage: strux report FILE [-o OUT.pdf | --text] [--no-indexes] [--no-fields]\n"
               "                    [--no-queries] [--no-relations] [--page-per-item] [--details]\n"
               "                    [--tables NAME...]\n"
               "       strux report FILE --markdown OUT.md | --html DIR\n"
               "\n"
               "Prints the paged structure report of a database: the table summary, the index\n"
               "and field listings of each table, then every query and every relation. The\n"
               "layout (font and tab columns) comes from stx32ps.def beside this program;\n"
               "an installed copy keeps it in $XDG_DATA_HOME/strux32 (~/.local/share/strux32).\n"
               "\n"
               "  -o OUT.pdf        write the report as a PDF file (never over the database,\n"
               "                    a folder, a FIFO or a device: status 2)\n"
               "  --text            print the report's pages as text on standard output\n"
               "                    (without -o or --text: a PDF beside the database)\n"
               "  --no-indexes      leave out the index listings\n"
               "  --no-fields       leave out the field listings\n"
               "  --no-queries      leave out the query sections\n"
               "  --no-relations    leave out the relation sections\n"
               "  --page-per-item   start every table, query and relation on a new page\n"
               "  --details         decode the field attribute values\n"
               "  --tables NAME...  only these tables, without the table summary\n"
               "\n"
               "  --markdown OUT.md the structure as documentation in Markdown: a table of\n"
               "                    contents, the database's properties, a section per table\n"
               "                    (fields with all their properties and descriptions,\n"
               "                    indexes, relations in and out), per query (its SQL and\n"
               "                    the tables it reads) and per relation, linked together\n"
               "  --html DIR        the same as one static page, DIR/index.html (no scripts,\n"
               "                    opens without a server); DIR is made when missing\n"
               "                    Both are the same bytes for the same database, to be\n"
               "                    kept in version control; both may be given at once.\n";
    }

    int execute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) override {
        ReportOptions options;
        if (const int status = parse(args, options, err); status != kExitOk) return status;
        if (const int status = checkInput(name(), options.file, err); status != kExitOk) return status;
        if (!options.html.empty() || !options.markdown.empty()) return writeDocuments(options, err);
        if (const int status = checkPdfPath(options, err); status != kExitOk) return status;
        if (!options.text && !pdfPrinterFactory()) {
            // Before the database is opened, so that a password is asked once.
            handOverToPdfProgram(err);
            return kExitUsage;
        }

        jet::DBEngine engine;
        // Opened as the program opens a database, shared and for writing (the
        // report writes nothing), so that tables say they are updatable just
        // as they do in the program; a file we may not write to opens read-only
        // and its tables say so. A report never undoes a write that was cut
        // short: it looks read-only first, and where a journal waits it
        // reports the database read-only, as it was before that write.
        std::string given;
        auto db = openWithPassword([&](const std::string& password) {
            given = password;
            return engine.OpenDatabase(options.file, false, true, connectFor(password));
        });
        if (db->JournalWaiting()) err << "strux report: warning: " << db->JournalNotice() << '\n';
        else db = engine.OpenDatabase(options.file, false, false, connectFor(given));
        const printing::ReportSource source = printing::reportSource(*db);
        const std::vector<std::string> entries = printing::listingEntries(source);
        if (const int status = chooseTables(source, entries, options, err); status != kExitOk) return status;

        printing::ReportSetup setup;
        setup.programFolder = printDefaultsFolder();
        QuietMonitor monitor;

        try {
            if (options.text) return printText(source, entries, options, setup, monitor, out, err);
            return printPdf(source, entries, options, setup, monitor, out, err);
        } catch (const printing::ReportError& e) {
            // 75 and 482: the printer could not take the document, which for
            // the PDF printer means the file could not be written.
            const bool output = e.number() == 75 || e.number() == 482;
            err << "strux report: error " << e.number() << ": " << e.what();
            if (output && !options.text)
                err << "; could not write " << (options.pdf.empty() ? printing::reportPdfPath(options.file).string() : options.pdf);
            err << '\n';
            return output ? kExitIoError : kExitEngineError;
        }
    }

private:
    int parse(const std::vector<std::string>& args, ReportOptions& options, std::ostream& err) const {
        // Every section by default; the options take sections away.
        options.selection.queries = true;
        options.selection.relations = true;
        bool inTables = false;
        bool haveTables = false;
        for (std::size_t i = 0; i < args.size(); ++i) {
            const std::string& arg = args[i];
            const bool isOption = arg.size() > 1 && arg[0] == '-';
            if (!isOption) {
                if (inTables) options.tables.push_back(arg);
                else if (options.file.empty()) options.file = arg;
                else return usage(err, "only one FILE");
                continue;
            }
            inTables = false;
            if (arg == "-o") {
                if (i + 1 >= args.size() || args[i + 1].empty()) return usage(err, "-o needs a file name");
                options.pdf = args[++i];
            } else if (arg == "--text") {
                options.text = true;
            } else if (arg == "--no-indexes") {
                options.selection.indexes = false;
            } else if (arg == "--no-fields") {
                options.selection.fields = false;
            } else if (arg == "--no-queries") {
                options.selection.queries = false;
            } else if (arg == "--no-relations") {
                options.selection.relations = false;
            } else if (arg == "--page-per-item") {
                options.selection.pagePerItem = true;
            } else if (arg == "--details") {
                options.selection.details = true;
            } else if (arg == "--markdown" || arg == "--html") {
                if (i + 1 >= args.size() || args[i + 1].empty()) return usage(err, arg + " needs a name");
                (arg == "--html" ? options.html : options.markdown) = args[++i];
            } else if (arg == "--tables") {
                inTables = true;
                haveTables = true;
            } else {
                return usage(err, "unknown option " + arg);
            }
        }
        if (options.file.empty()) return usage(err, "no FILE");
        if (options.text && !options.pdf.empty()) return usage(err, "-o and --text exclude each other");
        // The selection dialog keeps one of the two table listings checked.
        if (!options.selection.indexes && !options.selection.fields)
            return usage(err, "--no-indexes and --no-fields together leave nothing of the tables");
        if (haveTables && options.tables.empty()) return usage(err, "--tables needs at least one NAME");
        const bool document = !options.html.empty() || !options.markdown.empty();
        if (document && (options.text || !options.pdf.empty() || haveTables))
            return usage(err, "--markdown and --html document the whole database, without -o, --text or --tables");
        options.selection.allTables = !haveTables;
        return kExitOk;
    }

    // The chosen tables in the listing's order, as the selection dialog
    // hands them over; a name the listing lacks is refused.
    static int chooseTables(const printing::ReportSource& source, const std::vector<std::string>& entries,
                            ReportOptions& options, std::ostream& err) {
        if (options.selection.allTables) return kExitOk;
        for (const auto& wanted : options.tables) {
            const jet::TableDef* table = source.tables.find(wanted);
            const bool listed = table && std::find(entries.begin(), entries.end(), "Tbl: " + table->Name()) != entries.end();
            if (!listed) {
                err << "strux report: no table '" << wanted << "' in " << options.file << '\n';
                return kExitUsage;
            }
        }
        for (const auto& entry : entries) {
            if (entry.compare(0, 4, "Tbl:") != 0) continue;
            const std::string name = entry.substr(5);
            for (const auto& wanted : options.tables) {
                if (jet::namesEqual(name, wanted)) {
                    options.selection.tables.push_back(name);
                    break;
                }
            }
        }
        return kExitOk;
    }

    // The PDF must never take the database's place (through a link or
    // another spelling), nor go to a folder, FIFO or device.
    int checkPdfPath(const ReportOptions& options, std::ostream& err) const {
        if (options.text) return kExitOk;
        const fs::path pdf = options.pdf.empty() ? printing::reportPdfPath(options.file) : fs::path(options.pdf);
        std::string why = files::notARegularFile(pdf);
        if (files::sameFile(pdf, options.file)) why = "is the database being read";
        if (why.empty()) return kExitOk;
        err << "strux report: " << pdf.string() << " " << why << "; the report is not written there\n";
        return kExitIoError;
    }

    // The Markdown file and the HTML folder's page, each whole or not at
    // all, never over the database.
    int writeDocuments(const ReportOptions& options, std::ostream& err) const {
        std::vector<std::pair<fs::path, std::string>> targets;  // path, "markdown" or "html"
        if (!options.markdown.empty()) targets.emplace_back(options.markdown, "markdown");
        if (!options.html.empty()) {
            std::error_code error;
            if (fs::exists(options.html, error) && !fs::is_directory(options.html, error)) {
                err << "strux report: " << options.html << " is not a folder; the HTML is not written there\n";
                return kExitIoError;
            }
            targets.emplace_back(fs::path(options.html) / "index.html", "html");
        }
        for (const auto& [path, kind] : targets) {
            std::string why = files::notARegularFile(path);
            if (files::sameFile(path, options.file)) why = "is the database being read";
            if (!why.empty()) {
                err << "strux report: " << path.string() << " " << why << "; the " << kind << " is not written there\n";
                return kExitIoError;
            }
        }
        jet::DBEngine engine;
        auto db = openWithPassword([&](const std::string& password) {
            return engine.OpenDatabase(options.file, false, true, connectFor(password));
        });
        if (db->JournalWaiting()) err << "strux report: warning: " << db->JournalNotice() << '\n';
        const docs::Document document = docs::structureDocument(*db, fs::path(options.file).filename().string());
        for (const auto& [path, kind] : targets) {
            try {
                if (kind == "html") fs::create_directories(path.parent_path());
                files::ReplacementFile target(path, {options.file});
                target.write(kind == "html" ? docs::htmlText(document) : docs::markdownText(document));
                target.commit();
            } catch (const std::exception& e) {
                err << "strux report: could not write " << path.string() << ": " << e.what() << '\n';
                return kExitIoError;
            }
        }
        return kExitOk;
    }

    int usage(std::ostream& err, const std::string& problem) const {
        err << "strux report: " << problem << "\n" << help();
        return kExitUsage;
    }

    static void noteDefaults(const printing::ReportOutcome& outcome, const printing::ReportSetup& setup,
                             std::ostream& err) {
        using Source = printing::PrintDefaults::Source;
        const fs::path file = setup.programFolder / printing::kPrintDefaultsFileName;
        if (outcome.defaultsSource == Source::Rewritten)
            err << "strux report: " << file.string() << " was missing or damaged; wrote the default layout\n";
        else if (outcome.defaultsSource == Source::BuiltIn)
            err << "strux report: " << file.string() << " could not be read or written; used the default layout\n";
    }

    static int printText(const printing::ReportSource& source, const std::vector<std::string>& entries,
                         const ReportOptions& options, const printing::ReportSetup& setup,
                         printing::ReportMonitor& monitor, std::ostream& out, std::ostream& err) {
        // The whole document is written at its end, so a failure part-way
        // prints nothing.
        std::vector<std::unique_ptr<printer::PrinterDevice>> devices;
        devices.push_back(std::make_unique<printer::TextPrinterDevice>("Text", &out));
        printer::Printers printers(std::move(devices));
        const auto outcome = printing::PrintStructure(source, entries, options.selection, setup,
                                                      listing::fieldTypeNames(), printers, monitor);
        noteDefaults(outcome, setup, err);
        return kExitOk;
    }

    static int printPdf(const printing::ReportSource& source, const std::vector<std::string>& entries,
                        const ReportOptions& options, const printing::ReportSetup& setup,
                        printing::ReportMonitor& monitor, std::ostream& out, std::ostream& err) {
        std::vector<std::unique_ptr<printer::PrinterDevice>> devices;
        devices.push_back(pdfPrinterFactory()());
        printer::Printers printers(std::move(devices));
        printing::ReportSetup pdfSetup = setup;
        pdfSetup.outputFile = options.pdf;
        const auto outcome = printing::PrintStructure(source, entries, options.selection, pdfSetup,
                                                      listing::fieldTypeNames(), printers, monitor);
        noteDefaults(outcome, setup, err);
        if (!outcome.printed) {
            out << "Nothing to print: no PDF written.\n";
            return kExitOk;
        }
        out << "Report written to " << outcome.outputFile.string() << " (" << outcome.pages
            << (outcome.pages == 1 ? " page" : " pages") << ")\n";
        return kExitOk;
    }
};

}  // namespace

std::unique_ptr<Command> makeReportCommand() { return std::make_unique<ReportCommand>(); }

}  // namespace cli
