// Writes cut short at each step of their commit, as a full disk and as a
// crash, on Jet 3 and Jet 4; and a new database that never shows half a
// file under its name.
#include <gtest/gtest.h>

#include "engine/write/fail_every_step.h"
#include "support/planned_structure.h"
#include "io/page_file.h"
#include "storage/table_definition.h"
#include "write/database_creator.h"

namespace {

using writetest::Failure;
using writetest::failEveryStep;
using writetest::FaultySink;
using writetest::Operation;
using writetest::TempFolder;

std::string personName(int i, int length) {
    std::string name = "Person " + std::to_string(1000 + i);
    name.resize(static_cast<std::size_t>(std::max<int>(length, static_cast<int>(name.size()))), 'x');
    return name;
}

void addPeople(jet::Database& db, int from, int to, int nameLength) {
    auto rs = db.OpenRecordset("People", jet::dbOpenTable);
    for (int i = from; i < to; ++i) {
        rs->AddNew();
        rs->SetValue("Name", personName(i, nameLength));
        rs->SetValue("Age", std::int32_t{20 + i % 50});
        rs->Update();
    }
}

// A table with a text primary key and a second index, and a few rows.
void makePeople(const std::string& path, int version, int rows, int nameLength = 8) {
    auto db = jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral, version);
    testsupport::appendTable(*db, {"People",
                                   {{"Name", jet::dbText, 255}, {"Age", jet::dbLong}, {"Notes", jet::dbMemo}},
                                   {{"PrimaryKey", {{"Name", 0}}, true}, {"ByAge", {{"Age", 0}}}}});
    addPeople(*db, 0, rows, nameLength);
}

void insertPerson(jet::Database& db, const std::string& name) {
    auto rs = db.OpenRecordset("People", jet::dbOpenTable);
    rs->AddNew();
    rs->SetValue("Name", name);
    rs->SetValue("Age", std::int32_t{33});
    rs->SetValue("Notes", std::string(3000, 'n'));  // a long value on a page of its own
    rs->Update();
}

class CrashSafety : public ::testing::TestWithParam<std::tuple<int, Failure>> {
protected:
    int version() const { return std::get<0>(GetParam()); }
    Failure how() const { return std::get<1>(GetParam()); }
    TempFolder folder_;
    std::string path_ = folder_.file("crash.mdb");
};

// Each operation on five rows, with the least number of steps it must
// have taken and a check of its result.
TEST_P(CrashSafety, AppendInsertDeleteAndAnEditThatMovesTheRow) {
    struct Case {
        const char* what;
        int steps;
        Operation operation;
        std::function<bool(jet::Database&)> done;
    };
    const Case cases[] = {
        {"TableDefs.Append", 5, [](jet::Database& db) { writetest::appendTable(db, "During"); },
         [](jet::Database& db) { return db.TableDefs().find("During") != nullptr; }},
        {"insert with index entries and a long value", 4, [](jet::Database& db) { insertPerson(db, "Newcomer"); },
         [](jet::Database& db) { return db.OpenRecordset("People", jet::dbOpenTable)->RecordCount() == 6; }},
        {"delete", 3,
         [](jet::Database& db) {
             auto rs = db.OpenRecordset("People", jet::dbOpenTable);
             rs->MoveFirst();
             rs->MoveNext();
             rs->Delete();
         },
         [](jet::Database& db) { return db.OpenRecordset("People", jet::dbOpenTable)->RecordCount() == 4; }},
        {"edit that moves the row", 1,
         [](jet::Database& db) {
             auto rs = db.OpenRecordset("People", jet::dbOpenDynaset);
             rs->MoveLast();
             rs->Edit();
             rs->SetValue("Name", std::string("Renamed"));
             rs->SetValue("Notes", std::string(500, 'e'));
             rs->Update();
         },
         [](jet::Database& db) {
             auto rs = db.OpenRecordset("People", jet::dbOpenDynaset);
             rs->FindFirst("Name = 'Renamed'");
             return !rs->NoMatch();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(path_);
        makePeople(path_, version(), 5);
        EXPECT_GE(failEveryStep(path_, how(), c.operation), c.steps);
        EXPECT_TRUE(c.done(*jet::DBEngine().OpenDatabase(path_, false, true)));
    }
}

TEST_P(CrashSafety, InsertThatSplitsTheIndex) {
    // Long keys fill the primary key's root leaf in a few rows; find the
    // row whose insert turns the root into a node.
    constexpr int kNameLength = 200;
    auto rootIsNode = [&](const std::string& path) {
        auto file = jet::io::PageFile::open(path, {.readOnly = true});
        auto db = jet::DBEngine().OpenDatabase(path, false, true);
        std::uint32_t tdef = 0;
        for (int i = 0; i < db->TableDefs().Count(); ++i)
            if (db->TableDefs()[i].Name() == "People") tdef = db->impl().tdefPages[static_cast<std::size_t>(i)];
        const auto def = jet::storage::readTableDefinition(*file, tdef);
        return file->page(def.realIndexes[0].firstPage).bytes[0] == 0x03;
    };
    int rows = 0;
    {
        TempFolder probe;
        const std::string probePath = probe.file("p.mdb");
        makePeople(probePath, version(), 0, kNameLength);
        while (rows < 200 && !rootIsNode(probePath)) {
            auto db = jet::DBEngine().OpenDatabase(probePath);
            addPeople(*db, rows, rows + 1, kNameLength);
            ++rows;
        }
    }
    ASSERT_LT(rows, 200);
    makePeople(path_, version(), rows - 1, kNameLength);
    ASSERT_FALSE(rootIsNode(path_));
    failEveryStep(path_, how(), [&](jet::Database& db) { insertPerson(db, personName(rows - 1, kNameLength)); });
    EXPECT_TRUE(rootIsNode(path_));
    EXPECT_EQ(jet::DBEngine().OpenDatabase(path_, false, true)->OpenRecordset("People")->RecordCount(), rows);
}

INSTANTIATE_TEST_SUITE_P(Versions, CrashSafety,
                         ::testing::Combine(::testing::Values(0, static_cast<int>(jet::dbVersion40)),
                                            ::testing::Values(Failure::DiskFull, Failure::Crash,
                                                              Failure::DiskFullWithoutJournal)),
                         [](const auto& info) {
                             const Failure how = std::get<1>(info.param);
                             return std::string(std::get<0>(info.param) ? "Jet4" : "Jet3") +
                                    (how == Failure::Crash      ? "Crash"
                                     : how == Failure::DiskFull ? "DiskFull"
                                                                : "DiskFullWithoutJournal");
                         });

// A new database is written under a temporary name and linked into place
// last: whichever write fails, the target name never shows half a file.
// Without a journal the caller's temporary name is written directly and
// removed again on a failure.
TEST(CrashSafetyOfCreate, NoWriteFailureLeavesAFileUnderTheName) {
    for (const auto journal : {jet::write::FilePageSink::Journal::On, jet::write::FilePageSink::Journal::Off}) {
        TempFolder folder;
        const std::string path = folder.file("new.mdb");
        const auto wanted = jet::write::parseLocale(jet::dbLangGeneral, jet::format::jet4Format());
        int checked = 0;
        for (int n = 1;; ++n) {
            bool failed = false;
            auto wrap = [&](jet::write::PageSink& file) {
                return std::make_unique<FaultySink>(file, n, Failure::DiskFull, &failed);
            };
            long error = 0;
            try {
                jet::write::createDatabaseFile(path, wanted, wrap, journal);
            } catch (const jet::Error& e) {
                error = e.number();
            }
            if (!failed) break;
            ++checked;
            EXPECT_EQ(error, jet::kErrDiskFull);
            EXPECT_FALSE(std::filesystem::exists(path)) << "write " << n;
            EXPECT_TRUE(folder.names().empty()) << "write " << n;
        }
        EXPECT_GT(checked, 10);
        EXPECT_TRUE(jet::verifiedClean(jet::verifyDatabase(path)));
        EXPECT_EQ(folder.names(), std::vector<std::string>{"new.mdb"});
    }
}

}  // namespace
