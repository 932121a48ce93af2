// The REGEDIT4 text of a hive: what a person reads, what comes back from it,
// and what a damaged text still gives.
#include <gtest/gtest.h>

#include <string>

#include "registry/ansi_code_page.h"
#include "registry/hive.h"
#include "registry/regedit4_format.h"

namespace {

using regstore::Key;

std::string Sz(std::string text) { return text + '\0'; }
std::string Dword(std::uint32_t n) {
    std::string d;
    for (int i = 0; i < 4; ++i) d += static_cast<char>((n >> (8 * i)) & 0xFF);
    return d;
}

TEST(RegistryHiveText, WritesTheRegistryEditorsFormWithEscapes) {
    Key root;
    Key& printing = root.create({"SOFTWARE", "Corvane", "Strux32"});
    printing.setValue("1", 1, Sz("Default[-1[0"));
    printing.setValue("Path \"quoted\"", 1, Sz("C:\\Program Files\\Strux32"));
    printing.setValue("Count", 4, Dword(42));
    printing.setValue("", 1, Sz("default"));
    printing.setValue("Bytes", 3, std::string("\x01\xff\x00", 3));

    EXPECT_EQ(regstore::FormatRegedit4(root, "HKEY_LOCAL_MACHINE"),
              "REGEDIT4\n\n"
              "[HKEY_LOCAL_MACHINE]\n\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE]\n\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane]\n\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Strux32]\n"
              "\"1\"=\"Default[-1[0\"\n"
              "\"Path \\\"quoted\\\"\"=\"C:\\\\Program Files\\\\Strux32\"\n"
              "\"Count\"=dword:0000002a\n"
              "@=\"default\"\n"
              "\"Bytes\"=hex:01,ff,00\n\n");
}

TEST(RegistryHiveText, EveryValueComesBackByteForByte) {
    Key root;
    Key& key = root.create({"Caf\xE9", "Sub"});  // e acute in the code page
    const std::string longBinary(200, '\x5a');
    key.setValue("plain", 1, Sz("na\xEFve \x80 \"x\" \\"));
    key.setValue("empty", 1, Sz(""));
    key.setValue("unterminated", 1, "abc");
    key.setValue("inner zero", 1, std::string("a\0b\0", 4));
    key.setValue("line break", 1, Sz("one\r\ntwo"));
    key.setValue("zero length", 1, "");
    key.setValue("short dword", 4, "\x01\x02");
    key.setValue("max", 4, Dword(0xFFFFFFFFu));
    key.setValue("long", 3, longBinary);
    key.setValue("qword", 11, std::string(8, '\x07'));

    const std::string text = regstore::FormatRegedit4(root, "HKEY_CURRENT_USER");
    // Long hex data wraps, as the registry editor's exports do.
    for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
        end = text.find('\n', start);
        EXPECT_LE(end - start, 80u) << text.substr(start, end - start);
    }
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Caf\xC3\xA9\\Sub]"), std::string::npos) << "names are UTF-8 text";

    regstore::ParseReport report;
    const Key back = regstore::ParseRegedit4(text, "HKEY_CURRENT_USER", &report);
    EXPECT_FALSE(report.damaged());
    const Key* sub = back.find({"CAF\xC9", "sub"});
    ASSERT_NE(sub, nullptr);
    ASSERT_EQ(sub->values().size(), key.values().size());
    for (std::size_t i = 0; i < key.values().size(); ++i) {
        EXPECT_EQ(sub->values()[i].name, key.values()[i].name);
        EXPECT_EQ(sub->values()[i].type, key.values()[i].type) << key.values()[i].name;
        EXPECT_EQ(sub->values()[i].data, key.values()[i].data) << key.values()[i].name;
    }
}

TEST(RegistryHiveText, ReadsWhatWindowsWritesToo) {
    // CR LF line ends, a byte order mark, comments, hex continued over lines,
    // upper-case hex digits, and the same key named twice in other cases.
    const std::string text =
        "\xEF\xBB\xBFREGEDIT4\r\n\r\n"
        "; exported by hand\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\A]\r\n"
        "\"Bin\"=hex:01,02,\\\r\n"
        "  03,FF\r\n"
        "\"N\"=dword:FFFFFFFE\r\n"
        "[hkey_local_machine\\SOFTWARE\\a]\r\n"
        "\"S\" = \"x\"\r\n";
    regstore::ParseReport report;
    const Key root = regstore::ParseRegedit4(text, "HKEY_LOCAL_MACHINE", &report);
    EXPECT_FALSE(report.damaged());
    const Key* a = root.find({"SOFTWARE", "A"});
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(root.subKeys().size(), 1u);
    ASSERT_EQ(a->values().size(), 3u);
    EXPECT_EQ(a->findValue("bin")->data, "\x01\x02\x03\xff");
    EXPECT_EQ(a->findValue("n")->data, Dword(0xFFFFFFFEu));
    EXPECT_EQ(a->findValue("s")->data, Sz("x"));
}

TEST(RegistryHiveText, DamagedLinesAreReportedAndTheRestIsRead) {
    const std::string text =
        "\"orphan\"=\"before any key\"\n"  // 1: no section yet (and no header)
        "[HKEY_LOCAL_MACHINE\\Good]\n"     // 2
        "\"a\"=\"1\"\n"                    // 3
        "\"b\"=dword:123456789\n"          // 4: nine digits
        "\"c\"=\"unterminated\n"           // 5
        "\"d\"=-\n"                        // 6: a deletion has no place in a hive
        "\"e\"=hex:zz\n"                   // 7
        "garbage\n"                        // 8
        "[HKEY_CURRENT_USER\\Other]\n"     // 9: another root's key
        "\"f\"=\"lost\"\n"                 // 10
        "[HKEY_LOCAL_MACHINE\\\\Empty]\n"  // 11: empty name
        "[HKEY_LOCAL_MACHINE\\Good]\n"     // 12
        "\"g\"=\"2\" trailing\n"           // 13
        "\"h\"=\"\xE2\x82\xAC\"\n";        // 14: the euro sign has a place in the code page
    regstore::ParseReport report;
    const Key root = regstore::ParseRegedit4(text, "HKEY_LOCAL_MACHINE", &report);
    EXPECT_TRUE(report.missingHeader);
    EXPECT_EQ(report.damagedLines, (std::vector<int>{1, 4, 5, 6, 7, 8, 9, 10, 11, 13}));
    const Key* good = root.find({"Good"});
    ASSERT_NE(good, nullptr);
    ASSERT_EQ(good->values().size(), 2u);
    EXPECT_EQ(good->findValue("a")->data, Sz("1"));
    EXPECT_EQ(good->findValue("h")->data, Sz("\x80"));
    EXPECT_EQ(root.subKeys().size(), 1u);
}

TEST(RegistryHiveText, DamageAnywhereGivesAHiveThatWritesStably) {
    Key root;
    Key& key = root.create({"SOFTWARE", "Corvane"});
    key.setValue("Text", 1, Sz("a \"b\" c:\\d"));
    key.setValue("", 4, Dword(7));
    key.setValue("Bin", 3, std::string(40, '\x33'));
    key.setValue("Raw", 1, "no zero");
    const std::string text = regstore::FormatRegedit4(root, "HKEY_LOCAL_MACHINE");

    // Every byte replaced by each of the characters that steer the reader.
    for (std::size_t at = 0; at < text.size(); ++at) {
        for (const char c : {'\0', '"', '\\', '[', ']', '\n', '=', '@', ',', '\xE9'}) {
            std::string damaged = text;
            damaged[at] = c;
            const Key once = regstore::ParseRegedit4(damaged, "HKEY_LOCAL_MACHINE");
            const std::string written = regstore::FormatRegedit4(once, "HKEY_LOCAL_MACHINE");
            regstore::ParseReport report;
            const Key twice = regstore::ParseRegedit4(written, "HKEY_LOCAL_MACHINE", &report);
            ASSERT_FALSE(report.damaged()) << "what was written reads cleanly; byte " << at << " = " << int(c);
            ASSERT_EQ(regstore::FormatRegedit4(twice, "HKEY_LOCAL_MACHINE"), written) << "byte " << at;
        }
    }
}

TEST(RegistryHiveText, KeyPathsFollowWindowsRules) {
    using Names = std::vector<std::string>;
    EXPECT_EQ(regstore::SplitKeyPath(""), Names{});
    EXPECT_EQ(regstore::SplitKeyPath("SOFTWARE\\Print Init\\"), (Names{"SOFTWARE", "Print Init"}));
    std::string deep = "k";
    for (int i = 1; i < 512; ++i) deep += "\\k";
    EXPECT_TRUE(regstore::SplitKeyPath(deep));
    EXPECT_TRUE(regstore::SplitKeyPath(std::string(255, 'k')));
    for (const std::string bad : {std::string("\\A"), std::string("A\\\\B"), std::string("A\nB"),
                                  std::string(256, 'k'), deep + "\\k"})
        EXPECT_FALSE(regstore::SplitKeyPath(bad)) << bad.substr(0, 20);
}

TEST(RegistryHiveText, KeysAndValuesKeepTheirCaseButMatchWithoutIt) {
    Key root;
    bool created = false;
    root.create({"Software", "\xC9t\xE9"}, &created);  // Ete with accents
    EXPECT_TRUE(created);
    root.create({"SOFTWARE", "\xE9T\xC9"}, &created);
    EXPECT_FALSE(created);
    ASSERT_EQ(root.subKeys().size(), 1u);
    EXPECT_EQ(root.subKeys()[0].name(), "Software");

    Key& key = *root.find({"software", "\xC9T\xC9"});
    EXPECT_TRUE(key.setValue("Name", 1, Sz("a")));
    EXPECT_FALSE(key.setValue("NAME", 1, Sz("a")));
    EXPECT_TRUE(key.setValue("NAME", 1, Sz("b")));
    ASSERT_EQ(key.values().size(), 1u);
    EXPECT_EQ(key.values()[0].name, "Name");
    EXPECT_EQ(key.values()[0].data, Sz("b"));
}

TEST(RegistryCodePage, EveryByteRoundTripsThroughUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(win32::Utf8ToAnsi(win32::AnsiToUtf8(all)), all);
    EXPECT_EQ(win32::AnsiToUtf8("\x80\xE9"), "\xE2\x82\xAC\xC3\xA9");
    // What the code page cannot hold, and broken UTF-8, become "?".
    EXPECT_EQ(win32::Utf8ToAnsi("a\xE4\xB8\xAD" "b\xC3"), "a?b?");
    EXPECT_EQ(win32::AnsiUpperCase("abc\xE9\xFF\x9A\xF7\xDF"), "ABC\xC9\x9F\x8A\xF7\xDF");
}

}  // namespace
