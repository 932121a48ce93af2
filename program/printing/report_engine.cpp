#include "printing/report_engine.h"

#include <cstdint>
#include <filesystem>
#include <new>
#include <system_error>

#include "files/replacement_file.h"
#include "jet/database.h"
#include "jet/error.h"
#include "jet/types.h"
#include "listing/target_limits.h"
#include "printing/sql_walk.h"
#include "vb/vb_error.h"

namespace printing {

namespace {

using printer::PrintEnd;
using printer::Printer;
using printer::Tab;

constexpr char kTablePrefix[] = "Tbl: ";
constexpr char kQueryPrefix[] = "Qdf: ";
constexpr char kRelationPrefix[] = "Rel: ";

// Page-break thresholds, in rows from the top of the printable area.
constexpr double kBreakAfterRows = 58;
constexpr double kBreakBeforeQueries = 56;
constexpr double kBreakBeforeDetails = 55;

// The summary's "Updatable:" column is fixed, whatever the tab setting.
constexpr int kSummaryUpdatableColumn = 50;

// VB's error numbers for failures that carry none of their own.
constexpr long kErrOutOfMemory = 7;
constexpr long kErrInternal = 51;
constexpr long kErrPathFileAccess = 75;

std::string quoted(const std::string& name) { return "'" + name + "'"; }

std::string pageText(int page) { return "Page " + std::string(page < 0 ? "" : " ") + std::to_string(page); }

// The object names of the listing entries of one kind, from the sixth
// character on, in listing order.
std::vector<std::string> namesOfKind(const std::vector<std::string>& entries, std::string_view kind) {
    std::vector<std::string> names;
    for (const auto& entry : entries)
        if (entry.compare(0, 4, kind) == 0) names.push_back(listing::entryName(entry));
    return names;
}

const char* attributeMeaning(long attributes) {
    switch (attributes) {
        case 17: return " - Fixed length; AutoIncrementing";
        case 1: return " - Fixed length";
        case 2: return " - Variable length";
        case 32768: return " - Contains hyperlink";
        default: return nullptr;
    }
}

// The database's full path for the page header, as the module names it:
// absolute, with ".", ".." and symbolic links resolved as far as they exist.
std::string fullPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) return path;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(absolute, error);
    return error ? absolute.lexically_normal().string() : canonical.string();
}

// Thrown inside a run when the operator cancels; caught by the run itself.
struct RunCancelled {};

class StructureReport {
public:
    StructureReport(const ReportSource& source, const ReportSelection& selection, const TabSetting& layout,
                    const FieldTypeNames& fieldTypes, Printer& printer, ReportMonitor& monitor)
        : source_(source), selection_(selection), tabs_(layout.tabs), font_(layout.fontName),
          fieldTypes_(fieldTypes), p_(printer), monitor_(monitor), path_(fullPath(source.path)) {}

    void run(const std::vector<std::string>& tables, const std::vector<std::string>& queries,
             const std::vector<std::string>& relations);

    // Ends the current row, prints the note as a row of its own and
    // releases the pages printed so far.
    void PrintCancelNote();

    // The pages of the document released last; 0 when nothing was printed.
    int pagesPrinted() const { return pagesPrinted_; }

private:
    int iTab(int index) const { return tabs_[static_cast<std::size_t>(index)]; }

    void PrintPageHeader();
    void endDocument();
    void pageBreak();
    void breakIfBelow(double threshold) {
        takePendingBreak();
        if (p_.CurrentY() > threshold) pageBreak();
    }
    // The break at the end of a section, and the blank rows after it, are
    // made only once something follows: made at the end of the report they
    // would leave a last page holding nothing but its header.
    void breakAtSectionEnd() {
        if (p_.CurrentY() > kBreakAfterRows) breakPending_ = true;
    }
    void blankRow() {
        if (breakPending_) ++pendingBlankRows_;
        else p_.Print();
    }
    void takePendingBreak();
    void checkCancel();
    void rule();
    void label(const std::string& text);

    void printTableSummary();
    void printTableSection(const std::string& name);
    void printIndexGroup(const jet::Index& index);
    void printFieldRow(const jet::Field& field);
    void printListingTitle(const std::string& title, const std::string& name);
    void printQuerySection(const std::string& name);
    void printToEdge(int column, const std::string& text);
    void printRelationSection(const std::string& name);
    void printFieldNames(const jet::Collection<jet::Field>& fields);
    void detailRow(const std::string& labelText, const printer::PrintItem& value);
    std::string typeName(int type) const;

    const ReportSource& source_;
    const ReportSelection& selection_;
    TabColumns tabs_;
    std::string font_;
    const FieldTypeNames& fieldTypes_;
    Printer& p_;
    ReportMonitor& monitor_;
    std::string path_;
    bool started_ = false;
    bool breakPending_ = false;
    int pendingBlankRows_ = 0;
    int pagesPrinted_ = 0;
};

void StructureReport::PrintPageHeader() {
    p_.SetFontName(font_);
    p_.Print();
    p_.SetFontName(font_);
    p_.SetFontBold(true);
    p_.SetDrawWidth(6);
    p_.Print({Tab(iTab(0)), "Page no: ", p_.Page()});
    p_.Print();
    p_.Print({Tab(iTab(0)), "Database: ", path_ + "  -  Order = " + std::to_string(source_.collatingOrder)});
    rule();
    p_.SetDrawWidth(1);
    p_.SetFontBold(false);
    started_ = true;
    monitor_.showPage(pageText(p_.Page()));
}

// A new page asked for while a section's break waits is that break (a
// page per item): the waiting one would leave a page with only its header.
void StructureReport::pageBreak() {
    breakPending_ = false;
    pendingBlankRows_ = 0;
    p_.NewPage();
    PrintPageHeader();
}

void StructureReport::takePendingBreak() {
    if (!breakPending_) return;
    const int blankRows = pendingBlankRows_;
    pageBreak();
    for (int i = 0; i < blankRows; ++i) p_.Print();
}

void StructureReport::checkCancel() {
    monitor_.DoEvents();
    if (monitor_.cancelRequested()) throw RunCancelled{};
}

// A rule under the row just ended, across the page from the rule margin;
// the empty statement after it moves below it.
void StructureReport::rule() {
    const double y = p_.CurrentY();
    p_.Line(iTab(1), y, p_.ScaleWidth(), y);
    p_.Print();
}

void StructureReport::label(const std::string& text) {
    p_.SetFontBold(true);
    p_.Print({Tab(iTab(0)), text}, PrintEnd::KeepPosition);
    p_.SetFontBold(false);
}

void StructureReport::PrintCancelNote() {
    takePendingBreak();
    p_.Print();
    p_.Print({kCancelNote});
    endDocument();
}

void StructureReport::endDocument() {
    breakPending_ = false;
    pendingBlankRows_ = 0;
    pagesPrinted_ = p_.documentOpen() ? p_.Page() : 0;
    p_.EndDoc();
}

void StructureReport::run(const std::vector<std::string>& tables, const std::vector<std::string>& queries,
                          const std::vector<std::string>& relations) {
    p_.SetScaleMode(printer::vbCharacters);
    if (selection_.allTables) printTableSummary();
    checkCancel();
    for (const auto& name : tables) printTableSection(name);
    // The breaks before the queries and the relations are made only for a
    // section that follows: made at the end, they would leave a last page
    // holding nothing but its header.
    const bool queriesFollow = selection_.queries && !queries.empty();
    const bool relationsFollow = selection_.relations && !relations.empty();
    if (queriesFollow || relationsFollow) breakIfBelow(kBreakBeforeQueries);
    if (queriesFollow)
        for (const auto& name : queries) printQuerySection(name);
    if (relationsFollow) {
        breakIfBelow(kBreakAfterRows);
        for (const auto& name : relations) printRelationSection(name);
    }
    endDocument();
}

void StructureReport::printTableSummary() {
    PrintPageHeader();
    monitor_.showDetail("'Tables Collection'");
    monitor_.showPage("Page 1");
    p_.SetFontUnderline(true);
    p_.Print({Tab(iTab(0)), "Tables Collection"});
    p_.SetFontUnderline(false);
    monitor_.DoEvents();
    p_.Print();
    for (int i = 0; i < source_.tables.Count(); ++i) {
        const jet::TableDef& table = source_.tables[i];
        p_.SetFontUnderline(false);
        if (listing::isListedTable(table)) {
            p_.Print({Tab(iTab(0)), table.Name(), Tab(kSummaryUpdatableColumn),
                      table.Updatable() ? "Updatable:  True" : "Updatable:  False"});
            breakIfBelow(kBreakAfterRows);
        }
    }
    p_.Print();
    p_.Print();
}

void StructureReport::printTableSection(const std::string& name) {
    if (started_ && selection_.pagePerItem) pageBreak();
    takePendingBreak();
    checkCancel();
    monitor_.showDetail(quoted(name));
    jet::TableDef& table = source_.tables[name];
    // A linked table's fields and indexes are those of its source: its
    // listings say where that is instead of standing empty.
    const bool linked = listing::isLinked(table);
    const std::string linkedRow = "Linked table, " + listing::linkSource(table);

    if (selection_.indexes) {
        monitor_.showPage(pageText(p_.Page()));
        if (p_.CurrentY() > kBreakAfterRows || !started_) {
            if (started_) p_.NewPage();
            PrintPageHeader();
        }
        printListingTitle("Index Listing for Table: ", name);
        if (linked) {
            p_.Print({Tab(iTab(0)), linkedRow});
        } else {
            p_.SetFontBold(true);
            p_.Print({Tab(iTab(0)), "Name", Tab(iTab(2)), "Fields", Tab(iTab(3)), "Sort Order", Tab(iTab(4)),
                      "Unique", Tab(iTab(5)), "Primary"});
            p_.SetFontBold(false);
            rule();
            for (int i = 0; i < table.Indexes().Count(); ++i) printIndexGroup(table.Indexes()[i]);
        }
    }

    checkCancel();
    blankRow();

    if (selection_.fields) {
        monitor_.showPage(pageText(p_.Page()));
        if (!started_) PrintPageHeader();
        else breakIfBelow(kBreakAfterRows);
        printListingTitle("Fields Listing for Table: ", name);
        if (linked) {
            p_.Print({Tab(iTab(0)), linkedRow});
        } else {
            p_.SetFontBold(true);
            p_.Print({Tab(iTab(0)), "Name", Tab(iTab(10)), "Type", Tab(iTab(11)), "Size", Tab(iTab(12)), "Required",
                      Tab(iTab(13)), "AllowZero", Tab(iTab(14)), "Attributes"});
            p_.SetFontBold(false);
            rule();
            for (int i = 0; i < table.Fields().Count(); ++i) {
                printFieldRow(table.Fields()[i]);
                if (i < table.Fields().Count() - 1) breakIfBelow(kBreakAfterRows);
                else breakAtSectionEnd();
            }
        }
    }
    // A table whose definition could not be read has no rows above: the
    // report says why rather than passing it over as empty.
    if (!table.Damage().empty()) {
        takePendingBreak();
        p_.Print({Tab(iTab(0)), "Damaged: " + table.Damage()});
        breakAtSectionEnd();
    }

    if (!selection_.pagePerItem) {
        blankRow();
        blankRow();
    }
}

void StructureReport::printListingTitle(const std::string& title, const std::string& name) {
    p_.SetFontUnderline(true);
    p_.Print({Tab(iTab(0)), title, name});
    p_.SetFontUnderline(false);
    p_.Print();
}

// The members are taken from the index's own field list rather than by
// splitting its "+A;-B" text at the semicolons: a field name may itself hold
// a semicolon, and the split would then read past the last member.
void StructureReport::printIndexGroup(const jet::Index& index) {
    takePendingBreak();
    p_.Print({Tab(iTab(0)), index.Name()}, PrintEnd::KeepPosition);
    const std::string unique = printer::booleanText(index.Unique());
    const std::string primary = printer::booleanText(index.Primary());
    const auto& members = index.Fields();
    if (members.Count() == 0) {
        p_.Print({Tab(iTab(8)), unique, Tab(iTab(9)), primary});
    }
    for (int k = 0; k < members.Count(); ++k) {
        const jet::Field& member = members[k];
        const bool descending = (member.Attributes() & jet::dbDescending) != 0;
        const std::string entry = (descending ? "-" : "+") + member.Name();
        const char* sort = member.Attributes() == 0 ? "Ascend " : "Descend ";
        const bool last = k == members.Count() - 1;
        p_.Print({Tab(iTab(6)), entry, Tab(iTab(7)), sort}, PrintEnd::KeepPosition);
        if (k == 0) p_.Print({Tab(iTab(8)), unique, Tab(iTab(9)), primary});
        if (!last) breakIfBelow(kBreakAfterRows);
    }
    p_.Print();
    breakAtSectionEnd();
}

std::string StructureReport::typeName(int type) const {
    if (type >= 0 && type < static_cast<int>(fieldTypes_.size())) return fieldTypes_[static_cast<std::size_t>(type)];
    // Codes beyond the table (the complex kinds of newer files) print as
    // their number rather than ending the run.
    return std::to_string(type);
}

void StructureReport::printFieldRow(const jet::Field& field) {
    p_.Print({Tab(iTab(0)), field.Name(), Tab(iTab(15)), typeName(field.Type()), Tab(iTab(16)), field.Size()},
             PrintEnd::KeepPosition);
    p_.Print({Tab(iTab(17)), field.Required()}, PrintEnd::KeepPosition);
    p_.Print({Tab(iTab(18)), field.AllowZeroLength()}, PrintEnd::KeepPosition);
    p_.Print({Tab(iTab(19)), std::to_string(field.Attributes())}, PrintEnd::KeepPosition);
    if (selection_.details) {
        if (const char* meaning = attributeMeaning(field.Attributes()))
            printToEdge(iTab(19) + 5, meaning);
        else
            p_.Print();
    }
}

// `text` from `column` on; on a page too narrow for it, what does not fit
// goes on the row below (after its "; "), under the words it continues.
void StructureReport::printToEdge(int column, const std::string& text) {
    const double room = p_.ScaleWidth() - (column - 1);
    const auto split = text.find("; ");
    if (p_.TextWidth(text) <= room || split == std::string::npos) {
        p_.Print({Tab(column), text});
        return;
    }
    p_.Print({Tab(column), text.substr(0, split + 1)});
    const std::size_t indent = text.find_first_not_of(" -");
    printToEdge(column + static_cast<int>(indent == std::string::npos ? 0 : indent), text.substr(split + 2));
}

void StructureReport::printFieldNames(const jet::Collection<jet::Field>& fields) {
    label("Fields");
    for (int k = 0; k < fields.Count(); ++k) {
        p_.Print({Tab(iTab(15)), fields[k].Name()});
        if (p_.CurrentY() > kBreakAfterRows) {
            pageBreak();
            if (k < fields.Count() - 1) label("Fields continued");
        }
    }
}

void StructureReport::detailRow(const std::string& labelText, const printer::PrintItem& value) {
    label(labelText);
    p_.Print({Tab(iTab(15)), value});
}

void StructureReport::printQuerySection(const std::string& name) {
    if (!started_) PrintPageHeader();
    else if (selection_.pagePerItem) pageBreak();
    takePendingBreak();
    checkCancel();
    monitor_.showDetail(quoted(name));
    const jet::QueryDef& query = source_.queries[name];

    p_.Print({Tab(iTab(0)), "Detailed Listing for Query: ", name});
    rule();
    printFieldNames(query.Fields());
    p_.Print();
    breakIfBelow(kBreakAfterRows);

    // A query whose definition could not be read has no text: say why.
    if (!query.Damage().empty()) p_.Print({Tab(iTab(0)), "Damaged: " + query.Damage()});
    label("SQL Statement");
    // The usable width follows the printer each time, as the page may differ.
    const double width = p_.ScaleWidth() - (iTab(15) + 10);
    for (const SqlRow& row : sqlRows(query.SQL(), width)) p_.Print({Tab(iTab(15) + row.indent), row.text});
    breakIfBelow(kBreakBeforeDetails);

    detailRow("Type:", std::to_string(query.Type()));
    detailRow("Created:", printer::DateItem{query.DateCreated().days});
    detailRow("Updated:", printer::DateItem{query.LastUpdated().days});
    detailRow("Max records:", std::to_string(query.MaxRecords()));
    detailRow("Connect:", query.Connect());
    detailRow("Returns Records:", query.ReturnsRecords());
    detailRow("Updatable:", query.Updatable());
    breakAtSectionEnd();
    blankRow();
    blankRow();
}

void StructureReport::printRelationSection(const std::string& name) {
    if (!started_) PrintPageHeader();
    else if (selection_.pagePerItem) pageBreak();
    takePendingBreak();
    checkCancel();
    monitor_.showDetail(quoted(name));
    const jet::Relation& relation = source_.relations[name];

    p_.Print({Tab(iTab(0)), "Detailed Listing for Relations: ", name});
    rule();
    printFieldNames(relation.Fields());
    p_.Print();
    breakIfBelow(kBreakBeforeDetails);

    detailRow("Name:", relation.Name());
    detailRow("Table:", relation.Table());
    detailRow("Foreign table:", relation.ForeignTable());
    detailRow("Attributes:", std::to_string(relation.Attributes()));
    detailRow("Partial replica:", relation.PartialReplica());
    breakAtSectionEnd();
    blankRow();
    blankRow();
}

// The number a failure reports: the engine's or the printer's own, else
// VB's nearest.
long errorNumberOf(const std::exception_ptr& failure, std::string& description) {
    try {
        std::rethrow_exception(failure);
    } catch (const jet::Error& e) {
        description = e.what();
        return e.number();
    } catch (const vb::RuntimeError& e) {
        description = e.what();
        return e.number();
    } catch (const std::bad_alloc&) {
        description = "Out of memory";
        return kErrOutOfMemory;
    } catch (const std::exception& e) {
        description = e.what();
        return kErrInternal;
    }
}

}  // namespace

ReportSource reportSource(jet::Database& db) {
    return ReportSource{db.Name(), db.CollatingOrder(), db.TableDefs(), db.QueryDefs(), db.Relations()};
}

std::vector<std::string> listingEntries(const ReportSource& source) {
    return listing::listEntries(source.tables, source.queries, source.relations);
}

void SelectPrinterByName(printer::Printers& printers, const std::string& sName) { printers.selectByName(sName); }

std::filesystem::path reportPdfPath(const std::filesystem::path& databasePath) {
    std::filesystem::path pdf = databasePath;
    pdf.replace_extension(".pdf");
    return pdf;
}

ReportOutcome PrintStructure(const ReportSource& source, const std::vector<std::string>& entries,
                             const ReportSelection& selection, const ReportSetup& setup,
                             const FieldTypeNames& fieldTypes, printer::Printers& printers,
                             ReportMonitor& monitor) {
    ReportOutcome outcome;
    long area = kAreaReportSetup;
    std::string sSavedPrinter;
    try {
        const std::vector<std::string> tables =
            selection.allTables ? namesOfKind(entries, "Tbl:") : selection.tables;
        const std::vector<std::string> queries = namesOfKind(entries, "Qdf:");
        const std::vector<std::string> relations = namesOfKind(entries, "Rel:");
        monitor.DoEvents();
        monitor.showDetail("Working! Please wait.");

        if (setup.stored) {
            sSavedPrinter = printers.printer().DeviceName();
            // A stored setting without a printer (a Null column) leaves the
            // current printer, as a name no printer has would.
            if (setup.stored->printerName) SelectPrinterByName(printers, *setup.stored->printerName);
            outcome.layout = setup.stored->setting;
        } else {
            PrintDefaults defaults = loadPrintDefaults(setup.programFolder);
            outcome.layout = std::move(defaults.setting);
            outcome.defaultsSource = defaults.source;
        }
        area = kAreaReportPrinting;

        Printer& p = printers.printer();
        outcome.deviceName = p.DeviceName();
        if (p.device().writesToFile()) {
            outcome.outputFile = setup.outputFile.empty() ? reportPdfPath(source.path) : setup.outputFile;
            if (setup.chooseOutputFile) {
                std::optional<std::filesystem::path> chosen = setup.chooseOutputFile(outcome.outputFile);
                if (!chosen) {
                    outcome.outputFile.clear();
                    outcome.noFile = true;
                    if (!sSavedPrinter.empty()) SelectPrinterByName(printers, sSavedPrinter);
                    return outcome;
                }
                outcome.outputFile = *chosen;
            }
            // Whatever the name chosen, the PDF never takes the place of the
            // database it describes.
            if (files::sameFile(outcome.outputFile, source.path))
                throw vb::RuntimeError(kErrPathFileAccess, "Path/File access error (" + outcome.outputFile.string() +
                                                               " is the database being read)");
            p.device().setOutputFile(outcome.outputFile.string());
        }
        StructureReport report(source, selection, outcome.layout, fieldTypes, p, monitor);
        try {
            report.run(tables, queries, relations);
        } catch (const RunCancelled&) {
            report.PrintCancelNote();
            outcome.cancelled = true;
        }
        outcome.pages = report.pagesPrinted();
        outcome.printed = outcome.pages > 0;
        if (!outcome.printed) outcome.outputFile.clear();
        if (!sSavedPrinter.empty()) SelectPrinterByName(printers, sSavedPrinter);
        return outcome;
    } catch (...) {
        const std::exception_ptr failure = std::current_exception();
        try {
            printers.printer().KillDoc();
            if (!sSavedPrinter.empty()) SelectPrinterByName(printers, sSavedPrinter);
        } catch (...) {
            // The first failure is the one to report.
        }
        std::string description;
        const long number = errorNumberOf(failure, description);
        throw ReportError(number, area, description);
    }
}

}  // namespace printing
