// TableDefs.Append and AddNew on copies of Access-written files: the new
// table and its row appear, everything that was there reads as before, and
// mdbtools lists the new table. Files whose catalog index has grown past
// one page are refused with 3251 and left unchanged (B-tree splits are not
// written yet); the test counts them.
#include <gtest/gtest.h>

#include <iostream>

#include "jet/dao.h"
#include "support/corpus.h"
#include "support/planned_structure.h"
#include "engine/write/write_support.h"

namespace {

using writetest::TempFolder;

std::string describe(jet::Database& db) {
    std::string out;
    for (const auto& t : db.TableDefs()) {
        out += t->Name() + "(";
        for (const auto& f : t->Fields()) out += f->Name() + ":" + std::to_string(f->Type()) + ",";
        out += ")";
        if ((t->Attributes() & jet::dbSystemObject) == 0 && t->Connect().empty()) {
            auto rs = db.OpenRecordset(t->Name(), jet::dbOpenDynaset);
            rs->MoveLast();
            out += std::to_string(rs->RecordCount());
        }
        out += "\n";
    }
    return out;
}

TEST(CorpusAppend, NewTableInAccessWrittenFiles) {
    STRUX_REQUIRE_CORPUS();
    int appended = 0, refused = 0;
    for (const auto& source : testsupport::corpusDatabases()) {
        if (source.extension() != ".mdb") continue;
        SCOPED_TRACE(source.string());
        TempFolder folder;
        const std::string path = folder.file("copy.mdb");
        std::filesystem::copy_file(source, path);
        std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
        std::string before;
        std::shared_ptr<jet::Database> db;
        try {
            db = jet::DBEngine().OpenDatabase(path);
            if (!db->Updatable()) continue;
            before = describe(*db);
        } catch (const jet::Error&) {
            continue;  // files the reader refuses are the reading tests' business
        }
        const auto bytes = writetest::readFile(path);
        try {
            testsupport::appendTable(*db, {"Strux New Table", {{"Id", jet::dbLong}, {"Label", jet::dbText, 30}},
                                           {{"PrimaryKey", {{"Id", 0}}, true}}});
        } catch (const jet::Error& e) {
            EXPECT_EQ(e.number(), jet::kErrOperationNotSupported) << e.what() << " " << e.context();
            EXPECT_EQ(writetest::readFile(path), bytes);
            ++refused;
            continue;
        }
        {
            auto rs = db->OpenRecordset("Strux New Table");
            rs->AddNew();
            rs->SetValue("Id", std::int32_t{7});
            rs->SetValue("Label", std::string("seven"));
            rs->Update();
        }
        db.reset();
        ++appended;
        auto reopened = jet::DBEngine().OpenDatabase(path);
        std::string after = describe(*reopened);
        const std::string added = "Strux New Table(Id:4,Label:10,)1\n";
        const auto at = after.find(added);
        ASSERT_NE(at, std::string::npos) << after;
        after.erase(at, added.size());
        EXPECT_EQ(after, before);
        if (writetest::haveMdbTools()) {
            const std::string tables = writetest::run("mdb-tables -1 " + writetest::quoted(path));
            EXPECT_NE(tables.find("Strux New Table\n"), std::string::npos);
            EXPECT_EQ(writetest::run("mdb-export " + writetest::quoted(path) + " 'Strux New Table'"), "Id,Label\n7,\"seven\"\n");
        }
    }
    std::cout << "appended to " << appended << " corpus files, refused " << refused << "\n";
    EXPECT_GT(appended, 0);
}

}  // namespace
