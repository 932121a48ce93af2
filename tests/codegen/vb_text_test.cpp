#include "codegen/vb_text.h"

#include <random>

#include <gtest/gtest.h>

#include "codegen/vb_checker.h"

TEST(VbText, QuotedDoublesQuotationMarks) {
    EXPECT_EQ(codegen::vbQuoted(""), "\"\"");
    EXPECT_EQ(codegen::vbQuoted("Orders"), "\"Orders\"");
    EXPECT_EQ(codegen::vbQuoted("\""), "\"\"\"\"");
    EXPECT_EQ(codegen::vbQuoted("a \"b\" c"), "\"a \"\"b\"\" c\"");
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

// The text the statements assign, read back as VB would.
std::string assignedText(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string prefix = i == 0 ? "v = \"" : "v = v & \"";
        EXPECT_EQ(lines[i].rfind(prefix, 0), 0u) << lines[i];
        EXPECT_EQ(lines[i].back(), '"');
        std::string literal = lines[i].substr(prefix.size(), lines[i].size() - prefix.size() - 1);
        for (std::size_t at = literal.find("\"\""); at != std::string::npos; at = literal.find("\"\"", at + 1))
            literal.erase(at, 1);
        text += literal;
    }
    return text;
}

bool validUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if (i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

}  // namespace

TEST(VbText, StringVariablePiecesStayWithinTheLimitAndRebuildTheText) {
    const std::vector<std::string> alphabet = {"a", "b", " ", "\"", "[", "]", "'", "\xC3\xA9", "\xE2\x82\xAC",
                                               "\xF0\x9F\x98\x80"};
    std::mt19937 random(12345);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 200);
        for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
        const std::size_t limit = 20 + random() % 40;
        const auto lines = codegen::buildStringVariable("v", text, limit);
        ASSERT_EQ(assignedText(lines), text);
        for (const auto& line : lines) {
            ASSERT_LE(line.size(), limit) << line;
            ASSERT_TRUE(validUtf8(line)) << line;
            const auto problems = vbcheck::lineProblems(line);
            ASSERT_TRUE(problems.empty()) << line << ": " << problems.front();
        }
    }
}

TEST(VbText, StringVariableOfShortAndEmptyTexts) {
    EXPECT_EQ(codegen::buildStringVariable("sSQL", ""), (std::vector<std::string>{"sSQL = \"\""}));
    EXPECT_EQ(codegen::buildStringVariable("sSQL", "SELECT \"x\";"),
              (std::vector<std::string>{"sSQL = \"SELECT \"\"x\"\";\""}));
    EXPECT_THROW(codegen::buildStringVariable("sSQL", "x", 10), std::invalid_argument);
}
