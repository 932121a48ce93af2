#!/usr/bin/env bash
# The empty copy at scale: for each N, a database of N tables (20 fields and
# 3 indexes each, N/2 relations once the engine writes them) is made by
# bench/empty_copy, then its empty copy is timed in a process of its own.
# Prints a Markdown table: the source's size, the copy's wall time, CPU time
# (user + system, from /usr/bin/time; the build machine is shared, so wall
# time alone says little), peak resident memory, the copy's size, and the
# number of fsync/fdatasync calls of a second, traced copy (strace -f -c;
# "-" when strace is not installed). Every source and copy it writes must
# pass `strux verify`: a fault stops the run.
#
# usage: bench/empty_copy.sh [BUILD_DIR] [FORMAT jet3|jet4] [N...]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../build}"
format="${2:-jet4}"
shift $(( $# > 2 ? 2 : $# ))
sizes=("$@")
(( ${#sizes[@]} )) || sizes=(100 1000 5000)
tool="$build/bin/empty_copy"
strux="$build/bin/strux"
[[ -x "$tool" && -x "$strux" ]] || { echo "no $tool or $strux: build first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The fsync and fdatasync calls of one copy, from strace's summary.
count_syncs() {
    command -v strace >/dev/null || { echo -; return; }
    strace -f -c -e trace=fsync,fdatasync -o "$work/strace" "$tool" copy "$1" "$2" >/dev/null 2>&1
    awk '$NF == "fsync" || $NF == "fdatasync" { n += ($4 ~ /^[0-9]+$/ ? $4 : $3) } END { print n + 0 }' "$work/strace"
}

echo "| tables | format | source KiB | make ms | copy ms | copy CPU s (user+sys) | copy peak KiB | copy KiB | fsyncs |"
echo "|---:|---|---:|---:|---:|---|---:|---:|---:|"
for n in "${sizes[@]}"; do
    src="$work/source-$n.mdb"
    read -r make_ms _ < <("$tool" make "$n" "$src" "$format" 2>/dev/null)
    /usr/bin/time -f "%U+%S" -o "$work/cpu" "$tool" copy "$src" "$work/copy-$n.mdb" >"$work/copy.out" 2>/dev/null
    read -r copy_ms copy_peak <"$work/copy.out"
    copy_kib=$(( $(stat -c %s "$work/copy-$n.mdb") / 1024 ))
    "$strux" verify "$src" >/dev/null || { echo "the source of $n tables does not verify" >&2; exit 1; }
    "$strux" verify "$work/copy-$n.mdb" >/dev/null || { echo "the copy of $n tables does not verify" >&2; exit 1; }
    rm -f "$work/copy-$n.mdb"
    syncs=$(count_syncs "$src" "$work/copy-$n.mdb")
    echo "| $n | $format | $(( $(stat -c %s "$src") / 1024 )) | $make_ms | $copy_ms | $(cat "$work/cpu") | $copy_peak | $copy_kib | $syncs |"
    rm -f "$src" "$work/copy-$n.mdb"
done
