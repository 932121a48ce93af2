// What clsRegistry writes lasts: across objects and processes, with several
// processes writing at once, as readable text, and refused with access
// denied where the hive cannot be written.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "registry_test_support.h"
#include "vb/scripted_ui.h"

namespace {

using registry_test::kMachine;
using registry_test::kUser;
using registry_test::ReadFile;

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

TEST(clsRegistryPersistence, ValuesSurviveTheObjectAndTheProcess) {
    registry_test::TempPrefix prefix;
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
    const auto registry = cvRegistry::CreateObject();
    registry->RootKey(vb::Variant(kUser));
    registry->AutoCreate(false);
    registry->TopKey("software");
    ASSERT_TRUE(registry->CreateKey("CORVANE", "strux32\\3.20\\printing\\start settings"));
    EXPECT_EQ(registry->GetNamedValue("tab setting"), vb::Variant("Default"));
    EXPECT_EQ(registry->GetNamedValue("Runs"), vb::Variant(std::int32_t{3}));
}

TEST(clsRegistryPersistence, ProcessesWritingAtOnceLoseNothing) {
    registry_test::TempPrefix prefix;
    constexpr int kProcesses = 3;
    constexpr int kValues = 30;
    std::vector<pid_t> writers;
    for (int p = 0; p < kProcesses; ++p) {
        writers.push_back(Spawn([p] {
            const auto registry = registry_test::ObjectOnKey("SOFTWARE", "Corvane", "Shared");
            for (int n = 0; n < kValues; ++n) {
                const std::string name = "p" + std::to_string(p) + "v" + std::to_string(n);
                if (registry->SetValue(vb::Variant(name), vb::Variant(name + " text")) != 0) return 1;
            }
            return 0;
        }));
        ASSERT_GT(writers.back(), 0);
    }
    for (const pid_t pid : writers) EXPECT_EQ(ExitCode(pid), 0);

    const auto registry = registry_test::ObjectOnKey("SOFTWARE", "Corvane", "Shared");
    int found = 0;
    for (int p = 0; p < kProcesses; ++p)
        for (int n = 0; n < kValues; ++n) {
            const std::string name = "p" + std::to_string(p) + "v" + std::to_string(n);
            if (registry->GetNamedValue(name) == vb::Variant(name + " text")) ++found;
        }
    EXPECT_EQ(found, kProcesses * kValues);
}

TEST(clsRegistryPersistence, UnwritableHiveRefusesCreatingAndWriting) {
    registry_test::TempPrefix prefix;
    vb::ScopedScriptedUi ui;
    auto registry = registry_test::ObjectOnKey("SOFTWARE", "Corvane", "Open");
    ASSERT_EQ(::chmod(prefix.machineHive().c_str(), 0444), 0);
    const std::string before = ReadFile(prefix.machineHive());

    // The key opened before the hive became read-only: the write is denied.
    EXPECT_EQ(registry->SetValue(vb::Variant("x"), vb::Variant("abc")), win32::ERROR_ACCESS_DENIED);
    EXPECT_FALSE(registry->KeyOpen());
    // Reopening asks for all access, which the hive cannot give.
    EXPECT_EQ(registry->SetValue(vb::Variant("x"), vb::Variant("abc")), 1010);
    EXPECT_FALSE(registry->CreateKey("Corvane", "New"));
    EXPECT_EQ(ReadFile(prefix.machineHive()), before);
    EXPECT_TRUE(ui->messageBoxes().empty());

    // Without creating, the class still opens for reading and writing, which
    // a read-only hive refuses as Windows refuses it on a read-only key.
    registry->AutoCreate(false);
    registry->CompanyKey("Corvane");
    EXPECT_FALSE(registry->CreateKey("", "Open"));
    EXPECT_FALSE(registry->KeyOpen());
}

TEST(clsRegistryPersistence, FirstRunDefaultsLandInBothRootsAsReadableText) {
    registry_test::TempPrefix prefix;
    const auto registry = cvRegistry::CreateObject();
    struct Entry {
        const char* subKey;
        const char* name;
        const char* value;
    };
    const Entry entries[] = {
        {"Print Init", "1", "Default[-1[-1[-1[-1[-1[-1[0[0[0[1"},
        {"Print Init", "2", "AutoPrint[-1[-1[-1[-1[-1[0[0[0[-1[1"},
        {"Settings", "1",
         "Default[Courier[10[5[30[45[55[65[30[45[55[65[30[43[52[62[72[30[43[52[62[72[HP LaserJet 4L"},
        {"Start Settings", "Tab Setting", "Default"},
    };
    for (const std::int32_t root : {kMachine, kUser}) {
        for (const Entry& e : entries) {
            registry->RootKey(vb::Variant(root));
            registry->TopKey("SOFTWARE");
            registry->AutoCreate(true);
            ASSERT_TRUE(registry->CreateKey("Corvane", std::string("Strux32\\3.20\\Printing\\") + e.subKey));
            ASSERT_EQ(registry->SetValue(vb::Variant(e.name), vb::Variant(e.value)), 0);
        }
    }
    for (const std::string& hive : {prefix.machineHive(), prefix.userHive()}) {
        const std::string root = hive == prefix.machineHive() ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
        const std::string text = ReadFile(hive);
        EXPECT_NE(text.find("[" + root + "\\SOFTWARE\\Corvane\\Strux32\\3.20\\Printing\\Print Init]\n"
                            "\"1\"=\"Default[-1[-1[-1[-1[-1[-1[0[0[0[1\"\n"
                            "\"2\"=\"AutoPrint[-1[-1[-1[-1[-1[0[0[0[-1[1\"\n"),
                  std::string::npos)
            << text;
        EXPECT_NE(text.find("[" + root + "\\SOFTWARE\\Corvane\\Strux32\\3.20\\Printing\\Start Settings]\n"
                            "\"Tab Setting\"=\"Default\"\n"),
                  std::string::npos)
            << text;
    }
}

}  // namespace
