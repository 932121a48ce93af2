// What a commit refuses before it writes anything.
#include <gtest/gtest.h>

#include "engine/storage/fixture_builder.h"
#include "io/page_file.h"
#include "jet/error.h"
#include "support/error_number.h"
#include "write/page_store.h"

namespace {

// Counts what reaches it; nothing should.
struct CountingSink : jet::write::PageSink {
    void writePage(std::uint32_t, std::span<const std::uint8_t>) override { ++writes; }
    void flush() override {}
    void saveUndo(std::span<const std::uint32_t>) override { ++writes; }
    int writes = 0;
};

long commitError(jet::io::PageFile& file, CountingSink& sink) {
    jet::write::PageStore store(file);
    store.modify(1)[100] ^= 0xFF;
    return testsupport::errorNumber<jet::Error>([&] { store.commit(sink); });
}

TEST(PageStoreCommit, APageEncodedFileIsReadOnly) {
    // Pages held in the clear would be garbage in a file whose pages are
    // encoded.
    fixture::Database db(jet::format::jet4Format());
    db.addDataPage(2, {});
    db.setEncodingKey(0x1234ABCD);
    auto file = jet::io::PageFile::fromBytes(db.bytes(), "encoded.mdb");
    CountingSink sink;
    EXPECT_EQ(commitError(*file, sink), jet::kErrReadOnly);
    EXPECT_EQ(sink.writes, 0);
}

TEST(PageStoreCommit, AfterAnUnfinishedWriteNothingMoreIsWritten) {
    fixture::Database db(jet::format::jet4Format());
    db.addDataPage(2, {});
    auto file = jet::io::PageFile::fromBytes(db.bytes(), "unfinished.mdb");
    CountingSink sink;
    EXPECT_EQ(commitError(*file, sink), 0);
    EXPECT_EQ(sink.writes, 2);
    file->setUnfinishedWrite();
    EXPECT_EQ(commitError(*file, sink), jet::kErrDamaged);
    EXPECT_EQ(sink.writes, 2);
}

}  // namespace
