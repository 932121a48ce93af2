#include "jet/verify.h"

#include "catalog/system_tables.h"
#include "dao/database_impl.h"
#include "jet/database.h"
#include "verify/checks.h"

namespace jet {
namespace {

std::vector<VerifyFinding> verifyFile(io::PageFile& file) {
    verify::Findings findings;
    // A waiting journal means the file is read as it was before a write
    // that was cut short, not as its bytes stand.
    if (file.journalWaiting()) findings.note({}, {}, 0, file.journalNotice());
    const auto objects = catalog::readCatalog(file);
    const auto tables = verify::checkCatalog(file, objects, findings);
    std::set<std::uint32_t> treePages;
    for (const auto& table : tables) verify::checkIndexes(file, table, findings, treePages);
    verify::checkPages(file, tables, treePages, findings);
    return findings.take();
}

}  // namespace

std::vector<VerifyFinding> verifyDatabase(const std::string& path, const std::string& password) {
    auto file = io::PageFile::open(path, {.readOnly = true, .password = password});
    return verifyFile(*file);
}

std::vector<VerifyFinding> verifyDatabase(Database& db) {
    db.impl().requireOpen();
    return verifyFile(*db.impl().file);
}

bool verifiedClean(const std::vector<VerifyFinding>& findings) {
    for (const auto& f : findings)
        if (f.isFault()) return false;
    return true;
}

std::string describeFinding(const VerifyFinding& finding) {
    std::string out = finding.isFault() ? "" : "note: ";
    std::string place;
    auto add = [&place](const std::string& part) { place += (place.empty() ? "" : ", ") + part; };
    if (!finding.table.empty()) add("table " + finding.table);
    if (!finding.index.empty()) add("index " + finding.index);
    if (finding.page != 0) add("page " + std::to_string(finding.page));
    if (!place.empty()) out += place + ": ";
    return out + finding.text;
}

}  // namespace jet
