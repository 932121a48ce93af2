#include "catalog/name_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using jet::catalog::catalogNameLess;

namespace {

std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return catalogNameLess(a, b); });
    return names;
}

}  // namespace

TEST(CatalogNameOrder, SymbolsThenDigitsThenLettersWithoutCase) {
    EXPECT_EQ(sorted({"Orders", "order Details", "~sq_fOrders", "2020 Sales", "MSysModules2", "MSysModules", "_Temp"}),
              (std::vector<std::string>{"_Temp", "~sq_fOrders", "2020 Sales", "MSysModules", "MSysModules2",
                                        "order Details", "Orders"}));
}

TEST(CatalogNameOrder, AccentsBesideTheirLettersAndHyphensIgnored) {
    // "å" sorts as "a", "ö" as "o"; the hyphen only breaks ties.
    EXPECT_EQ(sorted({"Login", "Leverant\xC3\xB6r", "L\xC3\xA5sUpp"}),
              (std::vector<std::string>{"L\xC3\xA5sUpp", "Leverant\xC3\xB6r", "Login"}));
    EXPECT_TRUE(catalogNameLess("Ordrar~sq", "Ordrar-sub"));
    EXPECT_TRUE(catalogNameLess("coop", "co-op"));
    EXPECT_FALSE(catalogNameLess("co-op", "coop"));
    // "Æ" counts as the two letters "AE".
    EXPECT_TRUE(catalogNameLess("\xC3\x86gir", "Af"));
}

TEST(CatalogNameOrder, IsATotalOrder) {
    EXPECT_FALSE(catalogNameLess("Table", "Table"));
    EXPECT_NE(catalogNameLess("Table", "TABLE"), catalogNameLess("TABLE", "Table"));
    EXPECT_NE(catalogNameLess("caf\xC3\xA9", "cafe"), catalogNameLess("cafe", "caf\xC3\xA9"));
}
