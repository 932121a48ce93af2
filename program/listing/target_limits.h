// What each output that recreates a database can make of it. The module,
// the empty copy and the report ask this one place, so that they leave out
// the same objects for the same reasons and name each of them: the module
// in a comment where the object would stand, the copy in its outcome, the
// report on the object's own listing.
#pragma once

#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "jet/dao.h"

namespace listing {

enum class Target {
    // The Visual Basic module as DAO 3.5 runs it: CreateDatabase with
    // dbLangGeneral and no version makes a Jet 3 database, so Jet 3's column
    // types; DAO links tables and stores pass-through queries itself.
    Module,
    // The empty copy, written by this program's engine in the format the
    // source calls for. The engine writes neither links nor pass-through
    // queries.
    Jet3Copy,
    Jet4Copy,
};

// An object an output does not make as the source has it, and why, in
// words for the user. `kind` is "table", "field", "index", "query",
// "relation", or "auto-number" for a field that is made but no longer fills
// itself in; `name` is "Table.Field" for a field, index or auto-number.
struct LeftOut {
    std::string kind;
    std::string name;
    std::string reason;
};

// A linked table: its fields and indexes are those of its source.
bool isLinked(const jet::TableDef& table);
// Where a linked table's rows are: `source "Orders" in C:\Data\Back.mdb`,
// or `source "dbo.Orders" through ODBC;DSN=...` for a connection string
// that names no database file.
std::string linkSource(const jet::TableDef& table);
// A field whose values ACE computes from an expression (its "Expression"
// property); the type the engine reports is that of the result.
bool isCalculated(const jet::Field& field);
// A GUID field that fills itself in (the default GenGUID()).
bool isGuidAutoNumber(const jet::Field& field);
bool isPassThrough(const jet::QueryDef& query);

// The decisions for one output over one database. `entries` is the listing
// the output walks (the tables it creates are the listed ones), `tables`
// the source's table definitions.
class TargetPlan {
public:
    TargetPlan(Target target, const std::vector<std::string>& entries, const jet::Collection<jet::TableDef>& tables);

    Target target() const { return target_; }

    // Each returns the object's LeftOut when the output does not make it.
    // A left-out table takes its fields and indexes with it unnamed; a
    // linked table the module links is not left out, but its indexes are
    // its source's and none are made.
    std::optional<LeftOut> table(const jet::TableDef& table) const;
    std::optional<LeftOut> field(const jet::TableDef& table, const jet::Field& field) const;
    std::optional<LeftOut> index(const jet::TableDef& table, const jet::Index& index) const;
    std::optional<LeftOut> query(const jet::QueryDef& query) const;
    std::optional<LeftOut> relation(const jet::Relation& relation) const;
    // A field that is made, but as a plain column without what fills it in.
    std::optional<LeftOut> autoNumber(const jet::TableDef& table, const jet::Field& field) const;

    // Whether the output makes the table of this name (a listed table not
    // left out).
    bool makesTable(const std::string& name) const;

private:
    bool holdsType(int type) const;
    std::string targetName() const;

    Target target_;
    const jet::Collection<jet::TableDef>& tables_;
    std::unordered_set<std::string> listed_;  // folded names of the listed tables
};

}  // namespace listing
