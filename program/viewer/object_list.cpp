#include "viewer/object_list.h"

#include "jet/types.h"
#include "vb/variant.h"

namespace viewer {

namespace {

const std::string kCrLf = "\r\n";

bool startsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

}  // namespace

std::string boolText(bool value) { return value ? "True" : "False"; }

void selectionFlagsForEntry(const std::string& entry, int16_t& bQuerySelected, int16_t& bRelationSelected) {
    const std::string kind = entry.substr(0, 4);
    if (kind == "Qdf:") {
        bQuerySelected = -1;
        bRelationSelected = 0;
    } else if (kind == "Tbl:") {
        bQuerySelected = 0;
        bRelationSelected = 0;
    } else if (kind == "Rel:") {
        bQuerySelected = 0;
        bRelationSelected = -1;
    }
}

LayoutMode layoutModeFor(int bQuerySelected, int bRelationSelected) {
    if (bQuerySelected == 0 && bRelationSelected == 0) return LayoutMode::Table;
    if (bQuerySelected != 0 && bRelationSelected == 0) return LayoutMode::Query;
    return LayoutMode::Relation;
}

std::vector<std::string> fieldNames(const jet::Collection<jet::Field>& fields) {
    std::vector<std::string> names;
    for (int i = 0; i < fields.Count(); ++i) names.push_back(fields[i].Name());
    return names;
}

std::vector<std::string> sqlLines(const std::string& sql) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = sql.find(kCrLf, start);
        if (end == std::string::npos) break;
        lines.push_back(sql.substr(start, end - start));
        start = end + kCrLf.size();
    }
    if (start < sql.size()) lines.push_back(sql.substr(start));
    return lines;
}

std::vector<std::string> queryPropertyLines(const jet::QueryDef& query) {
    std::vector<std::string> lines = damageLines(query.Damage());
    for (std::string& line : sqlLines(query.SQL())) lines.push_back(std::move(line));
    lines.push_back(std::string(90, '-'));
    lines.push_back("Type:            " + std::to_string(query.Type()));
    lines.push_back("Created:         " + vb::Variant::Date(query.DateCreated().days).toString());
    lines.push_back("Updated:         " + vb::Variant::Date(query.LastUpdated().days).toString());
    lines.push_back("Max records:     " + std::to_string(query.MaxRecords()));
    lines.push_back("Connect:         " + query.Connect());
    lines.push_back("Returns Records: " + boolText(query.ReturnsRecords()));
    lines.push_back("Updatable:       " + boolText(query.Updatable()));
    return lines;
}

std::vector<std::string> damageLines(const std::string& damage) {
    if (damage.empty()) return {};
    return {"Damaged:         " + damage};
}

std::vector<std::string> tableNoteLines(const jet::TableDef& table) {
    std::vector<std::string> lines = damageLines(table.Damage());
    if (!table.Connect().empty()) {
        lines.push_back("Linked to:       " + table.Connect());
        lines.push_back("Source table:    " + table.SourceTableName());
    }
    return lines;
}

std::vector<std::string> relationFieldLines(const jet::Relation& relation) {
    std::vector<std::string> lines;
    const auto& fields = relation.Fields();
    for (int i = 0; i < fields.Count(); ++i) {
        if (i > 0) lines.push_back(std::string(30, ' '));
        lines.push_back("Name   : " + fields[i].Name());
        lines.push_back("Foreign: " + fields[i].ForeignName());
    }
    return lines;
}

std::vector<std::string> relationPropertyLines(const jet::Relation& relation) {
    return {
        "Name:            " + relation.Name(),
        "Table:           " + relation.Table(),
        "Foreign table:   " + relation.ForeignTable(),
        "Attributes:      " + std::to_string(relation.Attributes()),
        "Partial replica: " + boolText(relation.PartialReplica()),
    };
}

}  // namespace viewer
