// The round trip on every corpus query: the SQL the engine's QueryDefs give
// parses into rows that rebuild the same text and equal the rows Access
// wrote (read with mdbtools, independently of the engine).
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>

#include "engine/queries/corpus_queries.h"
#include "engine/queries/query_canonical.h"
#include "jet/dao.h"
#include "jet/error.h"
#include "sql/sql_parser.h"
#include "support/corpus.h"

using namespace qtest;

namespace {

// Queries agreeing both ways when this test was last tightened; a fall
// below it is a regression.
constexpr int kAgreedAtLeast = 131;

}  // namespace

TEST(SqlParseCorpus, EveryQueryRoundTrips) {
    STRUX_REQUIRE_CORPUS();
    if (!haveMdbExport()) GTEST_SKIP() << "mdb-export (mdbtools) is not installed";

    int total = 0, sameText = 0, sameRows = 0, agreed = 0;
    for (const auto& database : testsupport::corpusDatabases()) {
        const std::string file = std::filesystem::relative(database, testsupport::corpusDir()).generic_string();
        std::map<std::string, CorpusQuery> stored;
        for (CorpusQuery& q : corpusQueries(database)) stored[q.name] = std::move(q);
        std::shared_ptr<jet::Database> db;
        try {
            db = jet::DBEngine().OpenDatabase(database.string(), false, true);
        } catch (const jet::Error&) {
            continue;  // files the engine cannot open are the reader's tests' concern
        }
        EXPECT_EQ(db->QueryDefs().Count(), static_cast<int>(stored.size())) << file;
        for (int i = 0; i < db->QueryDefs().Count(); ++i) {
            const jet::QueryDef& qd = db->QueryDefs()[i];
            ++total;
            const std::string where = file + " :: " + qd.Name();
            auto accessRows = stored.find(qd.Name());
            if (accessRows == stored.end()) {
                ADD_FAILURE() << where << ": no MSysQueries rows";
                continue;
            }
            const CorpusQuery& q = accessRows->second;
            try {
                jet::sql::ParseOptions options;
                if (qd.Type() == jet::queries::dbQSQLPassThrough || qd.Type() == jet::queries::dbQSPTBulk) {
                    options.passThrough = true;
                    options.connect = qd.Connect();
                }
                auto parsed = jet::sql::parseQuery(qd.SQL(), options);
                for (QueryRow& r : parsed.rows) r.objectId = q.rows.front().objectId;
                const auto again = jet::queries::rebuildQuery(parsed.rows, q.catalogFlags);
                const bool textOk = again.sql == qd.SQL() && parsed.type == qd.Type();
                const auto expected = canonicalRows(q.rows);
                const auto ours = canonicalRows(parsed.rows);
                const bool rowsOk = expected == ours;
                sameText += textOk;
                sameRows += rowsOk;
                agreed += textOk && rowsOk;
                if (!textOk) ADD_FAILURE() << where << "\nsource:\n" << qd.SQL() << "\nrebuilt:\n" << again.sql;
                if (!rowsOk)
                    ADD_FAILURE() << where << "\n" << qd.SQL() << "Access:\n" << joinedRows(expected) << "ours:\n" << joinedRows(ours);
            } catch (const jet::Error& e) {
                ADD_FAILURE() << where << ": error " << e.number() << " " << e.what() << " " << e.context();
            }
        }
    }
    std::cout << "[ corpus   ] " << total << " queries: " << sameText << " rebuild the same SQL, " << sameRows
              << " give Access's rows, " << agreed << " both\n";
    EXPECT_GE(agreed, kAgreedAtLeast);
}
