// Failing writes. Every page goes through one PageSink; here a sink that
// fails the n-th write stands in for a full disk. A refused operation and a
// write that fails before any existing page is touched must leave a database
// that opens and holds exactly what it held before.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "dao/database_impl.h"
#include "jet/dao.h"
#include "write/page_sink.h"
#include "write/page_store.h"
#include "engine/write/write_support.h"

namespace {

using writetest::TempFolder;

// Passes writes to the file until the n-th, which fails as a full disk does.
class FailingSink : public jet::write::PageSink {
public:
    FailingSink(jet::write::PageSink& target, int failAt) : target_(target), failAt_(failAt) {}
    void writePage(std::uint32_t number, std::span<const std::uint8_t> bytes) override {
        if (++writes_ == failAt_) throw jet::Error(jet::kErrDiskFull, "Not enough space on disk.");
        target_.writePage(number, bytes);
        if (number < firstNew_) touchedOld_ = true;
    }
    void flush() override { target_.flush(); }
    int writes() const { return writes_; }
    bool touchedOld() const { return touchedOld_; }
    std::uint32_t firstNew_ = 0;

private:
    jet::write::PageSink& target_;
    int failAt_;
    int writes_ = 0;
    bool touchedOld_ = false;
};

std::vector<std::string> tableNames(jet::Database& db) {
    std::vector<std::string> names;
    for (const auto& t : db.TableDefs()) names.push_back(t->Name());
    return names;
}

void appendTable(jet::Database& db, const std::string& name) {
    auto t = db.CreateTableDef(name);
    t->Fields().Append(t->CreateField("Key", jet::dbText, 20));
    auto pk = t->CreateIndex("PrimaryKey");
    pk->SetPrimary(true);
    pk->Fields().Append(pk->CreateField("Key"));
    t->Indexes().Append(std::move(pk));
    db.TableDefs().Append(std::move(t));
}

// Fails each write of a TableDefs.Append in turn, for as long as the failing
// write comes before the first existing page is rewritten.
TEST(FailingWrites, AppendFailingBeforeOldPagesLeavesTheDatabaseAsItWas) {
    TempFolder folder;
    const std::string path = folder.file("fail.mdb");
    {
        auto db = jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral, jet::dbVersion40);
        appendTable(*db, "Before");
    }
    int tested = 0;
    for (int n = 1;; ++n) {
        const auto before = writetest::readFile(path);
        auto db = jet::DBEngine().OpenDatabase(path);
        const auto namesBefore = tableNames(*db);
        bool oldPageReached = false;
        db->impl().commitOverride = [&](jet::write::PageStore& store) {
            jet::write::FilePageSink file(db->impl().file->descriptor(), db->impl().file->pageSize(), path);
            FailingSink sink(file, n);
            sink.firstNew_ = db->impl().file->pageCount();
            try {
                store.commit(sink);
            } catch (...) {
                oldPageReached = sink.touchedOld();
                throw;
            }
        };
        long error = 0;
        try {
            appendTable(*db, "During");
        } catch (const jet::Error& e) {
            error = e.number();
        }
        db.reset();
        if (error == 0) break;  // n is past the last write
        EXPECT_EQ(error, jet::kErrDiskFull);
        if (oldPageReached) break;  // beyond what this order of writes protects
        ++tested;
        // The old pages are as they were; the file may have grown.
        auto after = writetest::readFile(path);
        ASSERT_GE(after.size(), before.size());
        after.resize(before.size());
        EXPECT_EQ(after, before) << "write " << n;
        auto reopened = jet::DBEngine().OpenDatabase(path);
        EXPECT_EQ(tableNames(*reopened), namesBefore) << "write " << n;
    }
    EXPECT_GE(tested, 2);  // at least the definition page and the index leaf
}

TEST(FailingWrites, NewDatabaseInAFolderWithoutWriteAccessLeavesNothing) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes to any folder";
    TempFolder folder;
    ::chmod(folder.path().c_str(), 0500);
    long error = 0;
    try {
        jet::DBEngine().CreateDatabase(folder.file("x.mdb"), jet::dbLangGeneral);
    } catch (const jet::Error& e) {
        error = e.number();
    }
    ::chmod(folder.path().c_str(), 0700);
    EXPECT_EQ(error, 3051);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 0);
}

}  // namespace

namespace {

// A second opener caches pages: while it has the file open, writes are
// refused (3218) and change nothing; once it closes, they go through.
TEST(SharedWrites, AnotherOpenerBlocksWritesUntilItCloses) {
    TempFolder folder;
    const std::string path = folder.file("shared.mdb");
    jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral);
    auto writer = jet::DBEngine().OpenDatabase(path);
    auto reader = jet::DBEngine().OpenDatabase(path);
    const auto before = writetest::readFile(path);
    long error = 0;
    try {
        appendTable(*writer, "Blocked");
    } catch (const jet::Error& e) {
        error = e.number();
    }
    EXPECT_EQ(error, 3218);
    EXPECT_EQ(writetest::readFile(path), before);
    reader.reset();
    appendTable(*writer, "Allowed");
    writer.reset();
    auto reopened = jet::DBEngine().OpenDatabase(path);
    EXPECT_NE(reopened->TableDefs().find("Allowed"), nullptr);
    EXPECT_EQ(reopened->TableDefs().find("Blocked"), nullptr);
}

}  // namespace
