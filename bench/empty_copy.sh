#!/usr/bin/env bash
# The empty copy at scale: for each N, a database of N tables (20 fields and
# 3 indexes each, N/2 relations once the engine writes them) is made by
# bench/empty_copy, then its empty copy is timed in a process of its own.
# Prints a Markdown table: the source's size, the copy's wall time, CPU time
# (user + system, from /usr/bin/time; the build machine is shared, so wall
# time alone says little) and peak resident memory, and the copy's size.
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
[[ -x "$tool" ]] || { echo "no $tool: build first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "| tables | format | source KiB | make ms | copy ms | copy CPU s (user+sys) | copy peak KiB | copy KiB |"
echo "|---:|---|---:|---:|---:|---|---:|---:|"
for n in "${sizes[@]}"; do
    src="$work/source-$n.mdb"
    read -r make_ms _ < <("$tool" make "$n" "$src" "$format" 2>/dev/null)
    /usr/bin/time -f "%U+%S" -o "$work/cpu" "$tool" copy "$src" "$work/copy-$n.mdb" >"$work/copy.out" 2>/dev/null
    read -r copy_ms copy_peak <"$work/copy.out"
    echo "| $n | $format | $(( $(stat -c %s "$src") / 1024 )) | $make_ms | $copy_ms | $(cat "$work/cpu") | $copy_peak | $(( $(stat -c %s "$work/copy-$n.mdb") / 1024 )) |"
    rm -f "$src" "$work/copy-$n.mdb"
done
