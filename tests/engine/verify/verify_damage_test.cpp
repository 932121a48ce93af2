// Damage the checks must name: engine-written files, verified clean, then
// changed in one place each, the way a torn write or a faulty writer would
// leave them. Each finding must name the table, index and page concerned.
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "catalog/system_tables.h"
#include "io/page_file.h"
#include "jet/dao.h"
#include "jet/verify.h"
#include "storage/data_page.h"
#include "storage/table_definition.h"
#include "storage/usage_map.h"
#include "support/planned_structure.h"
#include "write/index_page.h"
#include "write/page_sink.h"
#include "write/page_store.h"
#include "write/table_writer.h"
#include "engine/write/write_support.h"

namespace {

using writetest::TempFolder;

class VerifyDamage : public ::testing::TestWithParam<int> {
protected:
    // "Items": a text primary key over `rows` rows (long keys with
    // `keyLength` > 20 make the index more than one page), and an index on
    // a Long column.
    void build(int rows, int keyLength = 10) {
        auto db = jet::DBEngine().CreateDatabase(path_, jet::dbLangGeneral, GetParam());
        testsupport::appendTable(*db, {"Items", {{"Code", jet::dbText, 255}, {"Qty", jet::dbLong}},
                                       {{"PrimaryKey", {{"Code", 0}}, true}, {"ByQty", {{"Qty", 0}}}}});
        auto rs = db->OpenRecordset("Items", jet::dbOpenTable);
        for (int i = 0; i < rows; ++i) {
            rs->AddNew();
            std::string code = "Item " + std::to_string(100 + i);
            code.resize(static_cast<std::size_t>(std::max<int>(keyLength, static_cast<int>(code.size()))), 'k');
            rs->SetValue("Code", code);
            rs->SetValue("Qty", std::int32_t{i * 3});
            rs->Update();
        }
        db.reset();
        const auto findings = jet::verifyDatabase(path_);
        ASSERT_TRUE(jet::verifiedClean(findings)) << describe(findings);
        bytes_ = writetest::readFile(path_);
        file_ = jet::io::PageFile::fromBytes(bytes_, path_);
        for (const auto& o : jet::catalog::readCatalog(*file_))
            if (o.name == "Items") def_ = jet::storage::readTableDefinition(*file_, o.tdefPage());
    }

    std::span<std::uint8_t> page(std::uint32_t number) {
        return std::span(bytes_).subspan(number * file_->pageSize(), file_->pageSize());
    }
    // Where the row `where` starts in the file's bytes.
    std::size_t rowOffset(jet::storage::RowPointer where) {
        jet::storage::DataPage data(*file_, where.page);
        return where.page * file_->pageSize() +
               static_cast<std::size_t>(data.row(where.row).bytes.data() - file_->page(where.page).bytes.data());
    }
    // Sets or clears the mark for `target` in the inline usage map at `map`.
    void markInMap(jet::storage::RowPointer map, std::uint32_t target, bool set) {
        const std::size_t at = rowOffset(map);
        ASSERT_EQ(bytes_[at], 0) << "an inline map";
        const std::uint32_t start = bytes_[at + 1] | bytes_[at + 2] << 8 | bytes_[at + 3] << 16 | bytes_[at + 4] << 24;
        const std::uint32_t bit = target - start;
        auto& b = bytes_[at + 5 + bit / 8];
        b = static_cast<std::uint8_t>(set ? b | (1u << (bit % 8)) : b & ~(1u << (bit % 8)));
    }
    jet::write::IndexPage indexPage(std::uint32_t number) {
        return jet::write::readIndexPage(page(number), file_->format());
    }
    void rewriteIndexPage(std::uint32_t number, const jet::write::IndexPage& content) {
        ASSERT_TRUE(jet::write::writeIndexPage(page(number), file_->format(), def_.tdefPage, content));
    }

    // The faults after writing the changed bytes back.
    std::vector<jet::VerifyFinding> faults() {
        std::ofstream(path_, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes_.data()), static_cast<std::streamsize>(bytes_.size()));
        std::vector<jet::VerifyFinding> out;
        for (auto& f : jet::verifyDatabase(path_))
            if (f.isFault()) out.push_back(std::move(f));
        return out;
    }
    static std::string describe(const std::vector<jet::VerifyFinding>& findings) {
        std::string out;
        for (const auto& f : findings) out += jet::describeFinding(f) + "\n";
        return out;
    }
    // True when a fault names `table`, `index` and `page` and says `words`.
    static bool named(const std::vector<jet::VerifyFinding>& findings, const std::string& table,
                      const std::string& index, std::uint32_t page, const std::string& words) {
        for (const auto& f : findings)
            if (f.table == table && f.index == index && (page == 0 || f.page == page) &&
                f.text.find(words) != std::string::npos)
                return true;
        return false;
    }

    TempFolder folder_;
    std::string path_ = folder_.file("damaged.mdb");
    std::vector<std::uint8_t> bytes_;
    std::unique_ptr<jet::io::PageFile> file_;
    jet::storage::TableDefinition def_;
};

TEST_P(VerifyDamage, IndexEntriesAgainstRows) {
    build(6);
    const std::uint32_t root = def_.realIndexes[0].firstPage;
    auto leaf = indexPage(root);
    ASSERT_EQ(leaf.entries.size(), 6u);

    auto lost = leaf;  // an entry missing: its row is not found through the index
    const auto missingRow = lost.entries[2].row;
    lost.entries.erase(lost.entries.begin() + 2);
    rewriteIndexPage(root, lost);
    auto found = faults();
    EXPECT_TRUE(named(found, "Items", "PrimaryKey", 0,
                      "page " + std::to_string(missingRow.page) + " row " + std::to_string(missingRow.row) + " has no entry"))
        << describe(found);

    auto stray = leaf;  // an entry for a slot that holds no row
    stray.entries.back().row.row = 77;
    rewriteIndexPage(root, stray);
    found = faults();
    EXPECT_TRUE(named(found, "Items", "PrimaryKey", root, "which holds no row")) << describe(found);

    auto swapped = leaf;  // entries out of order
    std::swap(swapped.entries[1], swapped.entries[4]);
    rewriteIndexPage(root, swapped);
    found = faults();
    EXPECT_TRUE(named(found, "Items", "PrimaryKey", root, "is not after")) << describe(found);

    auto altered = leaf;  // a key that is not its row's (still in order)
    altered.entries.back().key.back() ^= 0x01;
    rewriteIndexPage(root, altered);
    found = faults();
    EXPECT_TRUE(named(found, "Items", "PrimaryKey", root, "its row gives")) << describe(found);
    EXPECT_EQ(found.size(), 1u) << describe(found);

    auto doubled = leaf;  // the same row listed twice
    doubled.entries.insert(doubled.entries.begin() + 3, doubled.entries[3]);
    rewriteIndexPage(root, doubled);
    found = faults();
    EXPECT_TRUE(named(found, "Items", "PrimaryKey", root, "")) << describe(found);

    rewriteIndexPage(root, leaf);
    EXPECT_TRUE(faults().empty());
}

TEST_P(VerifyDamage, TreeLinksAndBounds) {
    build(60, 120);
    const std::uint32_t root = def_.realIndexes[0].firstPage;
    auto node = indexPage(root);
    ASSERT_EQ(node.type, jet::write::kIndexNodePageType);
    ASSERT_GE(node.entries.size(), 2u);
    const std::uint32_t first = node.entries[0].child, second = node.entries[1].child;

    auto leaf = indexPage(first);
    auto relinked = leaf;
    relinked.next = root;
    rewriteIndexPage(first, relinked);
    auto found = faults();
    EXPECT_TRUE(named(found, "Items", "PrimaryKey", first, "links on to page " + std::to_string(root)))
        << describe(found);
    rewriteIndexPage(first, leaf);

    // The second leaf's entries under the first leaf's bound.
    auto moved = node;
    std::swap(moved.entries[0].child, moved.entries[1].child);
    rewriteIndexPage(root, moved);
    found = faults();
    EXPECT_TRUE(named(found, "Items", "PrimaryKey", second, "outside the bounds")) << describe(found);
    rewriteIndexPage(root, node);

    // A node that names itself as its child.
    auto cycle = node;
    cycle.tail = root;
    rewriteIndexPage(root, cycle);
    found = faults();
    EXPECT_TRUE(named(found, "Items", "PrimaryKey", root, "reached twice")) << describe(found);
}

TEST_P(VerifyDamage, UsageMapsAgainstPages) {
    build(4);
    const auto dataPages = jet::storage::readUsageMap(*file_, def_.ownedPages);
    ASSERT_EQ(dataPages.size(), 1u);
    const auto before = bytes_;

    markInMap(def_.ownedPages, dataPages[0], false);  // the table's rows would be invisible
    auto found = faults();
    EXPECT_TRUE(named(found, "Items", "", dataPages[0], "not marked in the table's usage map")) << describe(found);
    bytes_ = before;

    markInMap({1, 0}, def_.tdefPage, true);  // the next new page would overwrite the definition
    found = faults();
    EXPECT_TRUE(named(found, "", "", def_.tdefPage, "marked free")) << describe(found);
    bytes_ = before;

    markInMap(def_.realIndexes[1].usageMap, def_.realIndexes[1].firstPage, false);
    found = faults();
    EXPECT_TRUE(named(found, "Items", "ByQty", def_.realIndexes[1].firstPage, "not marked in the index's usage map"))
        << describe(found);
}

TEST_P(VerifyDamage, CatalogNamesAPageThatIsNoDefinition) {
    build(2);
    page(def_.tdefPage)[0] = 0x01;
    auto found = faults();
    EXPECT_TRUE(named(found, "Items", "", def_.tdefPage, "not a table definition")) << describe(found);
}

INSTANTIATE_TEST_SUITE_P(Versions, VerifyDamage, ::testing::Values(0, static_cast<int>(jet::dbVersion40)),
                         [](const auto& info) { return std::string(info.param ? "Jet4" : "Jet3"); });

}  // namespace

namespace {

// A relationship row whose table is gone, as a faulty writer leaves it.
TEST(VerifyCatalog, RelationshipNamingAMissingTableOrColumn) {
    TempFolder folder;
    const std::string path = folder.file("rel.mdb");
    {
        auto db = jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral, jet::dbVersion40);
        writetest::appendTable(*db, "Orders");
    }
    {
        // Written below the object model, which keeps system tables read-only.
        auto file = jet::io::PageFile::open(path, {.exclusive = true});
        jet::storage::TableDefinition def;
        for (const auto& o : jet::catalog::readCatalog(*file))
            if (o.name == "MSysRelationships") def = jet::storage::readTableDefinition(*file, o.tdefPage());
        const std::map<std::string, jet::Value> row = {
            {"szRelationship", std::string("OrdersLines")}, {"szReferencedObject", std::string("Orders")},
            {"szReferencedColumn", std::string("Number")},   {"szObject", std::string("Lines")},
            {"szColumn", std::string("Order")},              {"ccolumn", std::int32_t{1}},
            {"icolumn", std::int32_t{0}},                    {"grbit", std::int32_t{0}}};
        std::vector<jet::Value> values;
        for (const auto& c : def.columns) values.push_back(row.count(c.name) ? row.at(c.name) : jet::Value{});
        jet::write::PageStore store(*file);
        jet::write::TableWriter writer(store, def, 1252);
        writer.insert(values);
        writer.saveDefinition();
        jet::write::FilePageSink sink(file->descriptor(), file->pageSize(), path);
        store.commit(sink);
    }
    std::vector<std::string> faults;
    for (const auto& f : jet::verifyDatabase(path))
        if (f.isFault()) faults.push_back(jet::describeFinding(f));
    EXPECT_EQ(faults, (std::vector<std::string>{
                          "table MSysRelationships: relationship OrdersLines names column Number of table Orders, "
                          "which the catalog lacks",
                          "table MSysRelationships: relationship OrdersLines names table Lines, which the catalog lacks"}));
}

}  // namespace
