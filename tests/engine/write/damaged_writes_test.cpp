// Writing into a damaged file: every byte the writer reads is checked as
// the reader checks it, so damage met while writing is DAO's 3049 naming
// the page, and the file stays byte for byte as it was. The cases are one-
// or two-byte changes to the sample database the build makes (Jet 3), which
// still opens and reads; then the inputs the write fuzzer kept.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/write/write_scenario.h"
#include "engine/write/write_support.h"
#include "support/files.h"

namespace {

using writetest::TempFolder;

const std::string kSample = std::string(STRUX_BINARY_DIR) + "/bin/OrderEntry.mdb";

void addCustomer(jet::Database& db) {
    auto rs = db.OpenRecordset("Customers", jet::dbOpenTable);
    rs->AddNew();
    rs->SetValue("CustomerCode", std::string("NEW"));
    rs->SetValue("CompanyName", std::string("New Company"));
    rs->SetValue("Active", true);
    rs->Update();
}

TEST(DamagedWrites, DamageMetWhileWritingIsRefusedAndChangesNothing) {
    if (!std::filesystem::exists(kSample)) GTEST_SKIP() << kSample << " is made by the build";
    // Offsets into the sample: page 53 holds usage maps (one row, at 0x77B);
    // page 32 defines Customers, whose column Active (number 10) is
    // described at byte 248.
    const struct {
        const char* what;
        std::size_t offset;
        std::vector<std::uint8_t> bytes;
        std::function<void(jet::Database&)> operation;
        const char* page;  // the page the error names
    } cases[] = {
        {"a map page's row count past its slot table", 53 * 2048 + 8, {0x00, 0x04},
         [](jet::Database& db) { writetest::appendTable(db, "Fresh"); }, "page 53"},
        {"a map page's row starting past the page", 53 * 2048 + 10, {0x40, 0x08},
         [](jet::Database& db) { writetest::appendTable(db, "Fresh"); }, "page 53"},
        {"a column numbered past the table's count", 32 * 2048 + 248, {0xFF, 0x03}, addCustomer, "page 32"},
    };
    const auto sample = writetest::readFile(kSample);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        const std::string path = folder.file("damaged.mdb");
        auto damaged = sample;
        std::copy(c.bytes.begin(), c.bytes.end(), damaged.begin() + static_cast<std::ptrdiff_t>(c.offset));
        testsupport::writeFile(path, std::string(damaged.begin(), damaged.end()));
        auto db = jet::DBEngine().OpenDatabase(path);
        try {
            c.operation(*db);
            ADD_FAILURE() << "the write went through";
        } catch (const jet::Error& e) {
            EXPECT_EQ(e.number(), jet::kErrDamaged) << e.what();
            EXPECT_NE(e.context().find(c.page), std::string::npos) << e.context();
        }
        db.reset();
        EXPECT_EQ(writetest::readFile(path), damaged);
        EXPECT_FALSE(std::filesystem::exists(path + ".stxj"));
    }
}

// Each input the write fuzzer kept (tools/fuzz_writes.sh): no crash, and no
// failed step that changed the file. Run under the sanitizers, as CI's
// sanitizer build does, they also show no read or write past a buffer.
TEST(DamagedWrites, InputsTheWriteFuzzerKept) {
    const std::filesystem::path folder = std::filesystem::path(STRUX_SOURCE_DIR) / "tests/data/write-fuzz";
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        SCOPED_TRACE(entry.path().filename().string());
        TempFolder scratch;
        const std::string path = scratch.file("input.mdb");
        std::filesystem::copy_file(entry.path(), path);
        EXPECT_EQ(writetest::runWriteScenario(path).changedByFailure, "");
        ++inputs;
    }
    EXPECT_GT(inputs, 0);
}

}  // namespace
