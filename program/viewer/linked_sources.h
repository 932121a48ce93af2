// A linked table keeps no fields or indexes of its own: they are those of
// its source table in another database. The connect string names that
// database as the machine that made the link saw it, often a Windows path,
// so the file is looked for there and then beside the database that holds
// the link, where a front end and its back end copied together lie.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "viewer/engine_iface.h"

namespace viewer {

// The database file a Jet link's connect string names (";DATABASE=..." or
// "MS Access;...;DATABASE=..."); empty for other sources (ODBC, the ISAMs
// of spreadsheets and text files).
std::string linkedDatabaseName(const std::string& connect);

// Where `name`, as a link made on any machine spells it, is found here: as
// it stands, relative to the linking database's folder, or by its file name
// (in any letter case) in that folder. Empty when it is nowhere.
std::string findLinkedDatabase(const std::string& name, const std::string& linkingDatabase);

// The source databases of an open database's links, each opened read-only
// once, for as long as that database is open.
class LinkedSources {
public:
    // The source table of the linked `table` in `linkingDatabase`, or nullptr
    // when it cannot be read; `why` then says why (empty for a source that is
    // not a Jet database, which is not read at all).
    jet::TableDef* sourceOf(Engine& engine, const jet::TableDef& table, const std::string& linkingDatabase,
                            std::string& why);
    void clear() { opened_.clear(); }

private:
    struct Opened {
        std::shared_ptr<DatabaseHandle> db;
        std::string why;  // when db is null
    };
    std::map<std::string, Opened> opened_;  // by the connect string's database name
};

}  // namespace viewer
