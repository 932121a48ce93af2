// What one commit did to the rows of the database's tables, so that open
// recordsets can bring the rows they hold in memory into step with the file
// without reading whole tables again.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "storage/row_pointer.h"
#include "storage/table_definition.h"

namespace jet::dao {

// One row written: `before` is null for a new row, `after` null for a
// deleted one; a replaced row has both (it may have moved).
struct RowChange {
    std::uint32_t table = 0;  // definition page of the row's table
    storage::RowPointer before;
    storage::RowPointer after;
};

// What a commit wrote: the rows in the order they were written, and the
// definitions of their tables as saved.
struct CommittedRows {
    std::vector<RowChange> changes;
    std::map<std::uint32_t, const storage::TableDefinition*> definitions;
};

// Told, after a commit, of the rows it changed; the file already holds them.
class RowChangeListener {
public:
    virtual ~RowChangeListener() = default;
    virtual void rowsChanged(const CommittedRows& rows) = 0;
    // A rollback gave pages back: the rows held may be gone or changed.
    virtual void rowsRolledBack() {}
};

}  // namespace jet::dao
