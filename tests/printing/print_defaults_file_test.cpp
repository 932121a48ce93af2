// stx32ps.def: reading, the defaults written for a missing or damaged file,
// and replacement of the whole file.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <unistd.h>

#include "printing/print_defaults_file.h"
#include "report_fixture.h"
#include "support/files.h"

namespace {

namespace fs = std::filesystem;
using printing::PrintDefaults;
using reporttest::TempFolder;

const char kDefaultsText[] =
    "Courier\r\n10\r\n5\r\n30\r\n45\r\n55\r\n65\r\n30\r\n45\r\n55\r\n65\r\n"
    "30\r\n43\r\n52\r\n62\r\n72\r\n30\r\n43\r\n52\r\n62\r\n72\r\n";

using testsupport::readFile;
using testsupport::writeFile;

TEST(PrintDefaultsFile, MissingFileCreatedWithCourierAndTheTwentyDefaults) {
    TempFolder folder;
    const PrintDefaults loaded = printing::loadPrintDefaults(folder.path());
    EXPECT_EQ(loaded.source, PrintDefaults::Source::Rewritten);
    EXPECT_EQ(readFile(folder.path() / "stx32ps.def"), kDefaultsText);
    EXPECT_EQ(loaded.setting.fontName, "Courier");
    EXPECT_EQ(loaded.setting.tabs, (printing::TabColumns{10, 5, 30, 45, 55, 65, 30, 45, 55, 65, 30, 43, 52, 62, 72,
                                                         30, 43, 52, 62, 72}));
    EXPECT_EQ(folder.names(), std::vector<std::string>{"stx32ps.def"}) << "no temporary file left";

    // The file now exists and is read as it stands.
    EXPECT_EQ(printing::loadPrintDefaults(folder.path()).source, PrintDefaults::Source::File);
}

TEST(PrintDefaultsFile, FileOfAnAppliedSettingReadAsItStands) {
    TempFolder folder;
    // As the dialog writes it: numbers with a leading blank, a longer font name.
    std::string text = "Times New Roman\r\n";
    for (int i = 0; i < 20; ++i) text += " " + std::to_string(3 + i) + " \r\n";
    writeFile(folder.path() / "stx32ps.def", text + "extra lines are ignored\r\n");
    const PrintDefaults loaded = printing::loadPrintDefaults(folder.path());
    EXPECT_EQ(loaded.source, PrintDefaults::Source::File);
    EXPECT_EQ(loaded.setting.fontName, "Times New Roman");
    EXPECT_EQ(loaded.setting.tabs[0], 3);
    EXPECT_EQ(loaded.setting.tabs[19], 22);
    EXPECT_EQ(readFile(folder.path() / "stx32ps.def"), text + "extra lines are ignored\r\n") << "left untouched";

    // LF line ends and a fraction (rounded half to even) are read too.
    EXPECT_EQ(printing::parsePrintDefaults("Arial\n12.5\n5\n30\n45\n55\n65\n30\n45\n55\n65\n30\n43\n52\n62\n72\n30\n"
                                           "43\n52\n62\n-1")
                  ->tabs[0],
              12);
}

TEST(PrintDefaultsFile, DamagedFileReplacedWholeByTheDefaults) {
    std::string twenty;
    for (int i = 0; i < 20; ++i) twenty += "7\r\n";
    const std::vector<std::pair<std::string, std::string>> damaged = {
        {"too short", "Courier\r\n10\r\n5\r\n"},
        {"empty", ""},
        {"no font name", "\r\n" + twenty},
        {"not a number", "Courier\r\n" + twenty.substr(0, 6) + "ten\r\n" + twenty.substr(9)},
        {"beyond 16 bits", "Courier\r\n40000\r\n" + twenty.substr(3)},
        {"number with junk", "Courier\r\n12cm\r\n" + twenty.substr(3)},
        {"blank number", "Courier\r\n   \r\n" + twenty.substr(3)},
    };
    for (const auto& [what, text] : damaged) {
        SCOPED_TRACE(what);
        TempFolder folder;
        writeFile(folder.path() / "stx32ps.def", text);
        const PrintDefaults loaded = printing::loadPrintDefaults(folder.path());
        EXPECT_EQ(loaded.source, PrintDefaults::Source::Rewritten);
        EXPECT_EQ(loaded.setting, printing::defaultTabSetting());
        EXPECT_EQ(readFile(folder.path() / "stx32ps.def"), kDefaultsText);
        EXPECT_EQ(folder.names().size(), 1u);
    }
}

TEST(PrintDefaultsFile, FolderThatRefusesTheFileStillGivesTheDefaults) {
    TempFolder folder;
    // Something that cannot be replaced by a file stands in the file's place.
    fs::create_directories(folder.path() / "stx32ps.def" / "kept");
    PrintDefaults loaded = printing::loadPrintDefaults(folder.path());
    EXPECT_EQ(loaded.source, PrintDefaults::Source::BuiltIn);
    EXPECT_EQ(loaded.setting, printing::defaultTabSetting());
    EXPECT_TRUE(fs::is_directory(folder.path() / "stx32ps.def" / "kept"));
    EXPECT_EQ(folder.names(), std::vector<std::string>{"stx32ps.def"}) << "no temporary file left";

    // A program folder that is not a folder at all.
    writeFile(folder.path() / "plain", "x");
    EXPECT_EQ(printing::loadPrintDefaults(folder.path() / "plain").source, PrintDefaults::Source::BuiltIn);

    if (::geteuid() == 0) return;  // root writes into read-only folders
    TempFolder locked;
    writeFile(locked.path() / "stx32ps.def", "Courier\r\n1\r\n");
    fs::permissions(locked.path(), fs::perms::owner_read | fs::perms::owner_exec);
    loaded = printing::loadPrintDefaults(locked.path());
    fs::permissions(locked.path(), fs::perms::owner_all);
    EXPECT_EQ(loaded.source, PrintDefaults::Source::BuiltIn);
    EXPECT_EQ(readFile(locked.path() / "stx32ps.def"), "Courier\r\n1\r\n") << "the old file is left as it was";
}

TEST(PrintDefaultsFile, WrittenSettingReadsBackTheSame) {
    TempFolder folder;
    printing::TabSetting setting{"Liberation Mono", {}};
    for (int i = 0; i < 20; ++i) setting.tabs[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(i * 1000 - 9000);
    ASSERT_TRUE(printing::writePrintDefaults(folder.path(), setting));
    EXPECT_EQ(printing::loadPrintDefaults(folder.path()).setting, setting);
    EXPECT_EQ(printing::tabFieldName(0), "Tab01");
    EXPECT_EQ(printing::tabFieldName(9), "Tab10");
    EXPECT_EQ(printing::tabFieldName(19), "Tab20");
}

}  // namespace
