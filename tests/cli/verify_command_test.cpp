// strux verify: its exit status tells a clean file (0), a file with faults
// (1, each listed) and a file that cannot be read (2) apart.
#include "command.h"

#include <fstream>

#include <gtest/gtest.h>

#include "jet/dao.h"
#include "support/corpus.h"
#include "support/planned_structure.h"
#include "support/strux_command.h"
#include "support/temp_folder.h"

namespace {

testsupport::CommandRun verify(const std::string& path) { return testsupport::strux({"verify", path}); }

TEST(VerifyCommand, CleanDamagedAndUnreadableFiles) {
    testsupport::TempFolder folder;
    const std::string path = folder.file("v.mdb");
    {
        auto db = jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral, jet::dbVersion40);
        testsupport::appendTable(*db, {"Orders", {{"No", jet::dbLong}}, {{"PrimaryKey", {{"No", 0}}, true}}});
        auto rs = db->OpenRecordset("Orders", jet::dbOpenTable);
        for (int i = 1; i <= 3; ++i) {
            rs->AddNew();
            rs->SetValue("No", std::int32_t{i});
            rs->Update();
        }
    }
    auto clean = verify(path);
    EXPECT_EQ(clean.status, 0) << clean.out;
    EXPECT_NE(clean.out.find("no faults found"), std::string::npos) << clean.out;

    // Page 1, the map of free pages, overwritten with zeros.
    {
        std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(4096);
        const std::string zeros(4096, '\0');
        file.write(zeros.data(), static_cast<std::streamsize>(zeros.size()));
    }
    auto damaged = verify(path);
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.out.find("page 1: unreadable map of free pages"), std::string::npos) << damaged.out;
    EXPECT_NE(damaged.out.find("1 fault found"), std::string::npos) << damaged.out;

    // Notes (checks made only in part, as for the keys of an Access 2007
    // file) are no faults.
    if (testsupport::haveCorpus()) {
        auto noted = verify(testsupport::corpusFile("V2007/indexTestV2007.accdb"));
        EXPECT_EQ(noted.status, 0) << noted.out;
        EXPECT_NE(noted.out.find("note: "), std::string::npos) << noted.out;
    }

    auto missing = verify(folder.file("missing.mdb"));
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("error 3024"), std::string::npos) << missing.err;

    std::ofstream(folder.file("text.mdb")) << std::string(5000, 'x');
    auto garbage = verify(folder.file("text.mdb"));
    EXPECT_EQ(garbage.status, 2);
    EXPECT_NE(garbage.err.find("error 3343"), std::string::npos) << garbage.err;

    EXPECT_EQ(testsupport::strux({"verify"}).status, cli::kExitUsage);
    EXPECT_EQ(testsupport::strux({"verify", "a.mdb", "b.mdb"}).status, cli::kExitUsage);
}

}  // namespace
