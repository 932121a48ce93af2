// The listing of a database's objects as the main window's table list holds
// it, and the display names of field types. The viewer, the report and the
// code generator all walk this one listing, so it is made in one place.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "jet/dao.h"

namespace listing {

// Entries are a five-character prefix and the object's name.
inline constexpr const char* kTablePrefix = "Tbl: ";
inline constexpr const char* kQueryPrefix = "Qdf: ";
inline constexpr const char* kRelationPrefix = "Rel: ";

// Tables other than system tables are listed; hidden and linked ones too.
bool isListedTable(const jet::TableDef& table);
// Queries are listed unless their name starts with "~" (the hidden record
// sources of forms and reports).
bool isListedQuery(const jet::QueryDef& query);

// "Tbl: " entries in the collection's order, then "Qdf: ", then "Rel: ".
std::vector<std::string> listEntries(const jet::Collection<jet::TableDef>& tables,
                                     const jet::Collection<jet::QueryDef>& queries,
                                     const jet::Collection<jet::Relation>& relations);

// The kind of an entry by its first four characters ("Tbl:", "Qdf:",
// "Rel:"), and its object name: the text from the sixth character on ("" for
// an entry shorter than the prefix).
enum class EntryKind { Table, Query, Relation, Other };
EntryKind entryKind(const std::string& entry);
std::string entryName(const std::string& entry);

// Display names by DAO field type code, 0 to 25; "" where a code has none.
using FieldTypeNames = std::array<std::string, 26>;
FieldTypeNames fieldTypeNames();

}  // namespace listing
