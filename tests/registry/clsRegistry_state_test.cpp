// A clsRegistry's own state: how it starts and what its properties keep.
#include <gtest/gtest.h>

#include "registry_test_support.h"
#include "vb/scripted_ui.h"

namespace {

using registry_test::kMachine;

TEST(clsRegistryState, NewObjectStartsOnTheMachineRootWithNothingOpen) {
    registry_test::TempPrefix prefix;
    const auto registry = cvRegistry::CreateObject();
    EXPECT_TRUE(registry->AutoCreate());
    EXPECT_EQ(registry->RootKey(), vb::Variant(kMachine));
    EXPECT_EQ(registry->RootKey().VarType(), vb::vbLong);
    EXPECT_EQ(registry->TopKey(), "");
    EXPECT_EQ(registry->CompanyKey(), "");
    EXPECT_FALSE(registry->KeyOpen());
    EXPECT_FALSE(registry->ShowMessages());
    EXPECT_EQ(registry->QueryOpenKey(), vb::Variant(std::int32_t{0}));
    EXPECT_TRUE(registry->CloseKey()) << "closing with no key open";
}

TEST(clsRegistryState, PropertiesKeepWhatIsSetTrimmingThePathParts) {
    registry_test::TempPrefix prefix;
    const auto registry = cvRegistry::CreateObject();
    registry->TopKey("  SOFTWARE ");
    registry->CompanyKey("\tCorvane  ");  // only blanks are trimmed, as VB's Trim does
    registry->AutoCreate(false);
    registry->ShowMessages(true);
    registry->RootKey(vb::Variant("any text"));
    EXPECT_EQ(registry->TopKey(), "SOFTWARE");
    EXPECT_EQ(registry->CompanyKey(), "\tCorvane");
    EXPECT_FALSE(registry->AutoCreate());
    EXPECT_TRUE(registry->ShowMessages());
    EXPECT_EQ(registry->RootKey(), vb::Variant("any text")) << "any root value is kept unchanged";

    // The two read-only properties accept a value and ignore it.
    registry->KeyOpen(vb::Variant(true));
    registry->QueryOpenKey(vb::Variant(std::int32_t{1234}));
    EXPECT_FALSE(registry->KeyOpen());
    EXPECT_EQ(registry->QueryOpenKey(), vb::Variant(std::int32_t{0}));
}

TEST(clsRegistryState, OpenKeyShowsItsHandleUntilClosed) {
    registry_test::TempPrefix prefix;
    const auto registry = registry_test::ObjectOnKey("SOFTWARE", "Corvane");
    EXPECT_TRUE(registry->KeyOpen());
    EXPECT_NE(registry->QueryOpenKey().toLong(), 0);
    EXPECT_EQ(registry->QueryOpenKey().VarType(), vb::vbLong);
    EXPECT_TRUE(registry->CloseKey());
    EXPECT_FALSE(registry->KeyOpen());
    EXPECT_EQ(registry->QueryOpenKey(), vb::Variant(std::int32_t{0}));
    EXPECT_EQ(registry->CompanyKey(), "Corvane") << "closing keeps the path";
}

}  // namespace
