#include "codegen/module_lines.h"

#include "codegen/vb_text.h"
#include "jet/types.h"

namespace codegen {

namespace {

const char* const kSqlVariable = "sSQL";

// A table as the generated code names it. "DB![name]" cannot hold a "]", so
// such a name is looked up through the collection instead.
std::string tableReference(const std::string& name) {
    if (fitsInBrackets(name)) return "DB![" + name + "]";
    return "DB.TableDefs(" + vbQuoted(name) + ")";
}

std::string relationFieldReference(const std::string& name) {
    if (fitsInBrackets(name)) return "relNew.Fields![" + name + "]";
    return "relNew.Fields(" + vbQuoted(name) + ")";
}

// The attribute bits a link is created with: whether it holds the source
// exclusively and keeps its password. Jet adds the bits that mark it linked.
constexpr long kLinkOptions = jet::dbAttachExclusive | jet::dbAttachSavePWD;

class ModuleVisitor : public StructureVisitor {
public:
    ModuleVisitor(std::vector<std::string>& lines, const listing::TargetPlan& plan,
                  std::vector<listing::LeftOut>* notCreated)
        : lines_(lines), plan_(plan), notCreated_(notCreated) {}

    void beginTables() override { lines_.push_back("Public Sub CreateBaseTables()"); }
    void table(const jet::TableDef& table) override {
        if (leftOut(plan_.table(table))) return;
        append(tableLines(table, plan_, notCreated_));
    }
    void endTables() override { append({"DB.Tabledefs.Refresh", "End Sub", "", "Public Sub CreateBaseIndexes()"}); }

    void index(const jet::TableDef& table, const jet::Index& index) override {
        // A left-out table is named once, for all of it; a link's indexes
        // are those of its source.
        if (plan_.table(table) || listing::isLinked(table)) return;
        if (leftOut(plan_.index(table, index))) return;
        append(indexLines(table.Name(), index));
    }
    void endIndexes() override { append({"DB.Tabledefs.Refresh", "End Sub", "", "Public Sub CreateQueries()"}); }

    void query(const jet::QueryDef& query) override {
        if (leftOut(plan_.query(query))) return;
        append(queryLines(query, sqlVariableDeclared_));
    }
    void endQueries() override { append({"End Sub", "", "Public Sub CreateRelations()"}); }

    void relation(const jet::Relation& relation) override {
        if (leftOut(plan_.relation(relation))) return;
        append(relationLines(relation));
    }
    void endRelations() override { lines_.push_back("End Sub"); }

private:
    void append(const std::vector<std::string>& more) { lines_.insert(lines_.end(), more.begin(), more.end()); }

    // Writes the comment for a left-out object; false when it is created.
    bool leftOut(const std::optional<listing::LeftOut>& item) {
        if (!item) return false;
        lines_.push_back(notCreatedLine(*item));
        lines_.push_back("'");
        if (notCreated_) notCreated_->push_back(*item);
        return true;
    }

    std::vector<std::string>& lines_;
    const listing::TargetPlan& plan_;
    std::vector<listing::LeftOut>* notCreated_;
    bool sqlVariableDeclared_ = false;
};

}  // namespace

std::vector<std::string> standAloneHeader(const std::string& sDbPath, const std::string& created) {
    return {
        "Dim DB as Database",
        "Dim tdfNew as TableDef",
        "Dim idxNew as Index",
        "Dim idxNewField as Field",
        "Dim qdfNew as QueryDef",
        "Dim relNew as Relation",
        "",
        "Sub Main()",
        "'VBStructure from STRUX32.",
        "'Visual Basic 5.x version - Stand alone style",
        "'",
        "'You are free to use and modify this code as you wish and to distribute it",
        "'in your applications.",
        "'",
        "'Don't forget to add the Microsoft DAO 3.5 Object Library to your project",
        "'  -   Go to Project, References... and click on the check box, then click OK",
        "'",
        "'Code created " + created,
        "'",
        "Call CreateBase",
        "End Sub",
        "",
        "Public Sub CreateBase()",
        "On Error Goto BadBase",
        "Set DB = CreateDatabase(" + vbQuoted(sDbPath) + ", dbLangGeneral)",
        "On Error Goto 0",
        "'Create the tables",
        "Call CreateBaseTables",
        "'Create the Indexes",
        "Call CreateBaseIndexes",
        "'Create any queries",
        "Call CreateQueries",
        "'Create any Relations",
        "Call CreateRelations",
        "Msgbox \"Database created.\", vbInformation",
        "End",
        "",
        "BadBase:",
        "MsgBox \"Failed to create database. Error \" & Err, vbCritical",
        "End",
        "End Sub",
        "",
    };
}

std::vector<std::string> projectHeader(const std::string& created) {
    return {
        "'VBStructure from STRUX32.",
        "'Visual Basic 5.x version - Project style",
        "'",
        "'You are free to use and modify this code as you wish and to distribute it",
        "'in your applications.",
        "'",
        "'Add this module and the form CreateVBDatabase.frm to a new project",
        "'and remove the Form1.frm that was created. Set the startup form to",
        "'frmCreateVBDatabase and you have a ready made project to create a",
        "'a new database!",
        "'",
        "'Don't forget to add the Microsoft DAO 3.5 Object Library to your project",
        "'  -   Go to Project, References... and click on the check box, then click OK",
        "'",
        "'Code created " + created,
        "'",
        "'This public database declaration may be removed if it has been declared",
        "'elsewhere in your project. If you make it a module declaration (Dim) then",
        "'you will not be able to add initial data to the database unless you do it in",
        "'this subroutine, otherwise DB will be out of scope.",
        "'",
        "Public DB as Database",
        "Dim tdfNew as TableDef",
        "Dim idxNew as Index",
        "Dim idxNewField as Field",
        "Dim qdfNew as QueryDef",
        "Dim relNew as Relation",
        "'",
        "",
        "Public Sub CreateBase(DbName$)",
        "On Error Goto BadBase",
        "Set DB = CreateDatabase(DbName$, dbLangGeneral)",
        "On Error Goto 0",
        "'Create the tables",
        "Call CreateBaseTables",
        "'Create the Indexes",
        "Call CreateBaseIndexes",
        "'Create any queries",
        "Call CreateQueries",
        "'Create any Relations",
        "Call CreateRelations",
        "Msgbox \"Database created.\", vbInformation",
        "Exit Sub",
        "",
        "BadBase:",
        "If MsgBox (\"Database already exists! Delete existing?\", vbCritical + vbYesNo, \"Create error!\") = vbYes Then",
        "    Kill DbName$",
        "    Resume",
        "End If",
        "End",
        "End Sub",
        "",
    };
}

std::string notCreatedLine(const listing::LeftOut& item) {
    return "'Not created: " + item.kind + " \"" + item.name + "\" (" + item.reason + ")";
}

std::vector<std::string> tableLines(const jet::TableDef& table, const listing::TargetPlan& plan,
                                    std::vector<listing::LeftOut>* notCreated) {
    std::vector<std::string> lines;
    auto comment = [&](const listing::LeftOut& item) {
        lines.push_back("    " + notCreatedLine(item));
        if (notCreated) notCreated->push_back(item);
    };
    if (listing::isLinked(table)) {
        // DAO reads a link's fields from its source when it is appended.
        lines.push_back("Set tdfNew = DB.CreateTableDef(" + vbQuoted(table.Name()) + ", " +
                        std::to_string(table.Attributes() & kLinkOptions) + ", " +
                        vbQuoted(table.SourceTableName()) + ", " + vbQuoted(table.Connect()) + ")");
        lines.push_back("With tdfNew");
    } else {
        lines.push_back("Set tdfNew = DB.CreateTableDef(" + vbQuoted(table.Name()) + ")");
        lines.push_back("With tdfNew");
        for (const auto& field : table.Fields()) {
            if (const auto left = plan.field(table, *field)) {
                comment(*left);
                continue;
            }
            const std::string name = vbQuoted(field->Name());
            std::string create = "    .Fields.Append .CreateField(" + name + ", " + std::to_string(field->Type());
            // A binary column's width is a choice as a text column's is;
            // without it DAO would make every one 255 bytes wide.
            if (field->Type() == jet::dbText || field->Type() == jet::dbBinary)
                create += ", " + std::to_string(field->Size());
            lines.push_back(create + ")");
            lines.push_back("    .Fields(" + name + ").Required = " + vbBool(field->Required()));
            lines.push_back("    .Fields(" + name + ").AllowZeroLength = " + vbBool(field->AllowZeroLength()));
            lines.push_back("    .Fields(" + name + ").Attributes = " + std::to_string(field->Attributes()));
            if (const auto plain = plan.autoNumber(table, *field)) comment(*plain);
        }
    }
    lines.push_back("    DB.TableDefs.Append tdfNew");
    lines.push_back("End With");
    lines.push_back("'");
    return lines;
}

std::vector<std::string> indexLines(const std::string& tableName, const jet::Index& index) {
    std::vector<std::string> lines;
    lines.push_back("Set tdfNew = " + tableReference(tableName));
    lines.push_back("With tdfNew");
    lines.push_back("    Set idxNew = .CreateIndex(" + vbQuoted(index.Name()) + ")");
    lines.push_back("    With idxNew");
    for (const auto& field : index.Fields()) {
        lines.push_back("        Set idxNewField = .CreateField (" + vbQuoted(field->Name()) + ")");
        lines.push_back("        With idxNewField");
        lines.push_back("            .Attributes = " + std::to_string(field->Attributes()));
        lines.push_back("        End With");
        lines.push_back("        .Fields.Append idxNewField");
    }
    lines.push_back("        .Primary =  " + vbBool(index.Primary()));
    lines.push_back("        .Unique =  " + vbBool(index.Unique()));
    lines.push_back("        .Required =  " + vbBool(index.Required()));
    lines.push_back("    End With");
    lines.push_back("    .Indexes.Append idxNew");
    lines.push_back("End With");
    lines.push_back("'");
    return lines;
}

std::vector<std::string> queryLines(const jet::QueryDef& query, bool& sqlVariableDeclared) {
    std::vector<std::string> lines;
    const std::string sql = flattenSql(query.SQL());
    const std::string name = vbQuoted(query.Name());
    const bool passThrough = listing::isPassThrough(query);
    // The statement that gives the query its text, and the same with the
    // text in sSQL when the line would be too long for VB.
    const std::string head = passThrough ? "qdfNew.SQL = " : "Set qdfNew = DB.CreateQueryDef(" + name + ", ";
    const std::string tail = passThrough ? "" : ")";
    std::string create = head + vbQuoted(sql) + tail;
    const bool viaVariable = create.size() > kMaxVbLineLength;
    if (viaVariable) {
        if (!sqlVariableDeclared) {
            lines.push_back(std::string("Dim ") + kSqlVariable + " As String");
            sqlVariableDeclared = true;
        }
        for (auto& piece : buildStringVariable(kSqlVariable, sql)) lines.push_back(std::move(piece));
        create = head + kSqlVariable + tail;
    }
    if (passThrough) {
        lines.push_back("Set qdfNew = DB.CreateQueryDef(" + name + ")");
        lines.push_back("qdfNew.Connect = " + vbQuoted(query.Connect()));
        lines.push_back("qdfNew.ReturnsRecords = " + vbBool(query.ReturnsRecords()));
    }
    lines.push_back(std::move(create));
    lines.push_back("'Named query is automatically appended to the queries collection");
    lines.push_back("'");
    return lines;
}

std::vector<std::string> relationLines(const jet::Relation& relation) {
    std::vector<std::string> lines;
    lines.push_back("Set relNew = DB.CreateRelation(" + vbQuoted(relation.Name()) + ", " + vbQuoted(relation.Table()) +
                    ", " + vbQuoted(relation.ForeignTable()) + ")");
    for (const auto& field : relation.Fields()) {
        lines.push_back("relNew.Fields.Append relNew.CreateField(" + vbQuoted(field->Name()) + ")");
        lines.push_back(relationFieldReference(field->Name()) + ".ForeignName = " + vbQuoted(field->ForeignName()));
    }
    lines.push_back("relNew.Attributes = " + std::to_string(relation.Attributes()));
    lines.push_back("'relNew.Fields![" + relation.Name() + "].PartialReplica = " + vbBool(relation.PartialReplica()) +
                    "   'Not sure about this one yet");
    lines.push_back("Db.Relations.Append relNew");
    lines.push_back("'");
    return lines;
}

std::vector<std::string> moduleLines(CodeStyle style, const std::vector<std::string>& entries,
                                     const SourceDatabase& source, const std::string& sDbPath,
                                     const std::string& created, const std::function<void()>& betweenItems,
                                     std::vector<listing::LeftOut>* notCreated) {
    std::vector<std::string> lines =
        style == CodeStyle::StandAlone ? standAloneHeader(sDbPath, created) : projectHeader(created);
    const listing::TargetPlan plan(listing::Target::Module, entries, source.tables);
    ModuleVisitor visitor(lines, plan, notCreated);
    walkStructure(entries, source, visitor, betweenItems);
    return lines;
}

}  // namespace codegen
