#include "diff/structure_diff.h"

#include <algorithm>
#include <cctype>

#include "jet/dao.h"
#include "listing/structure_listing.h"
#include "structure_texts.h"

namespace diff {

namespace {

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string yesNo(bool flag) { return flag ? "yes" : "no"; }

// A relation's field pairs, primary = foreign: "A=X;B=Y".
std::string relationFields(const jet::Relation& relation) {
    std::string text;
    for (const auto& field : relation.Fields()) {
        if (!text.empty()) text += ";";
        text += field->Name() + "=" + field->ForeignName();
    }
    return text;
}

// A saved query's PARAMETERS declaration, and the rest of its SQL.
std::pair<std::string, std::string> splitParameters(const std::string& sql) {
    if (sql.rfind("PARAMETERS ", 0) != 0) return {"", sql};
    const auto end = sql.find(";\r\n");
    if (end == std::string::npos) return {sql, ""};
    return {sql.substr(0, end + 1), sql.substr(end + 3)};
}

bool isSystemTable(const jet::TableDef& table) { return !listing::isListedTable(table); }

class Comparer {
public:
    Comparer(const DiffOptions& options, std::vector<Difference>& out) : options_(options), out_(out) {}

    void database(jet::Database& a, jet::Database& b) {
        value("version", a.Version(), b.Version());
        value("collating order", std::to_string(a.CollatingOrder()), std::to_string(b.CollatingOrder()));
        value("code page", std::to_string(a.CodePage()), std::to_string(b.CodePage()));
        description("description", cli::descriptionOf(a.Properties()), cli::descriptionOf(b.Properties()));
    }

    void tables(const jet::Collection<jet::TableDef>& a, const jet::Collection<jet::TableDef>& b) {
        auto wanted = [&](const jet::TableDef& t) { return options_.system || !isSystemTable(t); };
        pairUp(a, b, "table", wanted, [&](const jet::TableDef& x, const jet::TableDef& y) { table(x, y); });
    }

    // Relations between system tables (Access's navigation pane keeps
    // some) go with those tables under --no-system.
    void relations(jet::Database& dbA, jet::Database& dbB) {
        auto systemTable = [&](const std::string& name) {
            for (jet::Database* db : {&dbA, &dbB})
                if (const jet::TableDef* table = db->TableDefs().find(name); table && isSystemTable(*table)) return true;
            return false;
        };
        auto wanted = [&](const jet::Relation& r) {
            return options_.system || !(systemTable(r.Table()) || systemTable(r.ForeignTable()));
        };
        pairUp(dbA.Relations(), dbB.Relations(), "relation", wanted,
               [&](const jet::Relation& x, const jet::Relation& y) {
                   name(x.Name(), y.Name());
                   reference("table", x.Table(), y.Table());
                   reference("foreign table", x.ForeignTable(), y.ForeignTable());
                   reference("fields", relationFields(x), relationFields(y));
                   value("attributes", std::to_string(x.Attributes()), std::to_string(y.Attributes()));
               });
    }

    void queries(const jet::Collection<jet::QueryDef>& a, const jet::Collection<jet::QueryDef>& b) {
        auto wanted = [&](const jet::QueryDef& q) { return options_.system || listing::isListedQuery(q); };
        pairUp(a, b, "query", wanted, [&](const jet::QueryDef& x, const jet::QueryDef& y) {
            name(x.Name(), y.Name());
            description("damage", x.Damage(), y.Damage());
            value("type", std::to_string(x.Type()), std::to_string(y.Type()));
            const auto [xParameters, xSql] = splitParameters(x.SQL());
            const auto [yParameters, ySql] = splitParameters(y.SQL());
            description("parameters", xParameters, yParameters);
            description("SQL", xSql, ySql);
            description("connect", x.Connect(), y.Connect());
        });
    }

private:
    void table(const jet::TableDef& a, const jet::TableDef& b) {
        name(a.Name(), b.Name());
        // A definition that could not be read has no fields to compare: its
        // damage is the difference, not every field gone.
        description("damage", a.Damage(), b.Damage());
        if (!a.Damage().empty() || !b.Damage().empty()) return;
        description("description", cli::descriptionOf(a.Properties()), cli::descriptionOf(b.Properties()));
        description("link", a.Connect(), b.Connect());
        text("source table", a.SourceTableName(), b.SourceTableName());
        pairUp(a.Fields(), b.Fields(), "field", [](const jet::Field&) { return true; },
               [&](const jet::Field& x, const jet::Field& y) { field(x, y); });
        // The indexes Jet keeps for an enforced relation come and go with
        // it: the relation's own difference says it.
        pairUp(a.Indexes(), b.Indexes(), "index", [](const jet::Index& i) { return !i.Foreign(); },
               [&](const jet::Index& x, const jet::Index& y) {
                   name(x.Name(), y.Name());
                   reference("fields", x.FieldsText(), y.FieldsText());
                   value("primary", yesNo(x.Primary()), yesNo(y.Primary()));
                   value("unique", yesNo(x.Unique()), yesNo(y.Unique()));
                   value("required", yesNo(x.Required()), yesNo(y.Required()));
                   value("ignore nulls", yesNo(x.IgnoreNulls()), yesNo(y.IgnoreNulls()));
               });
    }

    void field(const jet::Field& a, const jet::Field& b) {
        name(a.Name(), b.Name());
        value("type", cli::fieldTypeWithSize(a), cli::fieldTypeWithSize(b));
        value("required", yesNo(a.Required()), yesNo(b.Required()));
        value("allow zero length", yesNo(a.AllowZeroLength()), yesNo(b.AllowZeroLength()));
        // A new type brings its own storage: fixed or variable follows from it.
        const long storage = a.Type() == b.Type() ? 0 : jet::dbFixedField | jet::dbVariableField;
        value("attributes", std::to_string(a.Attributes() & ~storage), std::to_string(b.Attributes() & ~storage));
        description("default value", a.DefaultValue(), b.DefaultValue());
        description("validation rule", a.ValidationRule(), b.ValidationRule());
        description("validation text", a.ValidationText(), b.ValidationText());
        description("description", cli::descriptionOf(a.Properties()), cli::descriptionOf(b.Properties()));
        if (options_.ordinal)
            value("ordinal position", std::to_string(a.OrdinalPosition()), std::to_string(b.OrdinalPosition()));
    }

    // A's items in A's order paired with B's of the same name, then the
    // items only B has in B's order.
    template <class T, class Wanted, class Compare>
    void pairUp(const jet::Collection<T>& a, const jet::Collection<T>& b, const char* kind, Wanted wanted,
                Compare compare) {
        for (const auto& item : a) {
            if (!wanted(*item)) continue;
            path_.emplace_back(kind, item->Name());
            const T* other = b.find(item->Name());
            if (other && wanted(*other)) compare(*item, *other);
            else report(Difference::Change::Removed, "", "", "");
            path_.pop_back();
        }
        for (const auto& item : b) {
            if (!wanted(*item)) continue;
            const T* other = a.find(item->Name());
            if (other && wanted(*other)) continue;
            path_.emplace_back(kind, item->Name());
            report(Difference::Change::Added, "", "", "");
            path_.pop_back();
        }
    }

    void name(const std::string& a, const std::string& b) {
        if (a != b && !options_.ignoreCase) report(Difference::Change::Changed, "name", a, b, Difference::Shown::Name);
    }

    // A value that is the same in every spelling: numbers, flags, types.
    void value(const char* property, const std::string& a, const std::string& b) {
        if (a != b) report(Difference::Change::Changed, property, a, b);
    }

    // Names of other objects (an index's fields, a relation's tables): a
    // change of their case is the named object's difference, said there.
    void reference(const char* property, const std::string& a, const std::string& b) {
        if (!equalIgnoringCase(a, b)) report(Difference::Change::Changed, property, a, b, Difference::Shown::Name);
    }

    // A name as a value (a linked table's source): its case counts unless
    // --ignore-case.
    void text(const char* property, const std::string& a, const std::string& b) {
        if (a == b || (options_.ignoreCase && equalIgnoringCase(a, b))) return;
        report(Difference::Change::Changed, property, a, b, Difference::Shown::Name);
    }

    // A free text, shown on one line.
    void description(const char* property, const std::string& a, const std::string& b) {
        if (a == b || (options_.ignoreCase && equalIgnoringCase(a, b))) return;
        report(Difference::Change::Changed, property, a, b, Difference::Shown::FreeText);
    }

    void report(Difference::Change change, std::string property, std::string from, std::string to,
                Difference::Shown shown = Difference::Shown::Value) {
        out_.push_back({path_, change, std::move(property), std::move(from), std::move(to), shown});
    }

    const DiffOptions& options_;
    std::vector<Difference>& out_;
    DiffPath path_;
};

}  // namespace

std::vector<Difference> compareStructures(jet::Database& a, jet::Database& b, const DiffOptions& options) {
    std::vector<Difference> differences;
    Comparer comparer(options, differences);
    comparer.database(a, b);
    comparer.tables(a.TableDefs(), b.TableDefs());
    comparer.relations(a, b);
    if (options.queries) comparer.queries(a.QueryDefs(), b.QueryDefs());
    return differences;
}

}  // namespace diff
