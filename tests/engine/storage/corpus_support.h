// Helpers for the storage tests that read the corpus: the catalog's table
// list, and the reference reading that goes with each corpus file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "io/page_file.h"
#include "engine/catalog/reference_json.h"
#include "storage/table_definition.h"
#include "storage/table_reader.h"
#include "support/corpus.h"

namespace storagetest {

struct CatalogEntry {
    std::string name;
    std::int32_t id = 0;
    std::int16_t type = 0;
    std::int32_t flags = 0;
    std::uint32_t tdefPage() const { return static_cast<std::uint32_t>(id) & 0x00FFFFFFu; }
};

inline constexpr std::int16_t kCatalogTypeTable = 1;

// Every row of MSysObjects, read through the storage layer.
inline std::vector<CatalogEntry> readCatalog(jet::io::PageFile& file) {
    auto def = jet::storage::readTableDefinition(file, jet::storage::kCatalogTdefPage);
    const int id = def.columnPosition(def.findColumn("Id")->number);
    const int name = def.columnPosition(def.findColumn("Name")->number);
    const int type = def.columnPosition(def.findColumn("Type")->number);
    const int flags = def.columnPosition(def.findColumn("Flags")->number);
    jet::storage::TableReader reader(file, def);
    std::vector<CatalogEntry> out;
    jet::storage::Row row;
    while (reader.next(row)) {
        CatalogEntry e;
        e.id = std::get<std::int32_t>(row.values[id]);
        e.name = std::get<std::string>(row.values[name]);
        e.type = std::get<std::int16_t>(row.values[type]);
        if (!jet::isNull(row.values[flags])) e.flags = std::get<std::int32_t>(row.values[flags]);
        out.push_back(e);
    }
    return out;
}

// The reference reading of `database`, or nullopt when there is none.
inline std::optional<testsupport::Json> referenceFor(const std::filesystem::path& database) {
    const auto path = testsupport::referenceReading(database);
    if (!std::filesystem::exists(path)) return std::nullopt;
    return testsupport::Json::parseFile(path.string());
}

inline std::string corpusName(const std::filesystem::path& database) {
    return std::filesystem::relative(database, testsupport::corpusDir()).generic_string();
}

}  // namespace storagetest
