// The registry work of the start-up: the built-in print settings below both
// roots on the first run, nothing on later runs, and the fatal messages.
#include <sys/stat.h>

#include <fstream>
#include <gtest/gtest.h>

#include "STXGLOB.h"
#include "clsRegistry.h"
#include "program_fixture.h"
#include "support/message_box.h"
#include "registry/registry_test_support.h"
#include "vb/scripted_ui.h"

using namespace programtest;
using testsupport::Boxes;

namespace {

const std::string kPrinting = "SOFTWARE\\Corvane\\Strux32\\3.20\\Printing\\";

struct Expected {
    const char* subKey;
    const char* name;
    const char* value;
};
const Expected kSeven[] = {
    {"Print Init", "1", "Default[-1[-1[-1[-1[-1[-1[0[0[0[1"},
    {"Print Init", "2", "AutoPrint[-1[-1[-1[-1[-1[0[0[0[-1[1"},
    {"Print Init", "3", "AutoStruct - Stand Alone[0[0[0[0[0[0[2[0[-1[3"},
    {"Settings", "1", "Default[Courier[10[5[30[45[55[65[30[45[55[65[30[43[52[62[72[30[43[52[62[72[HP LaserJet 4L"},
    {"Settings", "2",
     "HPLJ4 - Times NR[Times New Roman[10[5[30[45[55[65[30[45[55[65[30[43[52[62[72[30[43[52[62[72[HP LaserJet 4L"},
    {"Start Settings", "Tab Setting", "Default"},
    {"Start Settings", "Print Setting", "Default"},
};

// A value as text, or nothing when the key or the value is missing.
std::optional<std::string> readValue(win32::HKEY root, const std::string& key, const std::string& name,
                                     win32::DWORD* typeOut = nullptr) {
    auto bytes = registry_test::ReadStored(root, key, name, typeOut);
    if (bytes && !bytes->empty() && bytes->back() == '\0') bytes->pop_back();
    return bytes;
}

std::size_t countValues(win32::HKEY root) {
    std::size_t found = 0;
    for (const auto& v : kSeven)
        if (readValue(root, kPrinting + v.subKey, v.name)) ++found;
    return found;
}

class RegistryStartUpTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetGlobals();
        ::setenv("STRUX32_REGISTRY_PREFIX", prefix.path().c_str(), 1);
    }
    void TearDown() override {
        resetGlobals();
        ::unsetenv("STRUX32_REGISTRY_PREFIX");
    }
    testsupport::Boxes boxes() { return testsupport::boxes(*ui.operator->()); }
    TempFolder prefix;
    vb::ScopedScriptedUi ui;
};

TEST_F(RegistryStartUpTest, FirstRunWritesTheSevenValuesBelowBothRoots) {
    ASSERT_TRUE(IsFirstRun());
    ASSERT_TRUE(RegistryStartUp());
    EXPECT_EQ(bFirstRun, 0);
    for (win32::HKEY root : {win32::HKEY_LOCAL_MACHINE, win32::HKEY_CURRENT_USER}) {
        for (const auto& v : kSeven) {
            win32::DWORD type = 0;
            EXPECT_EQ(readValue(root, kPrinting + v.subKey, v.name, &type), std::string(v.value))
                << root << " " << v.subKey << " " << v.name;
            EXPECT_EQ(type, win32::REG_SZ);
        }
    }
    EXPECT_TRUE(ui->messageBoxes().empty());
    // The object is back in its state from before the writes.
    ASSERT_NE(oRegistry, nullptr);
    EXPECT_EQ(oRegistry->RootKey().toLong(), static_cast<int32_t>(0x80000002u));
    EXPECT_EQ(oRegistry->TopKey() + "|" + oRegistry->CompanyKey(), "SOFTWARE|");
    EXPECT_FALSE(oRegistry->KeyOpen());
}

TEST_F(RegistryStartUpTest, LaterRunsWriteNothing) {
    ASSERT_TRUE(RegistryStartUp());
    // A value changed by hand is not put back: the key holds values, so this
    // is not the first run.
    registry_test::StoreRaw(win32::HKEY_CURRENT_USER, kPrinting + "Settings", "2", win32::REG_SZ, std::string("x\0", 2));

    resetGlobals();
    EXPECT_FALSE(IsFirstRun());
    ASSERT_TRUE(RegistryStartUp());
    EXPECT_EQ(bFirstRun, 0);
    EXPECT_EQ(readValue(win32::HKEY_CURRENT_USER, kPrinting + "Settings", "2"), std::string("x"));
    EXPECT_NE(oRegistry, nullptr);
}

TEST_F(RegistryStartUpTest, UnwritableMachineHiveStopsAtTheFirstKey) {
    const std::string machineHive = prefix.file("system.reg");
    std::ofstream(machineHive) << "REGEDIT4\n";
    ASSERT_EQ(::chmod(machineHive.c_str(), 0444), 0);

    EXPECT_FALSE(RegistryStartUp());
    EXPECT_EQ(boxes(), (Boxes{{"FATAL ERROR! Program cannot start. Please contact Corvane and quote FID=998, SR=PALD1, "
                               "MRK=True",
                               16, "Strux32"}}));
    EXPECT_EQ(countValues(win32::HKEY_CURRENT_USER), 0u);
}

TEST_F(RegistryStartUpTest, FatalKeyMessagesNameRootAndKey) {
    oRegistry = cvRegistry::CreateObject();
    // A user hive that cannot be written: the first key below that root fails.
    const std::string userHive = prefix.file("user.reg");
    std::ofstream(userHive) << "REGEDIT4\n";
    ASSERT_EQ(::chmod(userHive.c_str(), 0444), 0);
    EXPECT_FALSE(OpenPrintingKey(static_cast<int32_t>(0x80000001u), 3, false));
    // Any other key number does nothing.
    EXPECT_TRUE(OpenPrintingKey(static_cast<int32_t>(0x80000001u), 4, true));
    EXPECT_EQ(boxes(), (Boxes{{"FATAL ERROR! Program cannot start. Please contact Corvane and quote FID=998, SR=PAUD3, "
                               "MRK=False",
                               16, "Strux32"}}));
}

TEST_F(RegistryStartUpTest, FailedValueWriteQuotesItsCode) {
    oRegistry = cvRegistry::CreateObject();
    // No key was made current: the write cannot open one.
    EXPECT_FALSE(StoreRegistryValue("1", "x", "SVPAUD2A"));
    EXPECT_EQ(boxes(), (Boxes{{"Registry access problem Code SVPAUD2A. Please call Corvane", 16, "Strux32"}}));
    EXPECT_FALSE(oRegistry->KeyOpen());
}

}  // namespace
