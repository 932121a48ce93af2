#include "codegen/empty_copy.h"

#include <filesystem>
#include <system_error>

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

// The query pass needs Database::CreateQueryDef, and the relation pass
// Database::CreateRelation with a writing Relations().Append. Until the
// engine has them the passes name what they leave out; the checks are
// made on the engine's own type, so each pass starts copying as soon as
// the engine can.
template <class Target>
bool createQuery(Target& target, const std::string& name, const std::string& sql) {
    if constexpr (requires { target.CreateQueryDef(name, sql); }) {
        target.CreateQueryDef(name, sql);
        return true;
    } else {
        return false;
    }
}

template <class Target>
bool createRelation(Target& target, const jet::Relation& source) {
    if constexpr (requires { target.CreateRelation(source.Name(), source.Table(), source.ForeignTable()); }) {
        auto relation = target.CreateRelation(source.Name(), source.Table(), source.ForeignTable());
        for (const auto& member : source.Fields()) {
            relation->Fields().Append(relation->CreateField(member->Name()));
            relation->Fields()[member->Name()].SetForeignName(member->ForeignName());
        }
        relation->SetAttributes(source.Attributes());
        target.Relations().Append(std::move(relation));
        return true;
    } else {
        return false;
    }
}

class CopyVisitor : public StructureVisitor {
public:
    explicit CopyVisitor(jet::Database& target) : target_(target) {}

    void table(const jet::TableDef& source) override {
        auto table = target_.CreateTableDef(source.Name());
        for (const auto& field : source.Fields()) {
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
        pending_.push_back(std::move(table));
    }

    void index(const jet::TableDef& sourceTable, const jet::Index& source) override {
        jet::TableDef& table = pendingTable(sourceTable.Name());
        auto index = table.CreateIndex(source.Name());
        try {
            for (const auto& member : source.Fields()) {
                auto field = index->CreateField(member->Name());
                field->SetAttributes(member->Attributes());
                index->Fields().Append(std::move(field));
            }
            index->SetPrimary(source.Primary());
            index->SetUnique(source.Unique());
            index->SetRequired(source.Required());
            table.Indexes().Append(std::move(index));
        } catch (const jet::Error& e) {
            throw inTable(e, sourceTable.Name(), "index '" + source.Name() + "'");
        }
    }

    void endIndexes() override {
        for (auto& table : pending_) {
            const std::string name = table->Name();
            try {
                target_.TableDefs().Append(std::move(table));
            } catch (const jet::Error& e) {
                throw inTable(e, name);
            }
        }
        pending_.clear();
        target_.TableDefs().Refresh();
    }

    void query(const jet::QueryDef& source) override {
        if (!createQuery(target_, source.Name(), flattenSql(source.SQL())))
            outcome_.queriesLeftOut.push_back(source.Name());
    }

    void relation(const jet::Relation& source) override {
        if (!createRelation(target_, source)) outcome_.relationsLeftOut.push_back(source.Name());
    }

    CopyOutcome outcome() const { return outcome_; }

private:
    jet::TableDef& pendingTable(const std::string& name) {
        for (auto& table : pending_)
            if (jet::namesEqual(table->Name(), name)) return *table;
        throw jet::Error(jet::kErrItemNotFound, "Item not found in this collection.", "table '" + name + "'");
    }

    jet::Database& target_;
    std::vector<std::unique_ptr<jet::TableDef>> pending_;
    CopyOutcome outcome_;
};

}  // namespace

std::string emptyCopyPath(const std::string& sDbPath) {
    const auto separator = sDbPath.find_last_of("\\/");
    const std::size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    return sDbPath.substr(0, nameStart) + "Empty Copy of " + sDbPath.substr(nameStart);
}

int copyFormatOption(const std::string& sourceVersion) {
    return sourceVersion == "3.0" ? jet::dbVersion30 : jet::dbVersion40;
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
