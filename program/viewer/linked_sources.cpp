#include "viewer/linked_sources.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "jet/connect_string.h"
#include "jet/error.h"

namespace viewer {

namespace fs = std::filesystem;

namespace {

// File names compare as Windows compares them: without letter case.
std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

bool isFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

}  // namespace

std::string linkedDatabaseName(const std::string& connect) {
    // Jet's own links leave the type before the first ";" empty or name it.
    const std::string type = connect.substr(0, connect.find(';'));
    if (!type.empty() && upper(type) != "MS ACCESS") return {};
    return jet::connectValue(connect, "DATABASE");
}

std::string findLinkedDatabase(const std::string& name, const std::string& linkingDatabase) {
    if (name.empty()) return {};
    const fs::path folder = fs::path(linkingDatabase).parent_path();
    const fs::path asGiven(name);
    if (asGiven.is_absolute() && isFile(asGiven)) return asGiven.string();
    if (asGiven.is_relative() && name.find('\\') == std::string::npos && isFile(folder / asGiven))
        return (folder / asGiven).string();
    // A Windows path ("C:\Data\Back.mdb", "\\server\share\Back.mdb"): its file name.
    const std::string fileName = name.substr(name.find_last_of("/\\") + 1);
    if (fileName.empty()) return {};
    if (isFile(folder / fileName)) return (folder / fileName).string();
    std::error_code error;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, error), end; !error && it != end;
         it.increment(error)) {
        if (upper(it->path().filename().string()) == upper(fileName) && isFile(it->path()))
            return it->path().string();
    }
    return {};
}

jet::TableDef* LinkedSources::sourceOf(Engine& engine, const jet::TableDef& table, const std::string& linkingDatabase,
                                       std::string& why) {
    why.clear();
    const std::string name = linkedDatabaseName(table.Connect());
    if (name.empty()) return nullptr;
    auto [slot, isNew] = opened_.try_emplace(name);
    Opened& opened = slot->second;
    if (isNew) {
        const std::string path = findLinkedDatabase(name, linkingDatabase);
        if (path.empty()) {
            opened.why = "not found (" + name + ")";
        } else {
            try {
                opened.db = engine.OpenDatabase(path, false, true);
            } catch (const jet::Error& e) {
                opened.why = "not opened (" + path + "): " + e.what();
            }
        }
    }
    if (!opened.db) {
        why = opened.why;
        return nullptr;
    }
    try {
        return &opened.db->TableDefs()[table.SourceTableName()];
    } catch (const jet::Error& e) {
        why = "no table " + table.SourceTableName() + " in " + name + ": " + e.what();
        return nullptr;
    }
}

}  // namespace viewer
