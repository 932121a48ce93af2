#include "listing/target_limits.h"

#include "listing/structure_listing.h"

namespace listing {

namespace {

// Jet compares names without regard to the case of ASCII letters.
std::string folded(std::string name) {
    for (char& c : name)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return name;
}

// The value of `key` ("DATABASE", "DSN") in a connection string of
// "key=value" parts separated by ";"; "" when it has none.
std::string connectPart(const std::string& connect, const std::string& key) {
    const std::string wanted = folded(key) + "=";
    std::size_t start = 0;
    while (start <= connect.size()) {
        std::size_t end = connect.find(';', start);
        if (end == std::string::npos) end = connect.size();
        const std::string part = connect.substr(start, end - start);
        if (folded(part.substr(0, wanted.size())) == wanted) return part.substr(wanted.size());
        start = end + 1;
    }
    return {};
}

// What a field of this type is, for a reason the user reads.
std::string typeDescription(int type) {
    switch (type) {
        case jet::dbAttachment: return "an attachment field";
        case jet::dbComplexByte: case jet::dbComplexInteger: case jet::dbComplexLong: case jet::dbComplexSingle:
        case jet::dbComplexDouble: case jet::dbComplexGUID: case jet::dbComplexDecimal: case jet::dbComplexText:
            return "a multi-valued field";
        case jet::dbBigInt: return "a large number field";
        case jet::dbTimeStamp: return "an extended date/time field";
        case jet::dbDecimal: return "a decimal field";
        default: return "a field of a type unknown to this program (" + std::to_string(type) + ")";
    }
}

}  // namespace

bool isLinked(const jet::TableDef& table) {
    return (table.Attributes() & (jet::dbAttachedTable | jet::dbAttachedODBC)) != 0 || !table.Connect().empty();
}

std::string linkSource(const jet::TableDef& table) {
    const std::string source = "source \"" + table.SourceTableName() + "\"";
    const std::string& connect = table.Connect();
    // An ODBC string's DATABASE names a database on the server, not a file;
    // its password is not repeated.
    if (folded(connect.substr(0, 5)) == "odbc;") {
        const std::string dsn = connectPart(connect, "DSN");
        return source + " through ODBC" + (dsn.empty() ? "" : " DSN " + dsn);
    }
    const std::string file = connectPart(connect, "DATABASE");
    return source + (file.empty() ? "" : " in " + file);
}

bool isCalculated(const jet::Field& field) { return field.Properties().find("Expression") != nullptr; }

bool isGuidAutoNumber(const jet::Field& field) {
    return field.Type() == jet::dbGUID && folded(field.DefaultValue()) == "genguid()";
}

bool isPassThrough(const jet::QueryDef& query) { return query.Type() == jet::dbQSQLPassThrough; }

TargetPlan::TargetPlan(Target target, const std::vector<std::string>& entries,
                       const jet::Collection<jet::TableDef>& tables)
    : target_(target), tables_(tables) {
    for (const auto& entry : entries)
        if (entryKind(entry) == EntryKind::Table) listed_.insert(folded(entryName(entry)));
}

// The column types of Jet 3 as DAO 3.5 creates them; the copy's engine
// also takes VarBinary and Char (as binary and fixed text), and Jet 4 has
// Decimal. ACE's attachment, multi-valued, large number and extended date
// columns exist in no format the outputs write.
bool TargetPlan::holdsType(int type) const {
    switch (type) {
        case jet::dbBoolean: case jet::dbByte: case jet::dbInteger: case jet::dbLong: case jet::dbCurrency:
        case jet::dbSingle: case jet::dbDouble: case jet::dbDate: case jet::dbBinary: case jet::dbText:
        case jet::dbLongBinary: case jet::dbMemo: case jet::dbGUID:
            return true;
        case jet::dbVarBinary: case jet::dbChar:
            return target_ != Target::Module;
        case jet::dbDecimal:
            return target_ == Target::Jet4Copy;
        default:
            return false;
    }
}

std::string TargetPlan::targetName() const {
    switch (target_) {
        case Target::Module: return "a Jet 3 database made by DAO 3.5";
        case Target::Jet3Copy: return "a Jet 3 database";
        case Target::Jet4Copy: return "a Jet 4 database";
    }
    return {};
}

std::optional<LeftOut> TargetPlan::table(const jet::TableDef& table) const {
    // A definition that could not be read has no fields to recreate.
    if (!table.Damage().empty())
        return LeftOut{"table", table.Name(), "its definition could not be read (" + table.Damage() + ")"};
    if (isLinked(table)) {
        if (target_ == Target::Module) return std::nullopt;
        return LeftOut{"table", table.Name(), "a linked table, " + linkSource(table) + ": the copy holds no links"};
    }
    if (table.Fields().Count() == 0) return std::nullopt;
    for (const auto& field : table.Fields())
        if (!this->field(table, *field)) return std::nullopt;
    return LeftOut{"table", table.Name(), "none of its fields has a column in " + targetName()};
}

std::optional<LeftOut> TargetPlan::field(const jet::TableDef& table, const jet::Field& field) const {
    const std::string name = table.Name() + "." + field.Name();
    if (isCalculated(field)) {
        const jet::Property& expression = field.Properties()["Expression"];
        return LeftOut{"field", name,
                       "a calculated field (" + jet::valueToString(expression.Value()) + "): " + targetName() +
                           " has no calculated fields"};
    }
    if (!holdsType(field.Type()))
        return LeftOut{"field", name, typeDescription(field.Type()) + ": its type has no column in " + targetName()};
    return std::nullopt;
}

std::optional<LeftOut> TargetPlan::autoNumber(const jet::TableDef& table, const jet::Field& field) const {
    if (!isGuidAutoNumber(field) || this->field(table, field)) return std::nullopt;
    return LeftOut{"auto-number", table.Name() + "." + field.Name(),
                   "a GUID auto-number: made as a plain GUID column, without its GenGUID() default"};
}

std::optional<LeftOut> TargetPlan::index(const jet::TableDef& table, const jet::Index& index) const {
    for (const auto& member : index.Fields()) {
        // A member the table lacks is the engine's to refuse, as DAO would.
        const jet::Field* field = table.Fields().find(member->Name());
        if (field && this->field(table, *field))
            return LeftOut{"index", table.Name() + "." + index.Name(),
                           "its field '" + member->Name() + "' is not " +
                               (target_ == Target::Module ? "created" : "in the copy")};
    }
    return std::nullopt;
}

std::optional<LeftOut> TargetPlan::query(const jet::QueryDef& query) const {
    if (!query.Damage().empty())
        return LeftOut{"query", query.Name(), "its definition could not be read (" + query.Damage() + ")"};
    if (isPassThrough(query) && target_ != Target::Module)
        return LeftOut{"query", query.Name(), "a pass-through query: its text is for the server it connects to"};
    return std::nullopt;
}

bool TargetPlan::makesTable(const std::string& name) const {
    const jet::TableDef* table = tables_.find(name);
    return table && listed_.count(folded(table->Name())) && !this->table(*table);
}

std::optional<LeftOut> TargetPlan::relation(const jet::Relation& relation) const {
    const std::string absent = target_ == Target::Module ? "created" : "in the copy";
    for (const std::string& name : {relation.Table(), relation.ForeignTable()}) {
        if (!makesTable(name)) {
            const jet::TableDef* table = tables_.find(name);
            const bool system = table && !isListedTable(*table);
            return LeftOut{"relation", relation.Name(),
                           "its table '" + name + "' is not " + absent +
                               (system ? ": a system table, which Jet makes itself" : "")};
        }
    }
    for (const auto& member : relation.Fields()) {
        for (const auto& [tableName, fieldName] : {std::pair{relation.Table(), member->Name()},
                                                   std::pair{relation.ForeignTable(), member->ForeignName()}}) {
            const jet::TableDef& table = tables_[tableName];
            const jet::Field* field = table.Fields().find(fieldName);
            if (field && this->field(table, *field))
                return LeftOut{"relation", relation.Name(),
                               "its field '" + tableName + "." + fieldName + "' is not " + absent};
        }
    }
    const bool enforced = (relation.Attributes() & jet::dbRelationDontEnforce) == 0;
    if (enforced && (isLinked(tables_[relation.Table()]) || isLinked(tables_[relation.ForeignTable()])))
        return LeftOut{"relation", relation.Name(), "an enforced relation with a linked table, which Jet cannot enforce"};
    return std::nullopt;
}

}  // namespace listing
