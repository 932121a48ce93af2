// Deterministic mutations of corpus files: flipped bytes, truncations, page
// numbers and lengths pointed out of range, and page chains made to loop,
// each aimed at the pages a full read visits. Every mutant must either read
// completely or raise DAO's damage error (or 3343 or 3031 for a changed
// header); anything else (another exception, a crash under the sanitizers,
// a hang) fails.
#include <cstdlib>
#include <random>
#include <set>

#include <gtest/gtest.h>

#include "catalog/system_tables.h"
#include "io/page_file.h"
#include "jet/error.h"
#include "storage/table_reader.h"
#include "support/corpus.h"
#include "support/files.h"
#include "storage/data_page.h"
#include "storage/usage_map.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace jet::storage;

// Reads the whole database the way the catalog does: MSysObjects, then
// every table it lists, every row. Returns the number of rows read.
std::size_t readEverything(jet::io::PageFile& file, std::set<std::uint32_t>* visitedTdefs = nullptr) {
    std::size_t rows = 0;
    for (const auto& object : jet::catalog::readCatalog(file)) {
        ++rows;
        if (object.type != 1) continue;
        if (visitedTdefs) visitedTdefs->insert(object.tdefPage());
        auto def = readTableDefinition(file, object.tdefPage());
        TableReader reader(file, def);
        Row row;
        while (reader.next(row)) ++rows;
    }
    return rows;
}

// Pages worth damaging: the header, the definitions, and the pages their
// usage maps list (data, long values, the maps themselves).
std::vector<std::uint32_t> structuralPages(const Bytes& bytes, const std::string& name) {
    auto file = jet::io::PageFile::fromBytes(bytes, name);
    std::set<std::uint32_t> tdefs{kCatalogTdefPage};
    readEverything(*file, &tdefs);
    std::set<std::uint32_t> pages{0};
    for (std::uint32_t tdef : tdefs) {
        pages.insert(tdef);
        auto def = readTableDefinition(*file, tdef);
        pages.insert(def.ownedPages.page);
        auto owned = readUsageMap(*file, def.ownedPages);
        for (std::size_t i = 0; i < owned.size() && i < 8; ++i) pages.insert(owned[i]);
    }
    return {pages.begin(), pages.end()};
}

class Mutator {
public:
    Mutator(const Bytes& original, std::size_t pageSize, std::vector<std::uint32_t> targets, std::uint32_t seed)
        : original_(original), pageSize_(pageSize), targets_(std::move(targets)), rng_(seed) {}

    Bytes next(std::string& what) {
        Bytes m = original_;
        const std::uint32_t page = targets_[pick(targets_.size())];
        const std::size_t base = static_cast<std::size_t>(page) * pageSize_;
        const std::size_t at = base + pick(pageSize_ - 4);
        switch (pick(6)) {
        case 0: {  // flip a few bytes
            const std::size_t count = 1 + pick(8);
            for (std::size_t i = 0; i < count; ++i) m[base + pick(pageSize_)] ^= static_cast<std::uint8_t>(1 + pick(255));
            what = "flip bytes on page " + std::to_string(page);
            break;
        }
        case 1:  // truncate
            m.resize(pick(m.size()));
            what = "truncate to " + std::to_string(m.size());
            break;
        case 2:  // a page number or length far out of range
            put32(m, at, 0xFFFFFF00u | static_cast<std::uint32_t>(pick(256)));
            what = "large value at " + std::to_string(at);
            break;
        case 3:  // a pointer at this very page: chains loop
            put32(m, at, (page << 8) | static_cast<std::uint32_t>(pick(4)));
            what = "self pointer at " + std::to_string(at);
            break;
        case 4:  // the next-page field of a definition, or a row slot
            put32(m, base + 4, page);
            m[base + 8 + pick(16)] ^= 0xFF;
            what = "loop header of page " + std::to_string(page);
            break;
        default:  // a 16-bit count or offset set to its extreme
            m[at] = 0xFF;
            m[at + 1] = static_cast<std::uint8_t>(pick(2) ? 0xFF : 0x1F);
            what = "max u16 at " + std::to_string(at);
            break;
        }
        return m;
    }

private:
    std::size_t pick(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(rng_() % n); }
    static void put32(Bytes& b, std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4 && at + i < b.size(); ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }

    const Bytes& original_;
    std::size_t pageSize_;
    std::vector<std::uint32_t> targets_;
    std::mt19937 rng_;
};

class Mutation : public ::testing::TestWithParam<const char*> {};

TEST_P(Mutation, EveryMutantReadsOrRaisesAJetError) {
    STRUX_REQUIRE_CORPUS();
    const auto path = testsupport::corpusFile(GetParam());
    const std::string file = testsupport::readFile(path);
    const Bytes original(file.begin(), file.end());
    ASSERT_FALSE(original.empty()) << path;
    const std::size_t pageSize = jet::io::PageFile::fromBytes(original, path.string())->pageSize();
    Mutator mutator(original, pageSize, structuralPages(original, path.string()), 20261206u);

    // STRUX_MUTANTS raises the count for a longer soak run.
    int mutants = 300;
    if (const char* env = std::getenv("STRUX_MUTANTS")) mutants = std::max(1, std::atoi(env));
    int failedCleanly = 0;
    for (int i = 0; i < mutants; ++i) {
        std::string what;
        Bytes mutant = mutator.next(what);
        try {
            auto file = jet::io::PageFile::fromBytes(std::move(mutant), "mutant.mdb");
            readEverything(*file);
        } catch (const jet::Error& e) {
            // Damage, or no database (a header changed), or a password
            // check the changed key fails: never some other DAO error.
            EXPECT_TRUE(e.number() == jet::kErrDamaged || e.number() == jet::kErrUnrecognizedFormat ||
                        e.number() == jet::kErrPassword)
                << "mutant " << i << " (" << what << "): " << e.number() << " " << e.what();
            ++failedCleanly;
        } catch (const std::exception& e) {
            ADD_FAILURE() << "mutant " << i << " (" << what << ") raised " << typeid(e).name() << ": " << e.what();
        }
    }
    // Most mutants are damage the reader must notice; some land on bytes
    // that do not matter.
    EXPECT_GT(failedCleanly, 0);
    RecordProperty("mutantsRefused", failedCleanly);
}

INSTANTIATE_TEST_SUITE_P(Corpus, Mutation,
                         ::testing::Values("real/nwind-jet3.mdb", "V1997/overflowTestV1997.mdb",
                                           "V2000/overflowTestV2000.mdb", "V2003/testUnicodeCompV2003.mdb",
                                           "V2007/delColTestV2007.accdb", "V2010/complexDataTestV2010.accdb",
                                           "real/northwind-small-jet4.mdb"),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (auto& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
