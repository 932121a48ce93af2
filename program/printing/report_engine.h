// The structure report: a page header on every page, a summary of the
// tables, per table its index and field listings, then every query and
// every relation in detail, laid out in the character columns of a tab
// setting on the current printer.
//
// The engine is plain logic. The main window hands it what its dialogs
// decided (the selection, the tab setting) and a monitor through which the
// progress window follows the run and its Cancel button stops it; the
// command line hands it the same without windows.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "jet/collection.h"
#include "jet/querydef.h"
#include "jet/relation.h"
#include "jet/tabledef.h"
#include "listing/structure_listing.h"
#include "printer/printer.h"
#include "printer/printers.h"
#include "printing/print_defaults_file.h"
#include "printing/tab_settings.h"

namespace jet {
class Database;
}

namespace printing {

// The open database as the report reads it. The program hands in its own
// database's collections; tests build collections in memory.
struct ReportSource {
    std::string path;                // as the main window shows it
    int collatingOrder = 0;
    jet::Collection<jet::TableDef>& tables;
    jet::Collection<jet::QueryDef>& queries;
    jet::Collection<jet::Relation>& relations;
};
ReportSource reportSource(jet::Database& db);

// The entries of the main listing for `source` ("Tbl: ", "Qdf: ", "Rel: "
// and the name), for callers without the main window: tables without a
// system bit (0x80000002), queries whose name does not begin with "~", every
// relation, each group in collection order.
std::vector<std::string> listingEntries(const ReportSource& source);

// What to print, as the selection dialog or an automatic print setting gives it.
struct ReportSelection {
    // Print the table summary and every listed table; otherwise only `tables`.
    bool allTables = true;
    std::vector<std::string> tables;  // the chosen tables, in the listing's order
    bool indexes = true;
    bool fields = true;
    bool queries = false;
    bool relations = false;
    bool pagePerItem = false;
    bool details = false;  // decode the field attribute values
};

// Display names of the field type codes 0 to 25; codes without a name hold "".
using listing::FieldTypeNames;

// Where the layout comes from (the stored tab setting the print request
// found, or else the fallback file in the program's folder) and where a
// printer that writes files (the PDF printer) puts the report.
struct ReportSetup {
    std::optional<StoredTabSetting> stored;
    std::filesystem::path programFolder;
    // Empty: beside the database (reportPdfPath).
    std::filesystem::path outputFile;
    // When set, asked for the file once the printer turns out to write
    // files, with the path above proposed; nullopt abandons the run before
    // anything is printed (ReportOutcome::noFile).
    std::function<std::optional<std::filesystem::path>(const std::filesystem::path& proposed)> chooseOutputFile;
};

// The progress window as the engine sees it. The window clears its cancel
// flag before it starts a run, so that a run after a cancelled one prints.
class ReportMonitor {
public:
    virtual ~ReportMonitor() = default;
    // What is being printed ("'Orders'", "Working! Please wait.").
    virtual void showDetail(const std::string& text) { (void)text; }
    // The page counter ("Page  2").
    virtual void showPage(const std::string& text) { (void)text; }
    // Called at every item boundary: the window processes its pending
    // events here, so that it repaints and Cancel can be pressed.
    virtual void DoEvents() {}
    // Whether the operator pressed Cancel; read right after DoEvents.
    virtual bool cancelRequested() const { return false; }
};

struct ReportOutcome {
    bool cancelled = false;
    // The user gave no file for the PDF printer: nothing was printed.
    bool noFile = false;
    // Whether a document reached the printer (a run that printed nothing
    // starts no document).
    bool printed = false;
    int pages = 0;
    // The layout used; the window keeps it (its iTab and sPrinterFont).
    TabSetting layout;
    // Where the layout came from when no stored tab setting was given.
    std::optional<PrintDefaults::Source> defaultsSource;
    // The printer the report came out on.
    std::string deviceName;
    // The file it was written to, when that printer writes files; the
    // window tells the user where it went.
    std::filesystem::path outputFile;
};

// Error areas of a run: set-up (until the layout is read) and printing.
inline constexpr long kAreaReportSetup = 70000;
inline constexpr long kAreaReportPrinting = 70001;

// A run that failed. The document was abandoned (nothing of it printed) and
// the printer the run switched from is current again. `number()` is the
// error number of the failing call (the engine's or the printer's).
class ReportError : public std::runtime_error {
public:
    ReportError(long number, long area, const std::string& description)
        : std::runtime_error(description), number_(number), area_(area) {}
    long number() const { return number_; }
    long area() const { return area_; }

private:
    long number_;
    long area_;
};

// Makes the first installed printer whose device name equals `sName`
// exactly the current one; when none does, the current printer stays.
void SelectPrinterByName(printer::Printers& printers, const std::string& sName);

// The text "++ Cancelled by operator ++" that ends a cancelled report.
inline constexpr char kCancelNote[] = "++ Cancelled by operator ++";

// The PDF file a report of `databasePath` goes to on the PDF printer: the
// database's name with the extension "pdf", in the database's folder.
std::filesystem::path reportPdfPath(const std::filesystem::path& databasePath);

// Prints the report of `source` on the current printer of `printers`.
// `entries` is the main listing (tables, queries and relations are taken
// from it in its order). A cancelled run ends with kCancelNote and releases
// what it printed. Throws ReportError when a call fails. Either way the
// printer that was current before a stored setting switched printers is
// current again afterwards.
//
// The window runs its dialogs first: it passes the selection of frmSelect
// (or, for an automatic print setting, all tables and the setting's
// sections), the stored tab setting when one is in force (else the program
// folder, whose stx32ps.def is read), and sFieldType.
ReportOutcome PrintStructure(const ReportSource& source, const std::vector<std::string>& entries,
                             const ReportSelection& selection, const ReportSetup& setup,
                             const FieldTypeNames& fieldTypes, printer::Printers& printers,
                             ReportMonitor& monitor);

}  // namespace printing
