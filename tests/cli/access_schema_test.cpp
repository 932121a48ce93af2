// The access dialect of strux schema run back through Database.Execute:
// every corpus file's script builds a new database of the same format that
// differs from its source only in what the script names as not in DDL.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "jet/dao.h"
#include "schema/access_script.h"
#include "support/command_output.h"
#include "support/corpus.h"
#include "support/files.h"
#include "support/planned_structure.h"
#include "support/strux_command.h"
#include "support/temp_folder.h"

using testsupport::shellQuoted;
using testsupport::strux;

namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.push_back(line);
    return lines;
}

// "table T / field F" and what of it the script says it leaves out, from
// its "-- not in DDL: WHERE: WHAT" lines.
struct LeftOut {
    std::string where, what;
};

std::vector<LeftOut> leftOutOf(const std::string& script) {
    std::vector<LeftOut> items;
    const std::string prefix = schema::kNotInDdl;
    for (const auto& line : linesOf(script)) {
        if (line.rfind(prefix, 0) != 0) continue;
        const std::string rest = line.substr(prefix.size());
        // WHERE may hold ": " only inside a name; WHAT starts after the
        // last path part's name, so the first ": " after the last " / ".
        const auto lastPart = rest.rfind(" / ");
        const auto colon = rest.find(": ", lastPart == std::string::npos ? 0 : lastPart);
        items.push_back({rest.substr(0, colon), rest.substr(colon + 2)});
    }
    return items;
}

// Whether the diff line "WHERE: WHAT..." is one the script names: all of
// an object (and what lies inside it), or the one property it names.
bool named(const std::vector<LeftOut>& items, const std::string& diffLine) {
    static const char* const kProperties[] = {"default value", "validation rule", "validation text", "allow zero length",
                                              "description", "attributes", "ignore nulls", "ordinal position"};
    return std::any_of(items.begin(), items.end(), [&](const LeftOut& item) {
        if (diffLine.rfind(item.where + ": ", 0) != 0 && diffLine.rfind(item.where + " / ", 0) != 0) return false;
        if (item.what.rfind("all of it", 0) == 0 || item.where == "database") return true;
        const std::string said = diffLine.substr(item.where.size() + 2);
        return std::any_of(std::begin(kProperties), std::end(kProperties), [&](const std::string& property) {
            return item.what.rfind(property, 0) == 0 && said.rfind(property + " ", 0) == 0;
        });
    });
}

int formatOf(const std::string& version) { return version == "3.0" ? jet::dbVersion30 : jet::dbVersion40; }

// The script's statements run into a new database at `target`; the first
// one refused fails the test with its text.
// Then its select queries stored through CreateQueryDef, which must take
// the SQL the script holds; their names are returned.
std::vector<std::string> runScript(const std::string& script, jet::Database& source, const std::string& target) {
    auto db = jet::DBEngine().CreateDatabase(target, ";LANGID=0x0409;CP=1252;COUNTRY=0", formatOf(source.Version()));
    for (const auto& statement : schema::accessStatements(script)) {
        try {
            db->Execute(statement);
        } catch (const jet::Error& e) {
            ADD_FAILURE() << statement << "\n" << e.number() << " " << e.what() << " " << e.context();
            return {};
        }
    }
    std::vector<std::string> selects;
    for (const auto& query : schema::accessQueries(script)) {
        const jet::QueryDef* original = source.QueryDefs().find(query.name);
        if (!original || original->Type() != jet::dbQSelect) continue;
        try {
            db->CreateQueryDef(query.name, query.sql);
            selects.push_back("query " + query.name);
        } catch (const jet::Error& e) {
            ADD_FAILURE() << query.name << ": " << query.sql << "\n" << e.number() << " " << e.what();
        }
    }
    return selects;
}

void expectReferees(const std::string& path, const std::string& script) {
    std::size_t tables = 0;
    for (const auto& statement : schema::accessStatements(script)) tables += statement.rfind("CREATE TABLE", 0) == 0;
    if (testsupport::haveTool("mdb-tables")) {
        const auto listed = testsupport::commandOutput("mdb-tables -1 " + shellQuoted(path));
        ASSERT_TRUE(listed) << "mdb-tables could not read " << path;
        EXPECT_EQ(linesOf(*listed).size(), tables) << *listed;
        EXPECT_TRUE(testsupport::commandOutput("mdb-schema " + shellQuoted(path) + " access")) << "mdb-schema";
    }
    const char* reader = std::getenv("STRUX_MDB_READER");
    if (reader && testsupport::haveTool("node")) {
        const std::string program =
            "import(process.argv[1] + '/lib/node/index.js').then(m => { const R = m.default;"
            " const db = new R(require('fs').readFileSync(process.argv[2]));"
            " for (const t of db.getTableNames()) { const x = db.getTable(t); x.getColumnNames(); x.getData(); }"
            " console.log(db.getTableNames().length); })";
        const auto read = testsupport::commandOutput("node -e " + shellQuoted(program) + " " + shellQuoted(reader) + " " +
                                                     shellQuoted(path));
        ASSERT_TRUE(read) << "mdb-reader could not read " << path;
        EXPECT_EQ(std::stoul(*read), tables);
    }
}

}  // namespace

TEST(StruxSchemaAccess, EveryCorpusFileRoundTripsThroughExecute) {
    testsupport::TempFolder folder;
    std::vector<std::filesystem::path> databases{folder / "orders.mdb"};
    testsupport::writeDatabase(testsupport::ordersPlan(), databases.front());
    for (const auto& database : testsupport::corpusDatabases()) databases.push_back(database);
    for (std::size_t n = 0; n < databases.size(); ++n) {
        const std::string source = databases[n].string();
        SCOPED_TRACE(source);
        const auto written = strux({"schema", source, "--dialect", "access"});
        ASSERT_EQ(written.status, 0) << written.err;
        const std::string target = folder / ("rebuilt" + std::to_string(n) + ".mdb");
        std::vector<std::string> queries;
        {
            auto db = jet::DBEngine().OpenDatabase(source, false, true);
            queries = runScript(written.out, *db, target);
        }

        const auto verified = strux({"verify", target});
        EXPECT_EQ(verified.status, 0) << verified.out << verified.err;
        expectReferees(target, written.out);

        // A select query stored from the script's SQL is whole again.
        auto items = leftOutOf(written.out);
        std::erase_if(items, [&](const LeftOut& item) {
            return std::find(queries.begin(), queries.end(), item.where) != queries.end();
        });
        const auto diff = strux({"diff", "--no-system", source, target});
        EXPECT_NE(diff.status, 2) << diff.err;
        for (const auto& line : linesOf(diff.out))
            if (!named(items, line)) ADD_FAILURE() << "not named as left out: " << line;
    }
}
