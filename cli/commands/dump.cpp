// strux dump [--json] FILE: the whole structure of a database, every
// collection in the engine's order, system objects included.
#include <charconv>
#include <string_view>
#include <type_traits>

#include "command.h"
#include "commands/database_password.h"
#include "commands/registry.h"
#include "json_writer.h"
#include "printable_text.h"
#include "jet/dao.h"

namespace cli {

namespace {

// The dump looks at each table once: its fields, indexes and properties
// are let go once written, so that the memory of a walk over thousands of
// tables is that of the one being written, and the next table's objects
// take the place of the last one's.
void letGoOf(jet::TableDef& table) {
    table.Fields().clear();
    table.Indexes().clear();
    table.Properties().clear();
}

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
        letGoOf(*table);
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

// The text form is made in a string and handed to the stream a large piece
// at a time: for a database of thousands of tables, formatting through the
// stream item by item cost as much as reading the database.
class TextOut {
public:
    explicit TextOut(std::ostream& out) : out_(out) { text_.reserve(kPiece + 4096); }
    TextOut(const TextOut&) = delete;
    TextOut& operator=(const TextOut&) = delete;

    TextOut& operator<<(std::string_view s) {
        text_.append(s);
        return *this;
    }
    TextOut& operator<<(char c) {
        text_ += c;
        return *this;
    }
    template <class Integer>
        requires(std::is_integral_v<Integer> && !std::is_same_v<Integer, bool> && !std::is_same_v<Integer, char>)
    TextOut& operator<<(Integer n) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
        text_.append(digits, end);
        return *this;
    }
    // A name or text of the database, control characters escaped.
    TextOut& shown(std::string_view s, bool keepTabs = false) {
        appendPrintable(text_, s, keepTabs);
        return *this;
    }
    // The same, blanks after it up to `width` bytes.
    TextOut& shownPadded(std::string_view s, std::size_t width) {
        const std::size_t start = text_.size();
        appendPrintable(text_, s);
        const std::size_t length = text_.size() - start;
        if (length < width) text_.append(width - length, ' ');
        return *this;
    }
    // Ends a line; a full piece goes to the stream.
    void endLine() {
        text_ += '\n';
        if (text_.size() >= kPiece) flush();
    }
    void flush() {
        out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
        text_.clear();
    }

private:
    static constexpr std::size_t kPiece = 64 * 1024;
    std::ostream& out_;
    std::string text_;
};

// The SQL text indented under its query, one stored line per line.
void writeIndentedSql(const std::string& sql, TextOut& out) {
    std::size_t start = 0;
    while (start < sql.size()) {
        std::size_t end = sql.find("\r\n", start);
        if (end == std::string::npos) end = sql.size();
        (out << "      ").shown(std::string_view(sql).substr(start, end - start), true).endLine();
        start = end + 2;
    }
}

void writeText(jet::Database& db, std::ostream& stream) {
    TextOut out(stream);
    (out << "Database ").shown(db.Name()).endLine();
    out << "  Version " << std::string_view(db.Version()) << ", collating order " << db.CollatingOrder()
        << ", code page " << db.CodePage() << ", transactions " << yesNo(db.Transactions()) << ", updatable "
        << yesNo(db.Updatable());
    out.endLine();

    out.endLine();
    out << "Tables (" << db.TableDefs().Count() << ')';
    out.endLine();
    for (const auto& table : db.TableDefs()) {
        (out << "  ").shown(table->Name()) << "  [attributes " << table->Attributes() << ", " << table->RecordCount()
                                           << " records]";
        out.endLine();
        if (!table->Connect().empty()) {
            (out << "    linked: ").shown(table->Connect()) << " -> ";
            out.shown(table->SourceTableName()).endLine();
        }
        if (!table->Damage().empty()) (out << "    damaged: ").shown(table->Damage()).endLine();
        for (const auto& field : table->Fields()) {
            (out << "    field ").shownPadded(field->Name(), 24)
                << " type " << field->Type() << ", size " << field->Size() << ", attributes " << field->Attributes();
            if (field->Required()) out << ", required";
            if (field->AllowZeroLength()) out << ", zero length allowed";
            if (!field->DefaultValue().empty()) (out << ", default ").shown(field->DefaultValue());
            out.endLine();
        }
        for (const auto& index : table->Indexes()) {
            (out << "    index ").shownPadded(index->Name(), 24) << ' ';
            out.shown(index->FieldsText());
            if (index->Primary()) out << ", primary";
            if (index->Unique()) out << ", unique";
            if (index->Required()) out << ", required";
            if (index->IgnoreNulls()) out << ", ignore nulls";
            if (index->Foreign()) out << ", foreign";
            out.endLine();
        }
        letGoOf(*table);
    }

    out.endLine();
    out << "Queries (" << db.QueryDefs().Count() << ')';
    out.endLine();
    for (const auto& query : db.QueryDefs()) {
        (out << "  ").shown(query->Name()) << "  [type " << query->Type() << ", created "
                                          << std::string_view(isoDate(query->DateCreated())) << ", updated "
                                          << std::string_view(isoDate(query->LastUpdated())) << ']';
        out.endLine();
        if (!query->Damage().empty()) (out << "    damaged: ").shown(query->Damage()).endLine();
        writeIndentedSql(query->SQL(), out);
    }

    out.endLine();
    out << "Relations (" << db.Relations().Count() << ')';
    out.endLine();
    for (const auto& relation : db.Relations()) {
        (out << "  ").shown(relation->Name()) << ": ";
        out.shown(relation->Table()) << " -> ";
        out.shown(relation->ForeignTable()) << "  [attributes " << relation->Attributes() << ']';
        out.endLine();
        for (const auto& field : relation->Fields()) {
            (out << "    ").shown(field->Name()) << " = ";
            out.shown(field->ForeignName()).endLine();
        }
    }
    out.flush();
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
        // The text goes out as it is made. Reading a table on the way
        // cannot fail part-way through it: a definition that cannot be read
        // makes a damaged table, which is printed as such.
        const std::ios_base::fmtflags format = out.flags();
        if (json) writeJson(*db, out);
        else writeText(*db, out);
        out.flags(format);
        keepUntilExit(std::move(db));
        return kExitOk;
    }
};

}  // namespace

std::unique_ptr<Command> makeDumpCommand() { return std::make_unique<DumpCommand>(); }

}  // namespace cli
