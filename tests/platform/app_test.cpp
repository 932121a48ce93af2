#include "vb/app.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/error_number.h"
#include "support/files.h"
#include "vb/instance_lock.h"
#include "vb/vb_error.h"

namespace {

using testsupport::ScopedEnv;

std::string lockNamePrefix() { return "strux-test-" + std::to_string(getpid()) + "-"; }

// A lock name no other test or run uses.
std::string uniqueLockName(const char* what) { return lockNamePrefix() + what; }

// A lock removes its file as it is released; what a killed holder leaves
// behind (the shell of the test below) is removed here.
class LockFileCleanup : public ::testing::Environment {
public:
    void TearDown() override {
        const std::string folder = vb::InstanceLock::lockFolder();
        if (folder.empty()) return;
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(folder, ignored))
            if (entry.path().filename().string().rfind(lockNamePrefix(), 0) == 0)
                std::filesystem::remove(entry.path(), ignored);
    }
};
const auto* const kCleanup = ::testing::AddGlobalTestEnvironment(new LockFileCleanup);

}  // namespace

// The title and version reach the user through the about box, tested there.
TEST(App, PathIsTheExecutablesFolderOrTheOverride) {
    vb::Application& app = vb::App();
    EXPECT_EQ(app.Path(), std::filesystem::canonical("/proc/self/exe").parent_path().string());
    EXPECT_EQ(app.EXEName(), "platform_tests");

    app.setPathOverride("/opt/strux32/");
    EXPECT_EQ(app.Path(), "/opt/strux32");
    app.setPathOverride("");
    EXPECT_EQ(app.Path(), std::filesystem::canonical("/proc/self/exe").parent_path().string());
}

TEST(InstanceLock, SecondHolderOfTheSameNameFindsItBusy) {
    const std::string name = uniqueLockName("pair");
    {
        vb::InstanceLock first(name);
        ASSERT_TRUE(first.held()) << first.path();
        vb::InstanceLock second(name);
        EXPECT_FALSE(second.held());
        EXPECT_TRUE(second.busy());
        vb::InstanceLock other(name + "-other");
        EXPECT_TRUE(other.held());
    }
    std::string path;
    {
        vb::InstanceLock afterwards(name);
        EXPECT_TRUE(afterwards.held());
        path = afterwards.path();
    }
    EXPECT_FALSE(std::filesystem::exists(path)) << "a released lock leaves no file";
}

TEST(InstanceLock, RefusesNamesThatAreNotPlainFileNames) {
    for (const char* bad : {"", ".", "..", "../escape", "a/b", "/tmp/x"}) {
        EXPECT_EQ(testsupport::errorNumber<vb::RuntimeError>([&] { vb::InstanceLock lock(bad); }),
                  vb::vbErrInvalidProcedureCall)
            << bad;
    }
    EXPECT_THROW(vb::App().setInstanceLockName("../x"), vb::RuntimeError);
}

TEST(InstanceLock, LivesInAPrivateFolderAndIgnoresAnUnsafeRuntimeFolder) {
    const auto shared = std::filesystem::temp_directory_path() / uniqueLockName("open-runtime");
    std::filesystem::create_directories(shared);
    chmod(shared.c_str(), 0777);
    {
        ScopedEnv runtime("XDG_RUNTIME_DIR", shared.string());
        const std::string folder = vb::InstanceLock::lockFolder();
        ASSERT_FALSE(folder.empty());
        EXPECT_NE(folder, shared.string());
        struct stat info {};
        ASSERT_EQ(lstat(folder.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 077, 0u);
        EXPECT_EQ(info.st_uid, geteuid());
    }
    chmod(shared.c_str(), 0700);
    {
        ScopedEnv runtime("XDG_RUNTIME_DIR", shared.string());
        EXPECT_EQ(vb::InstanceLock::lockFolder(), shared.string());
        vb::InstanceLock lock(uniqueLockName("in-runtime"));
        EXPECT_EQ(std::filesystem::path(lock.path()).parent_path(), shared);
    }
    std::filesystem::remove_all(shared);
}

TEST(App, PrevInstanceIsTrueOnlyWhileAnotherCopyHoldsTheLock) {
    vb::Application& app = vb::App();
    const std::string name = uniqueLockName("app");
    app.setInstanceLockName(name);
    EXPECT_FALSE(app.PrevInstance());
    EXPECT_FALSE(app.PrevInstance());  // the answer stays; the lock stays held
    {
        vb::InstanceLock secondCopy(name);
        EXPECT_TRUE(secondCopy.busy());
    }

    const std::string taken = uniqueLockName("app-taken");
    vb::InstanceLock firstCopy(taken);
    ASSERT_TRUE(firstCopy.held());
    app.setInstanceLockName(taken);
    EXPECT_TRUE(app.PrevInstance());
    // Renaming released the earlier lock.
    vb::InstanceLock again(name);
    EXPECT_TRUE(again.held());
    app.setInstanceLockName("Strux32");
}
