// The empty copy at scale.
//
//   empty_copy make N FILE [jet3|jet4]   writes a database of N tables, each
//       with 20 fields and 3 indexes, and N/2 relations
//   empty_copy copy FILE OUT             times the empty copy of FILE (open,
//       listing and copy, as `strux copy` does them)
//
// Each prints the milliseconds of its work and the process's peak resident
// memory in KiB, so that making the source does not count against the copy.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "codegen/empty_copy.h"
#include "codegen/generate_structure.h"
#include "jet/dao.h"

namespace {

long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

struct Column {
    const char* name;
    int type;
    long size;
};

// Twenty fields of the kinds an order-entry table has.
constexpr Column kColumns[] = {
    {"ID", jet::dbLong, 0},          {"ParentID", jet::dbLong, 0},     {"Code", jet::dbText, 12},
    {"Name", jet::dbText, 50},       {"Street", jet::dbText, 60},      {"City", jet::dbText, 30},
    {"Region", jet::dbText, 15},     {"PostalCode", jet::dbText, 10},  {"Country", jet::dbText, 15},
    {"Phone", jet::dbText, 24},      {"Notes", jet::dbMemo, 0},        {"Created", jet::dbDate, 0},
    {"Changed", jet::dbDate, 0},     {"Price", jet::dbCurrency, 0},    {"Ratio", jet::dbDouble, 0},
    {"Quantity", jet::dbInteger, 0}, {"Level", jet::dbByte, 0},        {"Active", jet::dbBoolean, 0},
    {"Weight", jet::dbSingle, 0},    {"Picture", jet::dbLongBinary, 0},
};

std::string tableName(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "Table%05d", i);
    return name;
}

void addRelation(jet::Database& db, int one, int many) {
    auto relation = db.CreateRelation(tableName(one) + tableName(many), tableName(one), tableName(many));
    relation->Fields().Append(relation->CreateField("ID"));
    relation->Fields()["ID"].SetForeignName("ParentID");
    relation->SetAttributes(jet::dbRelationUpdateCascade);
    db.Relations().Append(std::move(relation));
}

int make(int count, const std::string& path, bool jet3) {
    // The source is the bench's own scratch file, written without a journal
    // as the copy is: making it is not what is measured.
    auto db = jet::DBEngine().CreateDatabaseWithoutJournal(path, jet::dbLangGeneral,
                                                           jet3 ? jet::dbVersion30 : jet::dbVersion40);
    for (int i = 0; i < count; ++i) {
        auto table = db->CreateTableDef(tableName(i));
        for (const auto& column : kColumns) table->Fields().Append(table->CreateField(column.name, column.type, column.size));
        table->Fields()["ID"].SetAttributes(jet::dbAutoIncrField | jet::dbFixedField);
        table->Fields()["Name"].SetRequired(true);
        auto key = table->CreateIndex("PrimaryKey");
        key->Fields().Append(key->CreateField("ID"));
        key->SetPrimary(true);
        table->Indexes().Append(std::move(key));
        auto code = table->CreateIndex("Code");
        code->Fields().Append(code->CreateField("Code"));
        code->SetUnique(true);
        table->Indexes().Append(std::move(code));
        auto place = table->CreateIndex("Place");
        place->Fields().Append(place->CreateField("Country"));
        auto city = place->CreateField("City");
        city->SetAttributes(jet::dbDescending);
        place->Fields().Append(std::move(city));
        table->Indexes().Append(std::move(place));
        db->TableDefs().Append(std::move(table));
    }
    // Half as many relations as tables, each from one table's key to the
    // next table's ParentID: every table takes part in one.
    int relations = 0;
    for (int i = 0; i + 1 < count; i += 2, ++relations) addRelation(*db, i, i + 1);
    db->Close();
    std::fprintf(stderr, "%d tables, %d relations\n", count, relations);
    return 0;
}

int copy(const std::string& path, const std::string& out) {
    jet::DBEngine engine;
    auto db = engine.OpenDatabase(path, false, true);
    codegen::SourceDatabase source{db->TableDefs(), db->QueryDefs(), db->Relations()};
    codegen::CodeRequest request;
    request.sDbPath = path;
    request.entries = codegen::listingEntries(source);
    request.sourceVersion = db->Version();
    request.sourceCodePage = db->CodePage();
    request.copyOut = out;
    codegen::QuietHost host(true);
    std::string mode = "COPY";
    const auto files = codegen::GenerateStructure(mode, request, source, host);
    std::fprintf(stderr, "%d relations left out\n", files.copy.count("relation"));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    if (!((what == "make" && argc >= 4) || (what == "copy" && argc == 4))) {
        std::fprintf(stderr, "usage: empty_copy make N FILE [jet3|jet4]\n       empty_copy copy FILE OUT\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    int status = 0;
    try {
        status = what == "make" ? make(std::stoi(argv[2]), argv[3], argc > 4 && std::string(argv[4]) == "jet3")
                                : copy(argv[2], argv[3]);
    } catch (const jet::Error& e) {
        std::fprintf(stderr, "error %ld: %s %s\n", e.number(), e.what(), e.context().c_str());
        return 1;
    }
    const double millis = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.1f %ld\n", millis, peakKiB());
    return status;
}
