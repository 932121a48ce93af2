#!/usr/bin/env bash
# strux's files and exit statuses where a test in-process cannot reach:
# a copy killed at random moments, two copies to one target at once, a
# reader holding the target, standard output on a full disk, and inputs
# and outputs that are no files.
#   output_files_test.sh BUILD_DIR
set -uo pipefail

build=$1
strux=$build/bin/strux
work=$(mktemp -d)
logs=$(mktemp -d)
trap 'rm -rf "$work" "$logs"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# A database of a few hundred tables, and the structure its copy has.
source=$work/source.mdb
"$build/bin/empty_copy" make 200 "$source" jet4 2>/dev/null >/dev/null || { echo "FAIL: no source" >&2; exit 1; }
target=$work/copy.mdb
structure() { "$strux" dump "$1" 2>/dev/null | tail -n +2; }
"$strux" copy "$source" -o "$logs/reference.mdb" >/dev/null 2>&1 || fail "a reference copy"
expected=$(structure "$logs/reference.mdb")
# Passes when $target is absent, or a complete copy: readable to the end
# (verify finds no damage that stops it) and holding every object.
whole_or_absent() {
    [ -e "$target" ] || return 0
    "$strux" verify "$target" >/dev/null 2>&1
    [ $? -lt 2 ] || { fail "$1: $target cannot be read"; return; }
    [ "$(structure "$target")" = "$expected" ] || fail "$1: $target is not the whole copy"
}
# Nothing in the folder but the source, the copy and hidden temporary files.
only_recognisable() {
    local name
    for name in "$work"/* "$work"/.[!.]*; do
        [ -e "$name" ] || continue
        case "$(basename "$name")" in
            source.mdb | copy.mdb | .copy.mdb.strux-??????) ;;
            *) fail "$1: unexpected $(basename "$name")" ;;
        esac
    done
}

# ---- kill -9 at random moments of a copy --------------------------------------
start=$(date +%s%N)
"$strux" copy "$source" -o "$target" >/dev/null 2>&1 || fail "a first copy"
took_ms=$(( ($(date +%s%N) - start) / 1000000 + 1 ))
rm -f "$target"
for round in $(seq 1 20); do
    force=()
    (( round > 10 )) && force=(--force)  # the second half replaces a whole copy
    "$strux" copy "$source" -o "$target" "${force[@]}" >/dev/null 2>&1 &
    pid=$!
    sleep "$(awk -v ms=$(( RANDOM % took_ms )) 'BEGIN { printf "%.3f", ms / 1000 }')"
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    whole_or_absent "kill $round"
    only_recognisable "kill $round"
    (( round == 10 )) && { "$strux" copy "$source" -o "$target" --force >/dev/null 2>&1 || fail "copy after kills"; }
done
# Temporary files a killed run left are removed by a later run once nobody
# holds them and they have not changed for a while.
touch -d '-1 minute' "$work"/.copy.mdb.strux-?????? 2>/dev/null
"$strux" copy "$source" -o "$target" --force >/dev/null 2>&1 || fail "copy after kills"
ls "$work"/.copy.mdb.strux-?????? >/dev/null 2>&1 && fail "stale temporary files were not removed"

# ---- two copies to one target, and a reader of the target --------------------
for round in 1 2 3; do
    "$strux" copy "$source" -o "$target" --force >/dev/null 2>"$logs/one.err" & one=$!
    "$strux" copy "$source" -o "$target" --force >/dev/null 2>"$logs/two.err" & two=$!
    wait "$one" || fail "concurrent copy one: $(cat "$logs/one.err")"
    wait "$two" || fail "concurrent copy two: $(cat "$logs/two.err")"
    [ -e "$target" ] || fail "concurrent copies left no copy"
    whole_or_absent "concurrent $round"
    only_recognisable "concurrent $round"
done
flock --shared "$target" sleep 3 & reader=$!
sleep 0.3
"$strux" copy "$source" -o "$target" --force >/dev/null 2>"$logs/read.err" || fail "copy under a reader: $(cat "$logs/read.err")"
whole_or_absent "under a reader"
kill "$reader" 2>/dev/null; wait "$reader" 2>/dev/null

# ---- standard output that cannot be written -----------------------------------
for args in "dump" "dump --json" "report --text" "verify" "schema --dialect sqlite"; do
    # shellcheck disable=SC2086
    "$strux" $args "$source" >/dev/full 2>"$logs/full.err"
    status=$?
    [ "$status" = 2 ] || fail "strux $args > /dev/full exited $status"
    grep -q "No space left on device" "$logs/full.err" || fail "strux $args > /dev/full: $(cat "$logs/full.err")"
done

# ---- inputs and outputs that are no files ---------------------------------------
mkfifo "$work/fifo"
mkdir "$work/folder"
for input in "$work/fifo" /dev/zero "$work/folder"; do
    for args in "dump" "verify" "vb" "copy" "report --text" "report --markdown $work/x.md" \
                "schema --dialect sqlite" "diff $source"; do
        # shellcheck disable=SC2086
        timeout 10 "$strux" $args "$input" >/dev/null 2>"$logs/in.err"
        status=$?
        [ "$status" = 2 ] || fail "strux $args $input exited $status"
    done
done
ln -s "$source" "$work/link.mdb"
before=$(md5sum <"$source")
for args in "vb $source -o /dev/null" "vb $source -o $work/fifo" "copy $source -o $work/folder" \
            "report $source -o $source" "report $source -o $work/link.mdb" "vb $source -o $work/link.mdb" \
            "copy $source -o $work/../$(basename "$work")/link.mdb --force" \
            "schema $source --dialect sqlite -o $work/link.mdb" "report $source --markdown $work/link.mdb" \
            "report $source --html $work/fifo"; do
    # shellcheck disable=SC2086
    timeout 10 "$strux" $args >/dev/null 2>"$logs/out.err"
    status=$?
    [ "$status" = 2 ] || fail "strux $args exited $status: $(cat "$logs/out.err")"
done
[ "$(md5sum <"$source")" = "$before" ] || fail "the source database changed"
[ -p "$work/fifo" ] && [ -d "$work/folder" ] || fail "a FIFO or folder was replaced"

(( failures == 0 )) || exit 1
echo "all passed"
