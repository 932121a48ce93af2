// The state behind a Database: the open page file and the object model
// read from its catalog when the database was opened.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "catalog/system_tables.h"
#include "dao/memory_recordset.h"
#include "dao/row_changes.h"
#include "io/page_file.h"
#include "jet/database.h"
#include "storage/row_pointer.h"
#include "write/transaction_pages.h"

namespace jet::write {
class PageStore;
class PageSink;
}

namespace jet {

class DatabaseImpl {
public:
    // Opens the file and reads its whole structure. `connect` may carry a
    // database password as ";PWD=...". Throws the DAO errors of
    // DBEngine::OpenDatabase.
    static std::unique_ptr<DatabaseImpl> open(const std::string& name, bool exclusive, bool readOnly,
                                              const std::string& connect);
    // The same over a file image in memory (tests); `name` stands for the path.
    static std::unique_ptr<DatabaseImpl> openBytes(std::vector<std::uint8_t> bytes, const std::string& name,
                                                   bool readOnly = true, const std::string& connect = {});

    // Throws 3420 once the database is closed.
    void requireOpen() const;
    std::unique_ptr<Recordset> openRecordset(const std::string& name, int type);
    // Writes a new table (TableDefs.Append; dao/table_append.cpp).
    void appendTable(std::unique_ptr<TableDef> table);
    // Writes a new relationship (Relations.Append; dao/relation_append.cpp).
    void appendRelation(std::unique_ptr<Relation> relation);
    // Adds `index` to the stored table `table`, its pages built from the
    // table's rows (dao/index_append.cpp). Throws 3371 when no table has
    // that name, 3251 for a linked or system table, 3125 a name Jet refuses,
    // 3264 no fields, 3284 an index of that name, 3283 a second primary
    // key, 3626 a 33rd index, 3265 a field the table lacks, 3285 a field
    // named twice or more than 10, 3022 and 3058 when the rows break a
    // unique or required index. Nothing is written when it throws.
    void appendIndex(const std::string& table, const Index& index);
    // Reads the relationships again (Relations.Refresh).
    void reloadRelations();
    // Reads the catalog again (TableDefs.Refresh).
    void reload();

    // The rows of the table at `position` in tableDefs, with where each
    // lies, and the recordset's view of its fields and indexes.
    struct TableSnapshot {
        std::vector<std::unique_ptr<Field>> fields;
        std::vector<std::vector<Value>> rows;
        std::vector<storage::RowPointer> locations;
        std::vector<dao::RecordsetIndex> indexes;
    };
    TableSnapshot readTableSnapshot(int position);
    // Writes the pages `store` changed into the file (or the bytes in
    // memory) and refreshes the cached pages.
    void commit(write::PageStore& store);
    // The database's part in its workspace's transactions (jet/workspace.h):
    // while a level is open, commit() holds the pages back; the outermost
    // commitTransaction() writes them all through one commit.
    int transactionDepth() const;
    void beginTransaction();
    void commitTransaction();
    void rollbackTransaction();
    // Tells every open recordset that writes which rows a commit changed,
    // so that each holds the rows the file now has.
    void publish(const dao::CommittedRows& rows);
    std::vector<std::weak_ptr<dao::RowChangeListener>> rowListeners;
    // Tests: when set, commits write through this sink instead of the file
    // (a sink that fails the n-th write).
    std::function<void(write::PageStore&)> commitOverride;
    // False for a new database under a temporary name
    // (DBEngine::CreateDatabaseWithoutJournal): commits keep no journal file
    // and do not flush to the disk.
    bool journaled = true;
    void close();

    std::string name, version;
    int collatingOrder = dbSortUndefined;
    int codePage = 0;
    bool transactions = true;
    bool updatable = false;
    bool isOpen = true;

    jet::TableDefs tableDefs{*this};
    Collection<QueryDef> queryDefs;
    jet::Relations relations{*this};
    Collection<Property> properties;

    std::unique_ptr<io::PageFile> file;
    std::unique_ptr<write::TransactionPages> transaction;  // once a level was opened
    // The definition page of each local table, parallel to tableDefs (0 for
    // linked tables).
    std::vector<std::uint32_t> tdefPages;

    // What creating an object needs from MSysObjects besides its own row:
    // the highest id given to an object that is not a table, and the
    // containers below the root in catalog order. Taken from the catalog
    // read at open and brought up to date after each commit that adds a
    // catalog row (dao::noteCatalogEntry), so that creating n objects does
    // not read the catalog n times. A failed commit leaves it as it was.
    // Nothing else adds catalog rows: recordsets on system tables are
    // read-only.
    struct CatalogIds {
        std::optional<std::int32_t> highestDocumentId;
        std::vector<std::pair<std::string, std::int32_t>> containers;
    };
    CatalogIds catalogIds;

private:
    void commitToFile(write::PageStore& store);
    // Runs `tell` on every open recordset that follows the rows.
    void tellListeners(const std::function<void(dao::RowChangeListener&)>& tell);
    // Runs `write` with the sink that writes this database's file, under
    // the file's exclusive lock.
    void writeToFile(const std::function<void(write::PageSink&)>& write);
    void load();
    // Reads the table tableDefs lists from tableObjects[position] into
    // `table` (TableDef::SetReader); a definition that cannot be read makes
    // it a damaged table. Throws 3420 once the database is closed.
    void readListedTable(TableDef& table, std::size_t position);

    // The catalog entries of the tables read at open, for reading each
    // table when it is first asked for, and the kinds of ACE complex columns.
    std::vector<catalog::CatalogObject> tableObjects;
    std::map<std::uint32_t, int> complexKinds;
};

}  // namespace jet
