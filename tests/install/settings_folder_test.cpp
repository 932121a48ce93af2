// Where an installed copy keeps STX32.MDB and stx32ps.def: the program's
// own folder when it may write there, else the user's data folder, filled
// whole from the delivered files on first use.
#include "userdata/settings_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>

#include "support/file_size_limit.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using testsupport::readFile;
using testsupport::writeFile;

// Bytes that are not all alike, so that a copy cut short or shifted shows.
std::string sampleBytes(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + i / 7) & 0xFF);
    return bytes;
}

class SettingsFolderTest : public ::testing::Test {
protected:
    // An installed tree: <prefix>/bin and <prefix>/share/strux32 with the
    // delivered settings database.
    fs::path installedProgram(const std::string& settingsBytes) {
        const fs::path bin = root_ / "prefix" / "bin";
        fs::create_directories(bin);
        fs::create_directories(root_ / "prefix" / "share" / "strux32");
        writeFile(root_ / "prefix" / "share" / "strux32" / "STX32.MDB", settingsBytes);
        return bin;
    }

    userdata::EnvironmentLookup environment(std::map<std::string, std::string> values) {
        return [values](const char* name) -> std::optional<std::string> {
            auto it = values.find(name);
            if (it == values.end()) return std::nullopt;
            return it->second;
        };
    }

    testsupport::TempFolder folder_;
    const fs::path& root_ = folder_.path();
};

// Every name in `folder`, hidden ones included.
std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(SettingsFolderTest, UserFolderFollowsXdgDataHomeThenHome) {
    const fs::path bin = root_ / "bin";
    fs::create_directories(bin);
    const fs::path fallback = "/home/ann/.local/share/strux32";
    // Empty or relative is not a valid XDG_DATA_HOME: the default applies.
    for (const auto& [dataHome, expected] : std::vector<std::pair<std::string, fs::path>>{
             {"/data/ann", "/data/ann/strux32"}, {"", fallback}, {"data", fallback}})
        EXPECT_EQ(userdata::settingsPlaces(bin, environment({{"XDG_DATA_HOME", dataHome}, {"HOME", "/home/ann"}}))
                      .userFolder,
                  expected)
            << dataHome;
    EXPECT_EQ(userdata::settingsPlaces(bin, environment({{"HOME", "/home/ann"}})).userFolder, fallback);
    EXPECT_TRUE(userdata::settingsPlaces(bin, environment({})).userFolder.empty());
}

TEST_F(SettingsFolderTest, BuildFolderKeepsItsOwnFiles) {
    const fs::path build = root_ / "build" / "bin";
    fs::create_directories(build);
    writeFile(build / "STX32.MDB", "built");
    const auto places = userdata::settingsPlaces(build, environment({{"XDG_DATA_HOME", (root_ / "ann").string()}}));
    EXPECT_TRUE(places.deliveredFolder.empty());
    EXPECT_EQ(userdata::settingsFolderFor(places, "STX32.MDB"), build);
    EXPECT_EQ(userdata::settingsFolderFor(places, "stx32ps.def"), build);
    EXPECT_FALSE(fs::exists(root_ / "ann")) << "nothing is copied for a program that writes its own folder";
}

TEST_F(SettingsFolderTest, InstalledCopyMakesTheUsersCopyOnFirstUse) {
    const std::string delivered = sampleBytes(300000);
    const fs::path bin = installedProgram(delivered);
    const fs::path ann = root_ / "ann-data";
    const auto places = userdata::settingsPlaces(bin, environment({{"XDG_DATA_HOME", ann.string()}}));
    EXPECT_EQ(places.deliveredFolder, root_ / "prefix" / "share" / "strux32");

    const fs::path folder = userdata::settingsFolderFor(places, "STX32.MDB");
    EXPECT_EQ(folder, ann / "strux32");
    EXPECT_EQ(readFile(folder / "STX32.MDB"), delivered);
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"STX32.MDB"}) << "no temporary file stays behind";
    // The user writes their copy: it must be theirs to write.
    EXPECT_EQ(::access((folder / "STX32.MDB").c_str(), W_OK), 0);
    // The delivered file is untouched.
    EXPECT_EQ(readFile(root_ / "prefix" / "share" / "strux32" / "STX32.MDB"), delivered);

    // A file nothing delivers is left missing, for the caller to create.
    EXPECT_EQ(userdata::settingsFolderFor(places, "stx32ps.def"), ann / "strux32");
    EXPECT_FALSE(fs::exists(ann / "strux32" / "stx32ps.def"));
}

TEST_F(SettingsFolderTest, ReadOnlyProgramFolderUsesTheUserFolder) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes a read-only folder; the installed-tree tests cover this path";
    const fs::path bin = root_ / "portable";
    fs::create_directories(bin);
    writeFile(bin / "STX32.MDB", "portable settings");
    writeFile(bin / "stx32ps.def", "layout");
    fs::permissions(bin, fs::perms::owner_read | fs::perms::owner_exec);
    const fs::path ann = root_ / "ann-data";
    const auto places = userdata::settingsPlaces(bin, environment({{"XDG_DATA_HOME", ann.string()}}));
    EXPECT_TRUE(places.deliveredFolder.empty());
    EXPECT_EQ(userdata::settingsFolderFor(places, "STX32.MDB"), ann / "strux32");
    EXPECT_EQ(userdata::settingsFolderFor(places, "stx32ps.def"), ann / "strux32");
    EXPECT_EQ(readFile(ann / "strux32" / "STX32.MDB"), "portable settings");
    EXPECT_EQ(readFile(ann / "strux32" / "stx32ps.def"), "layout");
}

TEST_F(SettingsFolderTest, RootRunningAnInstalledCopyDoesNotWriteTheProgramFolder) {
    // The installed bin folder is writable here (the test owns it), as
    // /usr/bin is for root: the delivered folder alone marks the copy as
    // installed.
    const fs::path bin = installedProgram("delivered");
    const fs::path data = root_ / "root-data";
    const auto places = userdata::settingsPlaces(bin, environment({{"XDG_DATA_HOME", data.string()}}));
    EXPECT_EQ(userdata::settingsFolderFor(places, "STX32.MDB"), data / "strux32");
    EXPECT_TRUE(fs::is_empty(bin));
}

TEST_F(SettingsFolderTest, InstalledIntoTheUsersOwnDataFolderUsesTheDeliveredFiles) {
    // cmake --install --prefix ~/.local: the delivered folder is the user
    // folder, and the user's files are the delivered ones.
    const fs::path bin = installedProgram("delivered");
    const auto places =
        userdata::settingsPlaces(bin, environment({{"XDG_DATA_HOME", (root_ / "prefix" / "share").string()}}));
    EXPECT_EQ(places.userFolder, places.deliveredFolder);
    EXPECT_EQ(userdata::settingsFolderFor(places, "STX32.MDB"), places.deliveredFolder);
    EXPECT_EQ(namesIn(places.deliveredFolder), std::vector<std::string>{"STX32.MDB"});
    EXPECT_EQ(readFile(places.deliveredFolder / "STX32.MDB"), "delivered");
}

TEST_F(SettingsFolderTest, TheOpenDialogStartsWhereTheSampleIs) {
    const fs::path build = root_ / "build" / "bin";
    fs::create_directories(build);
    const auto env = environment({{"HOME", (root_ / "home").string()}});
    EXPECT_EQ(userdata::samplesFolder(userdata::settingsPlaces(build, env)), build);

    const fs::path bin = installedProgram("delivered");
    EXPECT_EQ(userdata::samplesFolder(userdata::settingsPlaces(bin, env)), bin) << "no samples delivered";
    fs::create_directories(root_ / "prefix" / "share" / "strux32" / "samples");
    EXPECT_EQ(userdata::samplesFolder(userdata::settingsPlaces(bin, env)),
              root_ / "prefix" / "share" / "strux32" / "samples");
}

TEST_F(SettingsFolderTest, AnExistingUserCopyIsNeverOverwritten) {
    const fs::path bin = installedProgram("delivered, version 2");
    const fs::path ann = root_ / "ann";
    fs::create_directories(ann / "strux32");
    writeFile(ann / "strux32" / "STX32.MDB", "ann's settings from version 1");
    const auto places = userdata::settingsPlaces(bin, environment({{"XDG_DATA_HOME", ann.string()}}));

    EXPECT_EQ(userdata::settingsFolderFor(places, "STX32.MDB"), ann / "strux32");
    EXPECT_EQ(readFile(ann / "strux32" / "STX32.MDB"), "ann's settings from version 1");

    // Nor by the copy itself, should another run have made the file first.
    EXPECT_FALSE(userdata::copyWhole(root_ / "prefix" / "share" / "strux32" / "STX32.MDB",
                                     ann / "strux32" / "STX32.MDB"));
    EXPECT_EQ(readFile(ann / "strux32" / "STX32.MDB"), "ann's settings from version 1");
    EXPECT_EQ(namesIn(ann / "strux32"), std::vector<std::string>{"STX32.MDB"});
}

TEST_F(SettingsFolderTest, AFailedReadLeavesNoFile) {
    // A folder where a file should be opens, then refuses to be read: the
    // new file exists by then and must go again.
    fs::create_directories(root_ / "not-a-file");
    fs::create_directories(root_ / "user");
    EXPECT_FALSE(userdata::copyWhole(root_ / "not-a-file", root_ / "user" / "STX32.MDB"));
    EXPECT_TRUE(fs::is_empty(root_ / "user"));
}

TEST_F(SettingsFolderTest, AWriteCutShortLeavesNoPartialFile) {
    // A file size limit fails the writes part-way, as a full disk would.
    const std::string delivered = sampleBytes(200000);
    const fs::path bin = installedProgram(delivered);
    const fs::path ann = root_ / "ann";
    const auto places = userdata::settingsPlaces(bin, environment({{"XDG_DATA_HOME", ann.string()}}));

    const fs::path folder = [&] {
        testsupport::FileSizeLimit limit(70000);
        return userdata::settingsFolderFor(places, "STX32.MDB");
    }();

    EXPECT_EQ(folder, ann / "strux32");
    EXPECT_TRUE(fs::is_empty(folder)) << "neither a cut-short STX32.MDB nor its temporary file is left";

    // The next start, with room again, makes the whole copy.
    userdata::settingsFolderFor(places, "STX32.MDB");
    EXPECT_EQ(readFile(folder / "STX32.MDB"), delivered);
}

TEST_F(SettingsFolderTest, AnUnwritableUserFolderLeavesTheFileMissing) {
    const fs::path bin = installedProgram("delivered");
    // A file where the data folder should be: the folder cannot be made.
    writeFile(root_ / "blocked", "");
    const auto places =
        userdata::settingsPlaces(bin, environment({{"XDG_DATA_HOME", (root_ / "blocked").string()}}));
    EXPECT_EQ(userdata::settingsFolderFor(places, "STX32.MDB"), root_ / "blocked" / "strux32");
    EXPECT_FALSE(fs::exists(root_ / "blocked" / "strux32"));
}

}  // namespace
