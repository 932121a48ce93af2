#include <gtest/gtest.h>

#include <functional>

#include "command.h"
#include "support/corpus.h"
#include "support/files.h"
#include "support/strux_command.h"
#include "support/planned_structure.h"
#include "support/temp_folder.h"

using testsupport::PlannedDatabase;
using testsupport::strux;

namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find('\n', start);
        result.push_back(text.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return result;
}

struct PlantedChange {
    const char* what;
    std::function<void(PlannedDatabase&)> change;  // made to B; A is ordersPlan()
    std::vector<std::string> expected;          // each the start of exactly one line
    std::vector<std::string> options = {};
    bool swapped = false;  // compare B with A: the change seen the other way
};

testsupport::PlannedField& field(PlannedDatabase& plan, const std::string& table, const std::string& name) {
    for (auto& f : plan.table(table).fields)
        if (f.name == name) return f;
    throw std::out_of_range(name);
}

testsupport::PlannedIndex& index(PlannedDatabase& plan, const std::string& table, const std::string& name) {
    for (auto& i : plan.table(table).indexes)
        if (i.name == name) return i;
    throw std::out_of_range(name);
}

const std::vector<PlantedChange>& plantedChanges() {
    using D = PlannedDatabase;
    static const std::vector<PlantedChange> cases{
        {"nothing", [](D&) {}, {}},
        {"table added", [](D& s) { s.tables.push_back({"Archive", {{"ID", jet::dbLong, 4}}}); }, {"table Archive: added"}},
        {"table removed", [](D& s) { s.tables.push_back({"Archive", {{"ID", jet::dbLong, 4}}}); },
         {"table Archive: removed"}, {}, true},
        {"field added", [](D& s) { s.table("Customers").fields.push_back({"Phone", jet::dbText, 20}); },
         {"table Customers / field Phone: added"}},
        {"field removed", [](D& s) { s.table("Customers").fields.push_back({"Phone", jet::dbText, 20}); },
         {"table Customers / field Phone: removed"}, {}, true},
        {"type", [](D& s) { field(s, "Orders", "ShipDate") = {"ShipDate", jet::dbText, 20}; },
         {"table Orders / field ShipDate: type Date/Time -> Text(20)"}},
        {"size", [](D& s) { field(s, "Customers", "Name").size = 60; },
         {"table Customers / field Name: type Text(50) -> Text(60)"}},
        {"required", [](D& s) { field(s, "Customers", "City").required = true; },
         {"table Customers / field City: required no -> yes"}},
        {"allow zero length", [](D& s) { field(s, "Customers", "Name").allowZeroLength = true; },
         {"table Customers / field Name: allow zero length no -> yes"}},
        {"attributes", [](D& s) { field(s, "Orders", "OrderID").attributes = 0; },
         {"table Orders / field OrderID: attributes "}},
        {"default value", [](D& s) { field(s, "Customers", "City").defaultValue = "\"Bern\""; },
         {"table Customers / field City: default value \"Basel\" -> \"Bern\""}},
        {"validation rule", [](D& s) { field(s, "Orders", "Amount").validationRule = ">0"; },
         {"table Orders / field Amount: validation rule >=0 -> >0"}},
        {"validation text", [](D& s) { field(s, "Orders", "Amount").validationText = ""; },
         {"table Orders / field Amount: validation text Not below zero -> (none)"}},
        {"ordinal position",
         [](D& s) { std::swap(field(s, "Customers", "Name"), field(s, "Customers", "City")); },
         {"table Customers / field Name: ordinal position 1 -> 2", "table Customers / field City: ordinal position 2 -> 1"}},
        {"ordinal position ignored",
         [](D& s) { std::swap(field(s, "Customers", "Name"), field(s, "Customers", "City")); }, {}, {"--ignore", "ordinal"}},
        {"index added", [](D& s) { s.table("Orders").indexes.push_back({"ByCustomer", {{"CustomerID", 0}}}); },
         {"table Orders / index ByCustomer: added"}},
        {"index members", [](D& s) { index(s, "Customers", "ByName").members = {{"Name", 0}}; },
         {"table Customers / index ByName: fields +Name;-City -> +Name"}},
        {"index order", [](D& s) { index(s, "Customers", "ByName").members[1].second = 0; },
         {"table Customers / index ByName: fields +Name;-City -> +Name;+City"}},
        {"index primary", [](D& s) { index(s, "Orders", "PrimaryKey").primary = false; },
         {"table Orders / index PrimaryKey: primary yes -> no"}},
        {"index unique", [](D& s) { index(s, "Customers", "ByName").unique = false; },
         {"table Customers / index ByName: unique yes -> no"}},
        {"index required", [](D& s) { index(s, "Orders", "ShipDate").required = true; },
         {"table Orders / index ShipDate: required no -> yes"}},
        {"index ignore nulls", [](D& s) { index(s, "Orders", "ShipDate").ignoreNulls = true; },
         {"table Orders / index ShipDate: ignore nulls no -> yes"}},
        // The foreign-key index Jet keeps for the relation goes with it unsaid.
        {"relation removed", [](D& s) { s.relations.clear(); }, {"relation CustomersOrders: removed"}},
        {"relation attributes", [](D& s) { s.relations[0].attributes = jet::dbRelationUpdateCascade; },
         {"relation CustomersOrders: attributes 4352 -> 256"}},
        {"relation fields",
         [](D& s) {
             s.table("Orders").fields.push_back({"BuyerID", jet::dbLong, 4});
             s.relations[0].fields = {{"CustomerID", "BuyerID"}};
         },
         {"table Orders / field BuyerID: added", "relation CustomersOrders: fields CustomerID=CustomerID -> CustomerID=BuyerID"}},
        {"query SQL", [](D& s) { s.queries[0].sql = "SELECT Orders.OrderID, Orders.Amount FROM Orders WHERE Orders.Amount > 200;"; },
         {"query Big Orders: SQL SELECT Orders.OrderID, Orders.Amount FROM Orders WHERE Orders.Amount > 100; -> "
          "SELECT Orders.OrderID, Orders.Amount FROM Orders WHERE Orders.Amount > 200;"}},
        {"query parameters",
         [](D& s) {
             s.queries[0].sql =
                 "PARAMETERS Least Currency; SELECT Orders.OrderID, Orders.Amount FROM Orders WHERE Orders.Amount > 100;";
         },
         {"query Big Orders: parameters (none) -> PARAMETERS Least Currency;"}},
        {"query type", [](D& s) { s.queries[0].sql = "DELETE Orders.* FROM Orders WHERE Orders.Amount > 100;"; },
         {"query Big Orders: type 0 -> 32", "query Big Orders: SQL "}},
        {"query added", [](D& s) { s.queries.push_back({"All Orders", "SELECT * FROM Orders;"}); },
         {"query All Orders: added"}},
        {"queries left out", [](D& s) { s.queries.clear(); }, {}, {"--no-queries"}},
        {"name case", [](D& s) { s.table("Customers").name = "customers"; },
         {"table Customers: name Customers -> customers"}},
        {"name case ignored",
         [](D& s) {
             s.table("Customers").name = "customers";
             field(s, "Orders", "Amount").validationRule = ">=0 AND <1E6";
             s.queries[0].sql = "select Orders.OrderID, Orders.Amount from Orders where Orders.Amount > 100;";
         },
         {"table Orders / field Amount: validation rule"}, {"--ignore-case"}},
        {"database version", [](D& s) { s.version = jet::dbVersion30; },
         {"database: version 4.0 -> 3.0", "database: code page 1200 -> 1252"}, {"--no-system"}},
        {"system tables", [](D& s) { s.version = jet::dbVersion30; },
         {"database: version 4.0 -> 3.0", "database: code page 1200 -> 1252", "table MSys"}},
    };
    return cases;
}

}  // namespace

// Each planted change is reported once, by exactly its line, and the status
// says whether anything differs.
TEST(StruxDiff, ReportsEachPlantedChangeOnce) {
    testsupport::TempFolder folder;
    const std::string a = folder / "a.mdb";
    testsupport::writeDatabase(testsupport::ordersPlan(), a);
    int n = 0;
    for (const auto& planted : plantedChanges()) {
        SCOPED_TRACE(planted.what);
        PlannedDatabase plan = testsupport::ordersPlan();
        planted.change(plan);
        const std::string b = folder / ("b" + std::to_string(n++) + ".mdb");
        testsupport::writeDatabase(plan, b);
        std::vector<std::string> args{"diff"};
        args.insert(args.end(), planted.options.begin(), planted.options.end());
        args.push_back(planted.swapped ? b : a);
        args.push_back(planted.swapped ? a : b);
        const auto run = strux(args);
        EXPECT_EQ(run.status, planted.expected.empty() ? 0 : 1) << run.err << run.out;
        const auto reported = lines(run.out);
        const bool open = planted.expected.size() && planted.expected.back() == "table MSys";
        if (!open) EXPECT_EQ(reported.size(), planted.expected.size()) << run.out;
        for (const auto& expected : planted.expected) {
            const auto count = std::count_if(reported.begin(), reported.end(),
                                             [&](const std::string& line) { return line.rfind(expected, 0) == 0; });
            if (open && expected == "table MSys") EXPECT_GT(count, 0) << run.out;
            else EXPECT_EQ(count, 1) << expected << "\n" << run.out;
        }
    }
}

TEST(StruxDiff, JsonNamesThePathAndBothValues) {
    testsupport::TempFolder folder;
    PlannedDatabase plan = testsupport::ordersPlan();
    testsupport::writeDatabase(plan, folder / "a.mdb");
    plan.table("Orders").fields[2] = {"ShipDate", jet::dbText, 20};
    testsupport::writeDatabase(plan, folder / "b.mdb");
    const auto run = strux({"diff", "--json", folder / "a.mdb", folder / "b.mdb"});
    EXPECT_EQ(run.status, 1) << run.err;
    for (const char* part : {"\"equal\": false", "\"kind\": \"table\"", "\"name\": \"Orders\"", "\"kind\": \"field\"",
                             "\"name\": \"ShipDate\"", "\"change\": \"changed\"", "\"property\": \"type\"",
                             "\"from\": \"Date/Time\"", "\"to\": \"Text(20)\""})
        EXPECT_NE(run.out.find(part), std::string::npos) << part << "\n" << run.out;
}

// 1 means "different": a database that cannot be read, a wrong command line
// and an output that cannot be written are all 2, with nothing on stdout.
TEST(StruxDiff, FailuresExitWithTwo) {
    testsupport::TempFolder folder;
    testsupport::writeDatabase(testsupport::ordersPlan(), folder / "a.mdb");
    testsupport::writeFile(folder / "foreign.mdb", std::string(4096, 'x'));
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"diff", folder / "a.mdb"},
             {"diff", folder / "a.mdb", folder / "missing.mdb"},
             {"diff", folder / "a.mdb", folder / "foreign.mdb"},
             {"diff", folder / "a.mdb", folder.path().string()},
             {"diff", "--ignore", "sizes", folder / "a.mdb", folder / "a.mdb"}}) {
        const auto run = strux(args);
        EXPECT_EQ(run.status, 2) << args.back() << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
}

// Every corpus file equals itself, and differs from its empty copy only in
// what the copy names as left out and in what an empty copy does not carry
// by its design (defaults, validation, descriptions; an ACE
// file's version, as the copy is Jet 4).
TEST(StruxDiff, CorpusFilesAgainstThemselvesAndTheirCopies) {
    STRUX_REQUIRE_CORPUS();
    testsupport::TempFolder folder;
    const std::string copy = folder / "copy.mdb";
    for (const auto& database : testsupport::corpusDatabases()) {
        SCOPED_TRACE(testsupport::corpusName(database));
        const auto same = strux({"diff", database.string(), database.string()});
        EXPECT_EQ(same.status, 0) << same.err << same.out;
        EXPECT_TRUE(same.out.empty());

        const auto copied = strux({"copy", database.string(), "-o", copy, "--force"});
        if (copied.status != 0) continue;  // the copy's own tests cover its refusals
        std::vector<std::string> leftOut;    // "table X", "field T.F", ...
        for (const auto& line : lines(copied.err)) {
            const auto open = line.find(" \""), close = line.find("\":");
            if (line.rfind("strux copy: not copied: ", 0) == 0 && open != std::string::npos && close != std::string::npos)
                leftOut.push_back(line.substr(24, open - 24) + " " + line.substr(open + 2, close - open - 2));
        }
        auto named = [&](const std::string& what) { return std::find(leftOut.begin(), leftOut.end(), what) != leftOut.end(); };
        auto tableLosesFields = [&](const std::string& table) {
            return std::any_of(leftOut.begin(), leftOut.end(),
                               [&](const std::string& item) { return item.rfind("field " + table + ".", 0) == 0; });
        };
        const auto diff = strux({"diff", "--no-system", database.string(), copy});
        EXPECT_NE(diff.status, 2) << diff.err;
        for (const auto& line : lines(diff.out)) {
            static const char* const notCarried[] = {": default value ", ": validation rule ", ": validation text ",
                                                     ": description "};
            if (std::any_of(std::begin(notCarried), std::end(notCarried),
                            [&](const char* p) { return line.find(p) != std::string::npos; }))
                continue;
            if (line.rfind("database: version 1", 0) == 0 && line.size() > 6 && line.substr(line.size() - 6) == "-> 4.0") continue;
            // table T / field F: removed; table T / index I: removed; relation R: removed; query Q: removed
            const auto slash = line.find(" / ");
            const auto colon = line.rfind(": ");
            std::string first = line.substr(0, slash == std::string::npos ? colon : slash);
            const std::string tableName = first.rfind("table ", 0) == 0 ? first.substr(6) : "";
            if (named(first)) continue;
            if (slash != std::string::npos) {
                const std::string inner = line.substr(slash + 3, colon - slash - 3);
                const std::string kind = inner.substr(0, inner.find(' ')), name = inner.substr(inner.find(' ') + 1);
                if (named(kind + " " + tableName + "." + name)) continue;
                // What follows a left-out field: its indexes and the later fields' places.
                if (tableLosesFields(tableName) &&
                    (line.find(": ordinal position ") != std::string::npos || (kind == "index" && line.find(": removed") != std::string::npos)))
                    continue;
                // The copy writes a number column fixed whatever its source said.
                if (line.find(": attributes 2 -> 1") != std::string::npos) continue;
            }
            if (first.rfind("relation ", 0) == 0 && line.find(": removed") != std::string::npos) {
                // A relation goes with its left-out table.
                bool withTable = false;
                for (const auto& item : leftOut) withTable |= item.rfind("table ", 0) == 0;
                if (withTable) continue;
            }
            ADD_FAILURE() << "not named as left out: " << line << "\n" << copied.err;
        }
    }
}
