// The module generated for the sample database, run in reverse: every query
// it creates is read back out of its VB string expressions and given to the
// engine's CreateQueryDef, which must accept it and keep the query's SQL.
#include <gtest/gtest.h>

#include <filesystem>

#include "codegen/module_lines.h"
#include "codegen/structure_walk.h"
#include "codegen/temp_folder.h"
#include "codegen/vb_checker.h"
#include "codegen/vb_text.h"
#include "jet/dao.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// The text of a VB string expression, as VB would evaluate it.
std::string evaluate(const std::string& expression) {
    bool ok = false;
    const std::string text = vbcheck::utf8FromUnits(vbcheck::evaluateUnits(expression, ok));
    EXPECT_TRUE(ok) << expression;
    return text;
}

struct CreatedQuery {
    std::string name, sql;
};

// The queries the module's CreateQueries procedure creates, with the text
// its string expressions give.
std::vector<CreatedQuery> queriesOf(const Lines& lines) {
    const std::string call = "Set qdfNew = DB.CreateQueryDef(";
    std::vector<CreatedQuery> queries;
    std::string variable;
    for (const std::string& line : lines) {
        if (line.rfind("sSQL = sSQL & ", 0) == 0) {
            variable += evaluate(line.substr(14));
        } else if (line.rfind("sSQL = ", 0) == 0) {
            variable = evaluate(line.substr(7));
        } else if (line.rfind(call, 0) == 0) {
            const std::string arguments = line.substr(call.size(), line.size() - call.size() - 1);
            if (arguments.size() > 6 && arguments.compare(arguments.size() - 6, 6, ", sSQL") == 0) {
                queries.push_back({evaluate(arguments.substr(0, arguments.size() - 6)), variable});
            } else {
                // The name's expression ends at the first ", " outside a literal.
                std::size_t i = 0;
                bool inLiteral = false;
                for (; i < arguments.size(); ++i) {
                    if (arguments[i] == '"') inLiteral = !inLiteral;
                    else if (!inLiteral && arguments.compare(i, 2, ", ") == 0) break;
                }
                queries.push_back({evaluate(arguments.substr(0, i)), evaluate(arguments.substr(i + 2))});
            }
        }
    }
    return queries;
}

}  // namespace

TEST(SampleModule, NamesOnlyQueriesTheEngineCreates) {
    const fs::path sample = fs::path(STRUX_BINARY_DIR) / "bin" / "OrderEntry.mdb";
    ASSERT_TRUE(fs::exists(sample)) << sample << " was not made by the build";
    auto source = jet::DBEngine().OpenDatabase(sample.string(), false, true);
    const codegen::SourceDatabase walked{source->TableDefs(), source->QueryDefs(), source->Relations()};
    const Lines lines = codegen::moduleLines(codegen::CodeStyle::StandAlone, codegen::listingEntries(walked), walked,
                                             sample.string(), "1/2/2003");
    const auto queries = queriesOf(lines);
    ASSERT_EQ(static_cast<int>(queries.size()), source->QueryDefs().Count());

    for (int version : {0, static_cast<int>(jet::dbVersion40)}) {
        SCOPED_TRACE(version);
        testcodegen::TempFolder folder;
        auto target = jet::DBEngine().CreateDatabase(folder.file("Run.mdb"), jet::dbLangGeneral, version);
        for (const auto& query : queries) {
            SCOPED_TRACE(query.name);
            ASSERT_NO_THROW(target->CreateQueryDef(query.name, query.sql));
            const jet::QueryDef& original = source->QueryDefs()[query.name];
            const jet::QueryDef& created = target->QueryDefs()[query.name];
            EXPECT_EQ(created.Type(), original.Type());
            EXPECT_EQ(codegen::flattenSql(created.SQL()), codegen::flattenSql(original.SQL()));
        }
    }
}
