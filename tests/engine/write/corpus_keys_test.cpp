// The key encoder against the indexes Access wrote: for every index (of any
// depth) of every table of every Jet 3 and Jet 4 corpus file in the
// General order, the key we compute for each row must be the key Access
// stored for that row, and no key may hold a character the encoder cannot
// place.
#include <gtest/gtest.h>

#include <iostream>
#include <map>

#include "catalog/system_tables.h"
#include "io/page_file.h"
#include "storage/table_reader.h"
#include "support/corpus.h"
#include "write/index_key.h"
#include "write/index_page.h"
#include "write/index_writer.h"
#include "write/page_store.h"

namespace {

struct Tally {
    std::size_t compared = 0, matched = 0, unknownCharacters = 0, multiPage = 0;
    std::vector<std::string> mismatches;
};

void checkFile(const std::filesystem::path& path, Tally& tally) {
    auto file = jet::io::PageFile::open(path.string(), {.readOnly = true});
    if (file->format().isAce() || file->header().sortOrder != 0x0409 || file->header().sortOrderVersion != 0) return;
    const bool jet3 = file->format().isJet3();
    for (const auto& object : jet::catalog::readCatalog(*file)) {
        if (object.type != 1) continue;
        jet::storage::TableDefinition def;
        try {
            def = jet::storage::readTableDefinition(*file, object.tdefPage());
        } catch (const std::runtime_error&) {
            continue;
        }
        std::vector<jet::storage::Row> rows;
        jet::storage::TableReader reader(*file, def);
        jet::storage::Row row;
        while (reader.next(row)) rows.push_back(row);
        for (const auto& real : def.realIndexes) {
            if (real.firstPage == 0 || real.firstPage >= file->pageCount()) continue;
            std::map<std::uint32_t, std::vector<std::uint8_t>> stored;
            jet::write::PageStore pages(*file);
            if (jet::write::indexDepth(pages, real) > 1) ++tally.multiPage;
            jet::write::forEachIndexLeaf(pages, real, [&](std::uint32_t, const jet::write::IndexPage& leaf) {
                for (const auto& e : leaf.entries) stored[e.row.stored()] = e.key;
            });
            std::vector<jet::write::KeyColumn> columns;
            for (const auto& c : real.columns) {
                int position = def.columnPosition(c.columnNumber);
                if (position >= 0) columns.push_back({&def.columns[static_cast<std::size_t>(position)], c.ascending});
            }
            for (const auto& r : rows) {
                auto found = stored.find(r.location.stored());
                if (found == stored.end()) continue;  // an ignored Null, or a stale entry
                bool exact = true;
                auto key = jet::write::indexKey(columns, r.values, def, jet3, &exact);
                if (!exact) {
                    ++tally.unknownCharacters;
                    continue;
                }
                ++tally.compared;
                if (key == found->second) ++tally.matched;
                else if (tally.mismatches.size() < 20) {
                    std::string hex;
                    for (auto b : found->second) hex += "0123456789abcdef"[b >> 4], hex += "0123456789abcdef"[b & 15];
                    std::string ours;
                    for (auto b : key) ours += "0123456789abcdef"[b >> 4], ours += "0123456789abcdef"[b & 15];
                    tally.mismatches.push_back(path.filename().string() + " " + object.name + ": stored " + hex +
                                               " ours " + ours);
                }
            }
        }
    }
}

TEST(CorpusKeys, EncoderReproducesAccessKeys) {
    STRUX_REQUIRE_CORPUS();
    Tally tally;
    for (const auto& path : testsupport::corpusDatabases()) {
        if (path.extension() != ".mdb") continue;
        try {
            checkFile(path, tally);
        } catch (const std::runtime_error&) {
            // Files the reader refuses are the reading tests' business.
        }
    }
    std::cout << "keys compared " << tally.compared << ", matched " << tally.matched << ", with unknown characters "
              << tally.unknownCharacters << ", indexes past one page " << tally.multiPage << "\n";
    for (const auto& m : tally.mismatches) std::cout << "  " << m << "\n";
    EXPECT_GT(tally.compared, 0u);
    EXPECT_EQ(tally.matched, tally.compared);
    EXPECT_EQ(tally.unknownCharacters, 0u);
}

}  // namespace
