// Helpers of the report tests: a database built in memory, a printer that
// records the font of every piece of text beside the text surface's pages,
// and a monitor that presses Cancel after a given number of item boundaries.
#pragma once

#include "support/temp_folder.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "jet/collection.h"
#include "jet/querydef.h"
#include "jet/relation.h"
#include "jet/tabledef.h"
#include "jet/types.h"
#include "printer/printers.h"
#include "printer/text_printer_device.h"
#include "printer/text_surface.h"
#include "printing/report_engine.h"

namespace reporttest {

using Pages = std::vector<std::vector<std::string>>;

// One piece of text as the printer placed it, in text-surface cells.
struct Placed {
    int page = 0;
    int row = 0;
    int column = 0;  // 0-based: Tab(n) places text at column n - 1
    std::string text;
    printer::PrintFont font;
};

// A text printer that also keeps where and in which font each text went.
class RecordingDevice : public printer::TextPrinterDevice {
public:
    explicit RecordingDevice(std::string name = "Text") : TextPrinterDevice(std::move(name)) {}
    std::unique_ptr<printer::PrintSurface> openSurface() override;
    // The pieces of the document begun last.
    std::vector<Placed> placed;
};

class TestMonitor : public printing::ReportMonitor {
public:
    // Presses Cancel at the `cancelAt`-th item boundary (from 1); 0 never.
    explicit TestMonitor(int cancelAt = 0) : cancelAt_(cancelAt) {}
    void showDetail(const std::string& text) override { details.push_back(text); }
    void showPage(const std::string& text) override { pages.push_back(text); }
    void DoEvents() override {
        ++calls;
        if (cancelAt_ > 0 && calls >= cancelAt_) cancel_ = true;
    }
    bool cancelRequested() const override { return cancel_; }

    int calls = 0;
    std::vector<std::string> details;
    std::vector<std::string> pages;

private:
    int cancelAt_;
    bool cancel_ = false;
};

// A database in memory, built by the tests.
struct MemoryDatabase {
    std::string path = "/data/orders.mdb";
    int collatingOrder = 1033;
    jet::Collection<jet::TableDef> tables;
    jet::Collection<jet::QueryDef> queries;
    jet::Collection<jet::Relation> relations;

    printing::ReportSource source() { return {path, collatingOrder, tables, queries, relations}; }

    jet::TableDef& addTable(const std::string& name, long attributes = 0);
    jet::Field& addField(jet::TableDef& table, const std::string& name, int type, long size, long attributes);
    // `members` as "+A" / "-B".
    jet::Index& addIndex(jet::TableDef& table, const std::string& name, const std::vector<std::string>& members,
                         bool unique, bool primary);
    jet::QueryDef& addQuery(const std::string& name, const std::string& sql, const std::vector<std::string>& fields);
    jet::Relation& addRelation(const std::string& name, const std::string& table, const std::string& foreign,
                               const std::vector<std::string>& fields);
};

using TempFolder = testsupport::TempFolder;

// Printers of the given names, all recording text printers; the first current.
std::unique_ptr<printer::Printers> recordingPrinters(const std::vector<std::string>& names = {"Text"});
RecordingDevice& deviceOf(printer::Printers& printers, int index);

// A report with the setup of a defaults file in `folder` (created when missing).
struct RunResult {
    printing::ReportOutcome outcome;
    Pages pages;  // of the last document released
};
RunResult runReport(printing::ReportSource source, const std::vector<std::string>& entries,
                    const printing::ReportSelection& selection, printer::Printers& printers,
                    printing::ReportMonitor& monitor, const printing::ReportSetup& setup);

// A row of the text surface from its pieces, each at its 0-based column.
std::string line(const std::vector<std::pair<int, std::string>>& pieces);
// The rule under a heading: from Tab(6) to the right edge of the text page.
inline const std::string kRule = std::string(5, ' ') + std::string(91, '-');

// The row's text from `column` (0-based) on, or "" for a shorter row.
std::string from(const std::string& row, int column);
// The index of the first row of `page` that starts with `text` at `column`, or -1.
int rowStarting(const std::vector<std::string>& page, const std::string& text, int column);

}  // namespace reporttest
