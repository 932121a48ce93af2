// Locating the corpus of Access-written databases beside the project.
// Tests that need it call STRUX_REQUIRE_CORPUS() and are skipped, saying so,
// when the folder is absent (a user's fresh clone).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace testsupport {

inline std::filesystem::path corpusDir() {
    if (const char* env = std::getenv("STRUX_CORPUS")) return env;
    return STRUX_CORPUS_DIR;
}

inline bool haveCorpus() { return std::filesystem::is_directory(corpusDir()); }

// A corpus file by its path below corpus/, e.g. "real/nwind-jet3.mdb".
inline std::filesystem::path corpusFile(const std::string& relative) { return corpusDir() / relative; }

// A copy of a corpus file at `path` that tests may write to (the corpus
// itself is kept read-only).
inline void copyCorpusFile(const std::string& relative, const std::filesystem::path& path) {
    std::filesystem::copy_file(corpusFile(relative), path);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

// Every database of the corpus (.mdb and .accdb), sorted by path.
inline std::vector<std::filesystem::path> corpusDatabases() {
    std::vector<std::filesystem::path> files;
    if (!haveCorpus()) return files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(corpusDir())) {
        auto ext = entry.path().extension().string();
        if (entry.is_regular_file() && (ext == ".mdb" || ext == ".accdb")) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// A corpus file's path below corpus/, as the tests name it: "V1997/x.mdb".
inline std::string corpusName(const std::filesystem::path& database) {
    return std::filesystem::relative(database, corpusDir()).generic_string();
}

// The independent reading kept for a corpus file in corpus-reference/:
// "corpus/V1997/x.mdb" is read as "corpus__V1997__x.mdb.json".
inline std::filesystem::path referenceReading(const std::filesystem::path& database) {
    const std::string relative = "corpus/" + std::filesystem::relative(database, corpusDir()).generic_string();
    std::string name;
    for (char c : relative) name += c == '/' ? std::string("__") : std::string(1, c);
    return corpusDir().parent_path() / "corpus-reference" / (name + ".json");
}

// The Access-written password-protected and encrypted files, kept beside
// the corpus (their README names passwords and contents).
inline std::filesystem::path encryptedCorpusDir() { return corpusDir().parent_path() / "encrypted-corpus"; }

// One file of the encrypted corpus, its password and a table it holds.
struct EncryptedFile {
    const char* name;
    const char* password;  // "" for none
    const char* table;
    int rows;
};

// The six files as their README lists them.
inline const std::vector<EncryptedFile>& encryptedCorpus() {
    static const std::vector<EncryptedFile> files{
        {"db97-enc.mdb", "", "Table1", 2},          {"db-enc.mdb", "", "Table1", 2},
        {"db2007-oldenc.accdb", "Test123", "Table1", 1}, {"db2007-enc.accdb", "Test123", "Table1", 1},
        {"db2013-enc.accdb", "1234", "Customers", 7},  {"db-nonstandard.accdb", "password", "Table_One", 1},
    };
    return files;
}

}  // namespace testsupport

#define STRUX_REQUIRE_ENCRYPTED_CORPUS()                                                                     \
    do {                                                                                                     \
        if (!std::filesystem::is_directory(testsupport::encryptedCorpusDir()))                               \
            GTEST_SKIP() << "encrypted corpus folder not found: " << testsupport::encryptedCorpusDir().string(); \
    } while (0)

#define STRUX_REQUIRE_CORPUS()                                                             \
    do {                                                                                   \
        if (!testsupport::haveCorpus())                                                    \
            GTEST_SKIP() << "corpus folder not found: " << testsupport::corpusDir().string(); \
    } while (0)
