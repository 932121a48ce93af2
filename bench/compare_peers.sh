#!/usr/bin/env bash
# strux side by side with its peers, from one run. Prints two Markdown
# tables:
#
# 1. The structure of a database read as a whole process: `strux dump`,
#    mdbtools' `mdb-schema` and an mdb-reader walk (bench/mdb_reader_walk.mjs:
#    every table's columns). Files: the corpus's Jet 3 and Jet 4 Northwind
#    and generated Jet 4 databases of 100, 1,000 and 5,000 tables (20 fields
#    and 3 indexes each, N/2 relations; made by bench/empty_copy). Each run
#    times the three tools one after the other, in an order that turns from
#    run to run, so that a busy moment of a shared machine falls on all of
#    them; the table gives each tool's median wall time, the median of the
#    per-run ratios strux/peer, and each tool's peak resident memory.
# 2. `strux copy` of the generated databases: median wall and CPU time,
#    peak memory, and the fsync/fdatasync calls of one traced copy.
#
# A peer that is not installed shows "-". Every generated database and copy
# must pass `strux verify`: a fault stops the run.
#
# usage: bench/compare_peers.sh [BUILD_DIR] [RUNS] [COPY_RUNS] [N...]
#   RUNS: paired runs per file (default 21); COPY_RUNS: copies per size (3);
#   N: the generated sizes (100 1000 5000).
# mdb-reader is found through $STRUX_MDB_READER (the package's folder) or as
# an ordinary Node import.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-$here/../build}" && pwd)"
runs="${2:-21}"
copy_runs="${3:-3}"
shift $(( $# > 3 ? 3 : $# ))
sizes=("$@")
(( ${#sizes[@]} )) || sizes=(100 1000 5000)
corpus="${STRUX_CORPUS:-$here/../../shared/corpus}"
strux="$build/bin/strux"
maker="$build/bin/empty_copy"
[[ -x "$strux" && -x "$maker" ]] || { echo "no $strux or $maker: build first" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "needs /usr/bin/time (Debian package time)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

have_schema=0; command -v mdb-schema >/dev/null && have_schema=1
have_reader=0
if command -v node >/dev/null && node "$here/mdb_reader_walk.mjs" "$corpus/real/nwind-jet3.mdb" >/dev/null 2>&1; then
    have_reader=1
fi

tools=(strux)
(( have_schema )) && tools+=(mdb-schema)
(( have_reader )) && tools+=(mdb-reader)

# One timed process: prints "wall_ms peak_kib". A tool that fails stops the
# run, so a figure is never that of an error message.
timed() {
    local start end
    start=$EPOCHREALTIME
    /usr/bin/time -f '%M' -o "$work/stats" "$@" >/dev/null 2>"$work/err" \
        || { echo "failed: $* ($(tail -1 "$work/err"))" >&2; exit 1; }
    end=$EPOCHREALTIME
    awk -v a="$start" -v b="$end" -v m="$(tail -1 "$work/stats")" 'BEGIN { printf "%.2f %d\n", (b - a) * 1000, m }'
}

run_tool() {
    case "$1" in
        strux) timed "$strux" dump "$2" ;;
        mdb-schema) timed mdb-schema "$2" ;;
        mdb-reader) timed node "$here/mdb_reader_walk.mjs" "$2" ;;
    esac
}

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
max() { sort -g | tail -1; }
mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }

# The structure table for one file.
compare_file() {
    local label="$1" file="$2" i k t n=${#tools[@]}
    for t in "${tools[@]}"; do : >"$work/ms-$t"; : >"$work/kib-$t"; done
    for ((i = 0; i < runs; i++)); do
        for ((k = 0; k < n; k++)); do
            t=${tools[$(( (i + k) % n ))]}
            run_tool "$t" "$file" >"$work/one"
            read -r ms kib <"$work/one"
            echo "$ms" >>"$work/ms-$t"; echo "$kib" >>"$work/kib-$t"
        done
    done
    local row="| $label | $(( $(stat -c %s "$file") / 1024 ))"
    row+=" | $(median <"$work/ms-strux") | $(mib "$(max <"$work/kib-strux")")"
    for t in mdb-schema mdb-reader; do
        if [[ -s "$work/ms-$t" ]]; then
            local ratio
            ratio=$(paste "$work/ms-strux" "$work/ms-$t" | awk '{ printf "%.4f\n", $1 / $2 }' | median)
            row+=" | $(median <"$work/ms-$t") | $(printf '%.2f' "$ratio") | $(mib "$(max <"$work/kib-$t")")"
        else
            row+=" | - | - | -"
        fi
    done
    echo "$row |"
}

echo "Structure read as a whole process, median of $runs paired runs (ms), peak memory (MiB); ratio = median of strux/peer per run"
echo
echo "| database | KiB | strux ms | strux MiB | mdb-schema ms | ratio | mdb-schema MiB | mdb-reader ms | ratio | mdb-reader MiB |"
echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
for f in real/nwind-jet3.mdb real/northwind-small-jet4.mdb; do
    [[ -f "$corpus/$f" ]] && compare_file "$f" "$corpus/$f"
done
for n in "${sizes[@]}"; do
    "$maker" make "$n" "$work/tables-$n.mdb" jet4 >/dev/null 2>&1
    "$strux" verify "$work/tables-$n.mdb" >/dev/null || { echo "the generated $n tables do not verify" >&2; exit 1; }
    compare_file "$n tables (Jet 4)" "$work/tables-$n.mdb"
done

echo
echo "strux copy, median of $copy_runs runs; fsyncs of one traced copy"
echo
echo "| tables | wall ms | CPU s (user+sys) | peak MiB | fsyncs |"
echo "|---:|---:|---:|---:|---:|"
for n in "${sizes[@]}"; do
    src="$work/tables-$n.mdb" out="$work/copy-$n.mdb"
    : >"$work/copy-wall"; : >"$work/copy-cpu"; : >"$work/copy-kib"
    for ((i = 0; i < copy_runs; i++)); do
        rm -f "$out"
        /usr/bin/time -f '%e %U %S %M' -o "$work/stats" "$strux" copy "$src" -o "$out" >/dev/null 2>"$work/err" \
            || { echo "strux copy of $n tables failed: $(tail -1 "$work/err")" >&2; exit 1; }
        read -r wall user sys kib <"$work/stats"
        awk -v w="$wall" 'BEGIN { printf "%.0f\n", w * 1000 }' >>"$work/copy-wall"
        awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f\n", u + s }' >>"$work/copy-cpu"
        echo "$kib" >>"$work/copy-kib"
        "$strux" verify "$out" >/dev/null || { echo "the copy of $n tables does not verify" >&2; exit 1; }
    done
    syncs=-
    if command -v strace >/dev/null; then
        rm -f "$out"
        strace -f -c -e trace=fsync,fdatasync -o "$work/strace" "$strux" copy "$src" -o "$out" >/dev/null 2>&1
        syncs=$(awk '$NF == "fsync" || $NF == "fdatasync" { n += ($4 ~ /^[0-9]+$/ ? $4 : $3) } END { print n + 0 }' "$work/strace")
    fi
    echo "| $n | $(median <"$work/copy-wall") | $(median <"$work/copy-cpu") | $(mib "$(max <"$work/copy-kib")") | $syncs |"
    rm -f "$out" "$src"
done
