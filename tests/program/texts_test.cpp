#include <gtest/gtest.h>

#include "viewer/creation_cons.h"
#include "viewer/main_window_texts.h"
#include "viewer/sys_info.h"

namespace {

const std::string kCrLf = "\r\n";
const std::string kHeading = "The properties of the current database are:\r\n\r\n";

TEST(DatabaseProperties, GeneralOrderShowsFourCollatingLines) {
    const std::string indent(20, ' ');
    EXPECT_EQ(viewer::databasePropertiesText({1033, true, false}),
              kHeading + "   Collating Order: 1033 - dbSortGeneral General" + kCrLf + indent +
                  "(English, French, German, Portuguese," + kCrLf + indent + "Italian, and Modern Spanish) + " +
                  kCrLf + indent + "Paradox International" + kCrLf + "   Transactions:    True" + kCrLf +
                  "   Updatable:       False" + kCrLf);
}

// A property that cannot be read, and no database at all: the dialog tests.
TEST(DatabaseProperties, UnknownOrderLeavesItsPartOut) {
    EXPECT_EQ(viewer::databasePropertiesText({1026, true, true}),
              kHeading + kCrLf + "   Transactions:    True" + kCrLf + "   Updatable:       True" + kCrLf);
    EXPECT_EQ(viewer::collatingOrderText(-1)->languages, std::vector<std::string>{"Undefined Or unknown"});
    EXPECT_FALSE(viewer::collatingOrderText(0));
}

TEST(MainWindowTexts, VersionAndContact) {
    EXPECT_EQ(viewer::versionText(10, 0, 12), "Version 10.0.12");
    EXPECT_EQ(viewer::hintText("frmStrux", false), "");
    // Every contact line is indented by ten blanks.
    EXPECT_NE(viewer::contactInfoMessage().find("\r\n          support@"), std::string::npos);
}

TEST(SysInfo, FirstKeyWinsWithoutAnExistenceCheck) {
    std::vector<std::string> asked;
    auto reader = [&](std::uint32_t root, const std::string& key, const std::string& name, std::string& value) {
        EXPECT_EQ(root, 0x80000002u);
        asked.push_back(key + "|" + name);
        if (name == "PATH") {
            value = "/opt/msinfo/msinfo32";
            return true;
        }
        return false;
    };
    bool checked = false;
    auto program = viewer::sysInfoProgram(reader, [&](const std::string&) { return checked = true; });
    EXPECT_EQ(program, "/opt/msinfo/msinfo32");
    EXPECT_FALSE(checked);
    EXPECT_EQ(asked, std::vector<std::string>{"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH"});
}

TEST(SysInfo, SecondKeyNeedsTheProgramInItsFolder) {
    auto reader = [](std::uint32_t, const std::string& key, const std::string& name, std::string& value) {
        if (key == "SOFTWARE\\Microsoft\\Shared Tools Location" && name == "MSINFO") {
            value = "/opt/tools";
            return true;
        }
        return false;
    };
    std::string looked;
    EXPECT_FALSE(viewer::sysInfoProgram(reader, [&](const std::string& path) {
        looked = path;
        return false;
    }));
    EXPECT_EQ(looked, "/opt/tools/MSINFO32.EXE");
    EXPECT_EQ(viewer::sysInfoProgram(reader, [](const std::string&) { return true; }), "/opt/tools/MSINFO32.EXE");
}

TEST(SysInfo, RegistryValueText) {
    EXPECT_EQ(viewer::registryValueText(1, {'a', 'b'}), "ab");  // no terminator
    EXPECT_FALSE(viewer::registryValueText(4, {1, 2}));
    EXPECT_FALSE(viewer::registryValueText(3, {1, 2, 3, 4}));  // binary
}

}  // namespace
