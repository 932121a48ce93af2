// Opening databases: the header fields, refusals with DAO's error numbers
// (missing file, not a database, unknown version, password, ACE
// encryption, conflicting locks), Jet's page encoding, and page bounds.
#include <fcntl.h>
#include <sys/file.h>

#include <filesystem>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "io/file_lock.h"
#include "jet/error.h"
#include "storage_fixture.h"
#include "support/files.h"
#include "support/error_number.h"
#include "support/temp_folder.h"

namespace {

using fixture::Bytes;
using jet::io::OpenOptions;
using jet::io::PageFile;
using storagetest::FormatTest;

// The number of the error an action raises; 0 for none.
constexpr auto jetError = [](auto&& action) { return testsupport::errorNumber<jet::Error>(action); };

// A database file of the given bytes in a folder of its own.
class TempFile {
public:
    explicit TempFile(const Bytes& bytes) { testsupport::writeFile(path(), std::string(bytes.begin(), bytes.end())); }
    std::string path() const { return folder_.file("fixture.mdb"); }

private:
    testsupport::TempFolder folder_;
};

class PageFileTest : public FormatTest {
protected:
    Bytes smallDatabase(fixture::Database& db) {
        auto cols = fixture::layoutColumns(fmt(), {{.name = "Id", .type = jet::storage::coltype::kLong}});
        assemble(db, fixture::tableOf(cols), {{fixture::Slot{fixture::encodeRow(fmt(), cols, {fixture::le32(5)})}}});
        return db.bytes();
    }
};

TEST_P(PageFileTest, HeaderGivesVersionCodePageSortOrderAndSize) {
    fixture::Database db(fmt(), 1251);
    db.setSortOrder(0x0419);
    db.setCreationDate(40000.25);
    auto file = PageFile::fromBytes(smallDatabase(db), "x.mdb");
    EXPECT_EQ(&file->format(), &fmt());
    EXPECT_EQ(file->pageSize(), fmt().isJet3() ? 2048u : 4096u);
    EXPECT_EQ(file->pageCount(), db.pageCount());
    EXPECT_EQ(file->header().codePage, 1251);
    EXPECT_EQ(file->header().sortOrder, 0x0419);
    EXPECT_FALSE(file->header().hasPassword);
    if (!fmt().isJet3()) {
        EXPECT_DOUBLE_EQ(file->header().creationDate, 40000.25);
    }
    EXPECT_EQ(file->header().engineName, fmt().isAce() ? "Standard ACE DB" : "Standard Jet DB");
}

TEST_P(PageFileTest, PasswordProtectedDatabasesNeedTheirPassword) {
    fixture::Database db(fmt());
    db.setPassword("Secret1");
    Bytes bytes = smallDatabase(db);
    EXPECT_EQ(jetError([&] { PageFile::fromBytes(bytes, "p.mdb"); }), jet::kErrPassword);
    EXPECT_EQ(jetError([&] { PageFile::fromBytes(bytes, "p.mdb", OpenOptions{false, false, "Secret2"}); }),
              jet::kErrPassword);
    auto file = PageFile::fromBytes(bytes, "p.mdb", OpenOptions{false, false, "Secret1"});
    EXPECT_TRUE(file->header().hasPassword);
    EXPECT_EQ(readAll(*file).size(), 1u);
}

TEST_P(PageFileTest, EncodedPagesAreDecodedOrRefused) {
    fixture::Database db(fmt());
    db.setEncodingKey(0x1234ABCD);
    Bytes bytes = smallDatabase(db);
    if (fmt().isAce()) {
        // An ACE file with an encoding key is encrypted; without an
        // encryption header on page 0 it is damaged, whatever the password.
        EXPECT_EQ(jetError([&] { PageFile::fromBytes(bytes, "e.accdb"); }), jet::kErrDamaged);
        return;
    }
    auto file = PageFile::fromBytes(bytes, "e.mdb");
    auto rows = readAll(*file);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].values[0], jet::Value(std::int32_t{5}));
}

// A trailing partial page is not counted.
TEST_P(PageFileTest, PagesOutsideTheFileAreDamage) {
    fixture::Database db(fmt());
    Bytes bytes = smallDatabase(db);
    bytes.resize(bytes.size() - 100);
    auto file = PageFile::fromBytes(bytes, "cut.mdb");
    EXPECT_EQ(file->pageCount(), db.pageCount() - 1);
    EXPECT_EQ(jetError([&] { file->page(file->pageCount()); }), jet::kErrDamaged);
    EXPECT_EQ(jetError([&] { file->page(0xFFFFFFFFu); }), jet::kErrDamaged);
    EXPECT_EQ(file->page(file->pageCount() - 1).bytes.size(), file->pageSize());
}

INSTANTIATE_TEST_SUITE_P(Formats, PageFileTest, STORAGE_FORMATS, storagetest::formatName);

TEST(PageFileOpen, MissingFileIs3024WithDaoText) {
    try {
        PageFile::open("/nonexistent/folder/none.mdb");
        FAIL() << "opened a missing file";
    } catch (const jet::Error& e) {
        EXPECT_EQ(e.number(), jet::kErrFileNotFound);
        EXPECT_STREQ(e.what(), "Could not find file '/nonexistent/folder/none.mdb'.");
    }
}

TEST(PageFileOpen, FilesThatAreNotDatabasesAre3343) {
    EXPECT_EQ(jetError([] { PageFile::fromBytes(Bytes(100, 0), "short.mdb"); }), jet::kErrUnrecognizedFormat);
    EXPECT_EQ(jetError([] { PageFile::fromBytes(Bytes(8192, 'x'), "text.mdb"); }), jet::kErrUnrecognizedFormat);

    fixture::Database db(jet::format::jet4Format());
    Bytes bytes = db.bytes();
    bytes[0x14] = 0x2A;  // a version no engine wrote
    EXPECT_EQ(jetError([&] { PageFile::fromBytes(bytes, "v.mdb"); }), jet::kErrUnrecognizedFormat);
    bytes = db.bytes();
    bytes[4] = 'X';  // engine name
    EXPECT_EQ(jetError([&] { PageFile::fromBytes(bytes, "n.mdb"); }), jet::kErrUnrecognizedFormat);

    TempFile folderless(Bytes{});
    EXPECT_EQ(jetError([&] { PageFile::open(folderless.path()); }), jet::kErrUnrecognizedFormat);
    // A folder is no file at all.
    EXPECT_EQ(jetError([] { PageFile::open(std::filesystem::temp_directory_path().string()); }),
              jet::kErrFileNotFound);
}

TEST(PageFileOpen, ReadOnlyFilesOpenReadOnlyAndUnreadableOnesAre3051) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    fixture::Database db(jet::format::jet4Format());
    TempFile temp(db.bytes());
    std::filesystem::permissions(temp.path(), std::filesystem::perms::owner_read);
    EXPECT_TRUE(PageFile::open(temp.path())->readOnly());
    std::filesystem::permissions(temp.path(), std::filesystem::perms::none);
    EXPECT_EQ(jetError([&] { PageFile::open(temp.path()); }), jet::kErrNoPermission);
}

// Every opener holds a shared lock; a commit holds the file alone and gives
// it back, and a refused commit keeps the opener's place.
TEST(PageFileOpen, CommitsTakeTheFileAloneAndGiveItBack) {
    fixture::Database db(jet::format::jet4Format());
    TempFile temp(db.bytes());
    auto file = PageFile::open(temp.path());
    const int other = ::open(temp.path().c_str(), O_RDONLY | O_CLOEXEC);
    const auto alone = [&] { return ::flock(other, LOCK_EX | LOCK_NB) == 0 && ::flock(other, LOCK_UN) == 0; };
    const auto shared = [&] { return ::flock(other, LOCK_SH | LOCK_NB) == 0 && ::flock(other, LOCK_UN) == 0; };

    ASSERT_EQ(::flock(other, LOCK_SH | LOCK_NB), 0);
    EXPECT_FALSE(file->lockForWrite());
    ASSERT_EQ(::flock(other, LOCK_UN), 0);
    EXPECT_FALSE(alone()) << "the refused commit dropped the opener's shared lock";

    ASSERT_TRUE(file->lockForWrite());
    EXPECT_FALSE(shared());
    file->unlockAfterWrite();
    EXPECT_TRUE(shared());
    EXPECT_FALSE(alone());
    EXPECT_FALSE(file->lockLost());
    ::close(other);
}

// Between dropping the exclusive lock and taking the shared one, another
// opener may take the file: a commit of it is waited for, an exclusive
// opener is not waited for without end.
TEST(PageFileOpen, SharedLockWaitsOutAnotherCommitButNotForEver) {
    TempFile temp(Bytes(16, 0));
    const int mine = ::open(temp.path().c_str(), O_RDONLY | O_CLOEXEC);
    const int other = ::open(temp.path().c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_FALSE(jet::io::takeSharedLock(mine, std::chrono::milliseconds(30)));
    std::thread commit([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        ::flock(other, LOCK_UN);
    });
    EXPECT_TRUE(jet::io::takeSharedLock(mine, std::chrono::seconds(5)));
    commit.join();
    EXPECT_NE(::flock(other, LOCK_EX | LOCK_NB), 0);
    ::close(mine);
    ::close(other);
}

}  // namespace
