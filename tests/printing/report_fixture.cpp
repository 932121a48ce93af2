#include "report_fixture.h"

#include <cmath>

#include "support/memory_objects.h"

namespace reporttest {

namespace {

// Forwards to a text surface and keeps each text with its place and font.
class RecordingSurface : public printer::PrintSurface {
public:
    RecordingSurface(std::unique_ptr<printer::PrintSurface> inner, std::vector<Placed>& placed)
        : inner_(std::move(inner)), placed_(placed) {}
    void drawText(double x, double y, std::string_view utf8, const printer::PrintFont& font) override {
        placed_.push_back({page_, static_cast<int>(std::floor(y / printer::kTwipsPerRow + 1e-6)),
                           static_cast<int>(std::lround(x / printer::kTwipsPerColumn)), std::string(utf8), font});
        inner_->drawText(x, y, utf8, font);
    }
    void drawLine(double x1, double y1, double x2, double y2, int width) override {
        inner_->drawLine(x1, y1, x2, y2, width);
    }
    void endPage(double used) override {
        ++page_;
        inner_->endPage(used);
    }
    void endDocument(double used) override { inner_->endDocument(used); }
    void abandonDocument() override { inner_->abandonDocument(); }

private:
    std::unique_ptr<printer::PrintSurface> inner_;
    std::vector<Placed>& placed_;
    int page_ = 0;
};

}  // namespace

std::unique_ptr<printer::PrintSurface> RecordingDevice::openSurface() {
    placed.clear();
    return std::make_unique<RecordingSurface>(TextPrinterDevice::openSurface(), placed);
}

jet::TableDef& MemoryDatabase::addTable(const std::string& name, long attributes) {
    return tables.add(testsupport::makeTable(name, attributes));
}

jet::Field& MemoryDatabase::addField(jet::TableDef& table, const std::string& name, int type, long size,
                                     long attributes) {
    return table.Fields().add(testsupport::makeField(name, type, size, attributes));
}

jet::Index& MemoryDatabase::addIndex(jet::TableDef& table, const std::string& name,
                                     const std::vector<std::string>& members, bool unique, bool primary) {
    std::vector<std::pair<std::string, long>> fields;
    for (const auto& member : members) fields.emplace_back(member.substr(1), member[0] == '-' ? jet::dbDescending : 0);
    return table.Indexes().add(testsupport::makeIndex(name, fields, primary, unique));
}

jet::QueryDef& MemoryDatabase::addQuery(const std::string& name, const std::string& sql,
                                        const std::vector<std::string>& fields) {
    return queries.add(testsupport::makeQuery(name, sql, fields));
}

jet::Relation& MemoryDatabase::addRelation(const std::string& name, const std::string& table,
                                           const std::string& foreign, const std::vector<std::string>& fields) {
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const auto& field : fields) pairs.emplace_back(field, "");
    return relations.add(testsupport::makeRelation(name, table, foreign, pairs));
}

std::unique_ptr<printer::Printers> recordingPrinters(const std::vector<std::string>& names) {
    std::vector<std::unique_ptr<printer::PrinterDevice>> devices;
    for (const auto& name : names) devices.push_back(std::make_unique<RecordingDevice>(name));
    return std::make_unique<printer::Printers>(std::move(devices));
}

RecordingDevice& deviceOf(printer::Printers& printers, int index) {
    return static_cast<RecordingDevice&>(printers.Item(index));
}

RunResult runReport(printing::ReportSource source, const std::vector<std::string>& entries,
                    const printing::ReportSelection& selection, printer::Printers& printers,
                    printing::ReportMonitor& monitor, const printing::ReportSetup& setup) {
    RunResult result;
    result.outcome = printing::PrintStructure(source, entries, selection, setup,
                                              listing::fieldTypeNames(), printers, monitor);
    // The printer the report came out on, which need not be current any more.
    for (int i = 0; i < printers.Count(); ++i) {
        const auto* text = dynamic_cast<printer::TextPrinterDevice*>(&printers.Item(i));
        if (!text) continue;  // a printer of the machine or the PDF printer: its pages are not text
        const auto& device = *text;
        if (device.DeviceName() == result.outcome.deviceName && result.outcome.printed && !device.documents().empty())
            result.pages = printer::textPages(device.documents().back());
    }
    return result;
}

std::string line(const std::vector<std::pair<int, std::string>>& pieces) {
    std::string row;
    for (const auto& [column, text] : pieces) {
        if (static_cast<int>(row.size()) < column) row.resize(static_cast<std::size_t>(column), ' ');
        row.replace(static_cast<std::size_t>(column), text.size(), text);
    }
    return row;
}

std::string from(const std::string& row, int column) {
    return static_cast<int>(row.size()) > column ? row.substr(static_cast<std::size_t>(column)) : std::string();
}

int rowStarting(const std::vector<std::string>& page, const std::string& text, int column) {
    for (std::size_t i = 0; i < page.size(); ++i)
        if (from(page[i], column).rfind(text, 0) == 0) return static_cast<int>(i);
    return -1;
}

}  // namespace reporttest
