// The checks behind jet::verifyDatabase, one file each: the catalog, each
// table's indexes, and the pages the usage maps mark.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "catalog/system_tables.h"
#include "io/page_file.h"
#include "jet/error.h"
#include "storage/table_definition.h"
#include "storage/table_reader.h"
#include "verify/findings.h"

namespace jet::verify {

// A local table whose definition could be read, with its live rows.
struct CheckedTable {
    std::string name;
    storage::TableDefinition def;
    std::vector<storage::Row> rows;
    bool rowsComplete = true;  // false when some rows could not be read
};

// Catalog rows against each other and against the pages they name; reads
// the definition and rows of every local table for the other checks.
std::vector<CheckedTable> checkCatalog(io::PageFile& file, const std::vector<catalog::CatalogObject>& objects,
                                       Findings& findings);

// Every real index of `table`: the tree's pages and links and its usage
// map, its entries' order and key bytes, and its entries against the
// table's rows. Adds the pages of the trees to `treePages`.
void checkIndexes(io::PageFile& file, const CheckedTable& table, Findings& findings,
                  std::set<std::uint32_t>& treePages);

// The tables' usage maps against the pages they mark, the tables' data
// pages against their maps, and page 1's map of free pages against the
// pages in use (definitions, data pages, `treePages`).
void checkPages(io::PageFile& file, const std::vector<CheckedTable>& tables,
                const std::set<std::uint32_t>& treePages, Findings& findings);

// "page 12 row 3"
std::string rowName(storage::RowPointer where);
// An engine error's text with its context, for a finding.
std::string errorText(const Error& e);

}  // namespace jet::verify
