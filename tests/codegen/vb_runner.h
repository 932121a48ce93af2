// Runs a generated module over the engine: a small interpreter of exactly
// the statements the generator writes (Set, With/End With, CreateTableDef,
// .Fields.Append .CreateField, property assignments, Append, CreateIndex,
// CreateQueryDef, CreateRelation, Refresh, Call, the sSQL variable), each
// one carried out on the engine's DAO objects as DAO would carry it out.
// Anything else is a problem, and so is any error of the engine: the run
// stops there, as VB stops at an untrapped error.
//
// Where the engine cannot do what DAO does, the run keeps DAO's result
// aside as text for the test to compare with the source: links and
// pass-through queries (the engine writes neither) and relations to a link.
// The engine also writes a table's indexes only with the table, so an
// appended table is held until the module first needs more than its
// tables (a query, a relation, the end), as the empty copy holds them.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "codegen/vb_checker.h"
#include "jet/dao.h"

namespace vbrun {

struct RunResult {
    std::vector<std::string> problems;  // "line N: ...", the last one stopped the run
    bool created = false;               // the run reached Msgbox "Database created."
    // The objects the module's 'Not created: comments name, as kind and name.
    std::vector<std::pair<std::string, std::string>> notCreated;
    // What DAO made and the engine cannot hold, one line each.
    std::vector<std::string> aside;
};

// The text a link, a pass-through query or a relation to a link is kept
// aside as; the test writes the source's objects the same way.
inline std::string linkText(const std::string& name, const std::string& source, const std::string& connect) {
    return "link " + name + " -> " + source + " in " + connect;
}
inline std::string passThroughText(const std::string& name, const std::string& connect, bool returnsRecords,
                                   const std::string& sql) {
    return "pass-through " + name + " connect=" + connect + " returns=" + (returnsRecords ? "1" : "0") + " " + sql;
}

class ModuleRunner {
public:
    // The module's CreateDatabase makes `target` (the stand-alone style
    // names the source's own path, which exists) with `options`.
    ModuleRunner(std::vector<std::string> lines, std::filesystem::path target, int options)
        : lines_(std::move(lines)), target_(std::move(target)), options_(options) {}

    RunResult run() {
        for (std::size_t n = 0; n < lines_.size(); ++n) {
            const std::string code = trimmed(lines_[n]);
            const std::string sub = code.rfind("Public Sub ", 0) == 0 ? code.substr(11)
                                    : code.rfind("Sub ", 0) == 0    ? code.substr(4)
                                                                    : std::string();
            if (!sub.empty()) subs_[sub.substr(0, sub.find('('))] = n + 1;
            if (code.rfind("'Not created: ", 0) == 0) noteComment(code);
        }
        try {
            try {
                call(subs_.count("Main") ? "Main" : "CreateBase");
            } catch (const Stop&) {
            }
            if (result_.problems.empty() && db_) flushTables();
        } catch (const jet::Error& e) {
            result_.problems.push_back(where() + "error " + std::to_string(e.number()) + ": " + e.what());
        } catch (const Stop&) {
        }
        if (db_) db_->Close();
        return result_;
    }

private:
    struct Stop {};  // End, or a problem that ends the run
    struct Pending {
        std::unique_ptr<jet::TableDef> table;
        std::size_t line;
    };

    static std::string trimmed(const std::string& text) {
        const auto first = text.find_first_not_of(" \t");
        return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(" \t") - first + 1);
    }
    static bool startsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }
    std::string where() const { return "line " + std::to_string(line_ + 1) + ": "; }
    [[noreturn]] void fail(const std::string& problem) {
        result_.problems.push_back(where() + problem);
        throw Stop{};
    }

    // 'Not created: kind "name" (reason)
    void noteComment(const std::string& code) {
        const auto open = code.find(" \"");
        const auto close = code.find("\" (", open + 2);
        if (open == std::string::npos || close == std::string::npos) return;
        result_.notCreated.emplace_back(code.substr(14, open - 14), code.substr(open + 2, close - open - 2));
    }

    void call(const std::string& name) {
        const auto found = subs_.find(name);
        if (found == subs_.end()) fail("no Sub " + name);
        for (std::size_t n = found->second; n < lines_.size(); ++n) {
            line_ = n;
            const std::string code = trimmed(lines_[n]);
            if (code == "End Sub" || code == "Exit Sub" || (!code.empty() && code.back() == ':')) return;
            if (code == "End") throw Stop{};
            if (code.empty() || code[0] == '\'' || startsWith(code, "On Error ") || startsWith(code, "Dim ")) continue;
            if (startsWith(code, "Call ")) {
                call(code.substr(5));
                line_ = n;
                continue;
            }
            statement(code);
        }
    }

    // The arguments between the outermost parentheses after `prefix`,
    // split at the commas outside literals and inner parentheses.
    std::vector<std::string> arguments(const std::string& code, const std::string& prefix) {
        if (!startsWith(code, prefix) || code.back() != ')') fail("not understood: " + code);
        std::vector<std::string> args(1);
        int depth = 0;
        bool literal = false;
        for (std::size_t i = prefix.size(); i + 1 < code.size(); ++i) {
            const char c = code[i];
            if (c == '"') literal = !literal;
            if (!literal && c == '(') ++depth;
            if (!literal && c == ')') --depth;
            if (!literal && depth == 0 && c == ',') {
                args.emplace_back();
                continue;
            }
            args.back() += c;
        }
        for (auto& arg : args) arg = trimmed(arg);
        return args;
    }
    std::string text(const std::string& expression) {
        if (expression == "sSQL") return sSQL_;
        if (expression == "DbName$") return target_.string();
        bool ok = false;
        const std::string value = vbcheck::utf8FromUnits(vbcheck::evaluateUnits(expression, ok));
        if (!ok) fail("not a string expression: " + expression);
        return value;
    }
    bool boolean(const std::string& expression) {
        if (expression == "True") return true;
        if (expression == "False") return false;
        fail("not a Boolean: " + expression);
    }
    long number(const std::string& expression) {
        try {
            return std::stol(expression);
        } catch (const std::exception&) {
            fail("not a number: " + expression);
        }
    }
    // "target = value" split at the first " = ".
    std::pair<std::string, std::string> assignment(const std::string& code) {
        const auto at = code.find(" = ");
        if (at == std::string::npos) fail("not understood: " + code);
        return {code.substr(0, at), trimmed(code.substr(at + 3))};
    }

    jet::Database& db() {
        if (!db_) fail("no database created yet");
        return *db_;
    }
    jet::TableDef& table() {
        if (!tdf_) fail("tdfNew is not set");
        return *tdf_;
    }
    jet::TableDef* lookUpTable(const std::string& name) {
        jet::TableDef* table = lookUpTableOrNull(name);
        if (!table) fail("no table " + name);
        return table;
    }
    void flushTables() {
        for (auto& pending : pending_) {
            line_ = pending.line;
            db().TableDefs().Append(std::move(pending.table));
        }
        pending_.clear();
        tdf_ = nullptr;
    }
    bool isLink(const std::string& name) const { return links_.count(name) > 0; }

    void statement(const std::string& code) {
        const std::string with = withs_.empty() ? std::string() : withs_.back();
        if (startsWith(code, "With ")) {
            withs_.push_back(code.substr(5));
        } else if (code == "End With") {
            withs_.pop_back();
        } else if (startsWith(code, "Set DB = CreateDatabase(")) {
            db_ = jet::DBEngine().CreateDatabase(target_.string(), jet::dbLangGeneral, options_);
        } else if (startsWith(code, "Set tdfNew = DB.CreateTableDef(")) {
            const auto args = arguments(code, "Set tdfNew = DB.CreateTableDef(");
            if (args.size() == 1) newTable_ = db().CreateTableDef(text(args[0]));
            else if (args.size() == 4)
                newTable_ = db().CreateTableDef(text(args[0]), number(args[1]), text(args[2]), text(args[3]));
            else fail("CreateTableDef with " + std::to_string(args.size()) + " arguments");
            tdf_ = newTable_.get();
        } else if (startsWith(code, "Set tdfNew = DB![")) {
            tdf_ = lookUpTable(code.substr(17, code.size() - 18));
        } else if (startsWith(code, "Set tdfNew = DB.TableDefs(")) {
            tdf_ = lookUpTable(text(arguments(code, "Set tdfNew = DB.TableDefs(")[0]));
        } else if (code == "DB.TableDefs.Append tdfNew") {
            if (!newTable_) fail("tdfNew was appended already");
            if (!newTable_->Connect().empty()) {
                // DAO reads a link's fields from its source; the engine writes no links.
                links_.insert(newTable_->Name());
                result_.aside.push_back(linkText(newTable_->Name(), newTable_->SourceTableName(), newTable_->Connect()));
                newTable_.reset();
            } else {
                if (lookUpTableOrNull(newTable_->Name())) fail("table " + newTable_->Name() + " exists");
                pending_.push_back({std::move(newTable_), line_});
            }
        } else if (code == "DB.Tabledefs.Refresh") {
            if (pending_.empty()) db().TableDefs().Refresh();
        } else if (with == "tdfNew" && startsWith(code, ".Fields.Append .CreateField(")) {
            const auto args = arguments(code, ".Fields.Append .CreateField(");
            if (args.size() < 2 || args.size() > 3) fail("CreateField with " + std::to_string(args.size()) + " arguments");
            table().Fields().Append(table().CreateField(text(args[0]), static_cast<int>(number(args[1])),
                                                        args.size() == 3 ? number(args[2]) : 0));
        } else if (with == "tdfNew" && startsWith(code, ".Fields(")) {
            const auto [target, value] = assignment(code);
            const auto close = target.find(").");
            if (close == std::string::npos) fail("not understood: " + code);
            jet::Field& field = table().Fields()[text(target.substr(8, close - 8))];
            const std::string property = target.substr(close + 2);
            if (property == "Required") field.SetRequired(boolean(value));
            else if (property == "AllowZeroLength") field.SetAllowZeroLength(boolean(value));
            else if (property == "Attributes") field.SetAttributes(number(value));
            else fail("field property " + property);
        } else if (with == "tdfNew" && startsWith(code, "Set idxNew = .CreateIndex(")) {
            idx_ = table().CreateIndex(text(arguments(code, "Set idxNew = .CreateIndex(")[0]));
        } else if (with == "tdfNew" && code == ".Indexes.Append idxNew") {
            if (!isPending(tdf_)) fail("the engine adds no index to a table it has written");
            table().Indexes().Append(std::move(idx_));
        } else if (with == "idxNew" && startsWith(code, "Set idxNewField = .CreateField (")) {
            if (!idx_) fail("idxNew is not set");
            idxField_ = idx_->CreateField(text(arguments(code, "Set idxNewField = .CreateField (")[0]));
        } else if (with == "idxNewField" && startsWith(code, ".Attributes = ")) {
            idxField_->SetAttributes(number(assignment(code).second));
        } else if (with == "idxNew" && code == ".Fields.Append idxNewField") {
            idx_->Fields().Append(std::move(idxField_));
        } else if (with == "idxNew" && startsWith(code, ".")) {
            const auto [property, value] = assignment(code);
            if (property == ".Primary") idx_->SetPrimary(boolean(value));
            else if (property == ".Unique") idx_->SetUnique(boolean(value));
            else if (property == ".Required") idx_->SetRequired(boolean(value));
            else fail("index property " + property);
        } else if (startsWith(code, "sSQL = sSQL & ")) {
            sSQL_ += text(code.substr(14));
        } else if (startsWith(code, "sSQL = ")) {
            sSQL_ = text(code.substr(7));
        } else if (startsWith(code, "Set qdfNew = DB.CreateQueryDef(")) {
            flushTables();
            const auto args = arguments(code, "Set qdfNew = DB.CreateQueryDef(");
            query_ = {text(args[0]), "", true};
            // With its SQL a named query is stored at once; without, when
            // its SQL is set.
            if (args.size() == 2) db().CreateQueryDef(query_->name, text(args[1]));
            if (args.size() == 2) query_.reset();
        } else if (startsWith(code, "qdfNew.")) {
            if (!query_) fail("qdfNew is not a query being defined");
            const auto [property, value] = assignment(code);
            if (property == "qdfNew.Connect") query_->connect = text(value);
            else if (property == "qdfNew.ReturnsRecords") query_->returnsRecords = boolean(value);
            else if (property == "qdfNew.SQL") setQuerySql(text(value));
            else fail("query property " + property);
        } else if (startsWith(code, "Set relNew = DB.CreateRelation(")) {
            flushTables();
            const auto args = arguments(code, "Set relNew = DB.CreateRelation(");
            if (args.size() != 3) fail("CreateRelation with " + std::to_string(args.size()) + " arguments");
            rel_ = db().CreateRelation(text(args[0]), text(args[1]), text(args[2]));
        } else if (startsWith(code, "relNew.Fields.Append relNew.CreateField(")) {
            relation().Fields().Append(relation().CreateField(text(arguments(code, "relNew.Fields.Append relNew.CreateField(")[0])));
        } else if (startsWith(code, "relNew.Fields") && code.find(".ForeignName = ") != std::string::npos) {
            const auto [target, value] = assignment(code);
            const std::string member = startsWith(target, "relNew.Fields![")
                                           ? target.substr(15, target.size() - 15 - 13)
                                           : text(target.substr(14, target.size() - 14 - 13));
            relation().Fields()[member].SetForeignName(text(value));
        } else if (startsWith(code, "relNew.Attributes = ")) {
            relation().SetAttributes(number(assignment(code).second));
        } else if (code == "Db.Relations.Append relNew") {
            appendRelation();
        } else if (startsWith(code, "Msgbox \"Database created.\"")) {
            result_.created = true;
        } else {
            fail("not understood: " + code);
        }
    }

    jet::TableDef* lookUpTableOrNull(const std::string& name) {
        for (auto& pending : pending_)
            if (jet::namesEqual(pending.table->Name(), name)) return pending.table.get();
        return db().TableDefs().find(name);
    }
    bool isPending(const jet::TableDef* table) const {
        for (const auto& pending : pending_)
            if (pending.table.get() == table) return true;
        return false;
    }
    jet::Relation& relation() {
        if (!rel_) fail("relNew is not set");
        return *rel_;
    }
    void setQuerySql(const std::string& sql) {
        if (query_->connect.empty()) {
            db().CreateQueryDef(query_->name, sql);
        } else {
            // DAO stores the text for the server unparsed; the engine writes
            // no pass-through queries.
            result_.aside.push_back(passThroughText(query_->name, query_->connect, query_->returnsRecords, sql));
        }
        query_.reset();
    }
    void appendRelation() {
        jet::Relation& made = relation();
        if (isLink(made.Table()) || isLink(made.ForeignTable())) {
            std::string text = "relation " + made.Name() + " " + made.Table() + " -> " + made.ForeignTable() +
                               " attributes=" + std::to_string(made.Attributes());
            for (const auto& field : made.Fields()) text += " " + field->Name() + "=" + field->ForeignName();
            result_.aside.push_back(text);
            rel_.reset();
            return;
        }
        db().Relations().Append(std::move(rel_));
    }

    struct QueryInProgress {
        std::string name, connect;
        bool returnsRecords;
    };

    std::vector<std::string> lines_;
    std::filesystem::path target_;
    int options_;
    std::map<std::string, std::size_t> subs_;  // first line after "Sub Name(...)"
    std::size_t line_ = 0;
    RunResult result_;
    std::shared_ptr<jet::Database> db_;
    std::vector<std::string> withs_;
    std::unique_ptr<jet::TableDef> newTable_;
    jet::TableDef* tdf_ = nullptr;
    std::vector<Pending> pending_;
    std::set<std::string> links_;
    std::unique_ptr<jet::Index> idx_;
    std::unique_ptr<jet::Field> idxField_;
    std::unique_ptr<jet::Relation> rel_;
    std::optional<QueryInProgress> query_;
    std::string sSQL_;
};

inline RunResult runModule(std::vector<std::string> lines, const std::filesystem::path& target, int options) {
    return ModuleRunner(std::move(lines), target, options).run();
}

}  // namespace vbrun
