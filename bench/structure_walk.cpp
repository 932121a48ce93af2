// Opens a database and walks its whole structure (every table with its
// fields, indexes and properties, every query with its SQL text and output
// fields, every relation) RUNS times; prints the median milliseconds of one
// open-and-walk and the process's peak resident memory in KiB.
//
// usage: structure_walk FILE [RUNS]
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "jet/dao.h"

namespace {

// Touches every value a structure viewer reads, so nothing is left lazy.
std::size_t walk(jet::Database& db) {
    std::size_t touched = 0;
    auto properties = [&](const jet::Collection<jet::Property>& props) {
        for (const auto& p : props) touched += p->Name().size() + jet::valueToString(p->Value()).size();
    };
    properties(db.Properties());
    for (const auto& table : db.TableDefs()) {
        touched += table->Name().size() + static_cast<std::size_t>(table->RecordCount());
        properties(table->Properties());
        for (const auto& field : table->Fields()) {
            touched += field->Name().size() + static_cast<std::size_t>(field->Type() + field->Size());
            properties(field->Properties());
        }
        for (const auto& index : table->Indexes()) touched += index->FieldsText().size();
    }
    for (const auto& query : db.QueryDefs()) {
        touched += query->SQL().size();
        for (const auto& field : query->Fields()) touched += field->Name().size();
    }
    for (const auto& relation : db.Relations())
        for (const auto& field : relation->Fields()) touched += field->ForeignName().size();
    return touched;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: structure_walk FILE [RUNS]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::stoi(argv[2])) : 5;
    std::vector<double> millis;
    std::size_t touched = 0;
    try {
        for (int i = 0; i < runs; ++i) {
            auto start = std::chrono::steady_clock::now();
            auto db = jet::DBEngine().OpenDatabase(argv[1], false, true);
            touched += walk(*db);
            db->Close();
            millis.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
    } catch (const jet::Error& e) {
        std::printf("error %ld\n", e.number());
        return 1;
    }
    std::sort(millis.begin(), millis.end());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%.2f %ld %zu\n", millis[millis.size() / 2], usage.ru_maxrss, touched);
    return 0;
}
