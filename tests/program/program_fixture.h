// Databases the program's tests build in memory, an engine that hands them
// out by path, and a clean set of globals for each window test.
#pragma once

#include "support/memory_objects.h"
#include "support/temp_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "STXGLOB.h"
#include "jet/error.h"
#include "jet/recordset.h"
#include "jet/types.h"
#include "viewer/engine_iface.h"

namespace programtest {

// A database made of collections that a test fills.
class MemoryDatabase : public viewer::DatabaseHandle {
public:
    jet::Collection<jet::TableDef> tables;
    jet::Collection<jet::QueryDef> queries;
    jet::Collection<jet::Relation> relations;
    int collatingOrder = jet::dbSortGeneral;
    bool transactions = true;
    bool transactionsUnreadable = false;
    bool updatable = true;
    int closeCount = 0;
    std::string journalNotice;

    jet::Collection<jet::TableDef>& TableDefs() override { return tables; }
    jet::Collection<jet::QueryDef>& QueryDefs() override { return queries; }
    jet::Collection<jet::Relation>& Relations() override { return relations; }
    int CollatingOrder() const override { return collatingOrder; }
    bool Transactions() const override {
        if (transactionsUnreadable) throw jet::Error(jet::kErrOperationNotSupported, "Operation is not supported for this type of object.");
        return transactions;
    }
    bool Updatable() const override { return updatable; }
    // No rows: a test that needs them uses a file the engine wrote.
    std::unique_ptr<jet::Recordset> OpenRecordset(const std::string& name, int) override {
        throw jet::Error(3078, "The Microsoft Jet database engine cannot find the input table or query '" + name + "'.");
    }
    void Close() override { ++closeCount; }
    std::string JournalNotice() const override { return journalNotice; }
};

// Hands out the databases registered under their paths; a path with an
// error number registered is refused with it, and any other is opened by
// the real engine (STX32.MDB, or 3024 for a file that is not there).
class MemoryEngine : public viewer::Engine {
public:
    std::map<std::string, std::shared_ptr<MemoryDatabase>> databases;
    std::map<std::string, long> refusals;
    struct Open {
        std::string name;
        bool exclusive;
        bool readOnly;
        std::string connect;
    };
    std::vector<Open> opens;

    std::shared_ptr<viewer::DatabaseHandle> OpenDatabase(const std::string& name, bool exclusive, bool readOnly,
                                                         const std::string& connect) override {
        opens.push_back({name, exclusive, readOnly, connect});
        if (auto it = databases.find(name); it != databases.end()) return it->second;
        if (auto it = refusals.find(name); it != refusals.end())
            throw jet::Error(it->second, "Unrecognized database format '" + name + "'.");
        return viewer::jetEngine().OpenDatabase(name, exclusive, readOnly, connect);
    }
};

// A folder of its own for one test, removed afterwards.
using TempFolder = testsupport::TempFolder;

// The globals as a fresh start of the program has them.
void resetGlobals();

using testsupport::makeField;
using testsupport::makeIndex;
using testsupport::makeQuery;
using testsupport::makeRelation;
using testsupport::makeTable;

// Two tables (Customers with a text key, Order Details with a counter and a
// two-field primary key), a hidden system table, a query, a "~" query and a
// relation.
std::shared_ptr<MemoryDatabase> sampleDatabase();

}  // namespace programtest
