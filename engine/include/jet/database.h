// Database: an open Jet database file and its object model.
#pragma once

#include <memory>
#include <string>

#include "jet/collection.h"
#include "jet/property.h"
#include "jet/querydef.h"
#include "jet/recordset.h"
#include "jet/relation.h"
#include "jet/tabledef.h"
#include "jet/types.h"

namespace jet {

class DatabaseImpl;

class Database {
public:
    explicit Database(std::unique_ptr<DatabaseImpl> impl);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // The file's path as it was opened.
    const std::string& Name() const;
    // "3.0" for a Jet 3 file, "4.0" for Jet 4, "12.0" and up for ACE.
    const std::string& Version() const;
    int CollatingOrder() const;  // a dbSort... code, -1 when unknown
    int CodePage() const;        // Jet 3: the text code page; Jet 4/ACE: 1200 (UCS-2)
    bool Transactions() const;
    bool Updatable() const;      // False when opened read-only, and for ACE files

    Collection<TableDef>& TableDefs();
    Collection<QueryDef>& QueryDefs();
    Collection<Relation>& Relations();
    Collection<Property>& Properties();

    // A recordset over a table (dbOpenTable or dbOpenDynaset), its rows read
    // at once. Throws 3078 when no table has that name, 3251 for a query or a
    // linked table (its rows live elsewhere), 3001 for another type.
    std::unique_ptr<Recordset> OpenRecordset(const std::string& name, int type = dbOpenTable);

    // Releases the file and its lock; using the collections afterwards
    // raises 3420.
    void Close();
    bool IsOpen() const;

    DatabaseImpl& impl() { return *impl_; }

private:
    std::unique_ptr<DatabaseImpl> impl_;
};

}  // namespace jet
