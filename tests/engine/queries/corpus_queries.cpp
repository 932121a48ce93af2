#include "engine/queries/corpus_queries.h"

#include "engine/write/write_support.h"

#include <map>
#include <sstream>


namespace qtest {

namespace {

// mdb-export's output is split on control characters no catalog text holds,
// so multi-line texts need no unquoting.
constexpr char kFieldEnd = '\x1f';
constexpr char kRowEnd = '\x1e';
constexpr const char* kNull = "\x02";

using Record = std::map<std::string, std::optional<std::string>>;

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    std::string piece;
    std::istringstream in(text);
    while (std::getline(in, piece, separator)) pieces.push_back(piece);
    return pieces;
}

std::vector<Record> exportTable(const std::filesystem::path& database, const std::string& table) {
    const std::string command = std::string("mdb-export -Q -d $'\\x1f' -R $'\\x1e' -0 $'\\x02' -b hex '") +
                                database.string() + "' " + table;
    bool ok = false;
    const std::string out = writetest::run("bash -c \"" + command + "\"", &ok);
    std::vector<Record> records;
    if (!ok) return records;
    auto lines = split(out, kRowEnd);
    if (lines.empty()) return records;
    const auto header = split(lines.front(), kFieldEnd);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        auto fields = split(lines[i], kFieldEnd);
        fields.resize(header.size());
        Record r;
        for (std::size_t c = 0; c < header.size(); ++c)
            r[header[c]] = fields[c] == kNull ? std::nullopt : std::optional<std::string>(fields[c]);
        records.push_back(std::move(r));
    }
    return records;
}

std::optional<int> number(const Record& r, const std::string& column) {
    auto it = r.find(column);
    if (it == r.end() || !it->second || it->second->empty()) return std::nullopt;
    return static_cast<int>(std::stoll(*it->second));
}

std::optional<std::string> text(const Record& r, const std::string& column) {
    auto it = r.find(column);
    return it == r.end() ? std::nullopt : it->second;
}

}  // namespace

std::vector<CorpusQuery> corpusQueries(const std::filesystem::path& database) {
    std::vector<CorpusQuery> queries;
    std::map<std::int32_t, std::size_t> byId;
    for (const Record& o : exportTable(database, "MSysObjects")) {
        if (number(o, "Type") != 5) continue;
        const auto id = static_cast<std::int32_t>(number(o, "Id").value_or(0));
        byId[id] = queries.size();
        queries.push_back({text(o, "Name").value_or(""), static_cast<std::int32_t>(number(o, "Flags").value_or(0)), {}});
    }
    for (const Record& r : exportTable(database, "MSysQueries")) {
        QueryRow row;
        row.objectId = static_cast<std::int32_t>(number(r, "ObjectId").value_or(0));
        auto owner = byId.find(row.objectId);
        if (owner == byId.end()) continue;
        row.attribute = number(r, "Attribute").value_or(0);
        row.flag = number(r, "Flag");
        row.name1 = text(r, "Name1");
        row.name2 = text(r, "Name2");
        row.expression = text(r, "Expression");
        row.extra = number(r, "LvExtra");
        queries[owner->second].rows.push_back(std::move(row));
    }
    return queries;
}

}  // namespace qtest
