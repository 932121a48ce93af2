#include "engine/queries/query_canonical.h"

#include <algorithm>
#include <sstream>
#include <utility>

namespace qtest {
namespace {

std::string field(const std::optional<std::string>& s) { return s ? "'" + *s + "'" : "-"; }

std::string describe(const QueryRow& r, bool crosstab, const CanonicalOptions& options) {
    std::ostringstream out;
    out << r.attribute << " " << (r.flag ? std::to_string(*r.flag) : "-") << " ";
    // The pivot's alias never reaches the SQL text.
    const bool pivot = crosstab && r.attribute == 6 && r.flag == 1;
    out << (pivot ? "-" : field(r.name1)) << " " << field(r.name2) << " " << field(r.expression);
    if (options.parameterLengths && r.attribute == 2 && r.extra && *r.extra > 0) out << " len " << *r.extra;
    return out.str();
}

}  // namespace

std::vector<std::string> canonicalRows(std::vector<QueryRow> rows, const CanonicalOptions& options) {
    bool hasType = false, crosstab = false;
    for (const QueryRow& r : rows)
        if (r.attribute == 1) {
            hasType = true;
            crosstab = r.flag == 6;
        }
    if (!hasType) {
        QueryRow t;
        t.attribute = 1;
        t.flag = 1;
        rows.push_back(t);
    }
    std::vector<QueryRow> kept;
    for (QueryRow& r : rows) {
        if (r.attribute == 0) r.flag.reset();
        if (r.attribute == 3 && r.flag.value_or(0) == 0 && !r.name1) continue;
        kept.push_back(r);
    }
    auto rank = [crosstab](const QueryRow& r) {
        const int part = crosstab && (r.attribute == 6 || r.attribute == 9) ? r.flag.value_or(0) : 0;
        return std::make_pair(r.attribute, part);
    };
    std::stable_sort(kept.begin(), kept.end(), [&](const QueryRow& a, const QueryRow& b) { return rank(a) < rank(b); });
    std::vector<std::string> out;
    for (const QueryRow& r : kept) out.push_back(describe(r, crosstab, options));
    auto sources = std::stable_partition(out.begin(), out.end(), [](const std::string& s) { return s.rfind("5 ", 0) != 0; });
    auto sourcesEnd = std::find_if(sources, out.end(), [](const std::string& s) { return s.rfind("5 ", 0) != 0; });
    std::sort(sources, sourcesEnd);
    return out;
}

std::string joinedRows(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += "  " + l + "\n";
    return out;
}

}  // namespace qtest
