// The module generated for the sample database, run over the engine in
// both formats: it runs to its end and makes every table, index, query and
// relation of the sample (the parameter query, the crosstab, the union and
// the update among them) as the sample has them.
#include <gtest/gtest.h>

#include <filesystem>

#include "codegen/module_lines.h"
#include "codegen/module_run.h"
#include "codegen/structure_walk.h"
#include "codegen/temp_folder.h"
#include "jet/dao.h"

namespace {

namespace fs = std::filesystem;

TEST(SampleModule, RunsOverTheEngineAndRecreatesTheSample) {
    const fs::path sample = fs::path(STRUX_BINARY_DIR) / "bin" / "OrderEntry.mdb";
    ASSERT_TRUE(fs::exists(sample)) << sample << " was not made by the build";
    auto source = jet::DBEngine().OpenDatabase(sample.string(), false, true);
    const codegen::SourceDatabase walked{source->TableDefs(), source->QueryDefs(), source->Relations()};
    const auto entries = codegen::listingEntries(walked);
    const auto lines = codegen::moduleLines(codegen::CodeStyle::Project, entries, walked, sample.string(), "1/2/2003");
    for (int version : {0, static_cast<int>(jet::dbVersion40)}) {
        SCOPED_TRACE(version);
        testcodegen::TempFolder folder;
        testcodegen::expectModuleRecreates(lines, entries, walked, folder.file("Run.mdb"), version);
    }
}

}  // namespace
