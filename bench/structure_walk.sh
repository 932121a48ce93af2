#!/usr/bin/env bash
# Open + full structure walk (every table, field, index, query with its SQL,
# relation) of each corpus database: `strux dump --json` side by side with
# mdbtools' `mdb-schema` on the same file. Prints a Markdown table of the
# median wall time over RUNS runs and the peak resident memory.
#
# usage: bench/structure_walk.sh [BUILD_DIR] [CORPUS_DIR] [RUNS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../build}"
corpus="${2:-$here/../../shared/corpus}"
runs="${3:-5}"
strux="$build/bin/strux"
[[ -x "$strux" ]] || { echo "no $strux: build first" >&2; exit 1; }
have_peer=0; command -v mdb-schema >/dev/null && have_peer=1

# median wall milliseconds and peak KiB of a command over $runs runs
measure() {
    local times=() peak=0 t m
    for ((i = 0; i < runs; i++)); do
        local out; out=$( { /usr/bin/time -f '%e %M' "$@" >/dev/null 2>/dev/null; } 2>&1 | tail -1 ) || true
        t=${out% *}; m=${out#* }
        times+=("$(awk -v t="$t" 'BEGIN{printf "%d", t*1000}')")
        (( m > peak )) && peak=$m
    done
    local median; median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
    echo "$median $peak"
}

echo "| file | size KiB | strux ms | strux peak KiB | mdb-schema ms | mdb-schema peak KiB |"
echo "|---|---:|---:|---:|---:|---:|"
find "$corpus" -type f \( -name '*.mdb' -o -name '*.accdb' \) | sort | while read -r f; do
    rel="${f#$corpus/}"
    size=$(( $(stat -c %s "$f") / 1024 ))
    read -r sm sp < <(measure "$strux" dump --json "$f")
    if "$strux" dump --json "$f" >/dev/null 2>&1; then :; else sm="error"; sp="-"; fi
    if (( have_peer )); then read -r pm pp < <(measure mdb-schema "$f"); else pm="-"; pp="-"; fi
    echo "| $rel | $size | $sm | $sp | $pm | $pp |"
done
