// The lines of the generated Visual Basic module: the two headers, the line
// groups written per table, index, query and relation, and the whole module
// for a listing.
#pragma once

#include <string>
#include <vector>

#include "codegen/structure_walk.h"
#include "listing/target_limits.h"

namespace codegen {

enum class CodeStyle {
    StandAlone,  // Sub Main creates the database at the source's own path
    Project,     // CreateBase(DbName$), called by the outline form
};

// The stand-alone header (42 lines). `sDbPath` is the source database's full
// path, `created` the date and time text of the "'Code created " line.
std::vector<std::string> standAloneHeader(const std::string& sDbPath, const std::string& created);

// The project header (52 lines).
std::vector<std::string> projectHeader(const std::string& created);

// The comment that stands in the module where an object it does not create
// would stand: 'Not created: kind "name" (reason).
std::string notCreatedLine(const listing::LeftOut& item);

// The lines that create one table and its fields (pass 1); a linked table
// is linked to its source, and what `plan` leaves out is a comment.
// The comments for its fields are also added to `notCreated` when given.
std::vector<std::string> tableLines(const jet::TableDef& table, const listing::TargetPlan& plan,
                                    std::vector<listing::LeftOut>* notCreated = nullptr);

// The lines that add one index to its table (pass 2).
std::vector<std::string> indexLines(const std::string& tableName, const jet::Index& index);

// The lines that create one query (pass 3). A CreateQueryDef line longer
// than VB accepts builds the SQL in the string variable sSQL first;
// `sqlVariableDeclared` says whether its Dim line has been written already
// in this procedure, and is set when this call writes it. A pass-through
// query is given its Connect and ReturnsRecords before its SQL, so that
// Jet stores the text for the server instead of parsing it.
std::vector<std::string> queryLines(const jet::QueryDef& query, bool& sqlVariableDeclared);

// The lines that create one relation (pass 4).
std::vector<std::string> relationLines(const jet::Relation& relation);

// The whole module: the header of `style` and the four passes over
// `entries`. What DAO 3.5 cannot create (listing::Target::Module) stands
// as a comment at its place and, when `notCreated` is given, is added to it
// in the order of the module. Throws jet::Error when an entry's object
// cannot be read.
std::vector<std::string> moduleLines(CodeStyle style, const std::vector<std::string>& entries,
                                     const SourceDatabase& source, const std::string& sDbPath,
                                     const std::string& created, const std::function<void()>& betweenItems = {},
                                     std::vector<listing::LeftOut>* notCreated = nullptr);

}  // namespace codegen
