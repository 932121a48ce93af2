#include "schema/access_script.h"

#include <sstream>

#include "jet/dao.h"
#include "listing/structure_listing.h"
#include "listing/target_limits.h"
#include "structure_texts.h"

namespace schema {

namespace {

// The end of the line that opens a query's SQL.
constexpr const char* kQueryFollows = "all of it (CreateQueryDef takes its SQL, below)";

std::string bracketed(const std::string& name) { return "[" + name + "]"; }

// A comment's text on one line: a line break in it would start a statement.
std::string oneLine(const std::string& text) {
    std::string line;
    for (char c : text) line += (c == '\r' || c == '\n') ? ' ' : c;
    return line;
}

// The DDL type of a field, or "" when Jet's DDL has no word for it.
std::string ddlType(const jet::Field& field, bool jet3) {
    switch (field.Type()) {
        case jet::dbBoolean: return "BIT";
        case jet::dbByte: return "BYTE";
        case jet::dbInteger: return "SHORT";
        case jet::dbLong: return (field.Attributes() & jet::dbAutoIncrField) ? "COUNTER" : "LONG";
        case jet::dbCurrency: return "CURRENCY";
        case jet::dbSingle: return "SINGLE";
        case jet::dbDouble: return "DOUBLE";
        case jet::dbDate: return "DATETIME";
        case jet::dbText: case jet::dbChar: return "TEXT(" + std::to_string(field.Size()) + ")";
        case jet::dbBinary: case jet::dbVarBinary: return "BINARY(" + std::to_string(field.Size()) + ")";
        case jet::dbMemo: return "MEMO";
        case jet::dbLongBinary: return "LONGBINARY";
        case jet::dbGUID: return "GUID";
        case jet::dbDecimal: return jet3 ? "" : "DECIMAL";
        default: return "";
    }
}

// Types of one width, which Jet 3 and 4 store in the row's fixed part; ACE
// may store them as variable-length.
bool isFixedWidth(const jet::Field& field) {
    switch (field.Type()) {
        case jet::dbText: case jet::dbChar: case jet::dbBinary: case jet::dbVarBinary: case jet::dbMemo:
        case jet::dbLongBinary:
            return false;
        default:
            return true;
    }
}

bool isEnforced(const jet::Relation& relation) { return (relation.Attributes() & jet::dbRelationDontEnforce) == 0; }

class AccessScriptWriter {
public:
    explicit AccessScriptWriter(jet::Database& db) : db_(db), jet3_(db.Version() == "3.0") {}

    std::string write(const std::string& title) {
        comment("The structure of " + title + " in Jet SQL, written by strux schema.");
        comment("Jet runs one statement per Execute: each statement ends with \";\" at the end of its");
        comment("line, and no line outside a comment does. Lines starting with \"--\" are comments.");
        comment("What Jet's DDL cannot say is named on a line \"-- not in DDL: WHERE: WHAT\".");
        notInDdl("database", "collating order, code page and version are those of the database the script runs in");
        for (const auto& table : db_.TableDefs())
            if (listing::isListedTable(*table)) createTable(*table);
        for (const jet::TableDef* table : tables_) createIndexes(*table);
        for (const auto& relation : db_.Relations()) addRelation(*relation);
        for (const auto& query : db_.QueryDefs())
            if (listing::isListedQuery(*query)) writeQuery(*query);
        return out_.str();
    }

private:
    void comment(const std::string& text) { out_ << "-- " << oneLine(text) << "\n"; }
    void notInDdl(const std::string& where, const std::string& what) { out_ << kNotInDdl << oneLine(where + ": " + what) << "\n"; }

    bool created(const jet::TableDef& table, const std::string& fieldName) const {
        const jet::Field* field = table.Fields().find(fieldName);
        return field && !ddlType(*field, jet3_).empty();
    }

    const jet::TableDef* made(const std::string& name) const {
        for (const jet::TableDef* table : tables_)
            if (jet::namesEqual(table->Name(), name)) return table;
        return nullptr;
    }

    void createTable(const jet::TableDef& table) {
        const std::string where = "table " + table.Name();
        if (listing::isLinked(table)) return notInDdl(where, "all of it (a linked table, " + listing::linkSource(table) + ")");
        if (!table.Damage().empty()) return notInDdl(where, "all of it (its definition could not be read: " + table.Damage() + ")");
        std::vector<std::string> lines;
        bool fieldLeftOut = false;
        for (const auto& field : table.Fields()) {
            const std::string fieldWhere = where + " / field " + field->Name();
            const std::string type = ddlType(*field, jet3_);
            if (type.empty()) {
                notInDdl(fieldWhere, "all of it (Jet's DDL has no word for its type)");
                fieldLeftOut = true;
                continue;
            }
            lines.push_back(bracketed(field->Name()) + " " + type + (field->Required() ? " NOT NULL" : ""));
            fieldNotes(*field, fieldWhere);
            if (fieldLeftOut) notInDdl(fieldWhere, "ordinal position (a field before it is not created)");
        }
        if (lines.empty()) return notInDdl(where, "all of it (none of its fields can be said in DDL)");
        const std::string description = cli::descriptionOf(table.Properties());
        if (!description.empty()) notInDdl(where, "description " + description);
        tables_.push_back(&table);
        out_ << "CREATE TABLE " << bracketed(table.Name()) << " (\n";
        for (std::size_t i = 0; i < lines.size(); ++i) out_ << "  " << lines[i] << (i + 1 < lines.size() ? ",\n" : "\n");
        out_ << ");\n";
    }

    // The field's properties that CREATE TABLE has no clause for.
    void fieldNotes(const jet::Field& field, const std::string& where) {
        if (!field.DefaultValue().empty()) notInDdl(where, "default value " + field.DefaultValue());
        if (!field.ValidationRule().empty()) notInDdl(where, "validation rule " + field.ValidationRule());
        if (!field.ValidationText().empty()) notInDdl(where, "validation text " + field.ValidationText());
        if (field.AllowZeroLength()) notInDdl(where, "allow zero length Yes");
        const std::string description = cli::descriptionOf(field.Properties());
        if (!description.empty()) notInDdl(where, "description " + description);
        if (listing::isCalculated(field))
            notInDdl(where, "attributes (ACE computes its values from an expression; created as a plain field)");
        else if (field.Attributes() & jet::dbHyperlinkField) notInDdl(where, "attributes (a hyperlink)");
        else if (isFixedWidth(field) && (field.Attributes() & jet::dbVariableField))
            notInDdl(where, "attributes (stored as variable-length, which DDL does not choose)");
        else if ((field.Type() == jet::dbText || field.Type() == jet::dbChar) && (field.Attributes() & jet::dbFixedField))
            notInDdl(where, "attributes (a fixed-length text)");
    }

    void createIndexes(const jet::TableDef& table) {
        for (const auto& index : table.Indexes()) {
            // An enforced relation's own index comes with its constraint.
            if (index->Foreign()) continue;
            const std::string where = "table " + table.Name() + " / index " + index->Name();
            std::string members;
            bool complete = index->Fields().Count() > 0;
            for (const auto& member : index->Fields()) {
                complete = complete && created(table, member->Name());
                members += (members.empty() ? "" : ", ") + bracketed(member->Name()) +
                           ((member->Attributes() & jet::dbDescending) ? " DESC" : "");
            }
            if (!complete) {
                notInDdl(where, "all of it (a field of it is not created)");
                continue;
            }
            // WITH takes one option: a primary key is required itself, and
            // an index both required and ignoring Nulls can say only the first.
            std::string option;
            if (index->Primary()) option = " WITH PRIMARY";
            else if (index->Required()) option = " WITH DISALLOW NULL";
            else if (index->IgnoreNulls()) option = " WITH IGNORE NULL";
            if (index->IgnoreNulls() && (index->Primary() || index->Required())) notInDdl(where, "ignore nulls Yes");
            out_ << "CREATE " << (index->Unique() && !index->Primary() ? "UNIQUE " : "") << "INDEX "
                 << bracketed(index->Name()) << " ON " << bracketed(table.Name()) << " (" << members << ")" << option
                 << ";\n";
        }
    }

    void addRelation(const jet::Relation& relation) {
        const std::string where = "relation " + relation.Name();
        if (!isEnforced(relation))
            return notInDdl(where, "all of it (not enforced: a foreign key in DDL always is)");
        const jet::TableDef* primary = made(relation.Table());
        const jet::TableDef* foreign = made(relation.ForeignTable());
        bool complete = primary && foreign && relation.Fields().Count() > 0;
        std::string primaryFields, foreignFields;
        for (const auto& field : relation.Fields()) {
            complete = complete && created(*primary, field->Name()) && created(*foreign, field->ForeignName());
            primaryFields += (primaryFields.empty() ? "" : ", ") + bracketed(field->Name());
            foreignFields += (foreignFields.empty() ? "" : ", ") + bracketed(field->ForeignName());
        }
        if (!complete) return notInDdl(where, "all of it (a table or field of it is not created)");
        const long attributes = relation.Attributes();
        constexpr long kCascades = jet::dbRelationUpdateCascade | jet::dbRelationDeleteCascade;
        // Jet marks a relation between uniquely indexed fields one-to-one itself.
        if (attributes & ~(kCascades | jet::dbRelationUnique)) notInDdl(where, "attributes " + std::to_string(attributes));
        else if (jet3_ && (attributes & kCascades)) notInDdl(where, "attributes (cascades: Jet 3's DDL has none)");
        std::string cascades;
        if (!jet3_ && (attributes & jet::dbRelationUpdateCascade)) cascades += " ON UPDATE CASCADE";
        if (!jet3_ && (attributes & jet::dbRelationDeleteCascade)) cascades += " ON DELETE CASCADE";
        out_ << "ALTER TABLE " << bracketed(foreign->Name()) << " ADD CONSTRAINT " << bracketed(relation.Name())
             << " FOREIGN KEY (" << foreignFields << ") REFERENCES " << bracketed(primary->Name()) << " ("
             << primaryFields << ")" << cascades << ";\n";
    }

    // A saved query is not DDL: its SQL stands in comment lines, as
    // CreateQueryDef takes it.
    void writeQuery(const jet::QueryDef& query) {
        notInDdl("query " + query.Name(), kQueryFollows);
        std::string line;
        std::istringstream sql(query.SQL());
        while (std::getline(sql, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            out_ << kQuerySqlLine << line << "\n";
        }
    }

    jet::Database& db_;
    bool jet3_;
    std::ostringstream out_;
    std::vector<const jet::TableDef*> tables_;
};

}  // namespace

std::string accessScript(jet::Database& db, const std::string& title) { return AccessScriptWriter(db).write(title); }

std::vector<std::string> accessStatements(const std::string& script) {
    std::vector<std::string> statements;
    std::string statement, line;
    std::istringstream in(script);
    while (std::getline(in, line)) {
        if (line.rfind("--", 0) == 0) continue;
        statement += statement.empty() ? line : "\n" + line;
        if (!line.empty() && line.back() == ';') {
            statements.push_back(statement);
            statement.clear();
        }
    }
    if (!statement.empty()) statements.push_back(statement);
    return statements;
}

std::vector<ScriptQuery> accessQueries(const std::string& script) {
    std::vector<ScriptQuery> queries;
    const std::string opening = std::string(kNotInDdl) + "query ", closing = std::string(": ") + kQueryFollows;
    bool inQuery = false;
    std::string line;
    std::istringstream in(script);
    while (std::getline(in, line)) {
        if (line.rfind(opening, 0) == 0 && line.size() > opening.size() + closing.size() &&
            line.compare(line.size() - closing.size(), closing.size(), closing) == 0) {
            queries.push_back({line.substr(opening.size(), line.size() - opening.size() - closing.size()), {}});
            inQuery = true;
        } else if (inQuery && line.rfind(kQuerySqlLine, 0) == 0) {
            std::string& sql = queries.back().sql;
            sql += (sql.empty() ? "" : "\r\n") + line.substr(std::string(kQuerySqlLine).size());
        } else {
            inQuery = false;
        }
    }
    return queries;
}

}  // namespace schema
