// A definition that needs continuation pages, and a row of a wide table with
// most columns Null. (Rows over many pages: usage_map_test, deep_index_test.)
#include <gtest/gtest.h>

#include "dao/database_impl.h"
#include "io/page_file.h"
#include "jet/dao.h"
#include "storage/table_definition.h"
#include "engine/write/write_support.h"

namespace {

using writetest::TempFolder;

class WideTableTest : public ::testing::TestWithParam<int> {};

TEST_P(WideTableTest, DefinitionOnSeveralPages) {
    TempFolder folder;
    const std::string path = folder.file("wide.mdb");
    constexpr int kColumns = 200;  // about 8 KB of definition in Jet 4, 6 KB in Jet 3
    {
        auto db = jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral, GetParam());
        auto t = db->CreateTableDef("Wide");
        for (int i = 0; i < kColumns; ++i)
            t->Fields().Append(t->CreateField("Column number " + std::to_string(i), i % 2 ? jet::dbLong : jet::dbText, 20));
        auto ix = t->CreateIndex("ByLast");
        ix->Fields().Append(ix->CreateField("Column number 199"));
        t->Indexes().Append(std::move(ix));
        db->TableDefs().Append(std::move(t));
        auto rs = db->OpenRecordset("Wide");
        rs->AddNew();
        rs->SetValue("Column number 0", std::string("first"));
        rs->SetValue("Column number 199", std::int32_t{199});
        rs->Update();
    }
    auto pages = jet::io::PageFile::open(path, {.readOnly = true});
    auto db = jet::DBEngine().OpenDatabase(path);
    const std::uint32_t tdef = db->impl().tdefPages.back();
    EXPECT_NE(pages->page(tdef).bytes[4] | pages->page(tdef).bytes[5], 0) << "expected a continuation page";
    const auto& t = db->TableDefs()["Wide"];
    ASSERT_EQ(t.Fields().Count(), kColumns);
    EXPECT_EQ(t.Fields()[kColumns - 1].Name(), "Column number 199");
    EXPECT_EQ(t.Indexes()["ByLast"].FieldsText(), "+Column number 199");
    auto rs = db->OpenRecordset("Wide");
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ((*rs)["Column number 0"], jet::Value(std::string("first")));
    EXPECT_EQ((*rs)["Column number 199"], jet::Value(std::int32_t{199}));
    EXPECT_TRUE(jet::isNull((*rs)["Column number 1"]));

    if (writetest::haveMdbTools()) {
        bool ok = false;
        const std::string schema = writetest::run("mdb-schema " + writetest::quoted(path), &ok);
        EXPECT_TRUE(ok);
        EXPECT_NE(schema.find("[Column number 199]"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Versions, WideTableTest, ::testing::Values(0, static_cast<int>(jet::dbVersion40)),
                         [](const auto& info) { return std::string(info.param ? "Jet4" : "Jet3"); });

}  // namespace
