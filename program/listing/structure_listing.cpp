#include "listing/structure_listing.h"

namespace listing {

bool isListedTable(const jet::TableDef& table) { return (table.Attributes() & jet::dbSystemObject) == 0; }

bool isListedQuery(const jet::QueryDef& query) { return query.Name().rfind('~', 0) != 0; }

std::vector<std::string> listEntries(const jet::Collection<jet::TableDef>& tables,
                                     const jet::Collection<jet::QueryDef>& queries,
                                     const jet::Collection<jet::Relation>& relations) {
    std::vector<std::string> entries;
    for (const auto& table : tables)
        if (isListedTable(*table)) entries.push_back(kTablePrefix + table->Name());
    for (const auto& query : queries)
        if (isListedQuery(*query)) entries.push_back(kQueryPrefix + query->Name());
    for (const auto& relation : relations) entries.push_back(kRelationPrefix + relation->Name());
    return entries;
}

EntryKind entryKind(const std::string& entry) {
    const std::string tag = entry.substr(0, 4);
    if (tag == "Tbl:") return EntryKind::Table;
    if (tag == "Qdf:") return EntryKind::Query;
    if (tag == "Rel:") return EntryKind::Relation;
    return EntryKind::Other;
}

std::string entryName(const std::string& entry) { return entry.size() > 5 ? entry.substr(5) : std::string(); }

FieldTypeNames fieldTypeNames() {
    FieldTypeNames names;
    names[1] = "Boolean";
    names[2] = "Byte";
    names[3] = "Integer";
    names[4] = "Long";
    names[5] = "Currency";
    names[6] = "Single";
    names[7] = "Double";
    names[8] = "Date/Time";
    names[9] = "Binary";
    names[10] = "Text";
    names[11] = "Binary Object";
    names[12] = "Memo";
    names[15] = "GUID";
    names[16] = "Big Integer";
    names[17] = "VarBinary";
    names[18] = "Char";
    names[19] = "Numeric";
    names[20] = "Decimal";
    names[21] = "Float";
    names[22] = "Time";
    names[23] = "Time Stamp";
    return names;
}

}  // namespace listing
