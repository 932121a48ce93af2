// The ids and containers given to objects created one after another in one
// session, where the database keeps them in memory instead of reading the
// catalog for each object: they must be those a fresh reading of the file
// would give, with no id taken twice and none skipped by a write that failed.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <set>

#include "catalog/system_tables.h"
#include "dao/database_impl.h"
#include "engine/write/write_support.h"
#include "io/page_file.h"
#include "jet/dao.h"
#include "support/planned_structure.h"

namespace {

using writetest::errorOf;
using writetest::TempFolder;

const std::string kQuerySql = "SELECT Key FROM Parent;\r\n";

void appendKeyRelation(jet::Database& db, const std::string& name, long attributes) {
    testsupport::appendRelation(db, {name, "Parent", "Child", {{"Key", "Key"}}, attributes});
}

class CatalogIdsTest : public ::testing::TestWithParam<int> {
protected:
    std::vector<jet::catalog::CatalogObject> catalog() {
        auto file = jet::io::PageFile::open(path_, {});
        return jet::catalog::readCatalog(*file);
    }
    std::int32_t containerNamed(const std::vector<jet::catalog::CatalogObject>& objects, const std::string& name) {
        for (const auto& o : objects)
            if (o.type == 3 && o.name == name) return o.id;
        ADD_FAILURE() << "no container " << name;
        return 0;
    }
    const jet::catalog::CatalogObject* named(const std::vector<jet::catalog::CatalogObject>& objects,
                                             const std::string& name) {
        for (const auto& o : objects)
            if (o.name == name) return &o;
        return nullptr;
    }

    TempFolder folder_;
    std::string path_ = folder_.file("ids.mdb");
};

TEST_P(CatalogIdsTest, ObjectsMadeInOneSessionTakeConsecutiveIdsAndFailedWritesTakeNone) {
    jet::DBEngine().CreateDatabase(path_, jet::dbLangGeneral, GetParam());
    std::int32_t highestBefore = std::numeric_limits<std::int32_t>::min();
    for (const auto& o : catalog())
        if (o.id < 0) highestBefore = std::max(highestBefore, o.id);

    {
        auto db = jet::DBEngine().OpenDatabase(path_);
        writetest::appendTable(*db, "Parent");
        writetest::appendTable(*db, "Child");
        db->CreateQueryDef("Q1", kQuerySql);
        appendKeyRelation(*db, "R1", jet::dbRelationDontEnforce);
        // Writes that fail at commit leave nothing behind, ids included.
        db->impl().commitOverride = [](jet::write::PageStore&) { throw jet::Error(jet::kErrDiskFull, "Disk full."); };
        EXPECT_EQ(errorOf([&] { db->CreateQueryDef("Lost", kQuerySql); }), 3026);
        EXPECT_EQ(errorOf([&] { appendKeyRelation(*db, "LostRelation", 0); }), 3026);
        EXPECT_EQ(errorOf([&] { writetest::appendTable(*db, "LostTable"); }), 3026);
        db->impl().commitOverride = nullptr;
        // A table between them does not disturb the sequence: its id is its page.
        writetest::appendTable(*db, "Other");
        appendKeyRelation(*db, "R2", 0);
        db->CreateQueryDef("Q2", kQuerySql);
    }
    {
        // A later session continues from the file.
        auto db = jet::DBEngine().OpenDatabase(path_);
        db->CreateQueryDef("Q3", kQuerySql);
    }

    const auto objects = catalog();
    for (const char* lost : {"Lost", "LostRelation", "LostTable"}) EXPECT_EQ(named(objects, lost), nullptr) << lost;
    std::set<std::int32_t> ids;
    for (const auto& o : objects) EXPECT_TRUE(ids.insert(o.id).second) << "id taken twice: " << o.name;

    const std::int32_t tables = containerNamed(objects, "Tables");
    const std::int32_t relationships = containerNamed(objects, "Relationships");
    std::int32_t expected = highestBefore + 1;
    for (const char* name : {"Q1", "R1", "R2", "Q2", "Q3"}) {
        const auto* o = named(objects, name);
        ASSERT_NE(o, nullptr) << name;
        EXPECT_EQ(o->id, expected++) << name;
        EXPECT_EQ(o->parentId, name[0] == 'R' ? relationships : tables) << name;
    }
    for (const char* name : {"Parent", "Child", "Other"}) {
        const auto* o = named(objects, name);
        ASSERT_NE(o, nullptr) << name;
        EXPECT_GT(o->id, 0) << name;
        EXPECT_EQ(o->parentId, tables) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Versions, CatalogIdsTest, ::testing::Values(0, static_cast<int>(jet::dbVersion40)),
                         [](const auto& info) { return info.param == 0 ? std::string("Jet3") : std::string("Jet4"); });

}  // namespace
