// The walk over the main listing that the generated module and the empty
// copy share: four passes (tables, indexes, queries, relations), each going
// over the listing from its first entry to its last and looking only at the
// entries of its kind. The objects themselves are looked up by name in the
// open database's collections.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "listing/structure_listing.h"
#include "jet/collection.h"
#include "jet/querydef.h"
#include "jet/relation.h"
#include "jet/tabledef.h"

namespace codegen {

// The open database as the generator reads it. The program hands in the
// collections of its own database handle; tests build collections in memory.
struct SourceDatabase {
    jet::Collection<jet::TableDef>& tables;
    jet::Collection<jet::QueryDef>& queries;
    jet::Collection<jet::Relation>& relations;
    // The open database the collections were read from, when there is one:
    // the empty copy takes each query's stored parts from it, which say
    // more than its SQL.
    jet::Database* database = nullptr;
};

using listing::EntryKind;
using listing::entryKind;
using listing::entryName;

// The listing the main window shows for `source`, for callers without a
// window: tables without a system bit (0x80000002), queries whose name does
// not start with "~", and every relation, each with its five-character prefix.
std::vector<std::string> listingEntries(const SourceDatabase& source);

// What each pass does at its points. begin/end mark the pass; the object
// calls come once per entry of the pass's kind (per index for pass 2).
class StructureVisitor {
public:
    virtual ~StructureVisitor() = default;
    virtual void beginTables() {}
    virtual void table(const jet::TableDef& table) = 0;
    virtual void endTables() {}
    virtual void beginIndexes() {}
    virtual void index(const jet::TableDef& table, const jet::Index& index) = 0;
    virtual void endIndexes() {}
    virtual void beginQueries() {}
    virtual void query(const jet::QueryDef& query) = 0;
    virtual void endQueries() {}
    virtual void beginRelations() {}
    virtual void relation(const jet::Relation& relation) = 0;
    virtual void endRelations() {}
};

// Runs the four passes. Pass 2 leaves out the indexes Jet keeps for
// relations (Index.Foreign), which pass 4 brings back with the relations.
// `betweenItems` (may be empty) is called before each object, so that a
// window can process its pending events. An entry whose object is not in
// the database ends the walk with jet::Error 3265.
void walkStructure(const std::vector<std::string>& entries, const SourceDatabase& source,
                   StructureVisitor& visitor, const std::function<void()>& betweenItems = {});

}  // namespace codegen
