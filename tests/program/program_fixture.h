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

// A table-type recordset over rows held in memory, whose first column is
// its primary key: enough for the settings database's tables.
class KeyedRecordset : public jet::Recordset {
public:
    KeyedRecordset(std::vector<std::string> columns, std::vector<std::vector<jet::Value>> rows);
    int Type() const override;
    long RecordCount() const override { return static_cast<long>(rows_.size()); }
    jet::Collection<jet::Field>& Fields() override { return fields_; }
    const std::string& Index() const override { return index_; }
    void SetIndex(const std::string& name) override;
    void Seek(const std::string& comparison, const std::vector<jet::Value>& key) override;
    void FindFirst(const std::string&) override { unsupported(); }
    void FindNext(const std::string&) override { unsupported(); }
    bool NoMatch() const override { return noMatch_; }
    void MoveFirst() override { moveTo(0); }
    void MoveNext() override { moveTo(position_ + 1); }
    void MoveLast() override { moveTo(rows_.empty() ? 0 : rows_.size() - 1); }
    bool Eof() const override { return position_ >= rows_.size(); }
    bool Bof() const override { return rows_.empty(); }
    void AddNew() override { unsupported(); }
    void Edit() override { unsupported(); }
    void SetValue(const std::string&, const jet::Value&) override { unsupported(); }
    void Update() override { unsupported(); }
    void CancelUpdate() override { unsupported(); }
    void Delete() override { unsupported(); }
    void Close() override {}

private:
    [[noreturn]] static void unsupported();
    void moveTo(std::size_t position);
    std::vector<std::string> columns_;
    std::vector<std::vector<jet::Value>> rows_;
    jet::Collection<jet::Field> fields_;
    std::string index_;
    std::size_t position_ = 0;
    bool noMatch_ = false;
};

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
    // Table name -> columns and rows, for OpenRecordset.
    std::map<std::string, std::pair<std::vector<std::string>, std::vector<std::vector<jet::Value>>>> rows;
    int closeCount = 0;

    jet::Collection<jet::TableDef>& TableDefs() override { return tables; }
    jet::Collection<jet::QueryDef>& QueryDefs() override { return queries; }
    jet::Collection<jet::Relation>& Relations() override { return relations; }
    int CollatingOrder() const override { return collatingOrder; }
    bool Transactions() const override {
        if (transactionsUnreadable) throw jet::Error(jet::kErrOperationNotSupported, "Operation is not supported for this type of object.");
        return transactions;
    }
    bool Updatable() const override { return updatable; }
    std::unique_ptr<jet::Recordset> OpenRecordset(const std::string& name, int) override {
        auto it = rows.find(name);
        if (it == rows.end())
            throw jet::Error(3078, "The Microsoft Jet database engine cannot find the input table or query '" + name + "'.");
        return std::make_unique<KeyedRecordset>(it->second.first, it->second.second);
    }
    void Close() override { ++closeCount; }
};

// Hands out the databases registered under their paths; any other path is
// refused with the error number registered for it, or 3024.
class MemoryEngine : public viewer::Engine {
public:
    std::map<std::string, std::shared_ptr<MemoryDatabase>> databases;
    std::map<std::string, long> refusals;
    struct Open {
        std::string name;
        bool exclusive;
        bool readOnly;
    };
    std::vector<Open> opens;

    std::shared_ptr<viewer::DatabaseHandle> OpenDatabase(const std::string& name, bool exclusive,
                                                         bool readOnly) override {
        opens.push_back({name, exclusive, readOnly});
        if (auto it = databases.find(name); it != databases.end()) return it->second;
        if (auto it = refusals.find(name); it != refusals.end())
            throw jet::Error(it->second, "Unrecognized database format '" + name + "'.");
        throw jet::Error(jet::kErrFileNotFound, "Could not find file '" + name + "'.");
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
