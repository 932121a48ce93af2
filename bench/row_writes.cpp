// Writes N rows through a recordset, one AddNew / Update each, into a new
// table with three indexes (an auto-number primary key, a text key in
// scattered order, a descending Double), then deletes every tenth row
// through a table-type recordset on the primary key. Prints milliseconds for
// the inserts and the deletes, rows per second, the process's peak resident
// memory in KiB, the CPU time (the rest is waiting for the disk: each Update
// is one commit with its fsync) and the file's size; then reopens the file and checks that
// every row is there and the text index Seeks each checked key.
//
// usage: row_writes N [3|4] [FILE]   (default Jet 4, a file in /tmp)
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "jet/dao.h"

namespace {

// A text key that scatters: consecutive rows land all over the index.
std::string title(long i) {
    const unsigned long h = (static_cast<unsigned long>(i) * 2654435761ul) % 4294967291ul;
    return "Customer " + std::to_string(h) + " of the row writes bench, number " + std::to_string(i);
}

double since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: row_writes N [3|4] [FILE]\n");
        return 2;
    }
    const long n = std::stol(argv[1]);
    const bool jet3 = argc > 2 && std::string(argv[2]) == "3";
    const std::string path = argc > 3 ? argv[3] : "/tmp/row_writes_" + std::to_string(n) + (jet3 ? "_3" : "_4") + ".mdb";
    std::filesystem::remove(path);
    try {
        {
            auto db = jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral, jet3 ? 0 : jet::dbVersion40);
            auto t = db->CreateTableDef("Rows");
            auto id = t->CreateField("Id", jet::dbLong);
            id->SetAttributes(jet::dbAutoIncrField);
            t->Fields().Append(std::move(id));
            t->Fields().Append(t->CreateField("Title", jet::dbText, 80));
            t->Fields().Append(t->CreateField("Amount", jet::dbDouble));
            auto pk = t->CreateIndex("PrimaryKey");
            pk->SetPrimary(true);
            pk->Fields().Append(pk->CreateField("Id"));
            t->Indexes().Append(std::move(pk));
            auto byTitle = t->CreateIndex("Title");
            byTitle->SetUnique(true);
            byTitle->Fields().Append(byTitle->CreateField("Title"));
            t->Indexes().Append(std::move(byTitle));
            auto byAmount = t->CreateIndex("Amount");
            auto member = byAmount->CreateField("Amount");
            member->SetAttributes(jet::dbDescending);
            byAmount->Fields().Append(std::move(member));
            t->Indexes().Append(std::move(byAmount));
            db->TableDefs().Append(std::move(t));

            auto start = std::chrono::steady_clock::now();
            auto rs = db->OpenRecordset("Rows", jet::dbOpenDynaset);
            for (long i = 0; i < n; ++i) {
                rs->AddNew();
                rs->SetValue("Title", title(i));
                rs->SetValue("Amount", static_cast<double>((i * 7919) % 100003) / 7.0);
                rs->Update();
            }
            const double insertMs = since(start);

            start = std::chrono::steady_clock::now();
            auto table = db->OpenRecordset("Rows", jet::dbOpenTable);
            table->SetIndex("PrimaryKey");
            long deleted = 0;
            for (long i = 1; i <= n; i += 10) {
                table->Seek("=", {static_cast<std::int32_t>(i)});
                if (table->NoMatch()) throw std::runtime_error("row " + std::to_string(i) + " not found");
                table->Delete();
                ++deleted;
            }
            const double deleteMs = since(start);
            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            const double cpuS = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                                (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
            std::printf("N=%ld %s: inserts %.0f ms (%.0f rows/s), %ld deletes %.0f ms, CPU %.1f s, peak RSS %ld KiB, "
                        "file %ju KiB\n",
                        n, jet3 ? "Jet3" : "Jet4", insertMs, n / (insertMs / 1000.0), deleted, deleteMs, cpuS,
                        usage.ru_maxrss, static_cast<std::uintmax_t>(std::filesystem::file_size(path) / 1024));
        }
        // Read back: every live row is there and found through the text key.
        auto db = jet::DBEngine().OpenDatabase(path);
        auto rs = db->OpenRecordset("Rows", jet::dbOpenTable);
        const long expected = n - (n + 9) / 10;
        if (rs->RecordCount() != expected) {
            std::fprintf(stderr, "read back %ld rows, expected %ld\n", rs->RecordCount(), expected);
            return 1;
        }
        rs->SetIndex("Title");
        for (long i = 2; i <= n; i += n / 50 + 1) {
            if ((i - 1) % 10 == 0) continue;
            rs->Seek("=", {title(i - 1)});
            if (rs->NoMatch()) {
                std::fprintf(stderr, "row %ld not found by its title\n", i);
                return 1;
            }
        }
    } catch (const jet::Error& e) {
        std::fprintf(stderr, "error %ld: %s\n", e.number(), e.what());
        return 1;
    }
    return 0;
}
