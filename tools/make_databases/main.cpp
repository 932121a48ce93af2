// make_databases: the build step that writes the databases delivered with
// the program, through the project's own engine.
//
//   make_databases settings OUT    STX32.MDB, the settings database
//   make_databases sample OUT      the order-entry sample database
//
// The file is built beside OUT under a temporary name and renamed to OUT
// only when it is complete, so that an interrupted build never leaves a
// half-written database where the program would read it.
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "jet/error.h"
#include "sample_database.h"
#include "settings_database.h"

namespace {

namespace fs = std::filesystem;

int usage() {
    std::fprintf(stderr, "usage: make_databases settings|sample OUT\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::map<std::string, std::function<void(const std::string&)>> makers = {
        {"settings", makedb::makeSettingsDatabase},
        {"sample", makedb::makeSampleDatabase},
    };
    if (argc != 3) return usage();
    const auto maker = makers.find(argv[1]);
    if (maker == makers.end()) return usage();

    const fs::path out = argv[2];
    const fs::path partial = out.string() + ".part" + std::to_string(::getpid());
    std::error_code ignored;
    try {
        fs::remove(partial, ignored);
        maker->second(partial.string());
        fs::rename(partial, out);
    } catch (const jet::Error& e) {
        fs::remove(partial, ignored);
        std::fprintf(stderr, "make_databases: %s: error %ld: %s\n", out.c_str(), e.number(), e.what());
        return 1;
    } catch (const std::exception& e) {
        fs::remove(partial, ignored);
        std::fprintf(stderr, "make_databases: %s: %s\n", out.c_str(), e.what());
        return 1;
    }
    return 0;
}
