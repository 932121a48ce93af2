#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <map>

#include "engine/queries/corpus_queries.h"
#include "jet/error.h"
#include "support/corpus.h"

using namespace qtest;

namespace {

// Where we believe Access writes the text differently from the reference
// reader, the reference is corrected before comparing. Each entry is a
// fragment of one file's query text and what Access shows instead.
struct Correction {
    std::string file;   // below corpus/, "" for every file
    std::string query;  // "" for every query
    std::string from;
    std::string to;
};

const std::vector<Correction> kAccessDiffers = {
    // Parameter names are bracketed when they need it, form references part
    // by part; the reference writes them bare.
    {"", "UpdateQuery", "PARAMETERS User Name Text", "PARAMETERS [User Name] Text"},
    {"real/nwind-jet3.mdb", "Employee Sales by Country", "Beginning Date DateTime, Ending Date DateTime",
     "[Beginning Date] DateTime, [Ending Date] DateTime"},
    {"real/nwind-jet3.mdb", "Sales by Year", "Forms!Sales by Year Dialog!BeginningDate",
     "[Forms]![Sales by Year Dialog]![BeginningDate]"},
    {"real/nwind-jet3.mdb", "Sales by Year", "Forms!Sales by Year Dialog!EndingDate",
     "[Forms]![Sales by Year Dialog]![EndingDate]"},
    // A reserved word as alias is bracketed.
    {"real/nwind-jet3.mdb", "Sales by Year", "AS Year\r\n", "AS [Year]\r\n"},
    // The reference drops TOP when DISTINCTROW is set.
    {"real/nwind-jet3.mdb", "Ten Most Expensive Products", "DISTINCTROW Products", "DISTINCTROW TOP 10 Products"},
    // Access 2000 and later write a Text parameter's length with blanks.
    {"real/northwind-small-jet4.mdb", "", "Text(255)", "Text ( 255 )"},
    // Letters beyond ASCII need no brackets.
    {"V2007/odbcLinkerTestV2007.accdb", "", "FROM [Handläggare]", "FROM Handläggare"},
    {"V2007/odbcLinkerTestV2007.accdb", "", "FROM [AdminÖppet]", "FROM AdminÖppet"},
    {"V2007/odbcLinkerTestV2007.accdb", "", "FROM [Länder]", "FROM Länder"},
    {"V2007/odbcLinkerTestV2007.accdb", "", "[RapportEngSökQuery]", "RapportEngSökQuery"},
};

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// DAO's text from the reference's: the final line end it leaves off,
// stored texts without their NUL.
std::string daoText(const ReferenceQuery& ref) {
    std::string sql = ref.sql.value_or("");
    sql.erase(std::remove(sql.begin(), sql.end(), '\0'), sql.end());
    if (ref.typeCode != jet::queries::dbQDDL && ref.typeCode != jet::queries::dbQSQLPassThrough) sql += "\r\n";
    return sql;
}

std::string accessText(const std::string& file, const ReferenceQuery& ref) {
    std::string sql = daoText(ref);
    for (const Correction& c : kAccessDiffers)
        if ((c.file.empty() || c.file == file) && (c.query.empty() || c.query == ref.name)) replaceAll(sql, c.from, c.to);
    return sql;
}

}  // namespace

TEST(QuerySqlCorpus, EveryCorpusQueryReadsAsAccessShowsIt) {
    STRUX_REQUIRE_CORPUS();
    if (!std::filesystem::is_directory(testsupport::corpusDir().parent_path() / "corpus-reference"))
        GTEST_SKIP() << "no corpus-reference folder";
    if (!haveMdbExport()) GTEST_SKIP() << "mdb-export (mdbtools) is not installed";

    int total = 0, sameAsReference = 0, sameAsAccess = 0;
    for (const auto& database : testsupport::corpusDatabases()) {
        const std::string file = std::filesystem::relative(database, testsupport::corpusDir()).generic_string();
        const auto references = referenceQueries(testsupport::referenceReading(database));
        if (references.empty()) continue;

        std::map<std::string, CorpusQuery> ours;
        for (auto& q : corpusQueries(database)) ours[q.name] = std::move(q);
        for (const ReferenceQuery& ref : references) {
            ++total;
            auto it = ours.find(ref.name);
            if (it == ours.end()) {
                ADD_FAILURE() << file << ": no rows for query " << ref.name;
                continue;
            }
            try {
                auto q = jet::queries::rebuildQuery(it->second.rows, it->second.catalogFlags);
                EXPECT_EQ(q.type, ref.typeCode) << file << " :: " << ref.name;
                sameAsReference += q.sql == daoText(ref);
                sameAsAccess += q.sql == accessText(file, ref);
                EXPECT_EQ(q.sql, accessText(file, ref)) << file << " :: " << ref.name;
            } catch (const jet::Error& e) {
                ADD_FAILURE() << file << " :: " << ref.name << ": error " << e.number() << " " << e.context();
            }
        }
    }
    std::cout << "[ corpus   ] " << total << " queries: " << sameAsReference << " as the reference reads them, "
              << sameAsAccess << " as Access shows them\n";
    EXPECT_GT(total, 100);
}

TEST(QuerySqlCorpus, NorthwindOutputFields) {
    STRUX_REQUIRE_CORPUS();
    if (!haveMdbExport()) GTEST_SKIP() << "mdb-export (mdbtools) is not installed";
    std::map<std::string, std::vector<std::string>> fields;
    for (const auto& q : corpusQueries(testsupport::corpusFile("real/nwind-jet3.mdb")))
        fields[q.name] = jet::queries::rebuildQuery(q.rows, q.catalogFlags).outputFields;
    ASSERT_EQ(fields.size(), 22u);
    using Names = std::vector<std::string>;
    EXPECT_EQ(fields["Quarterly Orders by Product"],
              (Names{"ProductName", "CustomerID", "OrderYear", "Qtr 1", "Qtr 2", "Qtr 3", "Qtr 4"}));
    EXPECT_EQ(fields["Customers and Suppliers by City"], (Names{"City", "CompanyName", "ContactName", "Relationship"}));
    EXPECT_EQ(fields["Sales by Year"], (Names{"ShippedDate", "OrderID", "Subtotal", "Year"}));
    const Names& invoices = fields["Invoices"];
    ASSERT_EQ(invoices.size(), 26u);
    EXPECT_EQ(invoices[7], "Customers.CompanyName");
    EXPECT_EQ(invoices[18], "Shippers.CompanyName");
    EXPECT_EQ(invoices[24], "ExtendedPrice");
}
