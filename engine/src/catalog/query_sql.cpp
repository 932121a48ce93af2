#include "catalog/query_sql.h"

#include <cctype>

#include "catalog/query_from.h"
#include "catalog/query_names.h"
#include "catalog/query_parts.h"

namespace jet::queries {

using namespace detail;

namespace {

constexpr const char* kLineEnd = "\r\n";

std::string joinedWith(const std::vector<std::string>& items, const char* separator) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i) out += separator;
        out += items[i];
    }
    return out;
}

// The type a PARAMETERS declaration names, from the parameter's Jet
// column type. Jet 4 stores a Text parameter's declared length in LvExtra.
std::string parameterType(const QueryRow& row) {
    switch (row.flag.value_or(0)) {
    case 1: return "Bit";
    case 2: return "Byte";
    case 3: return "Short";
    case 4: return "Long";
    case 5: return "Currency";
    case 6: return "IEEESingle";
    case 7: return "IEEEDouble";
    case 8: return "DateTime";
    case 9: return "Binary";
    case 10:
        // Access 2000 and later write the length with blanks inside.
        if (row.extra && *row.extra > 0) return "Text ( " + std::to_string(*row.extra) + " )";
        return "Text";
    case 11: return "LongBinary";
    case 12: return "Memo";
    case 15: return "Guid";
    case 16: return "Decimal";
    default: return "Value";
    }
}

std::string parametersLine(const QueryParts& parts) {
    std::vector<std::string> declared;
    for (const QueryRow& p : parts.parameters)
        if (p.name1) declared.push_back(quoteParameter(*p.name1) + " " + parameterType(p));
    return declared.empty() ? "" : "PARAMETERS " + joinedWith(declared, ", ") + ";";
}

std::string inClause(const std::optional<std::string>& path, const std::optional<std::string>& connect) {
    if (!path && !connect) return "";
    std::string out = " IN '" + textOf(path) + "'";
    if (connect) out += " [" + textOf(connect) + "]";
    return out;
}

bool isAppendValue(const QueryRow& column) { return (column.flag.value_or(0) & kAppendValue) != 0; }

// The select list's items: the column rows (those with an expression), and
// "*" when the options ask for all columns.
std::vector<OutputItem> selectItems(const QueryParts& parts, const std::vector<QueryRow>& columns) {
    std::vector<OutputItem> items;
    for (const QueryRow& c : columns)
        if (c.expression) items.push_back({textOf(c.expression), textOf(c.name1)});
    if (parts.hasOption(kOptAllColumns)) items.push_back({"*", ""});
    return items;
}

std::string selectListText(const std::vector<OutputItem>& items) {
    std::vector<std::string> texts;
    for (const OutputItem& item : items)
        texts.push_back(item.alias.empty() ? item.expression : item.expression + " AS " + quoteName(item.alias));
    return joinedWith(texts, ", ");
}

std::string selectPredicates(const QueryParts& parts) {
    std::string out;
    if (parts.hasOption(kOptDistinct)) out += "DISTINCT ";
    else if (parts.hasOption(kOptDistinctRow)) out += "DISTINCTROW ";
    if (parts.hasOption(kOptTop) && parts.options->name1) {
        out += "TOP " + textOf(parts.options->name1) + " ";
        if (parts.hasOption(kOptPercent)) out += "PERCENT ";
    }
    return out;
}

// Action queries on joined tables keep Access's "unique records" choice;
// DISTINCT and TOP mean nothing to them.
std::string distinctRow(const QueryParts& parts) { return parts.hasOption(kOptDistinctRow) ? "DISTINCTROW " : ""; }

void addOrderBy(std::vector<std::string>& lines, const QueryParts& parts) {
    std::vector<std::string> orders;
    for (const QueryRow& o : parts.orderBy) {
        if (!o.expression) continue;
        // Name1 "D" marks a descending key.
        orders.push_back(textOf(o.expression) + (namesEqual(textOf(o.name1), "D") ? " DESC" : ""));
    }
    if (!orders.empty()) lines.push_back("ORDER BY " + joinedWith(orders, ", "));
}

// FROM, WHERE, GROUP BY, HAVING and ORDER BY, each on its own line when
// present.
void addSelectClauses(std::vector<std::string>& lines, const QueryParts& parts, const std::vector<QueryRow>& groupBy) {
    const std::string from = fromList(parts.sources, parts.joins);
    if (!from.empty()) {
        std::string line = "FROM " + from;
        if (parts.inputDatabase) line += inClause(parts.inputDatabase->name1, parts.inputDatabase->expression);
        lines.push_back(line);
    }
    if (parts.where) lines.push_back("WHERE " + *parts.where);
    std::vector<std::string> groups;
    for (const QueryRow& g : groupBy)
        if (g.expression) groups.push_back(textOf(g.expression));
    if (!groups.empty()) lines.push_back("GROUP BY " + joinedWith(groups, ", "));
    if (parts.having) lines.push_back("HAVING " + *parts.having);
    addOrderBy(lines, parts);
}

std::string finish(std::vector<std::string> lines, const QueryParts& parts) {
    if (parts.hasOption(kOptOwnerAccess)) lines.push_back("WITH OWNERACCESS OPTION");
    std::string sql;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        sql += lines[i];
        sql += i + 1 < lines.size() ? kLineEnd : ";";
    }
    return sql + kLineEnd;
}

// Expands "*" and "Table.*" through the caller's catalog lookup.
StarColumns starColumnsOf(const QueryParts& parts, const SourceColumns& columnsOf) {
    if (!columnsOf) return {};
    return [&parts, &columnsOf](const std::string& qualifier) {
        std::vector<std::pair<std::string, std::string>> out;
        auto addSource = [&](const std::string& key, const std::string& name) {
            if (auto columns = columnsOf(name))
                for (const std::string& c : *columns) out.emplace_back(key, c);
        };
        bool matched = false;
        for (const QueryRow& s : parts.sources) {
            if (!s.name1 || s.expression) continue;  // subqueries have no catalog entry
            const std::string key = sourceKey(s);
            if (qualifier.empty() || namesEqual(key, qualifier)) {
                addSource(key, *s.name1);
                matched = true;
            }
        }
        if (!matched && !qualifier.empty()) addSource(qualifier, qualifier);
        return out;
    };
}

void rebuildSelectFamily(RebuiltQuery& q, const QueryParts& parts, const SourceColumns& columnsOf) {
    std::vector<std::string> lines;
    if (auto p = parametersLine(parts); !p.empty()) lines.push_back(p);
    const auto items = selectItems(parts, parts.columns);
    const std::string list = selectListText(items);
    switch (parts.kind) {
    case Kind::Delete: lines.push_back("DELETE " + distinctRow(parts) + list); break;
    case Kind::MakeTable: {
        std::string line = "SELECT " + selectPredicates(parts) + list;
        if (parts.typeRow && parts.typeRow->name1) {
            line += " INTO " + quoteName(textOf(parts.typeRow->name1));
            line += inClause(parts.typeRow->name2, parts.typeRow->expression);
        }
        lines.push_back(line);
        break;
    }
    default: lines.push_back("SELECT " + selectPredicates(parts) + list); break;
    }
    addSelectClauses(lines, parts, parts.groupBy);
    q.sql = finish(std::move(lines), parts);
    q.outputFields = outputFieldNames(items, starColumnsOf(parts, columnsOf));
}

void rebuildAppend(RebuiltQuery& q, const QueryParts& parts, const SourceColumns& columnsOf) {
    std::vector<std::string> lines;
    if (auto p = parametersLine(parts); !p.empty()) lines.push_back(p);
    std::vector<std::string> targets;
    std::vector<std::string> values;
    std::vector<QueryRow> selected;
    for (const QueryRow& c : parts.columns) {
        if (c.name2) targets.push_back(quoteQualified(*c.name2));
        if (isAppendValue(c)) values.push_back(textOf(c.expression));
        else selected.push_back(c);
    }
    std::string head = "INSERT INTO ";
    if (parts.typeRow) head += quoteName(textOf(parts.typeRow->name1));
    if (!targets.empty()) head += " (" + joinedWith(targets, ", ") + ")";
    if (parts.typeRow) head += inClause(parts.typeRow->name2, parts.typeRow->expression);
    lines.push_back(head);
    if (!values.empty()) {
        lines.push_back("VALUES (" + joinedWith(values, ", ") + ")");
    } else {
        const auto items = selectItems(parts, selected);
        lines.push_back("SELECT " + selectPredicates(parts) + selectListText(items));
        addSelectClauses(lines, parts, parts.groupBy);
        q.outputFields = outputFieldNames(items, starColumnsOf(parts, columnsOf));
    }
    q.sql = finish(std::move(lines), parts);
}

void rebuildUpdate(RebuiltQuery& q, const QueryParts& parts) {
    std::vector<std::string> lines;
    if (auto p = parametersLine(parts); !p.empty()) lines.push_back(p);
    std::string head = "UPDATE " + distinctRow(parts) + fromList(parts.sources, parts.joins);
    if (parts.inputDatabase) head += inClause(parts.inputDatabase->name1, parts.inputDatabase->expression);
    lines.push_back(head);
    std::vector<std::string> sets;
    for (const QueryRow& c : parts.columns)
        if (c.name2) sets.push_back(quoteQualified(*c.name2) + " = " + textOf(c.expression));
    lines.push_back("SET " + joinedWith(sets, ", "));
    if (parts.where) lines.push_back("WHERE " + *parts.where);
    q.sql = finish(std::move(lines), parts);
}

void rebuildCrosstab(RebuiltQuery& q, const QueryParts& parts) {
    std::vector<std::string> lines;
    if (auto p = parametersLine(parts); !p.empty()) lines.push_back(p);
    std::vector<QueryRow> headings;
    std::vector<QueryRow> rowGroups;
    std::optional<QueryRow> value;
    std::optional<QueryRow> pivot;
    for (const QueryRow& c : parts.columns) {
        const int f = c.flag.value_or(0);
        if (f & kCrosstabRowHeading) headings.push_back(c);
        else if (f & kCrosstabPivot) { if (!pivot) pivot = c; }
        else if (!value) value = c;
    }
    for (const QueryRow& g : parts.groupBy)
        if (g.flag.value_or(0) & kCrosstabRowHeading) rowGroups.push_back(g);
    if (value && value->expression) {
        std::string line = "TRANSFORM " + textOf(value->expression);
        if (value->name1) line += " AS " + quoteName(*value->name1);
        lines.push_back(line);
    }
    const auto items = selectItems(parts, headings);
    lines.push_back("SELECT " + selectPredicates(parts) + selectListText(items));
    addSelectClauses(lines, parts, rowGroups);
    // The pivot's alias names nothing DAO shows: Access leaves it out.
    const std::string pivotText = pivot ? textOf(pivot->expression) : "";
    if (pivot) lines.push_back("PIVOT " + pivotText);
    q.sql = finish(std::move(lines), parts);
    q.outputFields = outputFieldNames(items, {});
    for (std::string& heading : pivotHeadings(pivotText)) q.outputFields.push_back(std::move(heading));
}

void rebuildUnion(RebuiltQuery& q, const QueryParts& parts) {
    std::optional<std::string> first, second;
    for (const QueryRow& s : parts.sources) {
        if (!s.expression) continue;
        const std::string id = textOf(s.name2);
        if (id == kUnionPart1 && !first) first = textOf(s.expression);
        else if (id == kUnionPart2 && !second) second = textOf(s.expression);
    }
    if (!first || !second) throwDamagedQuery("union query without its two parts");
    // Jet keeps each part as the user wrote it, the first up to the word
    // UNION with the line break before it; the second part has its trailing
    // blanks stripped.
    std::string text = *first;
    if (text.empty() || !std::isspace(static_cast<unsigned char>(text.back()))) text += kLineEnd;
    text += parts.hasOption(kOptDistinct) ? "UNION " : "UNION ALL ";
    std::string tail = *second;
    while (!tail.empty() && std::isspace(static_cast<unsigned char>(tail.back()))) tail.pop_back();
    text += tail;

    std::vector<std::string> lines;
    if (auto p = parametersLine(parts); !p.empty()) lines.push_back(p);
    lines.push_back(text);
    addOrderBy(lines, parts);
    q.sql = finish(std::move(lines), parts);
    q.outputFields = outputFieldNames(parseSelectList(*first), {});
}

void rebuildStoredText(RebuiltQuery& q, const QueryParts& parts) {
    if (!parts.typeRow || !parts.typeRow->expression) throwDamagedQuery("query without its stored SQL text");
    q.sql = textOf(parts.typeRow->expression);
    if (parts.kind == Kind::PassThrough) q.connect = textOf(parts.typeRow->name1);
}

}  // namespace

RebuiltQuery rebuildQuery(const std::vector<QueryRow>& rows, std::int32_t catalogFlags, const SourceColumns& columnsOf) {
    const QueryParts parts = collectParts(rows, catalogFlags);
    RebuiltQuery q;
    q.type = parts.daoType;
    switch (parts.kind) {
    case Kind::Select:
    case Kind::MakeTable:
    case Kind::Delete: rebuildSelectFamily(q, parts, columnsOf); break;
    case Kind::Append: rebuildAppend(q, parts, columnsOf); break;
    case Kind::Update: rebuildUpdate(q, parts); break;
    case Kind::Crosstab: rebuildCrosstab(q, parts); break;
    case Kind::Union: rebuildUnion(q, parts); break;
    case Kind::DataDefinition:
    case Kind::PassThrough: rebuildStoredText(q, parts); break;
    }
    switch (parts.kind) {
    case Kind::Select:
    case Kind::Crosstab:
    case Kind::Union: q.returnsRecords = true; break;
    case Kind::PassThrough: q.returnsRecords = parts.daoType != dbQSPTBulk; break;
    default: q.returnsRecords = false; break;
    }
    return q;
}

}  // namespace jet::queries
