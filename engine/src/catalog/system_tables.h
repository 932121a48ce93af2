// The rows of Jet's own tables that the object model is built from:
// MSysObjects (the catalog: every table, query, container and the database
// object itself), MSysQueries (the parts of saved queries) and
// MSysRelationships (one row per column pair of a relationship). They are
// read through the ordinary table reader, by column name.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "catalog/query_sql.h"
#include "io/page_file.h"
#include "jet/value.h"
#include "storage/table_definition.h"

namespace jet::catalog {

struct CatalogObject {
    std::int32_t id = 0;
    std::int32_t parentId = 0;
    std::string name;
    int type = 0;                // MSysObjects.Type (kObj...)
    std::uint32_t flags = 0;
    std::optional<DateTime> created, updated;
    std::string database;        // linked tables: the source file
    std::string connect;         // linked tables: the connect string as stored
    std::string foreignName;     // linked tables: the table's name in its source
    std::vector<std::uint8_t> properties;  // LvProp, empty when Null

    // The table definition page of a table: the low 24 bits of its id.
    std::uint32_t tdefPage() const { return static_cast<std::uint32_t>(id) & 0x00FFFFFFu; }
};

struct RelationshipRow {
    std::string name;              // szRelationship
    std::string table;             // szReferencedObject: the primary side
    std::string column;            // szReferencedColumn
    std::string foreignTable;      // szObject
    std::string foreignColumn;     // szColumn
    std::int32_t columnIndex = 0;  // icolumn: position of the pair
    std::int32_t columnCount = 0;  // ccolumn
    std::uint32_t attributes = 0;  // grbit
};

// Every row of MSysObjects, in stored order. Throws jet::Error 3049 when the
// catalog cannot be read, 3343 when page 2 holds no catalog.
std::vector<CatalogObject> readCatalog(io::PageFile& file);

// The rows of a system table found in `catalog` by name, decoded through
// the table's definition; empty when the catalog has no such table.
std::vector<std::vector<Value>> readSystemTable(io::PageFile& file, const std::vector<CatalogObject>& catalog,
                                                const std::string& tableName,
                                                storage::TableDefinition* definitionOut = nullptr);

// MSysRelationships rows in stored order (empty when the table is absent).
std::vector<RelationshipRow> readRelationships(io::PageFile& file, const std::vector<CatalogObject>& catalog);

// MSysQueries rows grouped by ObjectId, each group in stored order.
std::map<std::int32_t, std::vector<queries::QueryRow>> readQueryRows(io::PageFile& file,
                                                                     const std::vector<CatalogObject>& catalog);

// The DAO type of each ACE complex column, by its complex id: MSysComplexColumns
// names the MSysComplexType_... table that stands for the kind of values the
// column holds. Empty when the file has no complex columns.
std::map<std::uint32_t, int> readComplexColumnKinds(io::PageFile& file, const std::vector<CatalogObject>& catalog);

// The DAO type for the name of a complex-type table (MSysComplexType_Text ->
// dbComplexText, ..._Attachment -> dbAttachment); 0 when unknown.
int complexKindFromTypeTable(const std::string& typeTableName);

// Column access by name for rows read through a definition: each name is
// looked up once, and a row's value is then taken by position.
class ColumnMap {
public:
    // A column's position in the rows, -1 when the table has none.
    struct Column {
        int position = -1;
    };
    explicit ColumnMap(const storage::TableDefinition& definition);
    Column column(const char* name) const;
    // The value of the column, Null when the table has no such column.
    const Value& get(const std::vector<Value>& row, Column column) const;
    const Value& get(const std::vector<Value>& row, const char* name) const { return get(row, this->column(name)); }
    // The same, taken out of the row (which the caller no longer needs).
    Value take(std::vector<Value>& row, Column column) const;

private:
    const storage::TableDefinition& definition_;
};

// Conversions of column values as the system tables store them.
std::int64_t integerOf(const Value& v, std::int64_t fallback = 0);
std::optional<std::int64_t> optionalIntegerOf(const Value& v);
std::string textOf(const Value& v);
std::vector<std::uint8_t> bytesOf(const Value& v);
std::optional<DateTime> dateOf(const Value& v);

}  // namespace jet::catalog
