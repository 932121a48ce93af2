// The module generated for the sample database, run in reverse: every query
// it creates is read back out of its VB string expressions and given to the
// engine's CreateQueryDef, which must accept it and keep the query's SQL.
#include <gtest/gtest.h>

#include <filesystem>

#include "codegen/module_lines.h"
#include "codegen/structure_walk.h"
#include "codegen/temp_folder.h"
#include "codegen/vb_text.h"
#include "jet/dao.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

void appendUtf8(std::string& out, unsigned point) {
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

// The text of a VB string expression as the generator writes them:
// literals ("" inside for a quotation mark) and ChrW$(&H...) calls joined
// by " & ". Surrogate pairs do not occur in the sample.
std::string evaluate(const std::string& expression) {
    std::string text;
    std::size_t i = 0;
    while (i < expression.size()) {
        if (expression.compare(i, 3, " & ") == 0) {
            i += 3;
        } else if (expression[i] == '"') {
            for (++i; i < expression.size(); ++i) {
                if (expression[i] != '"') {
                    text += expression[i];
                } else if (i + 1 < expression.size() && expression[i + 1] == '"') {
                    text += '"';
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
        } else if (expression.compare(i, 8, "ChrW$(&H") == 0) {
            const std::size_t close = expression.find(')', i);
            appendUtf8(text, static_cast<unsigned>(std::stoul(expression.substr(i + 8, close - i - 8), nullptr, 16)));
            i = close + 1;
        } else {
            ADD_FAILURE() << "unexpected text in a string expression: " << expression.substr(i);
            break;
        }
    }
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
