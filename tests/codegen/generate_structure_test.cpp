#include "codegen/generate_structure.h"

#include <regex>
#include <unistd.h>

#include <gtest/gtest.h>

#include "codegen/form_file.h"
#include "codegen/memory_database.h"
#include "codegen/module_lines.h"
#include "codegen/recording_host.h"
#include "codegen/temp_folder.h"
#include "codegen/text_file.h"
#include "support/error_number.h"

namespace {

using testcodegen::MemoryDatabase;
using testcodegen::TempFolder;
using Lines = std::vector<std::string>;

struct GenerationRun {
    MemoryDatabase db;
    TempFolder folder;
    codegen::CodeRequest request;
    testcodegen::RecordingHost host;

    GenerationRun() {
        testcodegen::buildOrders(db);
        request.entries = testcodegen::ordersListing();
        request.sDbPath = folder / "Orders.mdb";
        testcodegen::writeFile(request.sDbPath, "not really a database");
    }
    codegen::GeneratedFiles generate(std::string& mode) {
        return codegen::GenerateStructure(mode, request, db.source(), host);
    }
};

}  // namespace

// Each style writes its files over what an earlier run left, and tells the
// window what it does; the stand-alone style calls DoEvents once per table,
// index, query and relation.
TEST(GenerateStructure, EachStyleWritesItsFilesAndTellsTheWindow) {
    const struct {
        const char* mode;
        codegen::CodeStyle style;
        Lines names, events;
    } cases[] = {
        {"VBFILE", codegen::CodeStyle::StandAlone, {"Orders.bas", "Orders.mdb"},
         {"area 99001", "pointer 11", "message Creating stand alone style code.........", "area 99002", "pointer 0",
          "message -1", "area 0"}},
        {"VBFILE2", codegen::CodeStyle::Project, {"CreateVBForm.frm", "Orders.bas", "Orders.mdb"},
         {"area 99001", "pointer 11", "message Creating stand alone style code.........", "area 99002",
          "message Creating outline form CreateVBDatabase.frm........",
          "message Creating Project style code...........", "area 99002", "pointer 0", "message -1", "area 0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        GenerationRun run;
        testcodegen::writeFile(run.folder / "Orders.bas", std::string(100000, 'x'));
        std::string mode = c.mode;
        const auto files = run.generate(mode);
        EXPECT_EQ(mode, "VBFILE");
        EXPECT_EQ(files.modulePath, run.folder / "Orders.bas");
        EXPECT_EQ(run.folder.names(), c.names);
        EXPECT_EQ(testcodegen::crlfLines(files.modulePath),
                  codegen::moduleLines(c.style, run.request.entries, run.db.source(), run.request.sDbPath,
                                       run.host.created));
        EXPECT_EQ(run.host.events, c.events);
        if (c.style == codegen::CodeStyle::Project) {
            EXPECT_EQ(testcodegen::crlfLines(files.formPath), codegen::formLines(run.host.created));
        } else {
            EXPECT_EQ(files.formPath, "");
            EXPECT_EQ(run.host.doEventsCalls, 2 + 2 + 1 + 1);
        }
    }
}

TEST(GenerateStructure, ProjectStyleWithoutFormLeavesAnExistingFormAlone) {
    GenerationRun run;
    const std::string form = run.folder / "CreateVBForm.frm";
    testcodegen::writeFile(form, "my own form\r\n");
    run.request.bNoFormFile = true;
    std::string mode = "VBFILE2";
    const auto files = run.generate(mode);
    EXPECT_EQ(files.formPath, "");
    EXPECT_EQ(testcodegen::readFile(form), "my own form\r\n");
    EXPECT_EQ(testcodegen::crlfLines(files.modulePath).front(), "'VBStructure from STRUX32.");
    EXPECT_EQ(std::count(run.host.events.begin(), run.host.events.end(),
                         "message Creating outline form CreateVBDatabase.frm........"),
              0);
}

TEST(GenerateStructure, AFailureKeepsTheEarlierModule) {
    GenerationRun run;
    const std::string module = run.folder / "Orders.bas";
    testcodegen::writeFile(module, "the good one\r\n");
    run.request.entries.push_back("Tbl: Vanished");
    std::string mode = "VBFILE2";
    EXPECT_EQ(testsupport::errorNumber<jet::Error>([&] { run.generate(mode); }), jet::kErrItemNotFound);
    EXPECT_EQ(testcodegen::readFile(module), "the good one\r\n");
    // No half-written file is left beside it; the area is that of the step
    // that failed, for the error handler, and the pointer is normal again.
    EXPECT_EQ(run.folder.names(), (Lines{"CreateVBForm.frm", "Orders.bas", "Orders.mdb"}));
    EXPECT_EQ(run.host.area, codegen::kAreaVBStructPrinting);
    EXPECT_EQ(run.host.pointer, codegen::kPointerDefault);
    EXPECT_EQ(std::count(run.host.events.begin(), run.host.events.end(), "message -1"), 0);
}

// VB's own numbers, for the error handler: a folder that cannot be
// written, and one that is not there.
TEST(GenerateStructure, WriteFailuresCarryVbsNumbers) {
    GenerationRun missing;
    missing.request.moduleOut = missing.folder / "no/such/folder/Orders.bas";
    std::string mode = "VBFILE";
    EXPECT_EQ(testsupport::errorNumber<codegen::WriteError>([&] { missing.generate(mode); }),
              codegen::kErrPathNotFound);
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    GenerationRun run;
    std::filesystem::permissions(run.folder.path(), std::filesystem::perms::owner_read |
                                                        std::filesystem::perms::owner_exec);
    EXPECT_EQ(testsupport::errorNumber<codegen::WriteError>([&] { run.generate(mode); }),
              codegen::kErrPermissionDenied);
    EXPECT_EQ(run.host.pointer, codegen::kPointerDefault);
}

TEST(GenerateStructure, AnUnknownModeWordDoesNothing) {
    GenerationRun run;
    std::string mode = "PRINT";
    EXPECT_THROW(run.generate(mode), std::invalid_argument);
    EXPECT_TRUE(run.host.events.empty());
    EXPECT_EQ(run.folder.names(), (Lines{"Orders.mdb"}));
}

TEST(GenerateStructure, ADatabaseIsNeverOverwritten) {
    GenerationRun run;
    run.request.sDbPath = run.folder / "Odd.bas";
    testcodegen::writeFile(run.request.sDbPath, "database bytes");
    std::string mode = "VBFILE";
    EXPECT_THROW(run.generate(mode), codegen::WriteError);
    EXPECT_EQ(testcodegen::readFile(run.request.sDbPath), "database bytes");

    run.request.sDbPath = run.folder / "CreateVBForm.frm";
    testcodegen::writeFile(run.request.sDbPath, "database bytes");
    mode = "VBFILE2";
    EXPECT_THROW(run.generate(mode), codegen::WriteError);
    EXPECT_EQ(testcodegen::readFile(run.request.sDbPath), "database bytes");
}

TEST(GenerateStructure, ModuleAndFormAreNamedBesideTheDatabase) {
    EXPECT_EQ(codegen::moduleFilePath("C:\\Data\\Orders.mdb"), "C:\\Data\\Orders.bas");
    EXPECT_EQ(codegen::moduleFilePath("/data/Orders.accdb"), "/data/Orders.bas");
    // A dot in a folder's name is no extension.
    EXPECT_EQ(codegen::moduleFilePath("/data/v1.2/Orders"), "/data/v1.2/Orders.bas");
    EXPECT_EQ(codegen::moduleFilePath("C:\\v1.2\\Orders"), "C:\\v1.2\\Orders.bas");
    EXPECT_EQ(codegen::moduleFilePath("my.orders.mdb"), "my.orders.bas");
    EXPECT_EQ(codegen::formFilePath("C:\\Data\\Orders.mdb"), "C:\\Data\\CreateVBForm.frm");
    EXPECT_EQ(codegen::formFilePath("/Orders.mdb"), "/CreateVBForm.frm");
    EXPECT_EQ(codegen::formFilePath("Orders.mdb"), "CreateVBForm.frm");
}

TEST(GenerateStructure, DateLinesCarryTheCurrentDateAndTime) {
    // The host's own clock: the general date format of the locale.
    class ClockHost : public codegen::QuietHost {};
    GenerationRun run;
    ClockHost host;
    std::string mode = "VBFILE2";
    const auto files = codegen::GenerateStructure(mode, run.request, run.db.source(), host);
    const std::regex date(R"(\d{1,4}[-./]\d{1,2}[-./]\d{1,4}( \d{1,2}:\d{2}(:\d{2})?( ?[AaPp]\.?[Mm]\.?)?)?)");
    const auto module = testcodegen::crlfLines(files.modulePath);
    const auto form = testcodegen::crlfLines(files.formPath);
    ASSERT_GE(module.size(), 15u);
    ASSERT_EQ(form.size(), 147u);
    EXPECT_EQ(module[14].rfind("'Code created ", 0), 0u);
    EXPECT_TRUE(std::regex_match(module[14].substr(14), date)) << module[14];
    EXPECT_EQ(form[100].rfind("'Form created ", 0), 0u);
    EXPECT_TRUE(std::regex_match(form[100].substr(14), date)) << form[100];
}
