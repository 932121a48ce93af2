// strux dump [--json] FILE: the whole structure of a database, every
// collection in the engine's order, system objects included.
#include <iomanip>
#include <string_view>

#include "command.h"
#include "commands/database_password.h"
#include "commands/registry.h"
#include "json_writer.h"
#include "printable_text.h"
#include "jet/dao.h"

namespace cli {

namespace {

std::string isoDate(const jet::DateTime& date) { return jet::valueToString(jet::Value(date)); }

void writeJson(jet::Database& db, std::ostream& out) {
    JsonWriter json(out);
    json.beginObject();
    json.member("file", db.Name());
    json.member("version", db.Version());
    json.member("collatingOrder", db.CollatingOrder());
    json.member("codePage", db.CodePage());
    json.member("transactions", db.Transactions());
    json.member("updatable", db.Updatable());

    json.key("tableDefs");
    json.beginArray();
    for (const auto& table : db.TableDefs()) {
        json.beginObject();
        json.member("name", table->Name());
        json.member("attributes", table->Attributes());
        json.member("updatable", table->Updatable());
        json.member("connect", table->Connect());
        json.member("sourceTableName", table->SourceTableName());
        json.member("recordCount", table->RecordCount());
        if (!table->Damage().empty()) json.member("damage", table->Damage());
        json.key("fields");
        json.beginArray();
        for (const auto& field : table->Fields()) {
            json.beginObject();
            json.member("name", field->Name());
            json.member("type", field->Type());
            json.member("size", field->Size());
            json.member("required", field->Required());
            json.member("allowZeroLength", field->AllowZeroLength());
            json.member("attributes", field->Attributes());
            json.member("ordinalPosition", field->OrdinalPosition());
            json.member("defaultValue", field->DefaultValue());
            json.endObject();
        }
        json.endArray();
        json.key("indexes");
        json.beginArray();
        for (const auto& index : table->Indexes()) {
            json.beginObject();
            json.member("name", index->Name());
            json.member("primary", index->Primary());
            json.member("unique", index->Unique());
            json.member("required", index->Required());
            json.member("ignoreNulls", index->IgnoreNulls());
            json.member("foreign", index->Foreign());
            json.key("fields");
            json.beginArray();
            for (const auto& member : index->Fields()) {
                json.beginObject();
                json.member("name", member->Name());
                json.member("attributes", member->Attributes());
                json.endObject();
            }
            json.endArray();
            json.endObject();
        }
        json.endArray();
        json.endObject();
    }
    json.endArray();

    json.key("queryDefs");
    json.beginArray();
    for (const auto& query : db.QueryDefs()) {
        json.beginObject();
        json.member("name", query->Name());
        json.member("type", query->Type());
        json.member("sql", query->SQL());
        json.member("dateCreated", isoDate(query->DateCreated()));
        json.member("lastUpdated", isoDate(query->LastUpdated()));
        json.member("maxRecords", query->MaxRecords());
        json.member("connect", query->Connect());
        json.member("returnsRecords", query->ReturnsRecords());
        json.member("updatable", query->Updatable());
        if (!query->Damage().empty()) json.member("damage", query->Damage());
        json.key("fields");
        json.beginArray();
        for (const auto& field : query->Fields()) json.value(field->Name());
        json.endArray();
        json.endObject();
    }
    json.endArray();

    json.key("relations");
    json.beginArray();
    for (const auto& relation : db.Relations()) {
        json.beginObject();
        json.member("name", relation->Name());
        json.member("table", relation->Table());
        json.member("foreignTable", relation->ForeignTable());
        json.member("attributes", relation->Attributes());
        json.member("partialReplica", relation->PartialReplica());
        json.key("fields");
        json.beginArray();
        for (const auto& field : relation->Fields()) {
            json.beginObject();
            json.member("name", field->Name());
            json.member("foreignName", field->ForeignName());
            json.endObject();
        }
        json.endArray();
        json.endObject();
    }
    json.endArray();
    json.endObject();
}

const char* yesNo(bool flag) { return flag ? "yes" : "no"; }

// The SQL text indented under its query, one stored line per line.
void writeIndentedSql(const std::string& sql, std::ostream& out) {
    std::size_t start = 0;
    while (start < sql.size()) {
        std::size_t end = sql.find("\r\n", start);
        if (end == std::string::npos) end = sql.size();
        out << "      " << printable(std::string_view(sql).substr(start, end - start), true) << '\n';
        start = end + 2;
    }
}

void writeText(jet::Database& db, std::ostream& out) {
    out << "Database " << printable(db.Name()) << '\n'
        << "  Version " << db.Version() << ", collating order " << db.CollatingOrder() << ", code page "
        << db.CodePage() << ", transactions " << yesNo(db.Transactions()) << ", updatable "
        << yesNo(db.Updatable()) << '\n';

    out << "\nTables (" << db.TableDefs().Count() << ")\n";
    for (const auto& table : db.TableDefs()) {
        out << "  " << printable(table->Name()) << "  [attributes " << table->Attributes() << ", "
            << table->RecordCount() << " records]\n";
        if (!table->Connect().empty())
            out << "    linked: " << printable(table->Connect()) << " -> " << printable(table->SourceTableName()) << '\n';
        if (!table->Damage().empty()) out << "    damaged: " << printable(table->Damage()) << '\n';
        for (const auto& field : table->Fields()) {
            out << "    field " << std::left << std::setw(24) << printable(field->Name()) << " type " << field->Type()
                << ", size " << field->Size() << ", attributes " << field->Attributes();
            if (field->Required()) out << ", required";
            if (field->AllowZeroLength()) out << ", zero length allowed";
            if (!field->DefaultValue().empty()) out << ", default " << printable(field->DefaultValue());
            out << '\n';
        }
        for (const auto& index : table->Indexes()) {
            out << "    index " << std::left << std::setw(24) << printable(index->Name()) << ' ' << printable(index->FieldsText());
            if (index->Primary()) out << ", primary";
            if (index->Unique()) out << ", unique";
            if (index->Required()) out << ", required";
            if (index->IgnoreNulls()) out << ", ignore nulls";
            if (index->Foreign()) out << ", foreign";
            out << '\n';
        }
    }

    out << "\nQueries (" << db.QueryDefs().Count() << ")\n";
    for (const auto& query : db.QueryDefs()) {
        out << "  " << printable(query->Name()) << "  [type " << query->Type() << ", created "
            << isoDate(query->DateCreated()) << ", updated " << isoDate(query->LastUpdated()) << "]\n";
        if (!query->Damage().empty()) out << "    damaged: " << printable(query->Damage()) << '\n';
        writeIndentedSql(query->SQL(), out);
    }

    out << "\nRelations (" << db.Relations().Count() << ")\n";
    for (const auto& relation : db.Relations()) {
        out << "  " << printable(relation->Name()) << ": " << printable(relation->Table()) << " -> "
            << printable(relation->ForeignTable())
            << "  [attributes " << relation->Attributes() << "]\n";
        for (const auto& field : relation->Fields())
            out << "    " << printable(field->Name()) << " = " << printable(field->ForeignName()) << '\n';
    }
}

class DumpCommand : public Command {
public:
    std::string name() const override { return "dump"; }
    std::string summary() const override { return "print the whole structure of a database"; }
    std::string help() const override {
        return "usage: strux dump [--json] FILE\n"
               "\n"
               "Prints every table (system and linked tables included) with its fields and\n"
               "indexes, every saved query with its SQL text, and every relation. Control\n"
               "characters in names and texts are printed escaped (\\x1B), as in JSON.\n"
               "\n"
               "  --json   the structure as JSON, for programs\n";
    }

    int execute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) override {
        bool json = false;
        std::string file;
        for (const auto& arg : args) {
            if (arg == "--json") {
                json = true;
            } else if (!arg.empty() && arg[0] == '-') {
                err << "strux dump: unknown option " << arg << "\n" << help();
                return kExitUsage;
            } else if (file.empty()) {
                file = arg;
            } else {
                err << "strux dump: only one FILE\n" << help();
                return kExitUsage;
            }
        }
        if (file.empty()) {
            err << help();
            return kExitUsage;
        }
        if (const int status = checkInput(name(), file, err); status != kExitOk) return status;
        jet::DBEngine engine;
        auto db = openWithPassword(
            [&](const std::string& password) { return engine.OpenDatabase(file, false, true, connectFor(password)); });
        if (db->JournalWaiting()) err << "strux dump: warning: " << db->JournalNotice() << '\n';
        // Every table is read before the first line is written (a table
        // whose definition cannot be read becomes a damaged one), so that
        // nothing fails part-way through the text; it goes out as it is
        // made, without a copy of the whole in memory.
        for (const auto& table : db->TableDefs()) (void)table->Damage();
        const std::ios_base::fmtflags format = out.flags();
        if (json) writeJson(*db, out);
        else writeText(*db, out);
        out.flags(format);
        return kExitOk;
    }
};

}  // namespace

std::unique_ptr<Command> makeDumpCommand() { return std::make_unique<DumpCommand>(); }

}  // namespace cli
