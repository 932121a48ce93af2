#include "dao/criteria.h"

#include <gtest/gtest.h>

#include <map>

#include "jet/collection.h"
#include "jet/error.h"

using jet::dao::Criteria;

namespace {

struct Row {
    std::map<std::string, jet::Value> values;

    bool matches(const std::string& criteria) const {
        return Criteria::parse(criteria).matches([this](std::string_view name) -> const jet::Value* {
            for (const auto& [key, value] : values)
                if (jet::namesEqual(key, name)) return &value;
            return nullptr;
        });
    }
};

long errorOf(const Row& row, const std::string& criteria) {
    try {
        row.matches(criteria);
    } catch (const jet::Error& e) {
        return e.number();
    }
    return 0;
}

const Row kSetting{{{"Setting", std::string("Default")},
                    {"SettingTitle", std::string("it's")},
                    {"Tab01", std::int16_t{12}},
                    {"Auto", true},
                    {"Price", jet::Currency{25000}},
                    {"Note", jet::Null{}}}};

}  // namespace

TEST(Criteria, TextEqualityIsCaselessAndHonoursDoubledQuotes) {
    EXPECT_TRUE(kSetting.matches("Setting = 'Default'"));
    EXPECT_TRUE(kSetting.matches("setting='DEFAULT'"));
    EXPECT_FALSE(kSetting.matches("Setting = 'Default '"));
    EXPECT_TRUE(kSetting.matches("SettingTitle = 'it''s'"));
    EXPECT_TRUE(kSetting.matches("SettingTitle = \"it's\""));
    EXPECT_TRUE(kSetting.matches("[SettingTitle] = \"it's\""));
    EXPECT_FALSE(kSetting.matches("SettingTitle = 'its'"));
}

TEST(Criteria, ComparisonsAndLogic) {
    EXPECT_TRUE(kSetting.matches("Tab01 = 12 AND Setting <> 'Other'"));
    EXPECT_FALSE(kSetting.matches("Tab01 > 12 AND Setting = 'Default'"));
    EXPECT_TRUE(kSetting.matches("Tab01 > 12 OR Setting = 'Default'"));
    EXPECT_TRUE(kSetting.matches("Tab01 >= 12 and Tab01 <= 12 and Tab01 < 12.5"));
    // AND binds tighter than OR; parentheses change that.
    EXPECT_TRUE(kSetting.matches("Tab01 = 1 AND Tab01 = 2 OR Setting = 'Default'"));
    EXPECT_FALSE(kSetting.matches("Tab01 = 1 AND (Tab01 = 2 OR Setting = 'Default')"));
    EXPECT_TRUE(kSetting.matches("NOT Setting = 'x'"));
    EXPECT_TRUE(kSetting.matches("Auto = True AND Auto = -1"));
    EXPECT_TRUE(kSetting.matches("Price = 2.5"));
    EXPECT_TRUE(kSetting.matches("Tab01 = '12'"));  // text read as a number
}

TEST(Criteria, TextFollowsTheGeneralSortOrder) {
    using jet::dao::compareValues;
    const jet::Value cafe = std::string("caf\xC3\xA9"), CAFE = std::string("CAF\xC3\x89");
    EXPECT_EQ(compareValues(cafe, CAFE), 0);  // é and É differ in case only
    EXPECT_NE(compareValues(cafe, std::string("cafe")), 0);
    // Accented letters sort beside their base letter, not after Z.
    const jet::Value anna = std::string("Anna"), asa = std::string("\xC3\x85sa"), bo = std::string("Bo");
    EXPECT_LT(compareValues(anna, asa), 0);
    EXPECT_LT(compareValues(asa, bo), 0);
    EXPECT_NE(compareValues(std::string("\xC3\x9F"), std::string("\xC3\xBF")), 0);  // ß is not ÿ
    Row row{{{"Name", cafe}}};
    EXPECT_TRUE(row.matches("Name = 'CAF\xC3\x89'"));
}

TEST(Criteria, NullNeverCompares) {
    EXPECT_FALSE(kSetting.matches("Note = 'x'"));
    EXPECT_FALSE(kSetting.matches("Note <> 'x'"));
    EXPECT_TRUE(kSetting.matches("Note IS NULL"));
    EXPECT_TRUE(kSetting.matches("Setting Is Not Null"));
}

TEST(Criteria, LikeWithWildcards) {
    EXPECT_TRUE(kSetting.matches("Setting LIKE 'def*'"));
    EXPECT_TRUE(kSetting.matches("Setting LIKE '?efault'"));
    EXPECT_FALSE(kSetting.matches("Setting LIKE 'x*'"));
    EXPECT_TRUE(kSetting.matches("Tab01 LIKE '1#'"));
}

TEST(Criteria, DatesInHashes) {
    Row row{{{"When", jet::DateTime{35000.5}}}};
    EXPECT_TRUE(row.matches("When > #10/28/1995#"));
    EXPECT_TRUE(row.matches("When = #1995-10-28 12:00#"));
    EXPECT_FALSE(row.matches("When < #10/28/1995#"));
}

TEST(Criteria, ErrorsCarryDaoNumbers) {
    for (const char* bad : {"", "Setting =", "Setting = 'open", "= 'x'", "Setting 'x'", "(Setting = 'x'",
                            "Setting = 'x')", "Setting = 'x' AND", "Setting == 'x'", "[Setting = 'x'",
                            "Setting = #13/45/1995#", "Setting = 'x' garbage"})
        EXPECT_EQ(errorOf(kSetting, bad), jet::kErrSyntaxInExpression) << bad;
    EXPECT_EQ(errorOf(kSetting, "Missing = 'x'"), jet::kErrUnknownName);
    EXPECT_EQ(errorOf(kSetting, "Tab01 = 'twelve'"), jet::kErrTypeMismatchInCriteria);
}
