// Building the public objects (TableDef, QueryDef, Relation, their fields,
// indexes and properties) from what the catalog holds.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "catalog/property_blob.h"
#include "catalog/query_sql.h"
#include "catalog/system_tables.h"
#include "io/page_file.h"
#include "jet/dao.h"
#include "storage/table_definition.h"

namespace jet::dao {

// The stored properties of one item, in stored order, appended to `out`.
void addStoredProperties(Collection<Property>& out, const catalog::PropertyBlock* block);

// The property blob of a catalog object; a blob that cannot be read counts
// as none, as it holds only what Access shows on top of the definition.
catalog::PropertyBlob readProperties(const catalog::CatalogObject& object, const io::PageFile& file);

// A table of the catalog as its entry there gives it: name, attributes
// and, for a linked table, its link; nothing read from its definition.
std::unique_ptr<TableDef> listedTableDef(const catalog::CatalogObject& object);

// A table of the catalog. Local tables get their fields and indexes from
// `definition`; linked tables (definition nullptr) only their link.
// `complexKinds` gives the DAO type of ACE complex columns by complex id.
std::unique_ptr<TableDef> buildTableDef(const catalog::CatalogObject& object,
                                        const storage::TableDefinition* definition, const io::PageFile& file,
                                        bool databaseUpdatable, const std::map<std::uint32_t, int>& complexKinds = {});

// The indexes DAO lists for a table of definition `definition`, appended
// to `out` in stored order.
void addIndexes(const storage::TableDefinition& definition, Collection<Index>& out);

// A saved query from what its MSysQueries rows rebuilt to. A query whose
// rows could not be rebuilt (`rebuilt` nullptr) keeps its name, its type
// from the catalog and an empty SQL text.
std::unique_ptr<QueryDef> buildQueryDef(const catalog::CatalogObject& object, const queries::RebuiltQuery* rebuilt,
                                        const io::PageFile& file, bool databaseUpdatable);

// The relations of MSysRelationships rows: one per relationship name, its
// fields in column order, the relations in name order.
void buildRelations(const std::vector<catalog::RelationshipRow>& rows, Collection<Relation>& out);

}  // namespace jet::dao
