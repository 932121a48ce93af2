#!/bin/sh
# Builds the write fuzzer with clang (address and undefined-behaviour
# sanitizers) in build-fuzz/ and runs it for SECONDS (default 60) over a
# seed corpus of the delivered databases and the small corpus files.
# Findings land in build-fuzz/findings/; keep each one, minimised, under
# tests/data/write-fuzz/, where the engine tests replay it.
#   tools/fuzz_writes.sh [SECONDS] [extra libFuzzer options...]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
[ $# -gt 0 ] && shift
build=$root/build-fuzz
flags="-O1 -gline-tables-only -fsanitize=address,undefined -fsanitize=fuzzer-no-link -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DSTRUX_FUZZ=ON -DSTRUX_BUILD_GUI=OFF -DSTRUX_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"${JOBS:-2}" --target write_fuzzer make_databases
seeds=$build/seeds
mkdir -p "$seeds" "$build/findings" "$build/grown"
"$build/tools/make_databases/make_databases" sample "$seeds/OrderEntry.mdb" >/dev/null
"$build/tools/make_databases/make_databases" settings "$seeds/STX32.MDB" >/dev/null
corpus=${STRUX_CORPUS:-$root/../shared/corpus}
# Small files only: every input is written out and opened whole.
[ -d "$corpus" ] && find "$corpus" -type f -iname '*.mdb' -size -300k \
    -exec cp {} "$seeds/" \;
cp "$root"/tests/data/write-fuzz/* "$seeds/" 2>/dev/null || true
cd "$build"
exec ./bin/write_fuzzer -max_total_time="$seconds" -max_len=1048576 -timeout=30 -rss_limit_mb=1536 \
    -artifact_prefix=findings/ "$@" grown "$seeds"
