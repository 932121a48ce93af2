// Every corpus file read through the object model and compared, item by
// item, with an independent reading of the same file (corpus-reference).
// Where the referee's meaning differs from DAO's the comparison converts:
// text sizes in characters, absent Required/AllowZeroLength as False,
// DAO's type codes, the stored relation bits as Attributes, and only the
// foreign table's index of an enforced relationship.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "jet/dao.h"
#include "reference_json.h"
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

void compareTables(jet::Database& db, const Json& reference) {
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
    }
}

void compareQueries(jet::Database& db, const Json& reference) {
    const auto& queries = reference["queries"].items();
    ASSERT_EQ(db.QueryDefs().Count(), static_cast<int>(queries.size()));
    for (std::size_t i = 0; i < queries.size(); ++i) {
        const jet::QueryDef& query = db.QueryDefs()[static_cast<int>(i)];
        EXPECT_EQ(query.Name(), queries[i]["name"].asString()) << "catalog order at " << i;
        EXPECT_EQ(query.Type(), queries[i]["typeCode"].asInteger()) << query.Name();
        // Every query line, the last with its ";", ends in CR LF; pass-through
        // and data-definition text is the user's own.
        const bool ownText = query.Type() == jet::dbQSQLPassThrough || query.Type() == jet::dbQDDL;
        if (!query.SQL().empty() && !ownText) {
            EXPECT_EQ(query.SQL().substr(query.SQL().size() - 3), ";\r\n") << query.Name();
        }
    }
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

TEST(CorpusReference, EveryFileReadsAsTheRefereeReadsIt) {
    STRUX_REQUIRE_CORPUS();
    int compared = 0;
    for (const auto& path : testsupport::corpusDatabases()) {
        SCOPED_TRACE(path.string());
        auto referencePath = testsupport::referenceReading(path);
        std::shared_ptr<jet::Database> db;
        try {
            db = jet::DBEngine().OpenDatabase(path.string(), false, true);
        } catch (const jet::Error& e) {
            ADD_FAILURE() << "error " << e.number() << ": " << e.what() << " (" << e.context() << ")";
            continue;
        }
        if (!std::filesystem::exists(referencePath)) continue;  // blank databases: opening is the check
        Json reference = Json::parseFile(referencePath.string());
        compareTables(*db, reference);
        compareQueries(*db, reference);
        compareRelations(*db, reference);
        ++compared;
    }
    EXPECT_GT(compared, 0);
}
