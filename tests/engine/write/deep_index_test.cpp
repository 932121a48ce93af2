// Index trees of three and more levels: tens of thousands of rows with long
// text keys, inserted in scattered order and partly deleted (through their
// keys and by searching every leaf), leave every index holding exactly the
// live rows, in key order, with the keys the encoder gives; the unique check
// still finds a duplicate across leaf boundaries and past leaves emptied by
// deletions; the rows read back through Seek.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "dao/database_impl.h"
#include "jet/dao.h"
#include "write/index_writer.h"
#include "write/page_store.h"
#include "write/table_writer.h"
#include "engine/write/write_support.h"

namespace {

using writetest::errorOf;
using writetest::TempFolder;

// Long keys that share a long prefix, so that pages hold few of them and
// comparisons reach far into the key.
std::string title(int i) {
    return std::string(150, 'k') + " row " + std::to_string((i * 7919) % 100000 + 100000) + " of the deep index";
}

class DeepIndexTest : public ::testing::TestWithParam<int> {
protected:
    static constexpr int kRows = 20000;

    void SetUp() override {
        path_ = folder_.file("deep.mdb");
        auto db = jet::DBEngine().CreateDatabase(path_, jet::dbLangGeneral, GetParam());
        writetest::appendTitleTable(*db, "Deep", 255);
    }

    // The table's definition as it stands in `db`.
    static jet::storage::TableDefinition definition(jet::Database& db) {
        auto& impl = db.impl();
        int position = 0;
        while (db.TableDefs()[position].Name() != "Deep") ++position;
        return jet::storage::readTableDefinition(*impl.file, impl.tdefPages[static_cast<std::size_t>(position)]);
    }

    TempFolder folder_;
    std::string path_;
};

TEST_P(DeepIndexTest, ThousandsOfLongKeysKeepEveryLevelInOrder) {
    std::map<int, jet::storage::RowPointer> live;  // row number -> where
    {
        auto db = jet::DBEngine().OpenDatabase(path_);
        auto& impl = db->impl();
        jet::write::PageStore store(*impl.file);
        auto def = definition(*db);
        jet::write::TableWriter writer(store, def, 1252);
        auto values = [](int i) { return std::vector<jet::Value>{title(i), std::int32_t{i}}; };
        for (int i = 0; i < kRows; ++i) live[i] = writer.insert(values(i));
        // Every third row goes, found through its key; a few by searching
        // every leaf, as rows whose key cannot be computed are.
        for (int i = 0; i < kRows; i += 3) {
            if (i % 300 == 0) writer.remove(live[i]);
            else {
                auto stored = values(i);
                writer.remove(live[i], &stored);
            }
            live.erase(i);
        }
        // A run of neighbouring keys goes too, emptying whole leaves.
        std::vector<std::pair<std::string, int>> byTitle;
        for (auto& [i, where] : live) byTitle.emplace_back(title(i), i);
        std::sort(byTitle.begin(), byTitle.end());
        for (std::size_t k = 1000; k < 1400; ++k) {
            auto stored = values(byTitle[k].second);
            writer.remove(live[byTitle[k].second], &stored);
            live.erase(byTitle[k].second);
        }
        EXPECT_GE(jet::write::indexDepth(store, def.realIndexes[0]), 3);

        // Duplicates are found wherever they lie: every leaf's first and last
        // key, and the key right after the emptied run.
        std::vector<std::string> probes{title(byTitle[1400].second)};
        jet::write::forEachIndexLeaf(store, def.realIndexes[0], [&](std::uint32_t, const jet::write::IndexPage& leaf) {
            if (leaf.entries.empty()) return;
            for (const auto* e : {&leaf.entries.front(), &leaf.entries.back()}) {
                auto at = std::find_if(live.begin(), live.end(), [&](const auto& r) { return r.second == e->row; });
                ASSERT_NE(at, live.end());
                probes.push_back(title(at->first));
            }
        });
        ASSERT_GT(probes.size(), 100u);
        // Keys inside the emptied run are free again.
        live[byTitle[1200].second] = writer.insert(values(byTitle[1200].second));
        writer.saveDefinition();
        impl.commit(store);
        // A refused insert has written into its store: each probe gets its
        // own, dropped afterwards, as a recordset's Update does.
        for (const auto& t : probes) {
            jet::write::PageStore scratch(*impl.file);
            auto copy = definition(*db);
            jet::write::TableWriter probe(scratch, copy, 1252);
            EXPECT_EQ(errorOf([&] { probe.insert({t, std::int32_t{-1}}); }), 3022) << t;
        }
    }

    // Every index holds exactly the live rows, in order, under the keys the
    // encoder gives them: the verifier's index checks.
    EXPECT_EQ(writetest::faults(path_), "");
    auto db = jet::DBEngine().OpenDatabase(path_);
    EXPECT_EQ(definition(*db).rowCount, live.size());

    // Through the recordset: Seek finds rows in every part of the tree; a
    // duplicate fails with 3022; a delete and an edit keep the tree whole.
    auto rs = db->OpenRecordset("Deep", jet::dbOpenTable);
    rs->SetIndex("PrimaryKey");
    int checked = 0;
    for (auto it = live.begin(); it != live.end(); ++it) {
        if (checked++ % 997 != 0) continue;
        rs->Seek("=", {title(it->first)});
        ASSERT_FALSE(rs->NoMatch()) << it->first;
        EXPECT_EQ((*rs)["N"], jet::Value(std::int32_t{it->first}));
    }
    rs->AddNew();
    rs->SetValue("Title", title(live.rbegin()->first));
    EXPECT_EQ(errorOf([&] { rs->Update(); }), 3022);
    rs->CancelUpdate();
    rs->Seek("=", {title(live.begin()->first)});
    rs->Edit();
    rs->SetValue("Title", std::string("a new first key"));
    rs->Update();
    EXPECT_EQ((*rs)["Title"], jet::Value(std::string("a new first key")));
    rs->MoveFirst();
    EXPECT_EQ((*rs)["Title"], jet::Value(std::string("a new first key")));
}

// A damaged tree (a node pointing at itself, or past the end of the file)
// gives 3049 on insert, delete and walk: never a hang or a crash.
TEST_P(DeepIndexTest, DamagedTreeIsReportedNotFollowedForever) {
    auto db = jet::DBEngine().OpenDatabase(path_);
    auto& impl = db->impl();
    auto def = definition(*db);
    {
        jet::write::PageStore store(*impl.file);
        jet::write::TableWriter writer(store, def, 1252);
        for (int i = 0; i < 40; ++i) writer.insert({title(i), std::int32_t{i}});
        writer.saveDefinition();
        impl.commit(store);
    }
    const auto& real = def.realIndexes[0];
    for (std::uint32_t badTail : {real.firstPage, 0xFFFFFFu}) {
        jet::write::PageStore store(*impl.file);
        auto root = jet::write::readIndexPage(store.read(real.firstPage), store.format());
        ASSERT_EQ(root.type, jet::write::kIndexNodePageType);
        root.tail = badTail;
        ASSERT_TRUE(jet::write::writeIndexPage(store.modify(real.firstPage), store.format(), def.tdefPage, root));
        auto copy = def;
        jet::write::TableWriter writer(store, copy, 1252);
        EXPECT_EQ(errorOf([&] { writer.insert({std::string(200, 'z'), std::int32_t{-1}}); }), 3049) << badTail;
        EXPECT_EQ(errorOf([&] { jet::write::allIndexEntries(store, real); }), 3049) << badTail;
    }
}

INSTANTIATE_TEST_SUITE_P(Versions, DeepIndexTest, ::testing::Values(0, static_cast<int>(jet::dbVersion40)),
                         [](const auto& info) { return std::string(info.param ? "Jet4" : "Jet3"); });

}  // namespace
