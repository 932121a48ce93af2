// The Access-written protected files: each opens with its password only,
// shows its table and rows, and refuses writes.
#include <gtest/gtest.h>

#include <filesystem>

#include "jet/dao.h"
#include "support/corpus.h"
#include "support/error_number.h"
#include "support/temp_folder.h"

namespace {

using testsupport::EncryptedFile;

std::string pathOf(const EncryptedFile& file) { return (testsupport::encryptedCorpusDir() / file.name).string(); }

std::shared_ptr<jet::Database> open(const std::string& path, const std::string& password) {
    return jet::DBEngine().OpenDatabase(path, false, true, password.empty() ? "" : ";PWD=" + password);
}

// The rows of `table` as text, one line per row, values by position.
std::vector<std::string> rowsOf(jet::Database& db, const std::string& table) {
    std::vector<std::string> rows;
    auto rs = db.OpenRecordset(table, jet::dbOpenTable);
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        std::string row;
        for (int i = 0; i < rs->Fields().Count(); ++i)
            row += (i ? "|" : "") + jet::valueToString(rs->Fields()[i].Value());
        rows.push_back(row);
    }
    return rows;
}

TEST(EncryptedCorpus, EachFileOpensWithItsPasswordAndShowsItsRows) {
    STRUX_REQUIRE_ENCRYPTED_CORPUS();
    for (const auto& file : testsupport::encryptedCorpus()) {
        SCOPED_TRACE(file.name);
        const std::string path = pathOf(file);
        if (*file.password) {
            EXPECT_EQ(testsupport::errorNumber<jet::Error>([&] { open(path, ""); }), jet::kErrPassword);
            EXPECT_EQ(testsupport::errorNumber<jet::Error>([&] { open(path, std::string(file.password) + "x"); }),
                      jet::kErrPassword);
            // Letter case counts.
            EXPECT_EQ(testsupport::errorNumber<jet::Error>([&] { open(path, "test123"); }), jet::kErrPassword);
        }
        auto db = open(path, file.password);
        EXPECT_FALSE(db->Updatable());
        const std::vector<std::string> rows = rowsOf(*db, file.table);
        EXPECT_EQ(static_cast<int>(rows.size()), file.rows);
        if (std::string(file.name).ends_with(".mdb")) {
            EXPECT_EQ(rows, (std::vector<std::string>{"1|hello|0", "2|world|42"}));
        }
        if (std::string(file.name).starts_with("db2007")) {
            EXPECT_EQ(rows.at(0).substr(rows.at(0).find('|')), "|foo");
        }
    }
}

TEST(EncryptedCorpus, WritesAreRefusedWithTheReason) {
    STRUX_REQUIRE_ENCRYPTED_CORPUS();
    testsupport::TempFolder folder;
    const std::string copy = folder.file("db-enc.mdb");
    std::filesystem::copy_file(testsupport::encryptedCorpusDir() / "db-enc.mdb", copy);
    std::filesystem::permissions(copy, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    auto db = jet::DBEngine().OpenDatabase(copy);
    auto table = db->CreateTableDef("Added");
    table->Fields().Append(table->CreateField("ID", jet::dbLong));
    try {
        db->TableDefs().Append(std::move(table));
        FAIL() << "wrote into an encoded file";
    } catch (const jet::Error& e) {
        EXPECT_EQ(e.number(), jet::kErrReadOnly);
        EXPECT_STREQ(e.what(), "Cannot update. Database or object is read-only.");
        EXPECT_NE(e.context().find("RC4 page encoding"), std::string::npos) << e.context();
    }
    EXPECT_EQ(rowsOf(*jet::DBEngine().OpenDatabase(copy, false, true), "Table1").size(), 2u);
}

}  // namespace
