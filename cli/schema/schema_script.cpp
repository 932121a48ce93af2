#include "schema/schema_script.h"

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include "jet/dao.h"
#include "listing/structure_listing.h"
#include "listing/target_limits.h"
#include "schema/view_sql.h"

namespace schema {

namespace {

// A comment line: a name in it cannot end the comment, but a line break in
// it could start a statement.
std::string comment(const std::string& text) {
    std::string line = "-- ";
    for (char c : text) line += (c == '\r' || c == '\n') ? ' ' : c;
    return line + "\n";
}

bool isEnforced(const jet::Relation& relation) { return (relation.Attributes() & jet::dbRelationDontEnforce) == 0; }

class ScriptWriter {
public:
    ScriptWriter(jet::Database& db, Dialect dialect) : db_(db), dialect_(dialect) {}

    std::string write(const std::string& title) {
        out_ << comment("The structure of " + title + " for " + dialectName(dialect_) + ", written by strux schema.");
        if (dialect_ == Dialect::Mysql) out_ << "SET NAMES utf8mb4;\nSET FOREIGN_KEY_CHECKS = 0;\n";
        if (dialect_ == Dialect::Sqlite) out_ << "PRAGMA foreign_keys = ON;\n";
        chooseTables();
        for (const jet::TableDef* table : tables_) reserve(table->Name());
        for (const auto& query : db_.QueryDefs()) reserve(query->Name());
        for (const jet::TableDef* table : tables_) createTable(*table);
        if (dialect_ == Dialect::Mysql) out_ << "SET FOREIGN_KEY_CHECKS = 1;\n";
        else for (const jet::TableDef* table : tables_) createIndexes(*table);
        if (dialect_ == Dialect::Postgres)
            for (const jet::Relation* relation : foreignKeys_) addForeignKey(*relation);
        createViews();
        return out_.str();
    }

private:
    std::string name(const std::string& text) const { return quoteName(dialect_, text); }

    // The listed tables that are made, and what is not made of the others.
    void chooseTables() {
        for (const auto& table : db_.TableDefs()) {
            if (!listing::isListedTable(*table)) continue;
            if (listing::isLinked(*table)) {
                out_ << comment("table " + table->Name() + " is not created: a linked table, " +
                                listing::linkSource(*table));
                continue;
            }
            if (!table->Damage().empty()) {
                out_ << comment("table " + table->Name() + " is not created: its definition could not be read (" +
                                table->Damage() + ")");
                continue;
            }
            bool anyColumn = false;
            for (const auto& field : table->Fields()) {
                std::string why;
                anyColumn |= columnType(dialect_, *field, why).has_value();
            }
            if (!anyColumn) {
                out_ << comment("table " + table->Name() + " is not created: none of its fields has a column in " +
                                dialectName(dialect_));
                continue;
            }
            tables_.push_back(table.get());
            names_.add(table->Name());
            for (const auto& field : table->Fields()) names_.add(field->Name());
        }
        for (const auto& relation : db_.Relations()) {
            if (!isEnforced(*relation)) continue;
            const jet::TableDef* primary = made(relation->Table());
            const jet::TableDef* foreign = made(relation->ForeignTable());
            bool columns = primary && foreign && relation->Fields().Count() > 0;
            for (const auto& field : relation->Fields())
                columns = columns && hasColumn(*primary, field->Name()) && hasColumn(*foreign, field->ForeignName());
            if (columns) foreignKeys_.push_back(relation.get());
            else out_ << comment("relation " + relation->Name() + " is not made a foreign key: a table or field of it is not created");
        }
    }

    const jet::TableDef* made(const std::string& tableName) const {
        for (const jet::TableDef* table : tables_)
            if (jet::namesEqual(table->Name(), tableName)) return table;
        return nullptr;
    }

    bool hasColumn(const jet::TableDef& table, const std::string& fieldName) const {
        const jet::Field* field = table.Fields().find(fieldName);
        std::string why;
        return field && columnType(dialect_, *field, why).has_value();
    }

    // SQLite and PostgreSQL keep index names beside table names, one for
    // the whole database; Jet's are the table's own ("PrimaryKey" in each).
    void reserve(const std::string& used) { usedNames_.insert(foldedName(used)); }
    std::string uniqueName(const std::string& wanted) {
        std::string candidate = fittedName(wanted, nameLimit(dialect_));
        for (int n = 2; usedNames_.count(foldedName(candidate)); ++n)
            candidate = fittedName(wanted + "_" + std::to_string(n), nameLimit(dialect_));
        reserve(candidate);
        return candidate;
    }

    const jet::Index* primaryKey(const jet::TableDef& table) const {
        for (const auto& index : table.Indexes())
            if (index->Primary() && indexMade(table, *index)) return index.get();
        return nullptr;
    }

    bool indexMade(const jet::TableDef& table, const jet::Index& index) const {
        if (index.Fields().Count() == 0) return false;
        for (const auto& member : index.Fields())
            if (!hasColumn(table, member->Name())) return false;
        return true;
    }

    // SQLite counts only an INTEGER PRIMARY KEY column of its own.
    const jet::Field* sqliteCounter(const jet::TableDef& table) const {
        const jet::Index* key = primaryKey(table);
        if (dialect_ != Dialect::Sqlite || !key || key->Fields().Count() != 1) return nullptr;
        const jet::Field* field = table.Fields().find(key->Fields()[0].Name());
        return field && isAutoNumber(*field) ? field : nullptr;
    }

    // InnoDB keeps a row within about 8,000 bytes and counts a VARCHAR at
    // its widest (four bytes a character); a TEXT column lies outside the
    // row. A wide Jet table has its longest text fields made TEXT, until
    // the row fits.
    void chooseMysqlTextColumns(const jet::TableDef& table, std::vector<std::string>& notes) {
        constexpr long kRowLimit = 6000;  // with room for the row's own header and keys
        long width = 0;
        std::vector<const jet::Field*> texts;
        for (const auto& field : table.Fields()) {
            std::string why;
            if (!columnType(dialect_, *field, why)) continue;
            const bool text = field->Type() == jet::dbText || field->Type() == jet::dbChar;
            width += text ? 4 * field->Size() + 2 : 20;
            if (text) texts.push_back(field.get());
        }
        std::stable_sort(texts.begin(), texts.end(), [](auto* a, auto* b) { return a->Size() > b->Size(); });
        for (const jet::Field* field : texts) {
            if (width <= kRowLimit) break;
            width -= 4 * field->Size() + 2 - 20;
            mysqlText_.insert(foldedName(table.Name()) + "\n" + foldedName(field->Name()));
            notes.push_back("field " + table.Name() + "." + field->Name() + " is TEXT, not VARCHAR(" +
                            std::to_string(field->Size()) + "): the row would not fit InnoDB's limit");
        }
    }

    bool isMysqlText(const jet::TableDef& table, const jet::Field& field) const {
        return mysqlText_.count(foldedName(table.Name()) + "\n" + foldedName(field.Name())) > 0;
    }

    void createTable(const jet::TableDef& table) {
        std::vector<std::string> lines;
        std::vector<std::string> notes;
        if (dialect_ == Dialect::Mysql) chooseMysqlTextColumns(table, notes);
        const jet::Field* counter = sqliteCounter(table);
        for (const auto& field : table.Fields()) {
            std::string why;
            auto type = columnType(dialect_, *field, why);
            if (!type) {
                notes.push_back("field " + table.Name() + "." + field->Name() + " is not created: " + why);
                continue;
            }
            if (isMysqlText(table, *field)) type = "TEXT";
            lines.push_back(columnLine(table, *field, *type, field.get() == counter, notes));
        }
        const jet::Index* key = primaryKey(table);
        if (key && !counter) lines.push_back("PRIMARY KEY (" + memberList(table, *key, false) + ")");
        if (dialect_ == Dialect::Mysql) {
            // MySQL counts only in a column that leads an index.
            for (const auto& field : table.Fields())
                if (isAutoNumber(*field) && !leadsAnIndex(table, *field)) lines.push_back("KEY (" + name(field->Name()) + ")");
            // Indexes and foreign keys inside CREATE TABLE: InnoDB rebuilds
            // a table for each later ALTER, and with foreign key checks off
            // a key may name a table that follows.
            for (const auto& [index, indexName] : madeIndexes(table, notes))
                lines.push_back(std::string(index->Unique() ? "UNIQUE " : "") + "KEY " + name(indexName) + " (" +
                                memberList(table, *index, true) + ")");
            for (const jet::Relation* relation : foreignKeys_)
                if (jet::namesEqual(relation->ForeignTable(), table.Name()))
                    lines.push_back("CONSTRAINT " + name(uniqueName(relation->Name())) + " " + foreignKeyClause(*relation));
        }
        if (dialect_ == Dialect::Sqlite)
            for (const jet::Relation* relation : foreignKeys_)
                if (jet::namesEqual(relation->ForeignTable(), table.Name())) lines.push_back(foreignKeyClause(*relation));
        for (const auto& note : notes) out_ << comment(note);
        out_ << "CREATE TABLE " << name(table.Name()) << " (\n";
        for (std::size_t i = 0; i < lines.size(); ++i) out_ << "  " << lines[i] << (i + 1 < lines.size() ? ",\n" : "\n");
        out_ << ")" << (dialect_ == Dialect::Mysql ? " ENGINE=InnoDB DEFAULT CHARSET=utf8mb4" : "") << ";\n";
    }

    bool leadsAnIndex(const jet::TableDef& table, const jet::Field& field) const {
        for (const auto& index : table.Indexes())
            if (!index->Foreign() && indexMade(table, *index) && jet::namesEqual(index->Fields()[0].Name(), field.Name()))
                return true;
        return false;
    }

    std::string columnLine(const jet::TableDef& table, const jet::Field& field, const std::string& type, bool counter,
                           std::vector<std::string>& notes) const {
        std::string line = name(field.Name()) + " " + type;
        if (counter) return line + " PRIMARY KEY AUTOINCREMENT";
        const bool autoNumber = isAutoNumber(field);
        if (autoNumber && dialect_ == Dialect::Postgres) line += " GENERATED BY DEFAULT AS IDENTITY";
        if (autoNumber && dialect_ == Dialect::Mysql) line += " AUTO_INCREMENT";
        if (autoNumber && dialect_ == Dialect::Sqlite)
            notes.push_back("field " + table.Name() + "." + field.Name() +
                            " is an AutoNumber: SQLite counts only in a primary key of that one column");
        // Jet keeps a Yes/No field's value in the row's null mask: it is
        // never Null, and new rows hold No.
        const bool boolean = field.Type() == jet::dbBoolean;
        if (field.Required() || boolean || autoNumber) line += " NOT NULL";
        auto fallback = defaultValue(dialect_, field);
        // MySQL takes a TEXT column's default only as an expression.
        if (fallback && isMysqlText(table, field)) fallback = "(" + *fallback + ")";
        if (!autoNumber && fallback) line += " DEFAULT " + *fallback;
        else if (boolean) line += dialect_ == Dialect::Sqlite ? " DEFAULT 0" : " DEFAULT FALSE";
        if (!autoNumber && !fallback && !field.DefaultValue().empty())
            notes.push_back("field " + table.Name() + "." + field.Name() + " keeps no default: " + field.DefaultValue());
        if (!field.ValidationRule().empty())
            notes.push_back("field " + table.Name() + "." + field.Name() + " has the validation rule " +
                            field.ValidationRule() + ", not translated");
        return line;
    }

    // "A", "B" DESC; MySQL indexes a long text by its first 255 characters.
    std::string memberList(const jet::TableDef& table, const jet::Index& index, bool withOrder) const {
        std::string list;
        for (const auto& member : index.Fields()) {
            if (!list.empty()) list += ", ";
            list += name(member->Name());
            if (dialect_ == Dialect::Mysql) {
                const jet::Field* field = table.Fields().find(member->Name());
                if (field && (field->Type() == jet::dbMemo || field->Type() == jet::dbLongBinary)) list += "(255)";
                // Its first Size characters are the whole of its values.
                else if (field && isMysqlText(table, *field)) list += "(" + std::to_string(field->Size()) + ")";
            }
            if (withOrder && (member->Attributes() & jet::dbDescending)) list += " DESC";
        }
        return list;
    }

    // The indexes beside the primary key that are made, with their names;
    // those that cannot be are named in `notes`.
    std::vector<std::pair<const jet::Index*, std::string>> madeIndexes(const jet::TableDef& table,
                                                                       std::vector<std::string>& notes) {
        std::vector<std::pair<const jet::Index*, std::string>> made;
        for (const auto& index : table.Indexes()) {
            // An enforced relation's own index is made by its foreign key.
            if (index->Primary() || index->Foreign()) continue;
            if (!indexMade(table, *index)) {
                notes.push_back("index " + table.Name() + "." + index->Name() + " is not created: a field of it is not created");
                continue;
            }
            made.emplace_back(index.get(), dialect_ == Dialect::Mysql ? fittedName(index->Name(), nameLimit(dialect_))
                                                                     : uniqueName(table.Name() + "_" + index->Name()));
        }
        return made;
    }

    void createIndexes(const jet::TableDef& table) {
        std::vector<std::string> notes;
        const auto made = madeIndexes(table, notes);
        for (const auto& note : notes) out_ << comment(note);
        for (const auto& [index, indexName] : made)
            out_ << "CREATE " << (index->Unique() ? "UNIQUE " : "") << "INDEX " << name(indexName) << " ON "
                 << name(table.Name()) << " (" << memberList(table, *index, true) << ");\n";
    }

    std::string foreignKeyClause(const jet::Relation& relation) const {
        std::string primary, foreign;
        for (const auto& field : relation.Fields()) {
            if (!primary.empty()) primary += ", ", foreign += ", ";
            primary += name(field->Name());
            foreign += name(field->ForeignName());
        }
        std::string clause = "FOREIGN KEY (" + foreign + ") REFERENCES " + name(made(relation.Table())->Name()) + " (" + primary + ")";
        if (relation.Attributes() & jet::dbRelationUpdateCascade) clause += " ON UPDATE CASCADE";
        if (relation.Attributes() & jet::dbRelationDeleteCascade) clause += " ON DELETE CASCADE";
        return clause;
    }

    void addForeignKey(const jet::Relation& relation) {
        const std::string constraint = uniqueName(relation.Name());
        out_ << "ALTER TABLE " << name(made(relation.ForeignTable())->Name()) << " ADD CONSTRAINT " << name(constraint)
             << " " << foreignKeyClause(relation) << ";\n";
    }

    // Saved select queries whose SQL every part of which the target reads,
    // each after the queries it reads.
    void createViews() {
        struct Candidate {
            const jet::QueryDef* query;
            ViewSql view;
        };
        std::vector<Candidate> candidates;
        std::map<std::string, std::string> refused;  // folded name -> why
        for (const auto& query : db_.QueryDefs()) names_.add(query->Name());
        for (const auto& query : db_.QueryDefs()) {
            if (!listing::isListedQuery(*query)) continue;
            if (query->Type() != jet::dbQSelect) {
                refused[foldedName(query->Name())] = "not a select query";
                continue;
            }
            ViewSql view = translateSelect(dialect_, query->SQL(), names_);
            if (!view.lacking.empty()) {
                std::string what;
                for (const auto& item : view.lacking) what += (what.empty() ? "" : ", ") + item;
                refused[foldedName(query->Name())] = "it uses what " + dialectName(dialect_) + " lacks: " + what;
                continue;
            }
            candidates.push_back({query.get(), std::move(view)});
        }
        // A name of a table that is not created (a linked one) cannot be read.
        std::set<std::string> missingTables;
        for (const auto& table : db_.TableDefs())
            if (!this->made(table->Name())) missingTables.insert(foldedName(table->Name()));
        for (auto& candidate : candidates)
            for (const auto& read : candidate.view.namesRead)
                if (missingTables.count(read))
                    refused.emplace(foldedName(candidate.query->Name()), "it reads the table " + names_.spelling(read) + ", which is not created");
        std::set<std::string> queryNames;
        for (const auto& query : db_.QueryDefs()) queryNames.insert(foldedName(query->Name()));
        std::set<std::string> made;
        for (bool progress = true; progress;) {
            progress = false;
            for (auto& candidate : candidates) {
                const std::string self = foldedName(candidate.query->Name());
                if (made.count(self) || refused.count(self)) continue;
                bool ready = true;
                for (const auto& read : candidate.view.namesRead) {
                    if (read == self || !queryNames.count(read) || made.count(read)) continue;
                    if (refused.count(read)) {
                        refused[self] = "it reads the query " + names_.spelling(read) + ", which is not made a view";
                        progress = true;
                    }
                    ready = false;
                    break;
                }
                if (!ready) continue;
                out_ << "CREATE VIEW " << name(fittedName(candidate.query->Name(), nameLimit(dialect_)))
                     << viewColumns(*candidate.query) << " AS\n" << candidate.view.select << ";\n";
                made.insert(self);
                progress = true;
            }
        }
        for (const auto& query : db_.QueryDefs()) {
            if (!listing::isListedQuery(*query)) continue;
            const std::string folded = foldedName(query->Name());
            if (made.count(folded)) continue;
            const auto why = refused.find(folded);
            out_ << comment("query " + query->Name() + " is not made a view: " +
                            (why != refused.end() ? why->second : std::string("it reads itself through other queries")));
        }
    }

    // The view's columns named as Jet names the query's fields: where two
    // tables give a column of one name, Jet tells them apart ("T1.ID",
    // "T2.ID") and the targets refuse a view that does not.
    std::string viewColumns(const jet::QueryDef& query) const {
        if (query.Fields().Count() == 0) return {};
        std::string list;
        for (const auto& field : query.Fields())
            list += (list.empty() ? " (" : ", ") + name(fittedName(field->Name(), nameLimit(dialect_)));
        return list + ")";
    }

    jet::Database& db_;
    Dialect dialect_;
    std::ostringstream out_;
    std::vector<const jet::TableDef*> tables_;
    std::vector<const jet::Relation*> foreignKeys_;
    std::set<std::string> usedNames_;
    std::set<std::string> mysqlText_;  // "table\nfield", folded
    NameBook names_;
};

}  // namespace

std::string schemaScript(jet::Database& db, Dialect dialect, const std::string& title) {
    return ScriptWriter(db, dialect).write(title);
}

}  // namespace schema
