// Shared setup for the byte-level storage tests: one table at page 2 of a
// database built in memory, in each format version.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fixture_builder.h"
#include "format/jet_format.h"
#include "io/page_file.h"
#include "storage/table_definition.h"
#include "storage/table_reader.h"

namespace storagetest {

inline constexpr std::uint32_t kTablePage = 2;

class FormatTest : public ::testing::TestWithParam<const jet::format::JetFormat*> {
protected:
    const jet::format::JetFormat& fmt() const { return *GetParam(); }
    fixture::Bytes text(const std::string& s) const { return fixture::storedText(fmt(), s); }

    // A database whose page 2 is the definition of `table`, with data pages
    // holding `pages` (owned by the table) listed in an inline usage map.
    // Extra pages (long values) can be added through `prepare` first.
    void assemble(fixture::Database& db, fixture::Table table,
                  const std::vector<std::vector<fixture::Slot>>& pages) const {
        if (db.pageCount() <= kTablePage) db.addPage();
        std::vector<std::uint32_t> owned;
        for (const auto& slots : pages) owned.push_back(db.addDataPage(kTablePage, slots));
        table.ownedMap = db.addInlineUsageMap(owned);
        db.writeTdef(kTablePage, fixture::encodeTdefBody(fmt(), table));
    }

    std::unique_ptr<jet::io::PageFile> build(fixture::Database& db, fixture::Table table,
                                             const std::vector<std::vector<fixture::Slot>>& pages) const {
        assemble(db, std::move(table), pages);
        return jet::io::PageFile::fromBytes(db.bytes(), "fixture.mdb");
    }

    static std::vector<jet::storage::Row> readAll(jet::io::PageFile& file) {
        auto def = jet::storage::readTableDefinition(file, kTablePage);
        jet::storage::TableReader reader(file, def);
        std::vector<jet::storage::Row> rows;
        jet::storage::Row row;
        while (reader.next(row)) rows.push_back(row);
        return rows;
    }
};

inline std::string formatName(const ::testing::TestParamInfo<const jet::format::JetFormat*>& info) {
    std::string name(info.param->name);
    for (auto& c : name)
        if (c == ' ') c = '_';
    return name;
}

#define STORAGE_FORMATS                                                                                   \
    ::testing::Values(&jet::format::jet3Format(), &jet::format::jet4Format(),                             \
                      jet::format::formatForVersionByte(0x03))

}  // namespace storagetest
