// A commit cut short at any write. Each operation is run again and again
// with its first, second, third ... write failing, until it goes through:
// as a full disk fails it (the write throws, the engine goes on and puts
// the old pages back) and as a crash does (nothing after the failing write
// happens: the database is abandoned and opened again, and the opener undoes
// the commit from its journal). Every time the file must be, byte for byte,
// what it was before the operation, open, and verify clean.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <functional>

#include "dao/database_impl.h"
#include "io/rollback_journal.h"
#include "jet/dao.h"
#include "jet/verify.h"
#include "io/page_file.h"
#include "storage/table_definition.h"
#include "write/database_creator.h"
#include "write/page_sink.h"
#include "write/page_store.h"
#include "engine/write/write_support.h"
#include "support/files.h"

namespace {

using writetest::TempFolder;

enum class Failure { DiskFull, Crash };

// Counts every step of a commit (keeping the journal, each page, the sync,
// dropping the journal) and fails the n-th. After a crash nothing works.
class FaultySink : public jet::write::PageSink {
public:
    // `failedOut`, when given, is set when the failure comes.
    FaultySink(jet::write::PageSink& target, int failAt, Failure how, bool* failedOut = nullptr)
        : target_(target), failAt_(failAt), how_(how), failedOut_(failedOut) {}
    void writePage(std::uint32_t number, std::span<const std::uint8_t> bytes) override {
        step();
        target_.writePage(number, bytes);
    }
    void flush() override {
        step();
        target_.flush();
    }
    void saveUndo(std::span<const std::uint32_t> pages) override {
        step();
        target_.saveUndo(pages);
    }
    void endCommit() override {
        step();
        target_.endCommit();
    }
    void undo() override {
        if (crashed_) fail();
        target_.undo();
    }

private:
    void step() {
        if (crashed_ || ++steps_ == failAt_) {
            if (failedOut_) *failedOut_ = true;
            crashed_ = how_ == Failure::Crash;
            fail();
        }
    }
    [[noreturn]] static void fail() { throw jet::Error(jet::kErrDiskFull, "Not enough space on disk."); }

    jet::write::PageSink& target_;
    int failAt_;
    Failure how_;
    bool* failedOut_;
    int steps_ = 0;
    bool crashed_ = false;
};

std::string faultsOf(const std::vector<jet::VerifyFinding>& findings) {
    std::string out;
    for (const auto& f : findings)
        if (f.isFault()) out += jet::describeFinding(f) + "\n";
    return out;
}

using Operation = std::function<void(jet::Database&)>;

// Runs `operation` on the database at `path` with its n-th step failing
// for n = 1, 2, ... and checks the file after each failure. Returns how many
// failures were checked; the last run goes through and is left in place.
int failEveryStep(const std::string& path, Failure how, const Operation& operation) {
    const auto before = writetest::readFile(path);
    for (int n = 1; n < 10000; ++n) {
        auto db = jet::DBEngine().OpenDatabase(path);
        bool failed = false;
        db->impl().commitOverride = [&](jet::write::PageStore& store) {
            auto& file = *db->impl().file;
            jet::write::FilePageSink target(file.descriptor(), file.pageSize(), path);
            FaultySink sink(target, n, how, &failed);
            store.commit(sink);
        };
        long error = 0;
        try {
            operation(*db);
        } catch (const jet::Error& e) {
            error = e.number();
        }
        if (!failed) {
            EXPECT_EQ(error, 0) << "write " << n;
            db.reset();
            const auto findings = jet::verifyDatabase(path);
            EXPECT_TRUE(jet::verifiedClean(findings)) << "after the operation\n" << faultsOf(findings);
            std::cout << "failed each of " << n - 1 << " steps\n";
            return n - 1;
        }
        EXPECT_EQ(error, jet::kErrDiskFull) << "write " << n;
        if (how == Failure::DiskFull) {
            // The engine undid the commit itself, and the open database
            // goes on working.
            EXPECT_EQ(writetest::readFile(path), before) << "write " << n;
            EXPECT_FALSE(std::filesystem::exists(jet::io::journalPath(path))) << "write " << n;
            db->impl().commitOverride = nullptr;
            operation(*db);
            db.reset();
            const auto findings = jet::verifyDatabase(path);
            EXPECT_TRUE(jet::verifiedClean(findings)) << "retried after write " << n << "\n" << faultsOf(findings);
            testsupport::writeFile(path, std::string(before.begin(), before.end()));
            continue;
        }
        // A crash: whatever the commit wrote stays as it is.
        db.reset();
        if (std::filesystem::exists(jet::io::journalPath(path)) && n > 1) {
            EXPECT_EQ(writetest::errorOf([&] { jet::DBEngine().OpenDatabase(path, false, true); }), jet::kErrDamaged)
                << "a read-only open must not read a half-written file";
        }
        jet::DBEngine().OpenDatabase(path).reset();
        EXPECT_EQ(writetest::readFile(path), before) << "write " << n;
        EXPECT_FALSE(std::filesystem::exists(jet::io::journalPath(path))) << "write " << n;
        const auto findings = jet::verifyDatabase(path);
        EXPECT_TRUE(jet::verifiedClean(findings)) << "write " << n << "\n" << faultsOf(findings);
    }
    ADD_FAILURE() << "the operation never went through";
    return 0;
}

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
    auto t = db->CreateTableDef("People");
    t->Fields().Append(t->CreateField("Name", jet::dbText, 255));
    t->Fields().Append(t->CreateField("Age", jet::dbLong));
    t->Fields().Append(t->CreateField("Notes", jet::dbMemo));
    writetest::addIndex(*t, "PrimaryKey", {{"Name", false}}, true);
    writetest::addIndex(*t, "ByAge", {{"Age", false}});
    db->TableDefs().Append(std::move(t));
    addPeople(*db, 0, rows, nameLength);
}

long rowCount(const std::string& path, const std::string& table) {
    auto db = jet::DBEngine().OpenDatabase(path, false, true);
    return db->OpenRecordset(table, jet::dbOpenTable)->RecordCount();
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
    EXPECT_EQ(rowCount(path_, "People"), rows);
}

INSTANTIATE_TEST_SUITE_P(Versions, CrashSafety,
                         ::testing::Combine(::testing::Values(0, static_cast<int>(jet::dbVersion40)),
                                            ::testing::Values(Failure::DiskFull, Failure::Crash)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param) ? "Jet4" : "Jet3") +
                                    (std::get<1>(info.param) == Failure::Crash ? "Crash" : "DiskFull");
                         });

// A new database is written under a temporary name and linked into place
// last: whichever write fails, the target name never shows half a file.
TEST(CrashSafetyOfCreate, NoWriteFailureLeavesAFileUnderTheName) {
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
            jet::write::createDatabaseFile(path, wanted, wrap);
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
}

}  // namespace
