// Several writer processes on one hive at once:
// every value each of them wrote must be there afterwards.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/registry_temp_prefix.h"
#include "registry/hive_store.h"
#include "registry/win32_registry.h"

namespace {

using namespace win32;

constexpr int kWriters = 4;
constexpr int kValuesEach = 40;

std::string ValueName(int writer, int n) { return "w" + std::to_string(writer) + "-" + std::to_string(n); }

// Writes this writer's values, each into the shared key and into a key of its
// own that it creates on the way; gives the number of calls that failed.
int WriteValues(int writer) {
    int failures = 0;
    for (int n = 0; n < kValuesEach; ++n) {
        const std::string own = "SOFTWARE\\Writer" + std::to_string(writer) + "\\" + std::to_string(n % 5);
        for (const std::string& path : {std::string("SOFTWARE\\Shared"), own}) {
            HKEY key = 0;
            if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, "1", 0, KEY_ALL_ACCESS, nullptr, &key,
                                nullptr) != ERROR_SUCCESS) {
                ++failures;
                continue;
            }
            const std::string name = ValueName(writer, n);
            const DWORD number = static_cast<DWORD>(writer * 1000 + n);
            if (RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4) !=
                ERROR_SUCCESS)
                ++failures;
            RegCloseKey(key);
        }
    }
    return failures;
}

int CountMissing() {
    int missing = 0;
    for (int writer = 0; writer < kWriters; ++writer) {
        for (int n = 0; n < kValuesEach; ++n) {
            const std::string own = "SOFTWARE\\Writer" + std::to_string(writer) + "\\" + std::to_string(n % 5);
            for (const std::string& path : {std::string("SOFTWARE\\Shared"), own}) {
                HKEY key = 0;
                DWORD number = 0, size = 4;
                if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
                    ++missing;
                    continue;
                }
                const LONG rc = RegQueryValueExA(key, ValueName(writer, n).c_str(), nullptr, nullptr,
                                                 reinterpret_cast<BYTE*>(&number), &size);
                if (rc != ERROR_SUCCESS || number != static_cast<DWORD>(writer * 1000 + n)) ++missing;
                RegCloseKey(key);
            }
        }
    }
    return missing;
}

TEST(RegistryConcurrency, ProcessesWritingAtOnceLoseNothing) {
    registry_test::TempPrefix prefix;
    std::vector<pid_t> children;
    for (int writer = 0; writer < kWriters; ++writer) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) _exit(WriteValues(writer) == 0 ? 0 : 1);  // no test framework in the child
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer saw a failed call";
    }
    EXPECT_EQ(CountMissing(), 0);
    // Nothing is left behind but the hive and its lock file.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(prefix.folder())) ++entries;
    EXPECT_EQ(entries, 2);
}

}  // namespace

namespace {

TEST(RegistryConcurrency, HeldLockMakesAChangeFailInsteadOfWaitingForever) {
    registry_test::TempPrefix prefix;
    const regstore::HiveFile hive(prefix.userHive(), "HKEY_CURRENT_USER", std::chrono::milliseconds(200));
    auto addKey = [](regstore::Key& root, bool& changed) {
        root.create({"A"}, &changed);
        return regstore::kSuccess;
    };
    const int holder = ::open((prefix.userHive() + ".lock").c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);  // a process that hangs while saving

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(hive.update(addKey), regstore::kAccessDenied);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    EXPECT_FALSE(std::filesystem::exists(prefix.userHive()));

    ::close(holder);
    EXPECT_EQ(hive.update(addKey), regstore::kSuccess);
    std::shared_ptr<const regstore::Key> read;
    ASSERT_EQ(hive.read(read), regstore::kSuccess);
    EXPECT_NE(read->findSubKey("a"), nullptr);
}

}  // namespace
