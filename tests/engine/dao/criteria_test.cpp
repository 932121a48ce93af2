#include "dao/criteria.h"

#include <gtest/gtest.h>

#include <map>

#include "jet/collection.h"
#include "jet/error.h"
#include "support/error_number.h"

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
    return testsupport::errorNumber<jet::Error>([&] { row.matches(criteria); });
}

const Row kSetting{{{"Setting", std::string("Default")},
                    {"SettingTitle", std::string("it's")},
                    {"Tab01", std::int16_t{12}},
                    {"Auto", true},
                    {"Price", jet::Currency{25000}},
                    {"Note", jet::Null{}},
                    {"When", jet::DateTime{35000.5}}}};

}  // namespace

TEST(Criteria, TextLogicNullLikeAndDates) {
    const std::pair<const char*, bool> cases[] = {
        // Text compares without case, and honours doubled quotes.
        {"Setting = 'Default'", true},
        {"setting='DEFAULT'", true},
        {"Setting = 'Default '", false},
        {"SettingTitle = 'it''s'", true},
        {"SettingTitle = \"it's\"", true},
        {"[SettingTitle] = \"it's\"", true},
        {"SettingTitle = 'its'", false},
        {"Tab01 = 12 AND Setting <> 'Other'", true},
        {"Tab01 > 12 AND Setting = 'Default'", false},
        {"Tab01 > 12 OR Setting = 'Default'", true},
        {"Tab01 >= 12 and Tab01 <= 12 and Tab01 < 12.5", true},
        // AND binds tighter than OR; parentheses change that.
        {"Tab01 = 1 AND Tab01 = 2 OR Setting = 'Default'", true},
        {"Tab01 = 1 AND (Tab01 = 2 OR Setting = 'Default')", false},
        {"NOT Setting = 'x'", true},
        {"Auto = True AND Auto = -1", true},
        {"Price = 2.5", true},
        {"Tab01 = '12'", true},  // text read as a number
        // Null never compares.
        {"Note = 'x'", false},
        {"Note <> 'x'", false},
        {"Note IS NULL", true},
        {"Setting Is Not Null", true},
        {"Setting LIKE 'def*'", true},
        {"Setting LIKE '?efault'", true},
        {"Setting LIKE 'x*'", false},
        {"Tab01 LIKE '1#'", true},
        {"When > #10/28/1995#", true},
        {"When = #1995-10-28 12:00#", true},
        {"When < #10/28/1995#", false},
    };
    for (const auto& [criteria, expected] : cases) EXPECT_EQ(kSetting.matches(criteria), expected) << criteria;
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

TEST(Criteria, ErrorsCarryDaoNumbers) {
    for (const char* bad : {"", "Setting =", "Setting = 'open", "= 'x'", "Setting 'x'", "(Setting = 'x'",
                            "Setting = 'x')", "Setting = 'x' AND", "Setting == 'x'", "[Setting = 'x'",
                            "Setting = #13/45/1995#", "Setting = 'x' garbage"})
        EXPECT_EQ(errorOf(kSetting, bad), jet::kErrSyntaxInExpression) << bad;
    EXPECT_EQ(errorOf(kSetting, "Missing = 'x'"), jet::kErrUnknownName);
    EXPECT_EQ(errorOf(kSetting, "Tab01 = 'twelve'"), jet::kErrTypeMismatchInCriteria);
}
