// What lstTables lists and what the detail area shows for a query or a
// relation, as plain functions over the engine's objects so that they can be
// checked without a window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/collection.h"
#include "jet/querydef.h"
#include "jet/relation.h"
#include "jet/tabledef.h"
#include "listing/structure_listing.h"

namespace viewer {

// The entries of lstTables and which objects are listed.
using listing::isListedQuery;
using listing::isListedTable;
using listing::kQueryPrefix;
using listing::kRelationPrefix;
using listing::kTablePrefix;

// The object name of an entry: its text from the sixth character on.
using listing::entryName;

// The selection flags after choosing `entry`, compared in the order query,
// table, relation; an entry of none of the three kinds keeps the flags.
// The flags are VB-style integers (True = -1).
void selectionFlagsForEntry(const std::string& entry, int16_t& bQuerySelected, int16_t& bRelationSelected);

// The layout of the detail area that follows from the selection flags.
enum class LayoutMode { Table, Query, Relation };
LayoutMode layoutModeFor(int bQuerySelected, int bRelationSelected);

// The names of the members of a field collection, in order.
std::vector<std::string> fieldNames(const jet::Collection<jet::Field>& fields);

// SQL text cut at every CR LF; the piece after the last CR LF is kept only
// when it is not empty, and empty pieces between two line breaks are kept.
std::vector<std::string> sqlLines(const std::string& sql);

// The property-list lines of a query: its SQL lines, 90 hyphens, then the
// seven labelled properties.
std::vector<std::string> queryPropertyLines(const jet::QueryDef& query);

// What the Properties list says of a table before any field or index is
// chosen: for a linked table its source (connect string, source table); for
// a table or query the engine could not read, the damage it found. Empty for
// a table read from this file.
std::vector<std::string> tableNoteLines(const jet::TableDef& table);
std::vector<std::string> damageLines(const std::string& damage);

// The field-list lines of a relation: "Name   : " and "Foreign: " per member
// field, consecutive pairs divided by a line of 30 blanks.
std::vector<std::string> relationFieldLines(const jet::Relation& relation);

// The property-list lines of a relation.
std::vector<std::string> relationPropertyLines(const jet::Relation& relation);

// "True" or "False", as VB writes a Boolean.
std::string boolText(bool value);

}  // namespace viewer
