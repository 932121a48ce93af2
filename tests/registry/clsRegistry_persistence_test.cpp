// What clsRegistry writes lasts across objects and processes, and is
// refused with access denied where the hive cannot be written. Writers at
// once are the registry calls' concern (platform/registry_concurrency_test),
// the first run's values the program's (program/registry_startup_test).
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "registry_test_support.h"

namespace {

using namespace registry_test;

// Runs `work` in a child process and gives its exit code.
template <typename Work>
pid_t Spawn(Work work) {
    const pid_t pid = ::fork();
    if (pid == 0) _exit(work());
    return pid;
}

int ExitCode(pid_t pid) {
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

using PersistenceTest = RegistryTest;

TEST_F(PersistenceTest, ValuesSurviveTheObjectAndTheProcess) {
    const pid_t writer = Spawn([] {
        const auto registry = cvRegistry::CreateObject();
        registry->RootKey(vb::Variant(kUser));
        registry->TopKey("SOFTWARE");
        if (!registry->CreateKey("Corvane", "Strux32\\3.20\\Printing\\Start Settings")) return 1;
        if (registry->SetValue(vb::Variant("Tab Setting"), vb::Variant("Default")) != 0) return 2;
        if (registry->SetValue(vb::Variant("Runs"), vb::Variant(std::int32_t{3})) != 0) return 3;
        return 0;
    });
    ASSERT_GT(writer, 0);
    ASSERT_EQ(ExitCode(writer), 0);

    // A new object in this process, not creating anything, finds both.
    registry->RootKey(vb::Variant(kUser));
    registry->AutoCreate(false);
    registry->TopKey("software");
    ASSERT_TRUE(registry->CreateKey("CORVANE", "strux32\\3.20\\printing\\start settings"));
    EXPECT_EQ(registry->GetNamedValue("tab setting"), vb::Variant("Default"));
    EXPECT_EQ(registry->GetNamedValue("Runs"), vb::Variant(std::int32_t{3}));
}

TEST_F(PersistenceTest, UnwritableHiveRefusesCreatingAndWriting) {
    onKey("SOFTWARE", "Corvane", "Open");
    ASSERT_EQ(::chmod(prefix.machineHive().c_str(), 0444), 0);
    const std::string before = readFile(prefix.machineHive());

    // The key opened before the hive became read-only: the write is denied.
    EXPECT_EQ(registry->SetValue(vb::Variant("x"), vb::Variant("abc")), win32::ERROR_ACCESS_DENIED);
    EXPECT_FALSE(registry->KeyOpen());
    // Reopening asks for all access, which the hive cannot give.
    EXPECT_EQ(registry->SetValue(vb::Variant("x"), vb::Variant("abc")), 1010);
    EXPECT_FALSE(registry->CreateKey("Corvane", "New"));
    EXPECT_EQ(readFile(prefix.machineHive()), before);
    EXPECT_TRUE(shown().empty());

    // Without creating, the class still opens for reading and writing, which
    // a read-only hive refuses as Windows refuses it on a read-only key.
    registry->AutoCreate(false);
    registry->CompanyKey("Corvane");
    EXPECT_FALSE(registry->CreateKey("", "Open"));
    EXPECT_FALSE(registry->KeyOpen());
}

}  // namespace
