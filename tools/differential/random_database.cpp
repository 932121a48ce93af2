// random_database: a database of random but valid structure, written
// through the engine's object model, for the differential check
// (check.mjs beside this file) that reads it back with three readers.
//
//   random_database SEED TABLES FILE [jet3|jet4]
//
// Tables hold fields of every type the format stores, a primary key and
// random further indexes (unique, multi-field, descending members); about
// two tables in three take part in a relation (enforced, cascading or not
// enforced), some over two fields; every tenth table gets a saved query,
// the query kinds taken in turn. The same seed gives the same database.
// What was written is printed as JSON on standard output: the reading that
// the readers' readings must agree with.
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "jet/dao.h"
#include "table_builder.h"

namespace {

using makedb::Column;
using makedb::Index;

struct FieldType {
    int type;
    long size;  // 0: the type's own; -1: random text or binary length
    bool indexable;
    bool jet4Only;
};

constexpr FieldType kTypes[] = {
    {jet::dbBoolean, 0, true, false},    {jet::dbByte, 0, true, false},     {jet::dbInteger, 0, true, false},
    {jet::dbLong, 0, true, false},       {jet::dbCurrency, 0, true, false}, {jet::dbSingle, 0, true, false},
    {jet::dbDouble, 0, true, false},     {jet::dbDate, 0, true, false},     {jet::dbBinary, -1, true, false},
    {jet::dbText, -1, true, false},      {jet::dbLongBinary, 0, false, false}, {jet::dbMemo, 0, false, false},
    {jet::dbGUID, 0, true, false},       {jet::dbDecimal, 0, true, true},
};

class Random {
public:
    explicit Random(unsigned seed) : engine_(seed) {}
    // 0 .. n-1, the same on every platform (no library distribution).
    unsigned below(unsigned n) { return static_cast<unsigned>(engine_() % n); }
    bool chance(unsigned percent) { return below(100) < percent; }

private:
    std::mt19937 engine_;
};

std::string tableName(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "T%05d", i);
    return name;
}

std::string jsonString(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

struct Written {
    std::string name;
    std::vector<Column> columns;
    std::vector<Index> indexes;
};

struct Link {
    std::string name, table, foreignTable;
    std::vector<std::pair<std::string, std::string>> fields;  // primary, foreign
    long attributes;
};

struct Query {
    std::string name, sql;
    int type;
};

// Each table: ID (auto-number, the primary key), K2 (Long, with ID the key
// of two-field relations), ParentID and ParentK2 (the foreign side of a
// relation), then random fields F1...
Written makeTable(Random& random, int i, bool jet3) {
    Written t{tableName(i), {}, {}};
    t.columns.push_back(makedb::autoNumber("ID"));
    t.columns.push_back({"K2", jet::dbLong});
    t.columns.push_back({"ParentID", jet::dbLong});
    t.columns.push_back({"ParentK2", jet::dbLong});
    const unsigned extra = 2 + random.below(jet3 ? 8 : 12);
    std::vector<std::string> indexable;
    for (unsigned f = 1; f <= extra; ++f) {
        FieldType type = kTypes[random.below(std::size(kTypes))];
        if (type.jet4Only && jet3) type = kTypes[3];
        Column c{"F" + std::to_string(f), type.type, type.size};
        if (type.size < 0) c.size = 1 + random.below(255);
        c.required = random.chance(10);
        t.columns.push_back(c);
        if (type.indexable) indexable.push_back(c.name);
    }
    t.indexes.push_back({"PrimaryKey", {"ID"}, true, false});
    t.indexes.push_back({"IDK2", {"ID", "K2"}, false, true});
    for (unsigned k = 0; k < 3 && !indexable.empty(); ++k) {
        if (!random.chance(60)) continue;
        Index index{"X" + std::to_string(k), {}, false, random.chance(25)};
        const unsigned members = 1 + random.below(3);
        for (unsigned m = 0; m < members; ++m) {
            std::string member = indexable[random.below(static_cast<unsigned>(indexable.size()))];
            bool taken = false;
            for (const auto& e : index.members) taken = taken || e == member || e == "-" + member;
            if (taken) continue;
            index.members.push_back(random.chance(30) ? "-" + member : member);
        }
        t.indexes.push_back(index);
    }
    return t;
}

std::vector<Query> queriesFor(const std::string& t, const std::string& parent, int kind) {
    const std::string q = "Q" + t.substr(1);
    switch (kind % 9) {
    case 0: return {{q + "Select", "SELECT " + t + ".ID, " + t + ".F1 FROM " + t + " ORDER BY " + t + ".ID;", jet::dbQSelect}};
    case 1: return {{q + "Join", "SELECT " + t + ".ID, " + parent + ".ID AS ParentKey FROM " + parent + " INNER JOIN " + t +
                     " ON " + parent + ".ID = " + t + ".ParentID;", jet::dbQSelect}};
    case 2: return {{q + "Param", "PARAMETERS [Lowest] Long;\r\nSELECT " + t + ".ID FROM " + t + " WHERE " + t +
                     ".ID >= [Lowest];", jet::dbQSelect}};
    case 3: return {{q + "Crosstab", "TRANSFORM Count(" + t + ".ID) AS CountOfID\r\nSELECT " + t + ".ParentID FROM " + t +
                     " GROUP BY " + t + ".ParentID PIVOT " + t + ".K2;", jet::dbQCrosstab}};
    case 4: return {{q + "Union", "SELECT ID FROM " + t + " UNION SELECT ID FROM " + parent + ";", jet::dbQSetOperation}};
    case 5: return {{q + "Update", "UPDATE " + t + " SET " + t + ".K2 = 0 WHERE " + t + ".K2 Is Null;", jet::dbQUpdate}};
    case 6: return {{q + "Delete", "DELETE " + t + ".* FROM " + t + " WHERE " + t + ".ID < 0;", jet::dbQDelete}};
    case 7: return {{q + "Append", "INSERT INTO " + t + " ( K2 ) SELECT " + parent + ".K2 FROM " + parent + ";", jet::dbQAppend}};
    default: return {{q + "MakeTable", "SELECT " + t + ".ID INTO " + t + "Copy FROM " + t + ";", jet::dbQMakeTable}};
    }
}

void printJson(const std::vector<Written>& tables, const std::vector<Link>& links, const std::vector<Query>& queries) {
    std::printf("{\"tables\": [\n");
    for (std::size_t i = 0; i < tables.size(); ++i) {
        const auto& t = tables[i];
        std::printf("  {\"name\": %s, \"fields\": [", jsonString(t.name).c_str());
        for (std::size_t c = 0; c < t.columns.size(); ++c)
            std::printf("%s{\"name\": %s, \"type\": %d, \"size\": %ld, \"required\": %s}", c ? ", " : "",
                        jsonString(t.columns[c].name).c_str(), t.columns[c].type, t.columns[c].size,
                        t.columns[c].required ? "true" : "false");
        std::printf("], \"indexes\": [");
        for (std::size_t x = 0; x < t.indexes.size(); ++x) {
            const auto& index = t.indexes[x];
            std::printf("%s{\"name\": %s, \"primary\": %s, \"unique\": %s, \"fields\": [", x ? ", " : "",
                        jsonString(index.name).c_str(), index.primary ? "true" : "false",
                        index.primary || index.unique ? "true" : "false");
            for (std::size_t m = 0; m < index.members.size(); ++m) {
                const bool descending = index.members[m][0] == '-';
                std::printf("%s{\"name\": %s, \"descending\": %s}", m ? ", " : "",
                            jsonString(descending ? index.members[m].substr(1) : index.members[m]).c_str(),
                            descending ? "true" : "false");
            }
            std::printf("]}");
        }
        std::printf("]}%s\n", i + 1 < tables.size() ? "," : "");
    }
    std::printf("], \"relations\": [\n");
    for (std::size_t i = 0; i < links.size(); ++i) {
        const auto& l = links[i];
        std::printf("  {\"name\": %s, \"table\": %s, \"foreignTable\": %s, \"attributes\": %ld, \"fields\": [",
                    jsonString(l.name).c_str(), jsonString(l.table).c_str(), jsonString(l.foreignTable).c_str(),
                    l.attributes);
        for (std::size_t f = 0; f < l.fields.size(); ++f)
            std::printf("%s[%s, %s]", f ? ", " : "", jsonString(l.fields[f].first).c_str(),
                        jsonString(l.fields[f].second).c_str());
        std::printf("]}%s\n", i + 1 < links.size() ? "," : "");
    }
    std::printf("], \"queries\": [\n");
    for (std::size_t i = 0; i < queries.size(); ++i)
        std::printf("  {\"name\": %s, \"type\": %d}%s\n", jsonString(queries[i].name).c_str(), queries[i].type,
                    i + 1 < queries.size() ? "," : "");
    std::printf("]}\n");
}

int make(unsigned seed, int count, const std::string& path, bool jet3) {
    Random random(seed);
    auto db = jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral, jet3 ? jet::dbVersion30 : jet::dbVersion40);
    std::vector<Written> tables;
    for (int i = 0; i < count; ++i) {
        tables.push_back(makeTable(random, i, jet3));
        makedb::appendTable(*db, tables.back().name, tables.back().columns, tables.back().indexes);
    }
    constexpr long kAttributes[] = {0, jet::dbRelationUpdateCascade,
                                    jet::dbRelationUpdateCascade | jet::dbRelationDeleteCascade,
                                    jet::dbRelationDeleteCascade, jet::dbRelationDontEnforce};
    std::vector<Link> links;
    for (int i = 1; i < count; ++i) {
        if (!random.chance(66)) continue;
        const int parent = static_cast<int>(random.below(static_cast<unsigned>(i)));
        Link link{tableName(parent) + tableName(i), tableName(parent), tableName(i), {{"ID", "ParentID"}},
                  kAttributes[random.below(std::size(kAttributes))]};
        if (random.chance(20)) link.fields.push_back({"K2", "ParentK2"});
        auto relation = db->CreateRelation(link.name, link.table, link.foreignTable, link.attributes);
        for (const auto& [primary, foreign] : link.fields) {
            auto field = relation->CreateField(primary);
            field->SetForeignName(foreign);
            relation->Fields().Append(std::move(field));
        }
        db->Relations().Append(std::move(relation));
        links.push_back(std::move(link));
    }
    std::vector<Query> queries;
    for (int i = 1, kind = 0; i < count; i += 10, ++kind)
        for (const auto& q : queriesFor(tableName(i), tableName(i - 1), kind)) {
            db->CreateQueryDef(q.name, q.sql);
            queries.push_back(q);
        }
    db->Close();
    printJson(tables, links, queries);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc > 5) {
        std::fprintf(stderr, "usage: random_database SEED TABLES FILE [jet3|jet4]\n");
        return 2;
    }
    try {
        return make(static_cast<unsigned>(std::stoul(argv[1])), std::stoi(argv[2]), argv[3],
                    argc == 5 && std::string(argv[4]) == "jet3");
    } catch (const jet::Error& e) {
        std::fprintf(stderr, "random_database: error %ld: %s %s\n", e.number(), e.what(), e.context().c_str());
        return 1;
    }
}
