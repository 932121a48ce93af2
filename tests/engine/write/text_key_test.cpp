// General-order text keys past ASCII, as Access wrote them in the corpus
// files (these bytes are copied from their index entries). Jet 3: marks
// after the codes, ligatures as two letters, symbols with codes of their
// own, descending keys inverted marks and all. Jet 4: control characters
// listed with their place like hyphens; Cyrillic, polytonic Greek and
// Japanese. Runs without the corpus.
#include <gtest/gtest.h>

#include "format/database_header.h"
#include "format/jet_format.h"
#include "jet/verify.h"
#include "support/error_number.h"
#include "support/files.h"
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

// Text, ascending, Jet 3, and the key Access wrote for it.
struct KeyCase {
    const char* text;
    bool ascending, jet3;
    const char* hex;
};

TEST(TextKeys, KeysAsAccessWroteThem) {
    const KeyCase cases[] = {
        // Jet 3: marks follow the codes for the letters that take them.
        {"Köln", true, true, "7f6c726d700600"},          // one mark: no unmarked letter before it
        {"Québec", true, true, "7f7478666166620240"},     // u counts, Q does not; an even run
        {"Genève", true, true, "7f686670667a66022300"},   // n counts as a letter that can be marked
        {"Århus", true, true, "7f60756978760800"},        // the first letter marked
        {"Pâté chinois", true, true, "7f736077661162696a70726a760540"},
        {"Côte de Blaye", true, true, "7f6272776611646611616d607d660250"},
        {"Lakkalikööri", true, true, "7f6d606c6c606d6a6c7272756a02226600"},
        {"København", true, true, "7f6c8161667069607a7000"},  // unmarked letters only: the plain end mark
        // ß sorts as "ss" and both take a place in the marks.
        {"Heli Süßwaren GmbH & Co. KG", true, true, "7f69666d6a11767876767b6075667011686f616911171162721f116c68022260"},
        {"aæa", true, true, "7f6060666000"},
        {"a\xc2\xb0" "a", true, true, "7f60486000"},      // degree sign
        {"a\xe2\x80\x9c" "a", true, true, "7f60136000"},  // a curly quote sorts as '"'
        {"a\ta", true, true, "7f60116000"},               // a tab as a blank
        {"a\x01" "a", true, true, "7f60106000"},          // control characters share a code
        {"aša", true, true, "7f60766002a0"},               // caron
        // Descending inverts the marks too.
        {"aäa", false, true, "809f9f9ffd9f"},
        {"aÓa", false, true, "809f8d9ffdbf"},
        // Jet 4: control characters and symbols placed like hyphens.
        {"\x03" "DirData", true, false, "7f4f59694f4a6d4a010101018007060500"},
        {"3L9\x1d" "52\x02_AB(\xc2\xa5\x05!!V", true, false,
         "7f3c5e48403a2b034a4c1434a9090971010101018013061a801b0604802f060700"},
        {"\u041c\u0438\u0440", true, false, "7f7943793b79480100"},  // Мир
        // A ligature takes a place per letter in the hyphens' positions, marks
        // or none (Access's Jet 4 Northwind, Products.ProductName).
        {"NuNuCa Nu\u00df-Nougat-Creme", true, false,
         "7f626f626f4d4a07626f6b6b62646f554a6d4d695160510101010180330682804b068200"},
        // Polytonic Greek: accents and breathings in the marks, the apostrophe placed.
        {"\u03f0\u03b1\u1f76 \u03c4\u03cc\u03c4' \u1f10\u03b3\u1f7c \u039a\u03cd\u03f0\u03bb\u03c9\u03c0\u03b1", true,
         false, "7f7915790c07791e791a791e07790e077915791f791579167923791b790c01030202020502020202020503010101801f068000"},
        // Kanji and kana: the voiced kana's mark, then the kana flags' section.
        {"\u6f22\u5b57\u4eee\u540d\u4ea4\u3058\u308a\u6587", true, false,
         "7fc0b6acaca00da5479fbe7f137f43b6f6010202020202030101ff0280ff8000"},
    };
    for (const auto& c : cases) EXPECT_EQ(keyHex(c.text, c.ascending, c.jet3), c.hex) << c.text;
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
        auto t = db->CreateTableDef("Words");
        t->Fields().Append(t->CreateField("Word", jet::dbText, 60));
        writetest::addIndex(*t, "ByWord", {{"Word", false}}, false, true);
        writetest::addIndex(*t, "ByWordDown", {{"Word", true}});
        db->TableDefs().Append(std::move(t));
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
