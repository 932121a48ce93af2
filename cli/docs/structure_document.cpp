#include "docs/structure_document.h"

#include <cctype>
#include <map>
#include <set>

#include "jet/dao.h"
#include "listing/structure_listing.h"
#include "listing/target_limits.h"
#include "schema/view_sql.h"
#include "structure_texts.h"

namespace docs {

namespace {

const char* yesNo(bool flag) { return flag ? "Yes" : "No"; }

// The relation's attributes in words.
std::string relationKind(long attributes) {
    std::string words = (attributes & jet::dbRelationDontEnforce) ? "not enforced" : "enforced";
    if (attributes & jet::dbRelationUnique) words += ", one to one";
    if (attributes & jet::dbRelationUpdateCascade) words += ", cascading updates";
    if (attributes & jet::dbRelationDeleteCascade) words += ", cascading deletes";
    if (attributes & jet::dbRelationLeft) words += ", left join";
    if (attributes & jet::dbRelationRight) words += ", right join";
    return words;
}

// The attributes of a field in words, as the detail list decodes them.
std::string fieldAttributes(const jet::Field& field) {
    std::vector<std::string> words;
    const long a = field.Attributes();
    if (a & jet::dbFixedField) words.push_back("fixed length");
    if (a & jet::dbVariableField) words.push_back("variable length");
    if (a & jet::dbAutoIncrField) words.push_back("auto incrementing");
    if (a & jet::dbHyperlinkField) words.push_back("hyperlink");
    if (a & jet::dbSystemField) words.push_back("system");
    std::string text = std::to_string(a);
    for (std::size_t i = 0; i < words.size(); ++i) text += (i == 0 ? " (" : ", ") + words[i];
    return words.empty() ? text : text + ")";
}

class DocumentBuilder {
public:
    DocumentBuilder(jet::Database& db, const std::string& title) : db_(db) { document_.title = title; }

    Document build() {
        chooseObjects();
        heading(1, "", {{"Structure of " + document_.title, ""}});
        contents();
        database();
        if (!tables_.empty()) heading(2, "tables", {{"Tables", ""}});
        for (const jet::TableDef* table : tables_) tableSection(*table);
        if (!queries_.empty()) heading(2, "queries", {{"Queries", ""}});
        for (const jet::QueryDef* query : queries_) querySection(*query);
        if (db_.Relations().Count() > 0) heading(2, "relations", {{"Relations", ""}});
        for (const auto& relation : db_.Relations()) relationSection(*relation);
        return std::move(document_);
    }

private:
    // The listed objects, as the main window lists them, and each one's
    // anchor: the kind and the name's letters and digits, numbered where two
    // names give the same.
    void chooseObjects() {
        for (const auto& table : db_.TableDefs())
            if (listing::isListedTable(*table)) tables_.push_back(table.get());
        for (const auto& query : db_.QueryDefs())
            if (listing::isListedQuery(*query)) queries_.push_back(query.get());
        for (const jet::TableDef* table : tables_) anchors_["table\n" + schema::foldedName(table->Name())] = anchorFor("table", table->Name());
        for (const jet::QueryDef* query : queries_) anchors_["query\n" + schema::foldedName(query->Name())] = anchorFor("query", query->Name());
        for (const auto& relation : db_.Relations())
            anchors_["relation\n" + schema::foldedName(relation->Name())] = anchorFor("relation", relation->Name());
        for (const jet::TableDef* table : tables_) names_.add(table->Name());
        for (const jet::QueryDef* query : queries_) names_.add(query->Name());
    }

    std::string anchorFor(const std::string& kind, const std::string& name) {
        std::string anchor = kind + "-";
        for (unsigned char c : name) {
            if (std::isalnum(c)) anchor += static_cast<char>(std::tolower(c));
            else if (c >= 0x80) {
                static const char hex[] = "0123456789abcdef";
                anchor += hex[c >> 4];
                anchor += hex[c & 15];
            } else if (anchor.back() != '-') anchor += '-';
        }
        std::string unique = anchor;
        for (int n = 2; !usedAnchors_.insert(unique).second; ++n) unique = anchor + "-" + std::to_string(n);
        return unique;
    }

    Text link(const std::string& kind, const std::string& name) const {
        const auto found = anchors_.find(kind + "\n" + schema::foldedName(name));
        return {name, found == anchors_.end() ? "" : found->second};
    }

    // A table or query of this name, linked.
    Text objectLink(const std::string& name) const {
        Text table = link("table", name);
        return table.anchor.empty() ? link("query", name) : table;
    }

    void heading(int level, std::string anchor, Line line) {
        Block block;
        block.kind = Block::Kind::Heading;
        block.level = level;
        block.anchor = std::move(anchor);
        block.line = std::move(line);
        document_.blocks.push_back(std::move(block));
    }

    void paragraph(Line line) {
        Block block;
        block.kind = Block::Kind::Paragraph;
        block.line = std::move(line);
        document_.blocks.push_back(std::move(block));
    }

    void table(std::vector<std::string> header, std::vector<std::vector<Line>> rows) {
        Block block;
        block.kind = Block::Kind::Table;
        block.header = std::move(header);
        block.rows = std::move(rows);
        document_.blocks.push_back(std::move(block));
    }

    // "Label: a, b, c", each item one or more linked runs.
    void linkedList(const std::string& label, const std::vector<Line>& items) {
        if (items.empty()) return;
        Line line{{label + ": ", ""}};
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (i) line.push_back({", ", ""});
            line.insert(line.end(), items[i].begin(), items[i].end());
        }
        paragraph(std::move(line));
    }

    void contents() {
        Block list;
        list.kind = Block::Kind::List;
        list.items.push_back({0, {{"Database", "database"}}});
        if (!tables_.empty()) list.items.push_back({0, {{"Tables", "tables"}}});
        for (const jet::TableDef* t : tables_) list.items.push_back({1, {link("table", t->Name())}});
        if (!queries_.empty()) list.items.push_back({0, {{"Queries", "queries"}}});
        for (const jet::QueryDef* q : queries_) list.items.push_back({1, {link("query", q->Name())}});
        if (db_.Relations().Count() > 0) list.items.push_back({0, {{"Relations", "relations"}}});
        for (const auto& r : db_.Relations()) list.items.push_back({1, {link("relation", r->Name())}});
        heading(2, "contents", {{"Contents", ""}});
        document_.blocks.push_back(std::move(list));
    }

    void database() {
        heading(2, "database", {{"Database", ""}});
        std::vector<std::vector<Line>> rows{
            {{{"Version", ""}}, {{db_.Version(), ""}}},
            {{{"Collating order", ""}}, {{std::to_string(db_.CollatingOrder()), ""}}},
            {{{"Code page", ""}}, {{std::to_string(db_.CodePage()), ""}}},
            {{{"Tables", ""}}, {{std::to_string(tables_.size()), ""}}},
            {{{"Queries", ""}}, {{std::to_string(queries_.size()), ""}}},
            {{{"Relations", ""}}, {{std::to_string(db_.Relations().Count()), ""}}},
        };
        const std::string description = cli::descriptionOf(db_.Properties());
        if (!description.empty()) rows.push_back({{{"Description", ""}}, {{description, ""}}});
        table({"Property", "Value"}, std::move(rows));
    }

    void tableSection(const jet::TableDef& t) {
        const Text self = link("table", t.Name());
        heading(3, self.anchor, {{"Table " + t.Name(), ""}});
        if (const std::string d = cli::descriptionOf(t.Properties()); !d.empty()) paragraph({{d, ""}});
        if (listing::isLinked(t)) paragraph({{"Linked table: " + listing::linkSource(t), ""}});
        if (!t.Damage().empty()) paragraph({{"Its definition could not be read: " + t.Damage(), ""}});
        std::vector<std::vector<Line>> fields;
        for (const auto& f : t.Fields()) {
            fields.push_back({{{std::to_string(f->OrdinalPosition() + 1), ""}}, {{f->Name(), ""}},
                              {{cli::fieldTypeWithSize(*f), ""}}, {{std::to_string(f->Size()), ""}},
                              {{yesNo(f->Required()), ""}}, {{yesNo(f->AllowZeroLength()), ""}},
                              {{fieldAttributes(*f), ""}}, {{f->DefaultValue(), ""}}, {{f->ValidationRule(), ""}},
                              {{f->ValidationText(), ""}}, {{cli::descriptionOf(f->Properties()), ""}}});
        }
        if (!fields.empty())
            table({"#", "Field", "Type", "Size", "Required", "Zero length", "Attributes", "Default", "Validation rule",
                   "Validation text", "Description"},
                  std::move(fields));
        std::vector<std::vector<Line>> indexes;
        for (const auto& i : t.Indexes()) {
            Line name{{i->Name(), ""}};
            // Jet's index for an enforced relation is the relation's.
            if (i->Foreign()) name = {link("relation", i->Name())};
            indexes.push_back({name, {{i->FieldsText(), ""}}, {{yesNo(i->Primary()), ""}}, {{yesNo(i->Unique()), ""}},
                               {{yesNo(i->Required()), ""}}, {{yesNo(i->IgnoreNulls()), ""}}, {{yesNo(i->Foreign()), ""}}});
        }
        if (!indexes.empty())
            table({"Index", "Fields", "Primary", "Unique", "Required", "Ignore nulls", "Foreign"}, std::move(indexes));
        std::vector<Line> out, in, readers;
        for (const auto& r : db_.Relations()) {
            if (jet::namesEqual(r->ForeignTable(), t.Name()))
                out.push_back({objectLink(r->Table()), {" (", ""}, link("relation", r->Name()), {")", ""}});
            if (jet::namesEqual(r->Table(), t.Name()))
                in.push_back({objectLink(r->ForeignTable()), {" (", ""}, link("relation", r->Name()), {")", ""}});
        }
        for (const jet::QueryDef* q : queries_)
            if (reads(*q).count(schema::foldedName(t.Name()))) readers.push_back({link("query", q->Name())});
        linkedList("Refers to", out);
        linkedList("Referred to by", in);
        linkedList("Read by the queries", readers);
    }

    std::set<std::string> reads(const jet::QueryDef& query) {
        auto found = reads_.find(&query);
        if (found == reads_.end())
            found = reads_.emplace(&query, schema::translateSelect(schema::Dialect::Sqlite, query.SQL(), names_).namesRead).first;
        return found->second;
    }

    void querySection(const jet::QueryDef& q) {
        const Text self = link("query", q.Name());
        heading(3, self.anchor, {{"Query " + q.Name(), ""}});
        paragraph({{"Type: " + cli::queryTypeName(q.Type()), ""}});
        if (const std::string d = cli::descriptionOf(q.Properties()); !d.empty()) paragraph({{d, ""}});
        if (!q.Damage().empty()) paragraph({{"Its definition could not be read: " + q.Damage(), ""}});
        std::vector<Line> read;
        const std::set<std::string> names = reads(q);
        for (const jet::TableDef* t : tables_)
            if (names.count(schema::foldedName(t->Name()))) read.push_back({link("table", t->Name())});
        for (const jet::QueryDef* other : queries_)
            if (other != &q && names.count(schema::foldedName(other->Name()))) read.push_back({link("query", other->Name())});
        linkedList("Reads", read);
        std::string sql;
        for (std::size_t start = 0; start < q.SQL().size();) {
            auto end = q.SQL().find("\r\n", start);
            if (end == std::string::npos) end = q.SQL().size();
            sql += q.SQL().substr(start, end - start) + "\n";
            start = end + 2;
        }
        Block code;
        code.kind = Block::Kind::Code;
        code.code = sql;
        if (!sql.empty()) document_.blocks.push_back(std::move(code));
    }

    void relationSection(const jet::Relation& r) {
        const Text self = link("relation", r.Name());
        heading(3, self.anchor, {{"Relation " + r.Name(), ""}});
        paragraph({{"From ", ""}, objectLink(r.ForeignTable()), {" to ", ""}, objectLink(r.Table()),
                   {": " + relationKind(r.Attributes()) + " (attributes " + std::to_string(r.Attributes()) + ")", ""}});
        std::vector<std::vector<Line>> pairs;
        for (const auto& f : r.Fields()) pairs.push_back({{{f->ForeignName(), ""}}, {{f->Name(), ""}}});
        if (!pairs.empty()) table({"Field of " + r.ForeignTable(), "Field of " + r.Table()}, std::move(pairs));
    }

    jet::Database& db_;
    Document document_;
    std::vector<const jet::TableDef*> tables_;
    std::vector<const jet::QueryDef*> queries_;
    std::map<std::string, std::string> anchors_;  // "kind\nfolded name" -> anchor
    std::set<std::string> usedAnchors_{"contents", "database", "tables", "queries", "relations"};
    std::map<const jet::QueryDef*, std::set<std::string>> reads_;
    schema::NameBook names_;
};

}  // namespace

Document structureDocument(jet::Database& db, const std::string& title) { return DocumentBuilder(db, title).build(); }

}  // namespace docs
