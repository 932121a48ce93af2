// Files this engine writes verify clean: a table with an index over every
// key type the format stores (descending, compound, unique, ignore-nulls),
// grown past one index page, then thinned out and edited.
#include <gtest/gtest.h>

#include "jet/dao.h"
#include "jet/verify.h"
#include "engine/write/write_support.h"
#include "support/planned_structure.h"

namespace {

using writetest::TempFolder;

std::string faults(const std::vector<jet::VerifyFinding>& findings) {
    std::string out;
    for (const auto& f : findings) out += jet::describeFinding(f) + "\n";
    return out;
}

class VerifyWritten : public ::testing::TestWithParam<int> {};

TEST_P(VerifyWritten, EveryKeyTypeThroughInsertsDeletesAndEdits) {
    TempFolder folder;
    const std::string path = folder.file("written.mdb");
    auto db = jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral, GetParam());
    EXPECT_TRUE(jet::verifiedClean(jet::verifyDatabase(*db))) << "a new database";

    constexpr long kDown = jet::dbDescending;
    testsupport::appendTable(
        *db, {"Mixed",
              {{"Id", jet::dbLong}, {"Title", jet::dbText, 80}, {"Flag", jet::dbBoolean}, {"Small", jet::dbByte},
               {"Count", jet::dbInteger}, {"Price", jet::dbCurrency}, {"Ratio", jet::dbSingle},
               {"Measure", jet::dbDouble}, {"When", jet::dbDate}, {"Raw", jet::dbBinary, 20}, {"Tag", jet::dbGUID}},
              {{"PrimaryKey", {{"Id", 0}}, true}, {"ByTitle", {{"Title", 0}}},
               {"ByTitleDown", {{"Title", kDown}, {"Id", 0}}, false, true},
               {"ByFlagCount", {{"Flag", 0}, {"Count", kDown}}}, {"BySmall", {{"Small", 0}}, false, false, false, true},
               {"ByPrice", {{"Price", kDown}}},
               {"ByRatio", {{"Ratio", 0}}}, {"ByMeasure", {{"Measure", kDown}}}, {"ByWhen", {{"When", 0}}},
               {"ByRaw", {{"Raw", 0}}}, {"ByTag", {{"Tag", kDown}}}}});

    auto rs = db->OpenRecordset("Mixed", jet::dbOpenDynaset);
    auto fill = [&](int i) {
        rs->SetValue("Title", "Title of row number " + std::to_string((i * 37) % 200) + " & more/less");
        rs->SetValue("Flag", i % 3 == 0);
        if (i % 5) rs->SetValue("Small", static_cast<std::uint8_t>(i % 256));  // every fifth left Null
        rs->SetValue("Count", static_cast<std::int16_t>(i * 13 - 1500));
        rs->SetValue("Price", jet::Currency{(i - 100) * 12345});
        rs->SetValue("Ratio", static_cast<float>(i) / 7.0f - 20.0f);
        rs->SetValue("Measure", (i % 2 ? -1.0 : 1.0) * i * 1.5e10);
        rs->SetValue("When", jet::DateTime{30000.0 + i * 1.25});
        rs->SetValue("Raw", jet::Bytes(static_cast<std::size_t>(i % 17), static_cast<std::uint8_t>(i)));
        jet::Guid g;
        for (std::size_t b = 0; b < 16; ++b) g.bytes[b] = static_cast<std::uint8_t>(i * 31 + b * 7);
        rs->SetValue("Tag", g);
    };
    for (int i = 0; i < 160; ++i) {
        rs->AddNew();
        rs->SetValue("Id", std::int32_t{i});
        fill(i);
        rs->Update();
    }
    auto findings = jet::verifyDatabase(*db);
    EXPECT_TRUE(jet::verifiedClean(findings)) << "after the inserts\n" << faults(findings);
    for (const auto& f : findings) EXPECT_TRUE(f.isFault()) << "every key compared: " << jet::describeFinding(f);

    for (int i = 0; i < 160; i += 4) {
        rs->FindFirst("Id = " + std::to_string(i));
        ASSERT_FALSE(rs->NoMatch());
        if (i % 8) {
            rs->Delete();
        } else {
            rs->Edit();
            fill(i + 1000);
            rs->Update();
        }
    }
    rs.reset();
    db.reset();
    findings = jet::verifyDatabase(path);
    EXPECT_TRUE(jet::verifiedClean(findings)) << "after deletes and edits\n" << faults(findings);
}

INSTANTIATE_TEST_SUITE_P(Versions, VerifyWritten, ::testing::Values(0, static_cast<int>(jet::dbVersion40)),
                         [](const auto& info) { return std::string(info.param ? "Jet4" : "Jet3"); });

}  // namespace
