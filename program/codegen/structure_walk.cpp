#include "codegen/structure_walk.h"

#include "jet/types.h"
#include "listing/structure_listing.h"

namespace codegen {


std::vector<std::string> listingEntries(const SourceDatabase& source) {
    return listing::listEntries(source.tables, source.queries, source.relations);
}

void walkStructure(const std::vector<std::string>& entries, const SourceDatabase& source,
                   StructureVisitor& visitor, const std::function<void()>& betweenItems) {
    auto step = [&] {
        if (betweenItems) betweenItems();
    };

    visitor.beginTables();
    for (const auto& entry : entries) {
        if (entryKind(entry) != EntryKind::Table) continue;
        step();
        visitor.table(source.tables[entryName(entry)]);
    }
    visitor.endTables();

    visitor.beginIndexes();
    for (const auto& entry : entries) {
        if (entryKind(entry) != EntryKind::Table) continue;
        const jet::TableDef& table = source.tables[entryName(entry)];
        for (const auto& index : table.Indexes()) {
            // Jet makes the index of an enforced relation itself when the
            // relation is appended; made here as well it would be a duplicate,
            // and Jet 3's names for them (".rC") are not valid names at all.
            if (index->Foreign()) continue;
            step();
            visitor.index(table, *index);
        }
    }
    visitor.endIndexes();

    visitor.beginQueries();
    for (const auto& entry : entries) {
        if (entryKind(entry) != EntryKind::Query) continue;
        step();
        visitor.query(source.queries[entryName(entry)]);
    }
    visitor.endQueries();

    visitor.beginRelations();
    for (const auto& entry : entries) {
        if (entryKind(entry) != EntryKind::Relation) continue;
        step();
        visitor.relation(source.relations[entryName(entry)]);
    }
    visitor.endRelations();
}

}  // namespace codegen
