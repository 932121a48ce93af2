// Opening through DBEngine: locks between openers, and a damaged table
// definition that leaves the rest readable. The errors for missing files
// and files that are no database are the page file's (storage/
// page_file_test.cpp); mutants of whole files, storage/mutation_test.cpp and
// the layers' own damage tests (property blobs, query rows).
#include <gtest/gtest.h>

#include <filesystem>

#include "dao/database_impl.h"
#include "jet/dao.h"
#include "support/corpus.h"
#include "support/error_number.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace {

long openError(const std::string& path, bool exclusive = false, bool readOnly = false) {
    return testsupport::errorNumber<jet::Error>([&] { jet::DBEngine().OpenDatabase(path, exclusive, readOnly); });
}

// A writable copy of a corpus file in a folder of its own.
class TempCopy {
public:
    explicit TempCopy(const std::string& relative)
        : path_(folder_.file(std::filesystem::path(relative).filename().string())) {
        testsupport::copyCorpusFile(relative, path_);
    }
    const std::string& path() const { return path_; }

private:
    testsupport::TempFolder folder_;
    std::string path_;
};

}  // namespace

TEST(OpenDatabase, ExclusiveOpenersShutOthersOutUntilClosed) {
    STRUX_REQUIRE_CORPUS();
    TempCopy copy("V1997/testV1997.mdb");
    auto first = jet::DBEngine().OpenDatabase(copy.path(), true, false);
    EXPECT_TRUE(first->Updatable());
    EXPECT_EQ(openError(copy.path()), jet::kErrFileInUse);
    EXPECT_EQ(openError(copy.path(), true), jet::kErrFileInUse);
    EXPECT_EQ(openError(copy.path(), false, true), jet::kErrFileInUse);  // a reader too
    first->Close();
    EXPECT_FALSE(first->IsOpen());
    EXPECT_EQ(openError(copy.path(), true), 0);

    // Shared openers, reading or writing, live side by side and keep an
    // exclusive opener out.
    auto a = jet::DBEngine().OpenDatabase(copy.path());
    auto b = jet::DBEngine().OpenDatabase(copy.path(), false, true);
    EXPECT_EQ(a->TableDefs().Count(), b->TableDefs().Count());
    a.reset();
    EXPECT_EQ(openError(copy.path(), true), jet::kErrFileInUse);
}

TEST(OpenDatabase, AceFilesAreNeverUpdatable) {
    STRUX_REQUIRE_CORPUS();
    TempCopy copy("V2010/testV2010.accdb");
    auto db = jet::DBEngine().OpenDatabase(copy.path());
    EXPECT_FALSE(db->Updatable());
    for (const auto& t : db->TableDefs()) EXPECT_FALSE(t->Updatable()) << t->Name();
    for (const auto& q : db->QueryDefs()) EXPECT_FALSE(q->Updatable()) << q->Name();
}

TEST(OpenDatabase, ClosedDatabaseRefusesFurtherUse) {
    STRUX_REQUIRE_CORPUS();
    auto db = jet::DBEngine().OpenDatabase(testsupport::corpusFile("V1997/testV1997.mdb").string(), false, true);
    jet::TableDef& unread = db->TableDefs()[0];
    db->Close();
    EXPECT_EQ(testsupport::errorNumber<jet::Error>([&] { db->TableDefs(); }), jet::kErrObjectInvalid);
    // A table listed but not yet read can no longer be read.
    EXPECT_EQ(testsupport::errorNumber<jet::Error>([&] { unread.Fields(); }), jet::kErrObjectInvalid);
    EXPECT_FALSE(unread.IsRead());
}

// One table definition that cannot be read must not refuse the file: the
// other tables keep their fields, and the damaged one is listed saying which
// page failed (as `strux verify` does), with nothing of the file's path.
TEST(OpenDatabase, DamagedTableDefinitionLeavesTheRestReadable) {
    STRUX_REQUIRE_CORPUS();
    for (const char* name : {"V1997/testV1997.mdb", "V2003/testV2003.mdb"}) {
        const std::string file = testsupport::readFile(testsupport::corpusFile(name));
        std::vector<std::uint8_t> bytes(file.begin(), file.end());
        const std::size_t pageSize = bytes[0x14] == 0 ? 2048 : 4096;
        std::string victim;
        std::uint32_t page = 0;
        int fieldsBefore = 0;
        {
            auto impl = jet::DatabaseImpl::openBytes(bytes, name);
            for (int i = 0; i < impl->tableDefs.Count() && page == 0; ++i) {
                if ((impl->tableDefs[i].Attributes() & jet::dbSystemObject) != 0 || impl->tdefPages[i] == 0) continue;
                victim = impl->tableDefs[i].Name();
                page = impl->tdefPages[i];
            }
            for (const auto& table : impl->tableDefs) fieldsBefore += table->Fields().Count();
            ASSERT_NE(page, 0u) << name;
        }
        bytes[page * pageSize] = 0x01;  // a data page where the definition was
        jet::Database db(jet::DatabaseImpl::openBytes(std::move(bytes), name));
        // Listed by its catalog entry alone: the damage shows once the
        // table is asked for more than its name and attributes.
        const jet::TableDef& listed = db.TableDefs()[victim];
        EXPECT_EQ(listed.Attributes() & jet::dbSystemObject, 0);
        EXPECT_FALSE(listed.IsRead());
        int fieldsAfter = 0;
        for (const auto& table : db.TableDefs()) {
            fieldsAfter += table->Fields().Count();
            if (table->Name() != victim) {
                EXPECT_EQ(table->Damage(), "") << table->Name();
                continue;
            }
            EXPECT_EQ(table->Fields().Count(), 0);
            EXPECT_EQ(table->Damage().rfind("page " + std::to_string(page) + " ", 0), 0u) << table->Damage();
            EXPECT_EQ(table->Damage().find(name), std::string::npos) << table->Damage();
        }
        EXPECT_GT(fieldsAfter, 0) << name;
        EXPECT_LT(fieldsAfter, fieldsBefore) << name;
        // The table itself still refuses to be read, with the same finding.
        EXPECT_EQ(testsupport::errorNumber<jet::Error>([&] { db.OpenRecordset(victim, jet::dbOpenTable); }),
                  jet::kErrDamaged);
    }
}
