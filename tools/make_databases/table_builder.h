// Compact table definitions for the databases the build delivers: a table
// reads as a list of its columns and indexes, appended through the engine's
// DAO-shaped API as any program would append it.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "jet/dao.h"

namespace makedb {

struct Column {
    std::string name;
    int type = jet::dbText;
    long size = 0;  // characters for text; 0 takes the type's own size
    bool required = false;
    long attributes = 0;  // jet::dbAutoIncrField for an auto-number
};

struct Index {
    std::string name;
    // Member columns in key order; a leading '-' makes the member descending.
    std::vector<std::string> members;
    bool primary = false;
    bool unique = false;
};

// Appends the table to `db`. Throws the engine's jet::Error when the engine
// refuses the definition.
void appendTable(jet::Database& db, const std::string& name, const std::vector<Column>& columns,
                 const std::vector<Index>& indexes = {});

using Row = std::vector<std::pair<std::string, jet::Value>>;

// Adds the rows through a table-type recordset's AddNew/Update; columns a
// row does not name stay Null (or take their auto-number).
void addRows(jet::Database& db, const std::string& table, const std::vector<Row>& rows);

// An auto-number column, as the key of most tables.
Column autoNumber(const std::string& name);

// Money in whole units and cents, as Jet's Currency stores it.
jet::Value money(long long units, int cents = 0);

// A calendar date at midnight.
jet::Value date(int year, int month, int day);

}  // namespace makedb
