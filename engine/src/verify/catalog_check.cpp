// The catalog against itself and the pages it names: ids and names are
// unique (names within their parent, as Jet compares them: ASCII letters
// without case), each local table names a page that starts a readable table
// definition of its own, and the catalog lists itself on page 2.
#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "catalog/dao_codes.h"
#include "jet/error.h"
#include "verify/checks.h"

namespace jet::verify {
namespace {

std::string folded(const std::string& name) {
    std::string out = name;
    for (auto& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

void readRows(io::PageFile& file, CheckedTable& table, Findings& findings) {
    storage::TableReader reader(file, table.def);
    storage::Row row;
    for (;;) {
        try {
            if (!reader.next(row)) break;
            table.rows.push_back(std::move(row));
        } catch (const Error& e) {
            table.rowsComplete = false;
            findings.fault(table.name, {}, 0, "unreadable row or page: " + errorText(e));
        }
    }
}

bool isTable(int type) {
    return type == catalog::kObjLocalTable || type == catalog::kObjLinkedTable || type == catalog::kObjLinkedOdbc;
}

// Each column pair of a relationship names tables of the catalog, and
// columns of them where the table is local.
void checkRelationships(io::PageFile& file, const std::vector<catalog::CatalogObject>& objects,
                        const std::vector<CheckedTable>& tables, Findings& findings) {
    std::vector<catalog::RelationshipRow> rows;
    try {
        rows = catalog::readRelationships(file, objects);
    } catch (const Error& e) {
        findings.fault("MSysRelationships", {}, 0, "unreadable: " + errorText(e));
        return;
    }
    auto present = [&](const std::string& table, const std::string& column) -> std::string {
        for (const auto& t : tables)
            if (folded(t.name) == folded(table))
                return t.def.findColumn(column) ? std::string() : "column " + column + " of table " + table;
        for (const auto& o : objects)
            if (isTable(o.type) && folded(o.name) == folded(table)) return {};
        return "table " + table;
    };
    for (const auto& row : rows) {
        for (const auto& missing : {present(row.table, row.column), present(row.foreignTable, row.foreignColumn)})
            if (!missing.empty())
                findings.fault("MSysRelationships", {}, 0,
                               "relationship " + row.name + " names " + missing + ", which the catalog lacks");
    }
}

}  // namespace

std::string errorText(const Error& e) {
    return std::string(e.what()) + (e.context().empty() ? "" : " (" + e.context() + ")");
}

std::string rowName(storage::RowPointer where) {
    return "page " + std::to_string(where.page) + " row " + std::to_string(where.row);
}

std::vector<CheckedTable> checkCatalog(io::PageFile& file, const std::vector<catalog::CatalogObject>& objects,
                                       Findings& findings) {
    std::set<std::int32_t> ids;
    std::map<std::pair<std::int32_t, std::string>, std::string> names;
    std::map<std::uint32_t, std::string> tablePages;
    std::vector<CheckedTable> tables;
    bool catalogListed = false;

    for (const auto& o : objects) {
        if (!ids.insert(o.id).second)
            findings.fault(o.name, {}, 0, "catalog id " + std::to_string(o.id) + " is used twice");
        auto [at, fresh] = names.emplace(std::make_pair(o.parentId, folded(o.name)), o.name);
        if (!fresh) findings.fault(o.name, {}, 0, "catalog lists the name twice under parent " + std::to_string(o.parentId));
        if (o.type != catalog::kObjLocalTable) continue;

        const std::uint32_t page = o.tdefPage();
        if (page == storage::kCatalogTdefPage) catalogListed = true;
        if (page == 0 || page >= file.pageCount()) {
            findings.fault(o.name, {}, page, "definition page " + std::to_string(page) + " is outside the file");
            continue;
        }
        if (file.page(page).bytes[0] != storage::kTdefPageType) {
            findings.fault(o.name, {}, page, "definition page is not a table definition (page type " +
                                                 std::to_string(file.page(page).bytes[0]) + ")");
            continue;
        }
        auto [other, firstUse] = tablePages.emplace(page, o.name);
        if (!firstUse) {
            findings.fault(o.name, {}, page, "definition page is also the definition of " + other->second);
            continue;
        }
        CheckedTable table;
        table.name = o.name;
        try {
            table.def = storage::readTableDefinition(file, page);
        } catch (const Error& e) {
            findings.fault(o.name, {}, page, "unreadable definition: " + errorText(e));
            continue;
        }
        readRows(file, table, findings);
        tables.push_back(std::move(table));
    }
    if (!catalogListed)
        findings.fault("MSysObjects", {}, storage::kCatalogTdefPage, "the catalog does not list its own definition");
    checkRelationships(file, objects, tables, findings);
    return tables;
}

}  // namespace jet::verify
