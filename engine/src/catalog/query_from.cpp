#include "catalog/query_from.h"

#include <cstddef>
#include <string_view>

#include "catalog/query_names.h"
#include "catalog/query_parts.h"

namespace jet::queries::detail {

namespace {

// Joins nest one level per join row; past this many the rows are not a
// query Access wrote, and a deeper nesting would only risk the stack.
constexpr std::size_t kMaxJoins = 1000;

const char* joinWords(int type) {
    switch (type) {
    case 2: return " LEFT JOIN ";
    case 3: return " RIGHT JOIN ";
    default: return " INNER JOIN ";  // 1, and the best reading of anything else
    }
}

// A source in the making: a single table, or a join of two sources.
struct Node {
    std::string key;   // tables only
    std::string text;  // tables only
    int left = -1;
    int right = -1;
    int type = 1;
    std::vector<std::string> conditions;  // in the order they are written
    bool isJoin() const { return left >= 0; }
};

class JoinTree {
public:
    int addTable(std::string key, std::string text) {
        Node n;
        n.key = std::move(key);
        n.text = std::move(text);
        nodes_.push_back(std::move(n));
        return static_cast<int>(nodes_.size()) - 1;
    }

    int addJoin(int left, int right, int type, std::string condition) {
        Node n;
        n.left = left;
        n.right = right;
        n.type = type;
        n.conditions.push_back(std::move(condition));
        nodes_.push_back(std::move(n));
        return static_cast<int>(nodes_.size()) - 1;
    }

    bool contains(int node, std::string_view table) const {
        const Node& n = nodes_[node];
        if (!n.isJoin()) return namesEqual(n.key, table);
        return contains(n.left, table) || contains(n.right, table);
    }

    // The innermost join within `node` that has `a` on one side and `b` on
    // the other, or -1. One walk over the subtree: repeated conditions on a
    // long chain must not cost a walk per level.
    int joinBetween(int node, std::string_view a, std::string_view b) const { return search(node, a, b).join; }

    void addCondition(int join, std::string condition) {
        // Access writes the condition of the later row first.
        auto& c = nodes_[join].conditions;
        c.insert(c.begin(), std::move(condition));
    }

    std::string render(int node, bool topLevel) const {
        const Node& n = nodes_[node];
        if (!n.isJoin()) return n.text;
        std::string out = topLevel ? "" : "(";
        out += render(n.left, false);
        out += joinWords(n.type);
        out += render(n.right, false);
        out += " ON ";
        if (n.conditions.size() == 1) {
            out += n.conditions.front();
        } else {
            out += "(";
            for (std::size_t i = 0; i < n.conditions.size(); ++i) {
                if (i) out += ") AND (";
                out += n.conditions[i];
            }
            out += ")";
        }
        if (!topLevel) out += ")";
        return out;
    }

private:
    struct Found {
        bool hasA = false;
        bool hasB = false;
        int join = -1;
    };

    Found search(int node, std::string_view a, std::string_view b) const {
        const Node& n = nodes_[node];
        if (!n.isJoin()) return {namesEqual(n.key, a), namesEqual(n.key, b), -1};
        const Found left = search(n.left, a, b);
        if (left.join >= 0) return left;
        const Found right = search(n.right, a, b);
        if (right.join >= 0) return right;
        Found here{left.hasA || right.hasA, left.hasB || right.hasB, -1};
        if ((left.hasA && right.hasB) || (left.hasB && right.hasA)) here.join = node;
        return here;
    }

    std::vector<Node> nodes_;
};

}  // namespace

std::string sourceKey(const QueryRow& source) {
    if (source.name2 && !source.name2->empty()) return *source.name2;
    return textOf(source.name1);
}

std::string sourceText(const QueryRow& source) {
    std::string out;
    const std::string prefix = textOf(source.expression);
    if (!prefix.empty()) {
        // A subquery standing as a table: Jet 4's "[SELECT ...]." form.
        out += prefix.front() == '[' && prefix.back() == ']' ? prefix : "[" + prefix + "]";
        out += '.';
    }
    if (source.name1) out += quoteName(*source.name1);
    if (source.name2 && !source.name2->empty()) out += " AS " + quoteName(*source.name2);
    return out;
}

std::string fromList(const std::vector<QueryRow>& sources, const std::vector<QueryRow>& joins) {
    if (joins.size() > kMaxJoins)
        throwDamagedQuery("too many join rows");
    JoinTree tree;
    std::vector<int> list;  // the top-level sources, in FROM order
    for (const QueryRow& source : sources) {
        if (!source.name1 && !source.expression) continue;  // nothing to name the source by
        list.push_back(tree.addTable(sourceKey(source), sourceText(source)));
    }

    for (const QueryRow& join : joins) {
        if (!join.name1 || !join.name2) continue;
        const std::string& fromName = *join.name1;
        const std::string& toName = *join.name2;
        int from = -1, to = -1;
        for (std::size_t i = 0; i < list.size() && (from < 0 || to < 0);) {
            const int node = list[i];
            if (from < 0 && tree.contains(node, fromName)) {
                from = node;
                if (to < 0 && tree.contains(node, toName)) {
                    to = node;
                    break;
                }
            } else if (to < 0 && tree.contains(node, toName)) {
                to = node;
            } else {
                ++i;
                continue;
            }
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
        }
        if (from < 0) from = tree.addTable(fromName, quoteName(fromName));
        if (to < 0) to = tree.addTable(toName, quoteName(toName));
        const std::string condition = textOf(join.expression);
        if (from == to) {
            // Both tables already sit in one source: a further condition of
            // a join written before.
            const int existing = tree.joinBetween(from, fromName, toName);
            if (existing >= 0) tree.addCondition(existing, condition);
            continue;
        }
        list.push_back(tree.addJoin(from, to, join.flag.value_or(1), condition));
    }

    std::string out;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i) out += ", ";
        out += tree.render(list[i], true);
    }
    return out;
}

}  // namespace jet::queries::detail
