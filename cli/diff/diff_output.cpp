#include "diff/diff_output.h"

#include "json_writer.h"
#include "printable_text.h"

namespace diff {

namespace {

const char* changeWord(Difference::Change change) {
    switch (change) {
        case Difference::Change::Added: return "added";
        case Difference::Change::Removed: return "removed";
        case Difference::Change::Changed: break;
    }
    return "changed";
}

// A value as the line shows it: free text on one line ("(none)" when
// empty), names with their control characters escaped.
std::string shown(const std::string& value, Difference::Shown how) {
    switch (how) {
        case Difference::Shown::FreeText: return value.empty() ? "(none)" : cli::oneLine(value);
        case Difference::Shown::Name: return cli::printable(value);
        case Difference::Shown::Value: break;
    }
    return value;
}

}  // namespace

std::string differenceLine(const Difference& difference) {
    std::string line;
    for (const auto& [kind, name] : difference.path) {
        if (!line.empty()) line += " / ";
        line += kind + " " + cli::printable(name);
    }
    if (line.empty()) line = "database";
    line += ": ";
    if (difference.change == Difference::Change::Changed)
        line += difference.property + " " + shown(difference.from, difference.shown) + " -> " +
                shown(difference.to, difference.shown);
    else
        line += changeWord(difference.change);
    return line;
}

void writeDifferencesText(const std::vector<Difference>& differences, std::ostream& out) {
    for (const auto& difference : differences) out << differenceLine(difference) << '\n';
}

void writeDifferencesJson(const std::string& a, const std::string& b, const std::vector<Difference>& differences,
                          std::ostream& out) {
    cli::JsonWriter json(out);
    json.beginObject();
    json.member("a", a);
    json.member("b", b);
    json.member("equal", differences.empty());
    json.key("differences");
    json.beginArray();
    for (const auto& difference : differences) {
        json.beginObject();
        json.key("path");
        json.beginArray();
        for (const auto& [kind, name] : difference.path) {
            json.beginObject();
            json.member("kind", kind);
            json.member("name", name);
            json.endObject();
        }
        json.endArray();
        json.member("change", changeWord(difference.change));
        if (difference.change == Difference::Change::Changed) {
            json.member("property", difference.property);
            json.member("from", difference.from);
            json.member("to", difference.to);
        }
        json.endObject();
    }
    json.endArray();
    json.endObject();
    out << '\n';
}

}  // namespace diff
