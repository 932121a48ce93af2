// libFuzzer target over the write path: each input is a whole database
// file, opened writable, modified (tables, rows, an index, a relation,
// deletions) and verified by writetest::runWriteScenario. A crash, a
// sanitizer report, or a failed step that changed the file is a finding.
// Built only with -DSTRUX_FUZZ=ON and clang; tools/fuzz_writes.sh builds
// and runs it.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "engine/write/write_scenario.h"

namespace {

// tmpfs where there is one: the scenario syncs after every commit.
std::string scratchPath() {
    const char* folder = std::getenv("STRUX_FUZZ_TMP");
    if (!folder) folder = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(folder) + "/strux-write-fuzz-" + std::to_string(::getpid()) + ".mdb";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = scratchPath();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    std::remove((path + ".stxj").c_str());
    const auto result = writetest::runWriteScenario(path);
    if (!result.changedByFailure.empty()) {
        std::fprintf(stderr, "a failed step changed the file: %s\n", result.changedByFailure.c_str());
        std::abort();
    }
    return 0;
}
