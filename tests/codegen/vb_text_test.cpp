#include "codegen/vb_text.h"

#include <random>

#include <gtest/gtest.h>

#include "codegen/vb_checker.h"

TEST(VbText, QuotedDoublesQuotationMarks) {
    EXPECT_EQ(codegen::vbQuoted(""), "\"\"");
    EXPECT_EQ(codegen::vbQuoted("Orders"), "\"Orders\"");
    EXPECT_EQ(codegen::vbQuoted("\""), "\"\"\"\"");
    EXPECT_EQ(codegen::vbQuoted("a \"b\" c"), "\"a \"\"b\"\" c\"");
    EXPECT_EQ(codegen::vbQuoted("tab\there"), "\"tab\there\"");
}

TEST(VbText, CharactersOutsideAsciiBecomeChrW) {
    EXPECT_EQ(codegen::vbQuoted("Anv\xC3\xA4ndare"), "\"Anv\" & ChrW$(&HE4) & \"ndare\"");
    EXPECT_EQ(codegen::vbQuoted("\xC3\xA9\xE2\x82\xAC"), "ChrW$(&HE9) & ChrW$(&H20AC)");
    EXPECT_EQ(codegen::vbQuoted("\"\xC3\xA9\""), "\"\"\"\" & ChrW$(&HE9) & \"\"\"\"");
    // Beyond U+FFFF: the two surrogates VB's 16-bit strings hold.
    EXPECT_EQ(codegen::vbQuoted("\xF0\x9F\x98\x80!"), "ChrW$(&HD83D) & ChrW$(&HDE00) & \"!\"");
    // Control characters and damaged UTF-8 cannot stand in a literal either.
    EXPECT_EQ(codegen::vbQuoted("a\x01"), "\"a\" & ChrW$(&H1)");
    EXPECT_EQ(codegen::vbQuoted("\xFFx\xC3"), "ChrW$(&HFFFD) & \"x\" & ChrW$(&HFFFD)");
    EXPECT_EQ(codegen::vbQuoted("\xE0\x80\x80"), "ChrW$(&HFFFD) & ChrW$(&HFFFD) & ChrW$(&HFFFD)");

    EXPECT_TRUE(codegen::fitsInBrackets("Order Details"));
    EXPECT_FALSE(codegen::fitsInBrackets("Odd]"));
    EXPECT_FALSE(codegen::fitsInBrackets("Anv\xC3\xA4ndare"));
}

TEST(VbText, FlattenedSql) {
    // Three stored lines become one, with single blanks at the breaks.
    EXPECT_EQ(codegen::flattenSql("SELECT Customers.*\r\nFROM Customers\r\n;"), "SELECT Customers.* FROM Customers ;");
    EXPECT_EQ(codegen::flattenSql("  SELECT 1;\r\n\r\n"), "SELECT 1;");
    // A blank before a break is kept; only the break becomes one blank.
    EXPECT_EQ(codegen::flattenSql("SELECT a \r\nFROM t;"), "SELECT a  FROM t;");
    // A break that is not a CR LF pair still may not end the VB line.
    EXPECT_EQ(codegen::flattenSql("SELECT \"a\nb\"\rFROM t;"), "SELECT \"a b\" FROM t;");
    EXPECT_EQ(codegen::flattenSql("\r\n  \r\n"), "");
    EXPECT_EQ(codegen::flattenSql("\tSELECT 1;\t"), "\tSELECT 1;\t");
}

namespace {

// The text the statements assign, evaluated as VB would.
std::string assignedText(const std::vector<std::string>& lines) {
    std::u32string units;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string prefix = i == 0 ? "v = " : "v = v & ";
        EXPECT_EQ(lines[i].rfind(prefix, 0), 0u) << lines[i];
        bool ok = false;
        units += vbcheck::evaluateUnits(lines[i].substr(prefix.size()), ok);
        EXPECT_TRUE(ok) << lines[i];
    }
    return vbcheck::utf8FromUnits(units);
}

}  // namespace

TEST(VbText, StringVariablePiecesStayWithinTheLimitAndRebuildTheText) {
    const std::vector<std::string> alphabet = {"a", "b", " ", "\"", "[", "]", "'", "&", "\xC3\xA9", "\xE2\x82\xAC",
                                               "\xF0\x9F\x98\x80"};
    std::mt19937 random(12345);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 200);
        for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
        const std::size_t limit = 22 + random() % 40;
        const auto lines = codegen::buildStringVariable("v", text, limit);
        ASSERT_EQ(assignedText(lines), text);
        for (const auto& line : lines) {
            ASSERT_LE(line.size(), limit) << line;
            const auto problems = vbcheck::lineProblems(line);
            ASSERT_TRUE(problems.empty()) << line << ": " << problems.front();
        }
    }
}

TEST(VbText, StringVariableOfShortAndEmptyTexts) {
    EXPECT_EQ(codegen::buildStringVariable("sSQL", ""), (std::vector<std::string>{"sSQL = \"\""}));
    EXPECT_EQ(codegen::buildStringVariable("sSQL", "SELECT \"x\";"),
              (std::vector<std::string>{"sSQL = \"SELECT \"\"x\"\";\""}));
    EXPECT_EQ(codegen::buildStringVariable("v", "\xC3\xA9\xC3\xA9", 22),
              (std::vector<std::string>{"v = ChrW$(&HE9)", "v = v & ChrW$(&HE9)"}));
    EXPECT_THROW(codegen::buildStringVariable("sSQL", "x", 20), std::invalid_argument);
}
