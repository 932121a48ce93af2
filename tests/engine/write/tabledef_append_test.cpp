// TableDefs.Append: every field type the format stores, field and index
// settings as DAO reads them back, DAO's errors for bad definitions (with the
// file left byte for byte as it was), and the referee's view of the table.
#include <gtest/gtest.h>

#include "dao/database_impl.h"
#include "storage/table_definition.h"
#include "jet/dao.h"
#include "engine/write/write_support.h"
#include "support/planned_structure.h"

namespace {

using writetest::TempFolder;

std::unique_ptr<jet::Field> field(const jet::TableDef& t, const char* name, int type, long size = 0,
                                  long attributes = 0) {
    auto f = t.CreateField(name, type, size);
    if (attributes) f->SetAttributes(attributes);
    return f;
}

std::unique_ptr<jet::Index> index(const jet::TableDef& t, const char* name,
                                  std::initializer_list<std::pair<const char*, bool>> members) {
    auto ix = t.CreateIndex(name);
    for (auto [member, descending] : members) {
        auto f = ix->CreateField(member);
        if (descending) f->SetAttributes(jet::dbDescending);
        ix->Fields().Append(std::move(f));
    }
    return ix;
}

// A table with one field of each type.
testsupport::PlannedTable everyType(bool jet4) {
    testsupport::PlannedTable t{
        "Every Type",
        {{"Counter", jet::dbLong, 0, jet::dbAutoIncrField}, {"Flag", jet::dbBoolean}, {"Tiny", jet::dbByte},
         {"Small", jet::dbInteger, 0, 0, false, false, "0", ">=0", "Not negative"}, {"Money", jet::dbCurrency},
         {"Float", jet::dbSingle}, {"Real", jet::dbDouble}, {"When", jet::dbDate}, {"Raw", jet::dbBinary, 16},
         {"Name", jet::dbText, 40, 0, true, true}, {"Code", jet::dbText, 4, jet::dbFixedField},
         {"Picture", jet::dbLongBinary}, {"Notes", jet::dbMemo}, {"Link", jet::dbMemo, 0, jet::dbHyperlinkField},
         {"Guid", jet::dbGUID}},
        {{"PrimaryKey", {{"Counter", 0}}, true},
         {"ByName", {{"Name", 0}, {"When", jet::dbDescending}}, false, true, false, true},
         {"Small", {{"Small", 0}}, false, false, true}}};
    if (jet4) t.fields.push_back({"Exact", jet::dbDecimal});
    return t;
}

class AppendTest : public ::testing::TestWithParam<int> {
protected:
    bool jet4() const { return GetParam() == jet::dbVersion40; }
};

// One file: every type, a second table with names and text beyond ASCII
// (the code page in Jet 3, UCS-2 in Jet 4; the 64-character limit counts
// characters, not bytes), its permissions, and the referee's view.
TEST_P(AppendTest, EveryTypeNamesBeyondAsciiAndPermissionsReadBack) {
    TempFolder folder;
    const std::string path = folder.file("types.mdb");
    const std::string accented = "Tâche à faire", field = "Échéance", text = "Größe – 5 €", longest(63, 'x');
    {
        auto db = jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral, GetParam());
        testsupport::appendTable(*db, everyType(jet4()));
        // Appended at the end at once, usable before any Refresh.
        EXPECT_EQ(db->TableDefs()[db->TableDefs().Count() - 1].Name(), "Every Type");
        auto t = db->CreateTableDef(accented);
        t->Fields().Append(t->CreateField(field, jet::dbText, 20));
        t->Fields().Append(t->CreateField(longest + "é", jet::dbLong));  // 64 characters, 65 bytes
        db->TableDefs().Append(std::move(t));
        auto rs = db->OpenRecordset(accented);
        rs->AddNew();
        rs->SetValue(field, text);
        rs->Update();
    }
    auto db = jet::DBEngine().OpenDatabase(path);
    const jet::TableDef& t = db->TableDefs()["Every Type"];
    // Name, type, size and attributes (fixed 1, variable 2, auto 16,
    // hyperlink 32768) of each field.
    std::string fields;
    for (const auto& f : t.Fields())
        fields += f->Name() + " " + std::to_string(f->Type()) + " " + std::to_string(f->Size()) + " " +
                  std::to_string(f->Attributes() & ~jet::dbUpdatableField) + ", ";
    EXPECT_EQ(fields, std::string("Counter 4 4 17, Flag 1 1 1, Tiny 2 1 1, Small 3 2 1, Money 5 8 1, Float 6 4 1, "
                                  "Real 7 8 1, When 8 8 1, Raw 9 16 2, Name 10 40 2, Code 10 4 1, Picture 11 0 2, "
                                  "Notes 12 0 2, Link 12 0 32770, Guid 15 16 1, ") +
                          (jet4() ? "Exact 20 16 1, " : ""));
    // Text and memo columns carry the sort order (and in Jet 3 the code
    // page) of their text, as Access writes them; the others carry none.
    namespace ct = jet::storage::coltype;
    const auto stored = jet::storage::readTableDefinition(
        *db->impl().file, db->impl().tdefPages[static_cast<std::size_t>(db->TableDefs().indexOf("Every Type"))]);
    for (const auto& c : stored.columns) {
        const bool textual = c.type == ct::kText || c.type == ct::kMemo;
        EXPECT_EQ(c.sortOrder != 0, textual) << c.name;
        EXPECT_EQ(c.codePage != 0, textual && !jet4()) << c.name;
    }
    const jet::Field& small = t.Fields()["Small"];
    EXPECT_EQ(small.DefaultValue() + " " + small.ValidationRule() + " " + small.ValidationText(), "0 >=0 Not negative");
    EXPECT_TRUE(t.Fields()["Name"].Required() && t.Fields()["Name"].AllowZeroLength());
    EXPECT_FALSE(t.Fields()["Notes"].Required());

    std::string indexes;
    for (const auto& ix : t.Indexes())
        indexes += ix->Name() + " " + ix->FieldsText() + (ix->Primary() ? " primary" : "") +
                   (ix->Unique() ? " unique" : "") + (ix->IgnoreNulls() ? " ignore-nulls" : "") +
                   (ix->Required() ? " required" : "") + ", ";
    EXPECT_EQ(indexes, "PrimaryKey +Counter primary unique required, ByName +Name;-When unique ignore-nulls, "
                       "Small +Small required, ");
    EXPECT_EQ(db->OpenRecordset("Every Type")->RecordCount(), 0);

    const auto& second = db->TableDefs()[accented];
    EXPECT_EQ(second.Fields()[0].Name(), field);
    EXPECT_EQ(second.Fields()[1].Name(), longest + "é");
    EXPECT_EQ((*db->OpenRecordset(accented))[field], jet::Value(text));

    // A blank database grants what Access's blank grants on its containers;
    // each new table gets full rights for its creator and the Users group.
    const auto tableId = static_cast<std::int32_t>(db->impl().tdefPages.back());
    EXPECT_EQ(writetest::grantsOn(*db, 0x0F000001).size(), 3u);
    EXPECT_EQ(writetest::grantsOn(*db, tableId), std::vector<std::int32_t>(2, 1048319));
    db.reset();

    if (!writetest::haveMdbTools()) return;
    bool ok = false;
    EXPECT_EQ(writetest::run("mdb-tables -1 " + writetest::quoted(path), &ok), "Every Type\n" + accented + "\n");
    EXPECT_TRUE(ok);
    const std::string schema = writetest::run("mdb-schema --indexes " + writetest::quoted(path) + " postgres", &ok);
    EXPECT_TRUE(ok);
    for (const char* column : {"\"counter\"", "\"name\"", "\"code\"", "\"picture\"", "\"link\"", "\"guid\""})
        EXPECT_NE(schema.find(column), std::string::npos) << column << "\n" << schema;
    EXPECT_NE(schema.find("PRIMARY KEY (\"counter\")"), std::string::npos) << schema;
    EXPECT_NE(schema.find("CREATE UNIQUE INDEX \"every type_byname_idx\""), std::string::npos) << schema;
    // The header row of an empty table, and text beyond ASCII.
    EXPECT_EQ(writetest::run("mdb-export " + writetest::quoted(path) + " 'Every Type'", &ok).substr(0, 16), "Counter,Flag,Tin");
    EXPECT_NE(writetest::run("mdb-export " + writetest::quoted(path) + " " + writetest::quoted(accented)).find(text),
              std::string::npos);
}

// Each bad definition fails with DAO's number, and the file stays as it was;
// a read-only database refuses any. Refresh lists the tables in name order.
TEST_P(AppendTest, BadDefinitionsChangeNothing) {
    TempFolder folder;
    const std::string path = folder.file("errors.mdb");
    auto db = jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral, GetParam());
    using writetest::errorOf;
    auto appendTable = [&](const std::string& name, auto fill) {
        auto t = db->CreateTableDef(name);
        fill(*t);
        db->TableDefs().Append(std::move(t));
    };
    auto oneField = [](jet::TableDef& t) { t.Fields().Append(field(t, "F", jet::dbLong)); };
    for (const char* name : {"Zeta", "alpha", "Mid_1"}) appendTable(name, oneField);
    const auto before = writetest::readFile(path);

    EXPECT_EQ(errorOf([&] { appendTable("zeta", oneField); }), 3010);
    EXPECT_EQ(errorOf([&] { appendTable("NoFields", [](jet::TableDef&) {}); }), 3264);
    for (const char* bad : {" Leading", "Dot.Name", "Bang!", "Back`tick", "[Bracket", "Bracket]", "Tab\tName", ""})
        EXPECT_EQ(errorOf([&] { appendTable(bad, oneField); }), 3125) << bad;
    EXPECT_EQ(errorOf([&] { appendTable(std::string(65, 'x'), oneField); }), 3125);
    // Jet 3 keeps names in the code page (1252 here): one outside it would
    // be stored as "?" and two such names would become one.
    if (!jet4()) {
        EXPECT_EQ(errorOf([&] { appendTable("Łódź", oneField); }), 3125);
        EXPECT_EQ(errorOf([&] { appendTable("Plain", [](jet::TableDef& x) { x.Fields().Append(field(x, "Ω", jet::dbLong)); }); }), 3125);
    }
    EXPECT_EQ(errorOf([&] { appendTable(std::string(64, 'x'), oneField); }), 0);  // the longest allowed
    const auto afterLongest = writetest::readFile(path);
    EXPECT_NE(afterLongest, before);

    // Field and index collections check on Append.
    auto t = db->CreateTableDef("Checks");
    t->Fields().Append(field(*t, "A", jet::dbText, 10));
    EXPECT_EQ(errorOf([&] { t->Fields().Append(field(*t, "a", jet::dbLong)); }), 3191);
    EXPECT_EQ(errorOf([&] { t->Fields().Append(field(*t, "Bad", 99)); }), 3259);
    EXPECT_EQ(errorOf([&] { t->Fields().Append(field(*t, "Bad.Name", jet::dbLong)); }), 3125);
    auto pk = index(*t, "PrimaryKey", {{"A", false}});
    pk->SetPrimary(true);
    t->Indexes().Append(std::move(pk));
    auto second = index(*t, "Other", {{"A", false}});
    second->SetPrimary(true);
    EXPECT_EQ(errorOf([&] { t->Indexes().Append(std::move(second)); }), 3283);
    EXPECT_EQ(errorOf([&] { t->Indexes().Append(index(*t, "primarykey", {{"A", false}})); }), 3284);
    EXPECT_EQ(errorOf([&] {
        auto ix = index(*t, "Twice", {{"A", false}});
        ix->Fields().Append(ix->CreateField("A"));
    }), 3191);

    // What only the table as a whole can tell.
    EXPECT_EQ(errorOf([&] {
        appendTable("UnknownMember", [](jet::TableDef& x) {
            x.Fields().Append(field(x, "A", jet::dbLong));
            x.Indexes().Append(index(x, "ByB", {{"B", false}}));
        });
    }), 3265);
    EXPECT_EQ(errorOf([&] {
        appendTable("EmptyIndex", [](jet::TableDef& x) {
            x.Fields().Append(field(x, "A", jet::dbLong));
            x.Indexes().Append(x.CreateIndex("Nothing"));
        });
    }), 3264);
    auto oneColumn = [&](const char* name, int type, long size = 0, long attributes = 0) {
        return errorOf([&] { appendTable(name, [&](jet::TableDef& x) { x.Fields().Append(field(x, "A", type, size, attributes)); }); });
    };
    EXPECT_EQ(oneColumn("AutoText", jet::dbText, 5, jet::dbAutoIncrField), 3259);
    EXPECT_EQ(oneColumn("LongText", jet::dbText, 256), 3259);
    if (!jet4()) EXPECT_EQ(oneColumn("Decimal3", jet::dbDecimal), 3259);

    EXPECT_EQ(writetest::readFile(path), afterLongest);
    db->TableDefs().Refresh();
    std::vector<std::string> names;
    for (const auto& table : db->TableDefs())
        if (table->Name().rfind("MSys", 0) != 0) names.push_back(table->Name());
    EXPECT_EQ(names, (std::vector<std::string>{"alpha", "Mid_1", std::string(64, 'x'), "Zeta"}));
    EXPECT_EQ(db->TableDefs().Count(), 8);  // and the four system tables

    db.reset();
    auto readOnly = jet::DBEngine().OpenDatabase(path, false, true);
    auto t3 = readOnly->CreateTableDef("T");
    oneField(*t3);
    EXPECT_EQ(errorOf([&] { readOnly->TableDefs().Append(std::move(t3)); }), 3027);
}

INSTANTIATE_TEST_SUITE_P(Versions, AppendTest, ::testing::Values(0, static_cast<int>(jet::dbVersion40)),
                         [](const auto& info) { return std::string(info.param ? "Jet4" : "Jet3"); });

}  // namespace

