#include "codegen/empty_copy.h"

#include <filesystem>
#include <system_error>
#include <unordered_map>

#include "codegen/generate_structure.h"
#include "codegen/text_file.h"
#include "codegen/vb_text.h"
#include "jet/dao.h"

namespace codegen {

namespace {

// Types whose size the user chose; every other type has the one size its
// type gives it, which the engine supplies.
bool carriesSize(int type) { return type == jet::dbText || type == jet::dbBinary; }

jet::Error inTable(const jet::Error& e, const std::string& table, const std::string& what = {}) {
    std::string context = "table '" + table + "'";
    if (!what.empty()) context += ", " + what;
    return jet::Error(e.number(), e.what(), context);
}

void deleteExistingCopy(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::symlink_status(path, error);
    if (!error && status.type() != std::filesystem::file_type::regular &&
        status.type() != std::filesystem::file_type::symlink)
        throw jet::Error(jet::kErrDatabaseExists, "Database already exists.", "'" + path + "' is not a file");
    if (!std::filesystem::remove(path, error) && error)
        throw WriteError(error == std::errc::permission_denied ? kErrPermissionDenied : kErrPathFileAccess,
                         "Path/File access error (" + path + ": " + error.message() + ")", path);
}

void createRelation(jet::Database& target, const jet::Relation& source) {
    auto relation = target.CreateRelation(source.Name(), source.Table(), source.ForeignTable());
    for (const auto& member : source.Fields()) {
        relation->Fields().Append(relation->CreateField(member->Name()));
        relation->Fields()[member->Name()].SetForeignName(member->ForeignName());
    }
    relation->SetAttributes(source.Attributes());
    target.Relations().Append(std::move(relation));
}

// Jet compares names without regard to the case of ASCII letters.
std::string foldedName(const std::string& name) {
    std::string folded = name;
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

bool isLinked(const jet::TableDef& table) {
    return (table.Attributes() & (jet::dbAttachedTable | jet::dbAttachedODBC)) != 0 || !table.Connect().empty();
}

class CopyVisitor : public StructureVisitor {
    // A table of pass 1: built in memory until its indexes are known, with
    // the names of the fields it had to leave out.
    struct NewTable {
        std::unique_ptr<jet::TableDef> definition;
        std::vector<std::string> missing;
        bool appended = false;
    };

public:
    explicit CopyVisitor(jet::Database& target)
        : target_(target),
          jet3_(target.Version() == "3.0"),
          format_(jet3_ ? "a Jet 3 database" : "a Jet 4 database") {}

    void table(const jet::TableDef& source) override {
        if (isLinked(source)) {
            leaveOut("table", source.Name(), "a linked table: its fields are in the file it links to");
            return;
        }
        if (!source.Damage().empty()) {
            leaveOut("table", source.Name(), "its definition could not be read (" + source.Damage() + ")");
            return;
        }
        auto table = target_.CreateTableDef(source.Name());
        std::vector<std::string> missing;
        for (const auto& field : source.Fields()) {
            if (!formatHolds(field->Type())) {
                leaveOut("field", source.Name() + "." + field->Name(),
                         "its type (" + std::to_string(field->Type()) + ") has no column in " + format_);
                missing.push_back(field->Name());
                continue;
            }
            const long size = carriesSize(field->Type()) ? field->Size() : 0;
            try {
                table->Fields().Append(table->CreateField(field->Name(), field->Type(), size));
            } catch (const jet::Error& e) {
                throw inTable(e, source.Name(), "field '" + field->Name() + "'");
            }
            jet::Field& added = table->Fields()[field->Name()];
            added.SetRequired(field->Required());
            added.SetAllowZeroLength(field->AllowZeroLength());
            added.SetAttributes(field->Attributes());
        }
        if (table->Fields().Count() == 0 && source.Fields().Count() > 0) {
            leaveOut("table", source.Name(), "none of its fields has a column in " + format_);
            return;
        }
        tableByName_.emplace(foldedName(source.Name()), tables_.size());
        tables_.push_back({std::move(table), std::move(missing)});
    }

    void index(const jet::TableDef& sourceTable, const jet::Index& source) override {
        NewTable* newOne = newTable(sourceTable.Name());
        if (!newOne) return;  // the table is left out, and said so
        jet::TableDef* table = newOne->definition.get();
        for (const auto& member : source.Fields()) {
            if (isMissing(sourceTable.Name(), member->Name())) {
                leaveOut("index", sourceTable.Name() + "." + source.Name(),
                         "its field '" + member->Name() + "' is not in the copy");
                return;
            }
        }
        auto index = table->CreateIndex(source.Name());
        try {
            for (const auto& member : source.Fields()) {
                auto field = index->CreateField(member->Name());
                field->SetAttributes(member->Attributes());
                index->Fields().Append(std::move(field));
            }
            index->SetPrimary(source.Primary());
            index->SetUnique(source.Unique());
            index->SetRequired(source.Required());
            table->Indexes().Append(std::move(index));
        } catch (const jet::Error& e) {
            throw inTable(e, sourceTable.Name(), "index '" + source.Name() + "'");
        }
    }

    void endIndexes() override {
        for (auto& table : tables_) {
            const std::string name = table.definition->Name();
            try {
                target_.TableDefs().Append(std::move(table.definition));
            } catch (const jet::Error& e) {
                throw inTable(e, name);
            }
            table.appended = true;
        }
        target_.TableDefs().Refresh();
    }

    void query(const jet::QueryDef& source) override {
        // A pass-through query's text is meant for the server it connects
        // to; given to CreateQueryDef it would be read as Jet SQL.
        if (!source.Damage().empty()) {
            leaveOut("query", source.Name(), "its definition could not be read (" + source.Damage() + ")");
            return;
        }
        if (source.Type() == jet::dbQSQLPassThrough) {
            leaveOut("query", source.Name(), "a pass-through query: its text is for the server it connects to");
            return;
        }
        try {
            target_.CreateQueryDef(source.Name(), flattenSql(source.SQL()));
        } catch (const jet::Error& e) {
            // The rest of the copy is still worth having: the query is named
            // with the engine's reason instead.
            leaveOut("query", source.Name(), "error " + std::to_string(e.number()) + ": " + e.what());
        }
    }

    void relation(const jet::Relation& source) override {
        for (const std::string& table : {source.Table(), source.ForeignTable()}) {
            if (!isCopied(table)) {
                leaveOut("relation", source.Name(), "its table '" + table + "' is not in the copy");
                return;
            }
        }
        for (const auto& member : source.Fields()) {
            for (const auto& [table, field] : {std::pair{source.Table(), member->Name()},
                                               std::pair{source.ForeignTable(), member->ForeignName()}}) {
                if (isMissing(table, field)) {
                    leaveOut("relation", source.Name(), "its field '" + table + "." + field + "' is not in the copy");
                    return;
                }
            }
        }
        try {
            createRelation(target_, source);
        } catch (const jet::Error& e) {
            throw jet::Error(e.number(), e.what(), "relation '" + source.Name() + "'");
        }
    }

    CopyOutcome outcome() const { return outcome_; }

private:
    void leaveOut(const std::string& kind, const std::string& name, const std::string& reason) {
        outcome_.leftOut.push_back({kind, name, reason});
    }
    NewTable* newTable(const std::string& name) {
        const auto found = tableByName_.find(foldedName(name));
        return found == tableByName_.end() ? nullptr : &tables_[found->second];
    }
    bool isCopied(const std::string& name) {
        const NewTable* table = newTable(name);
        return table && table->appended;
    }
    bool isMissing(const std::string& tableName, const std::string& field) {
        const NewTable* table = newTable(tableName);
        if (!table) return false;
        for (const auto& missing : table->missing)
            if (jet::namesEqual(missing, field)) return true;
        return false;
    }

    // The DAO types with a column in the copy's format. ACE's attachments,
    // multi-valued and extended date columns, and columns of types the
    // reader does not know (0), have none.
    bool formatHolds(int type) const {
        switch (type) {
            case jet::dbBoolean: case jet::dbByte: case jet::dbInteger: case jet::dbLong: case jet::dbCurrency:
            case jet::dbSingle: case jet::dbDouble: case jet::dbDate: case jet::dbBinary: case jet::dbText:
            case jet::dbLongBinary: case jet::dbMemo: case jet::dbGUID: case jet::dbVarBinary: case jet::dbChar:
                return true;
            case jet::dbDecimal:
                return !jet3_;
            default:
                return false;
        }
    }

    jet::Database& target_;
    bool jet3_;
    std::string format_;
    std::vector<NewTable> tables_;  // in listing order
    std::unordered_map<std::string, std::size_t> tableByName_;  // by foldedName
    CopyOutcome outcome_;
};

}  // namespace

int CopyOutcome::count(const std::string& kind) const {
    int n = 0;
    for (const auto& item : leftOut) n += item.kind == kind;
    return n;
}

std::string leftOutText(const CopyOutcome& outcome, std::size_t maxLines) {
    const std::size_t total = outcome.leftOut.size();
    if (total == 0) return {};
    std::string text = std::to_string(total) + (total == 1 ? " object was" : " objects were") + " not copied:";
    for (std::size_t i = 0; i < total && i < maxLines; ++i) {
        const LeftOut& item = outcome.leftOut[i];
        text += "\n" + item.kind + " '" + item.name + "': " + item.reason;
    }
    if (total > maxLines) text += "\nand " + std::to_string(total - maxLines) + " more";
    return text;
}

std::string emptyCopyPath(const std::string& sDbPath) {
    const auto separator = sDbPath.find_last_of("\\/");
    const std::size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    return sDbPath.substr(0, nameStart) + "Empty Copy of " + sDbPath.substr(nameStart);
}

int copyFormatOption(const std::string& sourceVersion, int sourceCodePage) {
    return sourceVersion == "3.0" && sourceCodePage == kCopyCodePage ? jet::dbVersion30 : jet::dbVersion40;
}

std::shared_ptr<jet::Database> createCopyDatabase(const std::string& path, const std::string& sourcePath,
                                                  int formatOption, GenerationHost& host) {
    if (sameFile(path, sourcePath))
        throw jet::Error(jet::kErrDatabaseExists, "Database already exists.",
                         "'" + path + "' is the database being copied");
    jet::DBEngine engine;
    for (;;) {
        try {
            return engine.CreateDatabase(path, kCopyLocale, formatOption);
        } catch (const jet::Error& e) {
            if (e.number() != jet::kErrDatabaseExists) throw;
        }
        if (!host.replaceExistingCopy(path)) throw CopyDeclined(path);
        deleteExistingCopy(path);
    }
}

CopyOutcome copyStructure(const std::vector<std::string>& entries, const SourceDatabase& source,
                          jet::Database& target, const std::function<void()>& betweenItems) {
    CopyVisitor visitor(target);
    walkStructure(entries, source, visitor, betweenItems);
    return visitor.outcome();
}

}  // namespace codegen
