#!/bin/sh
# strux links no Qt library, and `strux report -o FILE.pdf` hands the report
# over to strux-pdf beside it: the PDF is written, the password asked once.
strux="$1"
database="$2"
fail() { echo "FAIL: $*"; exit 1; }
if ldd "$strux" | grep -i libqt; then fail "strux links Qt"; fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$strux" report "$database" -o "$work/report.pdf" >"$work/out" 2>"$work/err" || fail "strux report -o: $(cat "$work/err")"
[ "$(head -c 5 "$work/report.pdf")" = "%PDF-" ] || fail "no PDF written"
grep -q "Report written to $work/report.pdf" "$work/out" || fail "no completion line: $(cat "$work/out")"
echo "strux loads no Qt; its PDF report came from strux-pdf"
