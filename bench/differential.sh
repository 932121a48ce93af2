#!/usr/bin/env bash
# The differential check at full scale: random structures of up to 5,000
# tables in Jet 3 and Jet 4, each written by the engine, verified by
# `strux verify`, and read back by strux, mdbtools and (with
# STRUX_MDB_READER set to an mdb-reader folder) mdb-reader, which must agree.
# The test suite runs the same check at small sizes.
#
# usage: bench/differential.sh [BUILD_DIR] [TABLES...]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../build}"
shift $(( $# > 1 ? 1 : $# ))
sizes=("$@")
(( ${#sizes[@]} )) || sizes=(100 1000 5000)
command -v node >/dev/null || { echo "node is not installed" >&2; exit 1; }
seed=1
for n in "${sizes[@]}"; do
    for format in jet3 jet4; do
        start=$(date +%s)
        node "$here/../tools/differential/check.mjs" "$build" "$seed" "$n" "$format"
        echo "$n tables, $format: agreed in $(( $(date +%s) - start )) s"
        seed=$(( seed + 1 ))
    done
done
