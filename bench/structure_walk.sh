#!/usr/bin/env bash
# Open + full structure walk (every table, field, index, query with its SQL,
# relation) of each corpus database by our engine (bench/structure_walk,
# timed in-process), side by side with mdbtools' `mdb-schema` on the same
# file (timed as a process, which includes its start-up). Prints a Markdown
# table of the median wall time over RUNS runs and the peak resident memory.
#
# usage: bench/structure_walk.sh [BUILD_DIR] [CORPUS_DIR] [RUNS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../build}"
corpus="${2:-$here/../../shared/corpus}"
runs="${3:-5}"
walker="$build/bin/structure_walk"
[[ -x "$walker" ]] || { echo "no $walker: build first" >&2; exit 1; }
have_peer=0; command -v mdb-schema >/dev/null && have_peer=1

# median wall milliseconds (to 0.1 ms) and peak KiB of a command over $runs runs
measure() {
    local times=() peak=0 m start end stats
    stats=$(mktemp)
    for ((i = 0; i < runs; i++)); do
        start=$EPOCHREALTIME
        /usr/bin/time -f '%M' -o "$stats" "$@" >/dev/null 2>&1 || true
        end=$EPOCHREALTIME
        times+=("$(awk -v a="$start" -v b="$end" 'BEGIN{printf "%.1f", (b-a)*1000}')")
        m=$(tail -1 "$stats")
        (( m > peak )) && peak=$m
    done
    rm -f "$stats"
    local median; median=$(printf '%s\n' "${times[@]}" | sort -g | sed -n "$(( (runs + 1) / 2 ))p")
    echo "$median $peak"
}

echo "| file | size KiB | engine ms | engine peak KiB | mdb-schema ms | mdb-schema peak KiB |"
echo "|---|---:|---:|---:|---:|---:|"
find "$corpus" -type f \( -name '*.mdb' -o -name '*.accdb' \) | sort | while read -r f; do
    rel="${f#$corpus/}"
    size=$(( $(stat -c %s "$f") / 1024 ))
    # In-process: the median of $runs open-and-walks, and the process's peak.
    read -r sm sp _ < <("$walker" "$f" "$runs")
    if (( have_peer )); then read -r pm pp < <(measure mdb-schema "$f"); else pm="-"; pp="-"; fi
    echo "| $rel | $size | $sm | $sp | $pm | $pp |"
done
