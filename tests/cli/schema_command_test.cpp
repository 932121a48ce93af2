#include <gtest/gtest.h>

#include <map>
#include <set>

#include "command.h"
#include "support/command_output.h"
#include "support/corpus.h"
#include "support/expected_schema.h"
#include "support/files.h"
#include "support/scratch_servers.h"
#include "support/strux_command.h"
#include "support/planned_structure.h"
#include "support/temp_folder.h"

using testsupport::shellQuoted;
using testsupport::strux;

namespace {

std::set<std::string> lineSet(const std::string& text) {
    std::set<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        if (end > start) lines.insert(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string joined(const std::set<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\n";
    return text;
}

// The script for one corpus file, written with -o (the way scripts are
// kept), and the structure it must give.
struct CorpusScript {
    std::string name, file;
    std::set<std::string> expected;
};

std::vector<CorpusScript> corpusScripts(const testsupport::TempFolder& folder, const std::string& dialect) {
    std::vector<CorpusScript> scripts;
    // The orders database first: names and texts with quotes and backslashes.
    std::vector<std::filesystem::path> databases{folder / "orders.mdb"};
    testsupport::writeDatabase(testsupport::ordersPlan(), databases.front());
    for (const auto& database : testsupport::corpusDatabases()) databases.push_back(database);
    for (const auto& database : databases) {
        CorpusScript script{testsupport::corpusName(database), folder / (std::to_string(scripts.size()) + ".sql"), {}};
        const auto run = strux({"schema", database.string(), "--dialect", dialect, "-o", script.file});
        EXPECT_EQ(run.status, 0) << script.name << ": " << run.err;
        auto db = jet::DBEngine().OpenDatabase(database.string(), false, true);
        script.expected = testsupport::expectedSchema(*db);
        scripts.push_back(std::move(script));
    }
    return scripts;
}

// The catalog of the loaded schema as expectedSchema's lines.
const char* const kSqliteCatalog =
    "SELECT 'table ' || name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%';"
    "SELECT 'column ' || m.name || '.' || p.name FROM sqlite_master m, pragma_table_info(m.name) p"
    " WHERE m.type = 'table' AND m.name NOT LIKE 'sqlite%';"
    "SELECT 'primary key ' || t || ' (' || group_concat(c, ',') || ')' FROM (SELECT m.name t, p.name c FROM"
    " sqlite_master m, pragma_table_info(m.name) p WHERE m.type = 'table' AND p.pk > 0 ORDER BY m.name, p.pk) GROUP BY t;"
    "SELECT 'foreign key ' || t || ' (' || group_concat(f, ',') || ') -> ' || r || ' (' || group_concat(c, ',') || ')'"
    " FROM (SELECT m.name t, k.id i, k.\"from\" f, k.\"table\" r, k.\"to\" c FROM sqlite_master m,"
    " pragma_foreign_key_list(m.name) k WHERE m.type = 'table' ORDER BY m.name, k.id, k.seq) GROUP BY t, i;";

// information_schema as PostgreSQL and MariaDB both keep it, over every
// schema "s0", "s1", ...: each line starts with its schema's name.
// `keyColumns` joins k.column_name in key order; `foreignKeys` is the
// server's own query for them.
std::string informationSchemaCatalog(const std::string& keyColumns, const std::string& foreignKeys) {
    const std::string ours = " LIKE 's_%' AND {}table_schema <> 'sys' ";
    auto in = [&](const std::string& alias) {
        std::string where = ours;
        where.replace(where.find("{}"), 2, alias);
        return alias + "table_schema" + where;
    };
    return "SELECT concat(table_schema, ' table ', table_name) FROM information_schema.tables WHERE " + in("") +
           "AND table_type = 'BASE TABLE';"
           "SELECT concat(c.table_schema, ' column ', c.table_name, '.', c.column_name) FROM information_schema.columns c"
           " JOIN information_schema.tables t ON t.table_schema = c.table_schema AND t.table_name = c.table_name WHERE " +
           in("c.") + "AND t.table_type = 'BASE TABLE';"
           "SELECT concat(c.table_schema, ' primary key ', c.table_name, ' (', " + keyColumns + ", ')')"
           " FROM information_schema.table_constraints c JOIN information_schema.key_column_usage k"
           " ON k.constraint_name = c.constraint_name AND k.table_schema = c.table_schema AND k.table_name = c.table_name"
           " WHERE " + in("c.") + "AND c.constraint_type = 'PRIMARY KEY' GROUP BY c.table_schema, c.table_name;" + foreignKeys;
}

// Every corpus file's script loaded at once, each into its own schema "sN"
// (`wrap` gives the lines that make and enter it), then the catalog read at
// once and compared file by file.
template <class Load, class Query>
void expectEveryCorpusFileLoads(const std::string& dialect, std::string (*wrap)(const std::string&), Load load,
                                Query query, const std::string& catalogSql) {
    testsupport::TempFolder folder;
    const auto scripts = corpusScripts(folder, dialect);
    std::string all;
    for (std::size_t n = 0; n < scripts.size(); ++n)
        all += wrap("s" + std::to_string(n)) + testsupport::readFile(scripts[n].file);
    const std::string allFile = folder / "all.sql";
    testsupport::writeFile(allFile, all);
    const auto loaded = load(allFile);
    ASSERT_EQ(loaded.status, 0) << loaded.output;
    std::map<std::string, std::set<std::string>> bySchema;
    const auto catalog = query(catalogSql);
    ASSERT_EQ(catalog.status, 0) << catalog.output;
    for (const auto& line : lineSet(catalog.output)) {
        const auto blank = line.find(' ');
        bySchema[line.substr(0, blank)].insert(line.substr(blank + 1));
    }
    for (std::size_t n = 0; n < scripts.size(); ++n)
        EXPECT_EQ(joined(bySchema["s" + std::to_string(n)]), joined(scripts[n].expected)) << scripts[n].name;
}

void expectSameStructure(const CorpusScript& script, const std::string& catalog) {
    std::set<std::string> loaded = lineSet(catalog);
    EXPECT_EQ(joined(loaded), joined(script.expected)) << script.name;
}

}  // namespace

// The script of the orders database in each dialect, as kept in
// tests/data/schema: the mapping of every kind of object at once.
TEST(StruxSchema, OrdersDatabaseInEveryDialect) {
    testsupport::TempFolder folder;
    testsupport::writeDatabase(testsupport::ordersPlan(), folder / "orders.mdb");
    for (const char* dialect : {"access", "sqlite", "postgres", "mysql"}) {
        SCOPED_TRACE(dialect);
        const auto run = strux({"schema", folder / "orders.mdb", "--dialect", dialect});
        ASSERT_EQ(run.status, 0) << run.err;
        const std::string golden = std::string(STRUX_SOURCE_DIR) + "/tests/data/schema/orders." + dialect + ".sql";
        if (std::getenv("STRUX_UPDATE_GOLDEN")) testsupport::writeFile(golden, run.out);
        EXPECT_EQ(run.out, testsupport::readFile(golden));
    }
}

TEST(StruxSchema, RefusesBadDialectsAndOutputs) {
    testsupport::TempFolder folder;
    const std::string db = folder / "orders.mdb";
    testsupport::writeDatabase(testsupport::ordersPlan(), db);
    const std::string before = testsupport::readFile(db);
    EXPECT_EQ(strux({"schema", db}).status, 2);
    EXPECT_EQ(strux({"schema", db, "--dialect", "oracle"}).status, 2);
    EXPECT_EQ(strux({"schema", db, "--dialect", "sqlite", "-o", db}).status, 2);
    EXPECT_EQ(strux({"schema", db, "--dialect", "sqlite", "-o", folder.path().string()}).status, 2);
    EXPECT_EQ(strux({"schema", db, "--dialect", "sqlite", "-o", folder / "missing/x.sql"}).status, 2);
    EXPECT_EQ(testsupport::readFile(db), before);
}

TEST(StruxSchema, EveryCorpusFileLoadsIntoSqlite) {
    STRUX_REQUIRE_CORPUS();
    if (!testsupport::haveTool("sqlite3")) GTEST_SKIP() << "sqlite3 is not installed (Debian package sqlite3)";
    testsupport::TempFolder folder;
    for (const auto& script : corpusScripts(folder, "sqlite")) {
        // In memory, the catalog read in the same run: an error on loading
        // stops it (-bail) and shows among the lines.
        const auto loaded = testsupport::shellRun("sqlite3 -bail :memory: " + shellQuoted(".read " + script.file) + " " +
                                                  shellQuoted(kSqliteCatalog));
        EXPECT_EQ(loaded.status, 0) << script.name << ": " << loaded.output;
        expectSameStructure(script, loaded.output);
    }
}

TEST(StruxSchema, EveryCorpusFileLoadsIntoPostgres) {
    STRUX_REQUIRE_CORPUS();
    testsupport::PostgresServer server;
    if (!server.why().empty()) GTEST_SKIP() << server.why();
    const std::string foreignKeys =
        "SELECT concat(s.nspname, ' foreign key ', f.relname, ' (', string_agg(fa.attname, ',' ORDER BY k.n), ') -> ',"
        " p.relname, ' (', string_agg(pa.attname, ',' ORDER BY k.n), ')') FROM pg_constraint c"
        " JOIN pg_class f ON f.oid = c.conrelid JOIN pg_class p ON p.oid = c.confrelid"
        " JOIN pg_namespace s ON s.oid = c.connamespace, unnest(c.conkey, c.confkey) WITH ORDINALITY AS k(fk, pk, n),"
        " pg_attribute fa, pg_attribute pa WHERE c.contype = 'f' AND fa.attrelid = f.oid AND fa.attnum = k.fk"
        " AND pa.attrelid = p.oid AND pa.attnum = k.pk GROUP BY c.oid, s.nspname, f.relname, p.relname;";
    expectEveryCorpusFileLoads(
        "postgres", [](const std::string& schema) { return "CREATE SCHEMA " + schema + "; SET search_path TO " + schema + ";\n"; },
        [&](const std::string& file) { return server.psql("-f " + shellQuoted(file)); },
        [&](const std::string& sql) { return server.psql("-At -c " + shellQuoted(sql)); },
        informationSchemaCatalog("string_agg(k.column_name::text, ',' ORDER BY k.ordinal_position)", foreignKeys));
}

TEST(StruxSchema, EveryCorpusFileLoadsIntoMariaDb) {
    STRUX_REQUIRE_CORPUS();
    testsupport::MariaDbServer server;
    if (!server.why().empty()) GTEST_SKIP() << server.why();
    const std::string foreignKeys =
        "SELECT concat(table_schema, ' foreign key ', table_name, ' (',"
        " group_concat(column_name ORDER BY ordinal_position SEPARATOR ','), ') -> ', referenced_table_name, ' (',"
        " group_concat(referenced_column_name ORDER BY ordinal_position SEPARATOR ','), ')')"
        " FROM information_schema.key_column_usage WHERE table_schema LIKE 's_%' AND table_schema <> 'sys'"
        " AND referenced_table_name IS NOT NULL GROUP BY table_schema, constraint_name, table_name, referenced_table_name;";
    expectEveryCorpusFileLoads(
        "mysql", [](const std::string& schema) { return "CREATE DATABASE " + schema + "; USE " + schema + ";\n"; },
        [&](const std::string& file) { return server.client("< " + shellQuoted(file)); },
        [&](const std::string& sql) { return server.client("-N -B -r -e " + shellQuoted(sql)); },
        informationSchemaCatalog("group_concat(k.column_name ORDER BY k.ordinal_position SEPARATOR ',')", foreignKeys));
}
