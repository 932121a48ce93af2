// The one walk over the whole corpus for reading: every file opened through
// the object model and compared, item by item, with an independent reading
// of the same file (corpus-reference): tables, the rows a full scan finds,
// query SQL as Access shows it, relations; and every file verifies clean.
// Where the referee's meaning differs from DAO's the comparison converts:
// text sizes in characters, absent Required/AllowZeroLength as False,
// DAO's type codes, the stored relation bits as Attributes, and only the
// foreign table's index of an enforced relationship.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>
#include <regex>
#include <set>

#include "dao/database_impl.h"
#include "jet/dao.h"
#include "jet/verify.h"
#include "reference_json.h"
#include "storage/table_reader.h"
#include "support/corpus.h"

using testsupport::Json;

namespace {

// DAO's Type and Size for the referee's type names.
struct ExpectedType {
    int type;
    long size;  // -1: the stored length
};
const std::map<std::string, ExpectedType> kTypes = {
    {"BOOLEAN", {jet::dbBoolean, 1}},   {"BYTE", {jet::dbByte, 1}},       {"INT", {jet::dbInteger, 2}},
    {"LONG", {jet::dbLong, 4}},         {"MONEY", {jet::dbCurrency, 8}},  {"FLOAT", {jet::dbSingle, 4}},
    {"DOUBLE", {jet::dbDouble, 8}},     {"SHORT_DATE_TIME", {jet::dbDate, 8}}, {"BINARY", {jet::dbBinary, -1}},
    {"TEXT", {jet::dbText, -1}},        {"OLE", {jet::dbLongBinary, 0}},  {"MEMO", {jet::dbMemo, 0}},
    {"GUID", {jet::dbGUID, 16}},        {"NUMERIC", {jet::dbDecimal, 16}}, {"BIG_INT", {jet::dbBigInt, 8}},
    {"UNKNOWN_11", {jet::dbVarBinary, -1}},
};

bool flagOrFalse(const Json& v) { return !v.isNull() && v.asBool(); }

void compareFields(const jet::TableDef& table, const Json& fields) {
    ASSERT_EQ(table.Fields().Count(), static_cast<int>(fields.items().size())) << table.Name();
    int position = 0;
    for (const auto& ref : fields.items()) {
        const jet::Field& field = table.Fields()[position];
        SCOPED_TRACE(table.Name() + "." + ref["name"].asString());
        EXPECT_EQ(field.Name(), ref["name"].asString());
        EXPECT_EQ(field.OrdinalPosition(), position);
        auto known = kTypes.find(ref["jetType"].asString());
        if (known != kTypes.end()) {
            EXPECT_EQ(field.Type(), known->second.type);
            long size = known->second.size;
            if (ref["jetType"].asString() == "TEXT") size = ref["chars"].asInteger();
            else if (size < 0) size = ref["size"].asInteger();
            EXPECT_EQ(field.Size(), size);
        }
        // A complex column stores neither property itself; the referee's
        // values for it come from elsewhere.
        if (ref["jetType"].asString() != "COMPLEX_TYPE") {
            EXPECT_EQ(field.Required(), flagOrFalse(ref["required"]));
            EXPECT_EQ(field.AllowZeroLength(), flagOrFalse(ref["allowZeroLength"]));
        }
        const long attributes = field.Attributes();
        EXPECT_EQ((attributes & jet::dbVariableField) != 0, ref["variableLength"].asBool());
        EXPECT_EQ((attributes & jet::dbFixedField) != 0, !ref["variableLength"].asBool());
        if (ref["jetType"].asString() == "LONG") {
            EXPECT_EQ((attributes & jet::dbAutoIncrField) != 0, ref["autoNumber"].asBool());
        }
        EXPECT_EQ((attributes & jet::dbHyperlinkField) != 0, ref["hyperlink"].asBool());
        ++position;
    }
}

void compareIndexes(const jet::TableDef& table, const Json& indexes) {
    std::set<std::string> expectedNames;
    for (const auto& ref : indexes.items()) {
        // The primary table's side of an enforced relationship: Jet names it
        // ".r<letter>" and DAO does not list it.
        if (ref["foreign"].asBool() && ref["name"].asString().rfind(".", 0) == 0) continue;
        const std::string& name = ref["name"].asString();
        expectedNames.insert(name);
        SCOPED_TRACE(table.Name() + " index " + name);
        const jet::Index* index = table.Indexes().find(name);
        ASSERT_NE(index, nullptr);
        const bool primary = ref["primary"].asBool();
        EXPECT_EQ(index->Primary(), primary);
        EXPECT_EQ(index->Unique(), ref["unique"].asBool() || primary);
        EXPECT_EQ(index->Required(), ref["required"].asBool() || primary);
        EXPECT_EQ(index->IgnoreNulls(), ref["ignoreNulls"].asBool());
        EXPECT_EQ(index->Foreign(), ref["foreign"].asBool());
        ASSERT_EQ(index->Fields().Count(), static_cast<int>(ref["fields"].items().size()));
        for (int i = 0; i < index->Fields().Count(); ++i) {
            const Json& member = ref["fields"].items()[static_cast<std::size_t>(i)];
            EXPECT_EQ(index->Fields()[i].Name(), member["name"].asString());
            EXPECT_EQ(index->Fields()[i].Attributes(), member["descending"].asBool() ? long{jet::dbDescending} : 0L);
        }
    }
    EXPECT_EQ(table.Indexes().Count(), static_cast<int>(expectedNames.size())) << table.Name();
}

// Rows the referee's own scan found where it differs from the stored count.
std::map<std::string, long> scannedRowCounts(const Json& reference) {
    std::map<std::string, long> counts;
    const std::regex scanned("table '(.*)': stored row count (\\d+) but (\\d+) rows found by scan");
    for (const auto& message : reference["errors"].items()) {
        std::smatch m;
        if (std::regex_match(message.asString(), m, scanned)) counts[m[1]] = std::stol(m[3]);
    }
    return counts;
}

void compareTables(jet::Database& db, const Json& reference) {
    const auto scannedCounts = scannedRowCounts(reference);
    const auto& tables = reference["tables"].items();
    ASSERT_EQ(db.TableDefs().Count(), static_cast<int>(tables.size()));
    for (std::size_t i = 0; i < tables.size(); ++i) {
        const Json& ref = tables[i];
        jet::TableDef& table = db.TableDefs()[static_cast<int>(i)];
        SCOPED_TRACE("table " + ref["name"].asString());
        EXPECT_EQ(table.Name(), ref["name"].asString()) << "catalog order at " << i;
        const long attributes = table.Attributes();
        EXPECT_EQ((attributes & jet::dbSystemObject) != 0, ref["system"].asBool());
        EXPECT_EQ((attributes & jet::dbHiddenObject) != 0, ref["hidden"].asBool());
        const bool linked = (attributes & (jet::dbAttachedTable | jet::dbAttachedODBC)) != 0;
        EXPECT_EQ(linked, ref["linked"].asBool());
        if (linked) {
            EXPECT_EQ(table.Fields().Count(), 0);
            EXPECT_FALSE(table.Connect().empty());
            EXPECT_FALSE(table.SourceTableName().empty());
            continue;
        }
        compareFields(table, ref["fields"]);
        compareIndexes(table, ref["indexes"]);
        const Json& count = reference["rowCounts"][table.Name()];
        if (!count.isNull()) {
            EXPECT_EQ(table.RecordCount(), count.asInteger());
        }
        // A full scan of the stored rows; the stored count is not enough,
        // as those of system tables go stale.
        const auto& impl = db.impl();
        const auto def = jet::storage::readTableDefinition(*impl.file, impl.tdefPages.at(i));
        jet::storage::TableReader reader(*impl.file, def);
        jet::storage::Row row;
        long scanned = 0;
        while (reader.next(row)) {
            ASSERT_EQ(row.values.size(), def.columns.size());
            ++scanned;
        }
        EXPECT_EQ(scanned, scannedCounts.count(table.Name()) ? scannedCounts.at(table.Name()) : count.asInteger());
    }
}

// Where Access writes a query's text differently from the referee, the
// referee's text is corrected before comparing: a fragment of one file's
// query text ("" for every file or query) and what Access shows instead.
struct Correction {
    std::string file, query, from, to;
};

const std::vector<Correction> kAccessDiffers = {
    // Parameter names are bracketed when they need it, form references part
    // by part; the referee writes them bare.
    {"", "UpdateQuery", "PARAMETERS User Name Text", "PARAMETERS [User Name] Text"},
    {"real/nwind-jet3.mdb", "Employee Sales by Country", "Beginning Date DateTime, Ending Date DateTime",
     "[Beginning Date] DateTime, [Ending Date] DateTime"},
    {"real/nwind-jet3.mdb", "Sales by Year", "Forms!Sales by Year Dialog!BeginningDate",
     "[Forms]![Sales by Year Dialog]![BeginningDate]"},
    {"real/nwind-jet3.mdb", "Sales by Year", "Forms!Sales by Year Dialog!EndingDate",
     "[Forms]![Sales by Year Dialog]![EndingDate]"},
    // A reserved word as alias is bracketed.
    {"real/nwind-jet3.mdb", "Sales by Year", "AS Year\r\n", "AS [Year]\r\n"},
    // The referee drops TOP when DISTINCTROW is set.
    {"real/nwind-jet3.mdb", "Ten Most Expensive Products", "DISTINCTROW Products", "DISTINCTROW TOP 10 Products"},
    // Access 2000 and later write a Text parameter's length with blanks.
    {"real/northwind-small-jet4.mdb", "", "Text(255)", "Text ( 255 )"},
    // Letters beyond ASCII need no brackets.
    {"V2007/odbcLinkerTestV2007.accdb", "", "FROM [Handläggare]", "FROM Handläggare"},
    {"V2007/odbcLinkerTestV2007.accdb", "", "FROM [AdminÖppet]", "FROM AdminÖppet"},
    {"V2007/odbcLinkerTestV2007.accdb", "", "FROM [Länder]", "FROM Länder"},
    {"V2007/odbcLinkerTestV2007.accdb", "", "[RapportEngSökQuery]", "RapportEngSökQuery"},
};

// The text Access shows for a query of the referee: the final line end the
// referee leaves off, stored texts without their NUL, then the corrections.
std::string accessText(const std::string& file, const std::string& query, const Json& ref) {
    std::string sql = ref["sql"].isNull() ? std::string() : ref["sql"].asString();
    sql.erase(std::remove(sql.begin(), sql.end(), '\0'), sql.end());
    const bool ownText = ref["typeCode"].asInteger() == jet::dbQSQLPassThrough || ref["typeCode"].asInteger() == jet::dbQDDL;
    if (!ownText) sql += "\r\n";
    for (const Correction& c : kAccessDiffers) {
        if ((!c.file.empty() && c.file != file) || (!c.query.empty() && c.query != query)) continue;
        for (auto at = sql.find(c.from); at != std::string::npos; at = sql.find(c.from, at + c.to.size()))
            sql.replace(at, c.from.size(), c.to);
    }
    return sql;
}

int compareQueries(jet::Database& db, const Json& reference, const std::string& file) {
    const auto& queries = reference["queries"].items();
    EXPECT_EQ(db.QueryDefs().Count(), static_cast<int>(queries.size()));
    if (db.QueryDefs().Count() != static_cast<int>(queries.size())) return 0;
    for (std::size_t i = 0; i < queries.size(); ++i) {
        const jet::QueryDef& query = db.QueryDefs()[static_cast<int>(i)];
        EXPECT_EQ(query.Name(), queries[i]["name"].asString()) << "catalog order at " << i;
        EXPECT_EQ(query.Type(), queries[i]["typeCode"].asInteger()) << query.Name();
        EXPECT_EQ(query.SQL(), accessText(file, query.Name(), queries[i])) << file << " :: " << query.Name();
    }
    return static_cast<int>(queries.size());
}

void compareRelations(jet::Database& db, const Json& reference) {
    const auto& relations = reference["relations"].items();
    ASSERT_EQ(db.Relations().Count(), static_cast<int>(relations.size()));
    for (const auto& ref : relations) {
        SCOPED_TRACE("relation " + ref["name"].asString());
        const jet::Relation* relation = db.Relations().find(ref["name"].asString());
        ASSERT_NE(relation, nullptr);
        EXPECT_EQ(relation->Table(), ref["table"].asString());
        EXPECT_EQ(relation->ForeignTable(), ref["foreignTable"].asString());
        EXPECT_EQ(relation->Attributes(), ref["flags"].asInteger());
        ASSERT_EQ(relation->Fields().Count(), static_cast<int>(ref["fields"].items().size()));
        for (int i = 0; i < relation->Fields().Count(); ++i) {
            EXPECT_EQ(relation->Fields()[i].Name(), ref["fields"].items()[static_cast<std::size_t>(i)]["name"].asString());
            EXPECT_EQ(relation->Fields()[i].ForeignName(),
                      ref["fields"].items()[static_cast<std::size_t>(i)]["foreignName"].asString());
        }
    }
}

}  // namespace

TEST(CorpusReference, EveryFileReadsAsTheRefereeReadsItAndVerifiesClean) {
    STRUX_REQUIRE_CORPUS();
    int compared = 0, queries = 0, verified = 0;
    for (const auto& path : testsupport::corpusDatabases()) {
        const std::string file = testsupport::corpusName(path);
        SCOPED_TRACE(file);
        auto referencePath = testsupport::referenceReading(path);
        std::shared_ptr<jet::Database> db;
        try {
            db = jet::DBEngine().OpenDatabase(path.string(), false, true);
        } catch (const jet::Error& e) {
            ADD_FAILURE() << "error " << e.number() << ": " << e.what() << " (" << e.context() << ")";
            continue;
        }
        // A check that finds a fault in a file Access wrote is the check's
        // fault. Encrypted files are refused, as the readers' tests expect.
        try {
            for (const auto& f : jet::verifyDatabase(path.string()))
                if (f.isFault()) ADD_FAILURE() << jet::describeFinding(f);
            ++verified;
        } catch (const jet::Error&) {
        }
        if (!std::filesystem::exists(referencePath)) continue;  // blank databases: opening is the check
        Json reference = Json::parseFile(referencePath.string());
        compareTables(*db, reference);
        queries += compareQueries(*db, reference, file);
        compareRelations(*db, reference);
        ++compared;
    }
    std::cout << "[ corpus   ] " << compared << " files compared, " << queries << " queries, " << verified
              << " verified\n";
    EXPECT_GT(compared, 50);
    EXPECT_GT(queries, 100);
    EXPECT_GT(verified, 50);
}
