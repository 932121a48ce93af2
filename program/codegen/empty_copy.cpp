#include "codegen/empty_copy.h"

#include <filesystem>
#include <system_error>
#include <unordered_map>

#include "codegen/generate_structure.h"
#include "codegen/text_file.h"
#include "files/replacement_file.h"
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

class CopyVisitor : public StructureVisitor {
    // A table of pass 1: built in memory until its indexes are known.
    struct NewTable {
        std::unique_ptr<jet::TableDef> definition;
    };

public:
    CopyVisitor(jet::Database& target, jet::Database* source, const listing::TargetPlan& plan)
        : target_(target), source_(source), plan_(plan) {}

    void table(const jet::TableDef& source) override {
        if (leftOut(plan_.table(source))) return;
        auto table = target_.CreateTableDef(source.Name());
        for (const auto& field : source.Fields()) {
            if (leftOut(plan_.field(source, *field))) continue;
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
            leftOut(plan_.autoNumber(source, *field));
        }
        tableByName_.emplace(foldedName(source.Name()), tables_.size());
        tables_.push_back({std::move(table)});
    }

    void index(const jet::TableDef& sourceTable, const jet::Index& source) override {
        NewTable* newOne = newTable(sourceTable.Name());
        if (!newOne) return;  // the table is left out, and said so
        jet::TableDef* table = newOne->definition.get();
        if (leftOut(plan_.index(sourceTable, source))) return;
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
            // Nulls left out of the index are a rule of the data: the copy keeps it.
            index->SetIgnoreNulls(source.IgnoreNulls());
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
        }
        target_.TableDefs().Refresh();
    }

    void query(const jet::QueryDef& source) override {
        // A pass-through query's text is meant for the server it connects
        // to; given to CreateQueryDef it would be read as Jet SQL.
        if (leftOut(plan_.query(source))) return;
        try {
            // The stored parts where the source database is at hand: they
            // keep what the SQL does not show. Else the text as it stands,
            // line breaks and all, as the parts of a union query hold it.
            if (source_) target_.CopyQueryDef(*source_, source.Name());
            else target_.CreateQueryDef(source.Name(), source.SQL());
        } catch (const jet::Error& e) {
            // The rest of the copy is still worth having: the query is named
            // with the engine's reason instead.
            leaveOut("query", source.Name(), "error " + std::to_string(e.number()) + ": " + e.what());
        }
    }

    void relation(const jet::Relation& source) override {
        if (leftOut(plan_.relation(source))) return;
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
    // Names what the plan leaves out; false when there is nothing.
    bool leftOut(const std::optional<LeftOut>& item) {
        if (item) outcome_.leftOut.push_back(*item);
        return item.has_value();
    }
    NewTable* newTable(const std::string& name) {
        const auto found = tableByName_.find(foldedName(name));
        return found == tableByName_.end() ? nullptr : &tables_[found->second];
    }
    jet::Database& target_;
    jet::Database* source_;
    const listing::TargetPlan& plan_;
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

bool mayWriteCopy(const std::string& path, const std::string& sourcePath, GenerationHost& host) {
    const std::string why = files::sameFile(path, sourcePath) ? "is the database being copied" : files::notARegularFile(path);
    if (!why.empty()) throw WriteError(kErrPathFileAccess, "Path/File access error (" + path + " " + why + ")", path);
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return false;
    if (!host.replaceExistingCopy(path)) throw CopyDeclined(path);
    return true;
}

CopyOutcome copyStructure(const std::vector<std::string>& entries, const SourceDatabase& source,
                          jet::Database& target, const std::function<void()>& betweenItems) {
    const listing::TargetPlan plan(target.Version() == "3.0" ? listing::Target::Jet3Copy : listing::Target::Jet4Copy,
                                   entries, source.tables);
    CopyVisitor visitor(target, source.database, plan);
    walkStructure(entries, source, visitor, betweenItems);
    return visitor.outcome();
}

}  // namespace codegen
