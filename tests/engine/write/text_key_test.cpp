// General-order text keys past what the corpus shows (every key Access wrote
// in the corpus is reproduced by corpus_keys_test): combining marks, the
// uninverted end of a descending Jet 4 key, rows in other scripts and past
// the 16-bit range written and verified, databases in other sort orders
// refused, and the order table recordsets walk in.
#include <gtest/gtest.h>

#include "format/database_header.h"
#include "format/jet_format.h"
#include "jet/verify.h"
#include "support/error_number.h"
#include "support/files.h"
#include "support/planned_structure.h"
#include "storage/table_definition.h"
#include "write/index_key.h"
#include "write_support.h"

namespace {

std::string keyHex(const std::string& text, bool ascending = true, bool jet3 = true) {
    jet::storage::ColumnDef column;
    column.type = jet::storage::coltype::kText;
    std::vector<std::uint8_t> key;
    EXPECT_TRUE(jet::write::appendKey(key, column, jet::Value(text), ascending, jet3)) << text;
    std::string hex;
    for (auto b : key) hex += "0123456789abcdef"[b >> 4], hex += "0123456789abcdef"[b & 15];
    return hex;
}

TEST(Jet4TextKeys, CombiningMarksSortAsThePrecomposedLetter) {
    EXPECT_EQ(keyHex("Cafe\u0301", true, false), keyHex("Caf\u00e9", true, false));
    EXPECT_EQ(keyHex("\u0415\u0308", true, false), keyHex("\u0401", true, false));  // Ё
}

TEST(Jet4TextKeys, DescendingTextEndsWithAnUninvertedByte) {
    const std::string up = keyHex("Abc", true, false), down = keyHex("Abc", false, false);
    ASSERT_EQ(down.size(), up.size() + 2);
    EXPECT_EQ(down.substr(down.size() - 4), "ff00");
}

// Rows in several scripts, and characters past the 16-bit range, written
// through a recordset: the index verifies key by key (nothing left
// uncompared) and Seek finds a row by its text in another case.
TEST(Jet4TextKeys, RowsInOtherScriptsVerifyAndSeek) {
    writetest::TempFolder folder;
    const std::string path = folder.file("scripts.mdb");
    const std::vector<std::string> words = {"\u041c\u0438\u0440", "\u03ba\u03cd\u03ba\u03bb\u03c9\u03c8",
                                            "\u6f22\u5b57", "\u3072\u3089\u304c\u306a", "\U0001F600 smile",
                                            "co-op", "e\u0301t\u00e9", "\u05e9\u05dc\u05d5\u05dd"};
    {
        auto db = jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral, jet::dbVersion40);
        testsupport::appendTable(*db, {"Words", {{"Word", jet::dbText, 60}},
                                       {{"ByWord", {{"Word", 0}}, false, true}, {"ByWordDown", {{"Word", jet::dbDescending}}}}});
        auto rs = db->OpenRecordset("Words", jet::dbOpenTable);
        for (const auto& w : words) {
            rs->AddNew();
            rs->SetValue("Word", w);
            rs->Update();
        }
    }
    const auto findings = jet::verifyDatabase(path);
    for (const auto& f : findings) ADD_FAILURE() << jet::describeFinding(f);
    auto db = jet::DBEngine().OpenDatabase(path);
    auto rs = db->OpenRecordset("Words", jet::dbOpenTable);
    rs->SetIndex("ByWord");
    rs->Seek("=", {jet::Value(std::string("\u043c\u0418\u0420"))});  // мИР
    ASSERT_FALSE(rs->NoMatch());
    EXPECT_EQ(jet::valueToString(rs->Fields()["Word"].Value()), words[0]);
}

// A database whose indexes are in another sort order (here Cyrillic, 1049)
// is read, but any write is refused before a page changes: keys in the
// General order would leave its indexes out of order.
TEST(Jet4TextKeys, DatabasesInOtherSortOrdersAreNotWritten) {
    writetest::TempFolder folder;
    const std::string path = folder.file("cyrillic.mdb");
    jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral, jet::dbVersion40);
    std::string bytes = testsupport::readFile(path);
    auto* page0 = reinterpret_cast<std::uint8_t*>(bytes.data());
    const auto& format = jet::format::jet4Format();
    jet::format::applyHeaderMask({page0, format.pageSize}, format);
    page0[format.sortOrderOffset] = 0x19;
    page0[format.sortOrderOffset + 1] = 0x04;
    jet::format::applyHeaderMask({page0, format.pageSize}, format);
    testsupport::writeFile(path, bytes);

    auto db = jet::DBEngine().OpenDatabase(path);
    EXPECT_EQ(db->CollatingOrder(), 1049);
    EXPECT_EQ(testsupport::errorNumber<jet::Error>([&] { writetest::appendTable(*db, "Words"); }), 3027);
    db.reset();
    EXPECT_EQ(testsupport::readFile(path), bytes);
}

// A table-type recordset walks an index in the order of its keys, which is
// the database's own: Jet 3 sorts a hyphen as a character before letters,
// Jet 4 leaves it out of the order.
TEST(TextKeyOrder, TableRecordsetsFollowTheDatabasesOrder) {
    for (const int version : {0, static_cast<int>(jet::dbVersion40)}) {
        writetest::TempFolder folder;
        auto db = jet::DBEngine().CreateDatabase(folder.file("order.mdb"), jet::dbLangGeneral, version);
        writetest::appendTable(*db, "Words");
        auto rs = db->OpenRecordset("Words", jet::dbOpenTable);
        for (const char* w : {"ab", "a-c", "AA"}) {
            rs->AddNew();
            rs->SetValue("Key", std::string(w));
            rs->Update();
        }
        rs->SetIndex("PrimaryKey");
        std::string order;
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) order += jet::valueToString(rs->Fields()["Key"].Value()) + " ";
        EXPECT_EQ(order, version == 0 ? "a-c AA ab " : "AA ab a-c ") << "version " << version;
        rs->Seek("=", {jet::Value(std::string("a-c   "))});  // trailing blanks are not part of a key
        EXPECT_FALSE(rs->NoMatch());
    }
}

}  // namespace
