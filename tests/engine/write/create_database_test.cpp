// DBEngine::CreateDatabase: a blank Jet 3 or Jet 4 file that our reader and
// mdbtools open, DAO's errors, and a catalog whose index entries are the
// bytes Access writes for the same objects.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "io/page_file.h"
#include "jet/dao.h"
#include "storage/table_definition.h"
#include "support/corpus.h"
#include "write/index_page.h"
#include "engine/write/write_support.h"
#include "support/files.h"

namespace {

using writetest::TempFolder;

struct VersionCase {
    int options;
    const char* version;
    const char* mdbVer;
};

class CreateDatabaseTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(CreateDatabaseTest, BlankDatabaseReadsBackHereAndInTheReferee) {
    TempFolder folder;
    const std::string path = folder.file("blank.mdb");
    {
        auto db = jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral, GetParam().options);
        EXPECT_EQ(db->Version(), GetParam().version);
        EXPECT_EQ(db->CollatingOrder(), jet::dbSortGeneral);
        EXPECT_TRUE(db->Updatable());
    }
    // No temporary file is left beside it.
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"blank.mdb"}));
    {
        auto db = jet::DBEngine().OpenDatabase(path);
        std::vector<std::string> tables;
        for (const auto& t : db->TableDefs()) tables.push_back(t->Name());
        EXPECT_EQ(tables, (std::vector<std::string>{"MSysACEs", "MSysObjects", "MSysQueries", "MSysRelationships"}));
        EXPECT_EQ(db->QueryDefs().Count(), 0);
        EXPECT_EQ(db->Relations().Count(), 0);
        // The catalog's indexes as Jet defines them.
        const auto& objects = db->TableDefs()["MSysObjects"];
        ASSERT_EQ(objects.Indexes().Count(), 2);
        EXPECT_EQ(objects.Indexes()["Id"].FieldsText(), "+Id");
        EXPECT_TRUE(objects.Indexes()["Id"].Primary());
        EXPECT_EQ(objects.Indexes()["ParentIdName"].FieldsText(), "+ParentId;+Name");
        EXPECT_EQ(db->Properties()["AccessVersion"].Value(), jet::Value(std::string(GetParam().options ? "08.50" : "07.53")));
    }
    if (!writetest::haveMdbTools()) return;
    bool ok = false;
    EXPECT_EQ(writetest::run("mdb-ver " + writetest::quoted(path), &ok), std::string(GetParam().mdbVer) + "\n");
    EXPECT_TRUE(ok);
    EXPECT_EQ(writetest::run("mdb-tables -S -1 " + writetest::quoted(path), &ok),
              "MSysObjects\nMSysACEs\nMSysQueries\nMSysRelationships\n");
    const std::string catalog = writetest::run("mdb-export " + writetest::quoted(path) + " MSysObjects", &ok);
    EXPECT_TRUE(ok);
    for (const char* name : {"\"Tables\"", "\"Databases\"", "\"Relationships\"", "\"MSysDb\"", "\"MSysRelationships\""})
        EXPECT_NE(catalog.find(name), std::string::npos) << name;
    EXPECT_NE(writetest::run("mdb-prop " + writetest::quoted(path) + " MSysDb").find("AccessVersion"), std::string::npos);
}

// DAO takes the password in the locale argument; the file then opens with
// that password only, here and in mdbtools (which reads protected files
// without asking).
TEST_P(CreateDatabaseTest, PasswordInTheLocaleProtectsTheNewDatabase) {
    TempFolder folder;
    const std::string path = folder.file("secret.mdb");
    jet::DBEngine().CreateDatabase(path, std::string(jet::dbLangGeneral) + ";PWD=Ab1 xyz", GetParam().options);
    auto errorOf = [&](const std::string& connect) {
        return writetest::errorOf([&] { jet::DBEngine().OpenDatabase(path, false, false, connect); });
    };
    EXPECT_EQ(errorOf(""), jet::kErrPassword);
    EXPECT_EQ(errorOf(";PWD=ab1 xyz"), jet::kErrPassword);
    EXPECT_EQ(errorOf(";PWD=Ab1 xy"), jet::kErrPassword);
    EXPECT_EQ(errorOf(";PWD=Ab1 xyz"), 0);
    EXPECT_EQ(writetest::errorOf([&] {
                  jet::DBEngine().CreateDatabase(folder.file("long.mdb"),
                                                 std::string(jet::dbLangGeneral) + ";PWD=" + std::string(21, 'x'),
                                                 GetParam().options);
              }),
              jet::kErrInvalidArgument);
    // mdb-reader, where $STRUX_MDB_READER names it, reads the password
    // back from the masked header field as Access stores it (mdbtools
    // opens the file without asking for one).
    if (const char* reader = std::getenv("STRUX_MDB_READER")) {
        const std::string script =
            "const M = (await import(require('url').pathToFileURL(process.argv[1] + '/lib/node/index.js').href)).default;"
            "process.stdout.write(new M(require('fs').readFileSync(process.argv[2]), {password: 'Ab1 xyz'}).getPassword());";
        bool read = false;
        EXPECT_EQ(writetest::run("node --input-type=commonjs -e \"(async () => {" + script + "})()\" " +
                                     writetest::quoted(reader) + " " + writetest::quoted(path),
                                 &read),
                  "Ab1 xyz");
        EXPECT_TRUE(read);
    }
    if (!writetest::haveMdbTools()) return;
    bool ok = false;
    EXPECT_EQ(writetest::run("mdb-tables -S -1 " + writetest::quoted(path), &ok),
              "MSysObjects\nMSysACEs\nMSysQueries\nMSysRelationships\n");
    EXPECT_TRUE(ok);
}

INSTANTIATE_TEST_SUITE_P(Versions, CreateDatabaseTest,
                         ::testing::Values(VersionCase{0, "3.0", "JET3"}, VersionCase{jet::dbVersion40, "4.0", "JET4"}),
                         [](const auto& info) { return std::string(info.param.options ? "Jet4" : "Jet3"); });

TEST(CreateDatabaseErrors, RefusedArgumentsAndAnExistingFileLeaveTheFolderAsItWas) {
    TempFolder folder;
    const std::string there = folder.file("there.mdb");
    testsupport::writeFile(there, "not a database, but the user's file");
    try {
        jet::DBEngine().CreateDatabase(there, jet::dbLangGeneral);
        FAIL() << "no error";
    } catch (const jet::Error& e) {
        EXPECT_EQ(e.number(), 3204);
        EXPECT_STREQ(e.what(), "Database already exists.");
    }
    EXPECT_EQ(testsupport::readFile(there), "not a database, but the user's file");
    auto errorOf = [&](const std::string& path, const std::string& locale, int options) {
        return writetest::errorOf([&] { jet::DBEngine().CreateDatabase(path, locale, options); });
    };
    EXPECT_EQ(errorOf(folder.file("missing/x.mdb"), jet::dbLangGeneral, 0), 3044);
    EXPECT_EQ(errorOf(folder.file("a.mdb"), jet::dbLangGeneral, jet::dbVersion20), 3001);
    EXPECT_EQ(errorOf(folder.file("b.mdb"), jet::dbLangGeneral, jet::dbVersion40 | 2 /* dbEncrypt */), 3001);
    EXPECT_EQ(errorOf(folder.file("c.mdb"), ";LANGID=zz", 0), 3001);
    // Nothing half-made stays behind.
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"there.mdb"}));
}

// The catalog's name index holds, for every object Access also writes into
// a blank database, exactly the key bytes Access wrote.
TEST(CreateDatabaseKeys, CatalogKeysMatchAccess) {
    STRUX_REQUIRE_CORPUS();
    struct Pair {
        const char* corpus;
        int options;
    };
    for (Pair pair : {Pair{"blank/empty.mdb", jet::dbVersion40}, Pair{"V1997/testV1997.mdb", 0}}) {
        SCOPED_TRACE(pair.corpus);
        TempFolder folder;
        const std::string path = folder.file("new.mdb");
        jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral, pair.options);
        auto keysOf = [](const std::string& file) {
            auto pages = jet::io::PageFile::open(file, {.readOnly = true});
            auto def = jet::storage::readTableDefinition(*pages, jet::storage::kCatalogTdefPage);
            // Real index 0 is ParentIdName in both; a blank catalog fits one leaf.
            auto root = pages->page(def.realIndexes[0].firstPage).bytes;
            std::vector<std::vector<std::uint8_t>> keys;
            for (auto& e : jet::write::readLeafEntries(root, pages->format())) keys.push_back(e.key);
            return keys;
        };
        auto ours = keysOf(path);
        auto theirs = keysOf(testsupport::corpusFile(pair.corpus).string());
        std::size_t common = 0;
        for (const auto& k : ours)
            if (std::find(theirs.begin(), theirs.end(), k) != theirs.end()) ++common;
        // Containers and documents; the system tables are listed under
        // the same parent with the same names.
        EXPECT_GE(common, 15u);
        EXPECT_TRUE(std::is_sorted(ours.begin(), ours.end()));
    }
}

}  // namespace
