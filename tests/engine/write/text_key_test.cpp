// General-order text keys past ASCII, as Access wrote them in the corpus
// files (these bytes are copied from their index entries). Jet 3: marks
// after the codes, ligatures as two letters, symbols with codes of their
// own, descending keys inverted marks and all. Jet 4: control characters
// listed with their place like hyphens. Runs without the corpus.
#include <gtest/gtest.h>

#include "storage/table_definition.h"
#include "write/index_key.h"

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

TEST(Jet3TextKeys, MarksFollowTheCodesForTheLettersThatTakeThem) {
    EXPECT_EQ(keyHex("Köln"), "7f6c726d700600");          // one mark: no unmarked letter before it
    EXPECT_EQ(keyHex("Québec"), "7f7478666166620240");     // u counts, Q does not; an even run
    EXPECT_EQ(keyHex("Genève"), "7f686670667a66022300");   // n counts as a letter that can be marked
    EXPECT_EQ(keyHex("Århus"), "7f60756978760800");        // the first letter marked
    EXPECT_EQ(keyHex("Pâté chinois"), "7f736077661162696a70726a760540");
    EXPECT_EQ(keyHex("Côte de Blaye"), "7f6272776611646611616d607d660250");
    EXPECT_EQ(keyHex("Lakkalikööri"), "7f6d606c6c606d6a6c7272756a02226600");
    // Unmarked letters only: the plain end mark.
    EXPECT_EQ(keyHex("København"), "7f6c8161667069607a7000");
}

TEST(Jet3TextKeys, LigaturesSymbolsAndOtherCharacters) {
    // ß sorts as "ss" and both take a place in the marks.
    EXPECT_EQ(keyHex("Heli Süßwaren GmbH & Co. KG"), "7f69666d6a11767876767b6075667011686f616911171162721f116c68022260");
    EXPECT_EQ(keyHex("aæa"), "7f6060666000");
    EXPECT_EQ(keyHex("a\xc2\xb0" "a"), "7f60486000");          // degree sign
    EXPECT_EQ(keyHex("a\xe2\x80\x9c" "a"), "7f60136000");      // a curly quote sorts as '"'
    EXPECT_EQ(keyHex("a\ta"), "7f60116000");                   // a tab as a blank
    EXPECT_EQ(keyHex("a\x01" "a"), "7f60106000");              // control characters share a code
    EXPECT_EQ(keyHex("aša"), "7f60766002a0");                  // caron
}

TEST(Jet3TextKeys, DescendingInvertsTheMarksToo) {
    EXPECT_EQ(keyHex("aäa", false), "809f9f9ffd9f");
    EXPECT_EQ(keyHex("aÓa", false), "809f8d9ffdbf");
}

TEST(Jet4TextKeys, ControlCharactersAndSymbols) {
    EXPECT_EQ(keyHex("\x03" "DirData", true, false), "7f4f59694f4a6d4a010101018007060500");
    EXPECT_EQ(keyHex("3L9\x1d" "52\x02_AB(\xc2\xa5\x05!!V", true, false),
              "7f3c5e48403a2b034a4c1434a9090971010101018013061a801b0604802f060700");
}

}  // namespace
