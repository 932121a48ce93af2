#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed copy the
# way a user would: from a folder it may not write, with its own data folder.
#   installed_tree_test.sh BUILD_DIR [CORPUS_DIR]
set -euo pipefail

build=$1
corpus=${2:-}
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
prefix=$work/prefix

fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; fail "cmake --install"; }

for file in bin/strux share/applications/strux32.desktop share/icons/hicolor/scalable/apps/strux32.svg \
            share/mime/packages/strux32.xml share/man/man1/strux.1; do
  [ -e "$prefix/$file" ] || fail "$file was not installed"
done
[ -d "$prefix/share/strux32" ] || fail "share/strux32 was not installed"
# The databases the build made, delivered as they were made.
for file in STX32.MDB samples/OrderEntry.mdb; do
  cmp -s "$build/bin/$(basename "$file")" "$prefix/share/strux32/$file" || fail "share/strux32/$file is not the built one"
done

# The installed programs find every library without the build folder: the
# RPATH names the private library folder, not the build.
programs=("$prefix/bin/strux")
[ -e "$build/bin/Strux32" ] && programs+=("$prefix/bin/Strux32")
for program in "${programs[@]}"; do
  [ -x "$program" ] || fail "$program was not installed"
  if ldd "$program" | grep -q "not found"; then ldd "$program" >&2; fail "$program misses a library"; fi
  if ldd "$program" | grep -F "$build" >/dev/null; then fail "$program loads a library from the build folder"; fi
done
if [ -e "$build/bin/Strux32" ]; then
  for library in libcvSubs1.so libcvRegistry.so libplatform_vb.so; do
    [ -e "$prefix/lib/strux32/$library" ] || fail "lib/strux32/$library was not installed"
    loaded=$(ldd "$prefix/bin/Strux32" | awk -v name="$library" '$1 == name {print $3}')
    [ -n "$loaded" ] && [ "$(realpath "$loaded")" = "$(realpath "$prefix/lib/strux32/$library")" ] \
      || fail "Strux32 does not load $library from lib/strux32 (but '$loaded')"
  done
fi

# The program's tree belongs to the system; the installed copy must not
# write into it, whoever runs it.
chmod -R a-w "$prefix"
find "$prefix" -newer "$work/install.log" -print >"$work/changed-before"
sleep 1
touch "$work/stamp"

strux=$prefix/bin/strux
"$strux" --help >"$work/help.txt" || fail "strux --help"
commands=$(sed -n '/^Commands:/,/^$/p' "$work/help.txt" | awk 'NF && $1 != "Commands:" {print $1}')
[ -n "$commands" ] || fail "strux --help lists no command"

# The man page describes every command and every option that the help does.
man_text=$(sed -e 's/\\-/-/g' "$prefix/share/man/man1/strux.1")
for command in $commands; do
  grep -q "^\.SS \"$command " <<<"$man_text" || fail "strux.1 does not describe the command $command"
  "$strux" "$command" --help >"$work/$command.txt" || fail "strux $command --help"
  for option in $(grep -oE '(^|[[ |])--?[a-z][a-z-]*' "$work/$command.txt" | sed -E 's/^[[ |]//' | sort -u); do
    # An item of its own (.TP, then .B or .BI with the option), not just a
    # word in an example.
    grep -qE -- "^\.BI? \"?${option}([ =\"]|$)" <<<"$man_text" \
      || fail "strux.1 does not describe $option of strux $command"
  done
done
if command -v groff >/dev/null; then
  warnings=$(groff -man -Tutf8 -ww -z "$prefix/share/man/man1/strux.1" 2>&1)
  [ -z "$warnings" ] || fail "groff warns about strux.1: $warnings"
fi

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/strux32.desktop" || fail "desktop-file-validate"
else
  echo "desktop-file-validate is not installed (desktop-file-utils): the entry is not validated"
fi

# A database to read: the first of the corpus, when there is one.
database=""
if [ -n "$corpus" ] && [ -d "$corpus" ]; then
  database=$(find "$corpus" -name '*.mdb' -type f | sort | head -n 1)
fi
if [ -n "$database" ]; then
  copy=$work/db/$(basename "$database")
  mkdir -p "$work/db" && cp "$database" "$copy"
  export HOME=$work/home-ann XDG_DATA_HOME=$work/ann
  "$strux" dump "$copy" >"$work/dump.txt" || fail "installed strux dump $copy"
  [ -s "$work/dump.txt" ] || fail "strux dump printed nothing"
  "$build/bin/strux" dump "$copy" >"$work/dump-build.txt"
  cmp -s "$work/dump.txt" "$work/dump-build.txt" || fail "the installed strux dump differs from the build's"

  # The report reads its layout from the user's folder and writes it there
  # when it is missing; each user gets a file of their own.
  "$strux" report "$copy" --text >"$work/report-ann.txt" 2>"$work/report-ann.err" || fail "strux report as ann"
  [ -s "$work/ann/strux32/stx32ps.def" ] || fail "the report did not write ann's stx32ps.def"
  grep -qF "$work/ann/strux32/stx32ps.def" "$work/report-ann.err" || fail "the report did not say where it wrote the layout"
  printf 'changed by ann\r\n' >>"$work/ann/strux32/stx32ps.def"
  cp "$work/ann/strux32/stx32ps.def" "$work/ann-layout"

  XDG_DATA_HOME=$work/bob "$strux" report "$copy" --text >"$work/report-bob.txt" || fail "strux report as bob"
  [ -s "$work/bob/strux32/stx32ps.def" ] || fail "bob got no stx32ps.def of his own"
  cmp -s "$work/ann/strux32/stx32ps.def" "$work/bob/strux32/stx32ps.def" && fail "bob sees ann's layout"
  "$strux" report "$copy" --text >/dev/null || fail "strux report as ann, again"
  cmp -s "$work/ann/strux32/stx32ps.def" "$work/ann-layout" || fail "ann's layout was replaced"
  cmp -s "$work/report-ann.txt" "$work/report-bob.txt" || fail "the same layout printed two reports"
  # A PDF report is handed over to strux-pdf in the private library folder,
  # which keeps to the same user folder.
  if [ -x "$prefix/lib/strux32/strux-pdf" ]; then
    "$strux" report "$copy" -o "$work/report.pdf" >/dev/null 2>"$work/report-pdf.err" || fail "strux report -o as ann: $(cat "$work/report-pdf.err")"
    [ "$(head -c 5 "$work/report.pdf")" = "%PDF-" ] || fail "the installed strux wrote no PDF"
    [ -e "$prefix/lib/strux32/stx32ps.def" ] && fail "strux-pdf wrote its layout into the library folder"
    cmp -s "$work/ann/strux32/stx32ps.def" "$work/ann-layout" || fail "strux-pdf replaced ann's layout"
  fi
else
  echo "no corpus database found: the installed strux dump and report are not run"
fi

# The installed sample opens.
"$strux" dump "$prefix/share/strux32/samples/OrderEntry.mdb" >"$work/sample.txt" || fail "strux dump of the installed sample"
grep -q "OrderLines" "$work/sample.txt" || fail "the installed sample lists no OrderLines"

# The installed program starts (offscreen) and is still running after a few
# seconds: its libraries and Qt's plugins load and it does not end at once.
# It reads its settings from a copy of the delivered STX32.MDB in the user's
# data folder and holds that copy open, exclusively, for the whole run:
# another opener is refused while it runs. (The program keeps the database
# open only when it read its start-up row, which is also when it enables
# cmdDefaults.)
# A runtime folder of its own keeps the single-instance lock apart from any
# other copy running on the machine.
mkdir -m 700 -p "$work/runtime"
run_program() {  # user, seconds
  HOME=$work/home-$1 XDG_DATA_HOME=$work/$1 XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen \
    timeout "$2" "$prefix/bin/Strux32" >"$work/gui-$1.log" 2>&1
}
if [ -e "$prefix/bin/Strux32" ] && command -v timeout >/dev/null; then
  # The splash stays up for seven seconds before the settings are read.
  run_program carol 14 &
  program=$!
  settings=$work/carol/strux32/STX32.MDB
  for _ in $(seq 1 120); do [ -s "$settings" ] && break; sleep 0.1; done
  # Copied and opened in one step: a moment later it is held, and another
  # opener (which could otherwise take the file from under the program) is
  # refused.
  sleep 1
  held=""
  if [ -s "$settings" ] && ! "$strux" dump "$settings" >/dev/null 2>"$work/held.err"; then held=yes; fi
  status=0
  wait "$program" || status=$?
  [ "$status" -eq 124 ] || { cat "$work/gui-carol.log" >&2; fail "installed Strux32 ended with status $status"; }
  [ -s "$settings" ] || fail "the installed Strux32 made no STX32.MDB in the user's data folder"
  [ -n "$held" ] || fail "the installed Strux32 did not hold its settings database open"
  grep -q "error 3045" "$work/held.err" || fail "the held settings database was refused for another reason: $(cat "$work/held.err")"
  # Once it has ended, the copy opens again and, as nothing was stored in
  # this run, holds the delivered bytes.
  "$strux" dump "$settings" >"$work/carol-settings.txt" || fail "carol's STX32.MDB does not open after the run"
  grep -q "StoredSettings" "$work/carol-settings.txt" || fail "carol's STX32.MDB has no StoredSettings"
  cmp -s "$settings" "$prefix/share/strux32/STX32.MDB" || fail "carol's STX32.MDB differs from the delivered one"

  # A second user gets a copy of their own; the first user's stays as it is.
  cp "$settings" "$work/carol-before"
  run_program dave 10 || [ $? -eq 124 ] || fail "installed Strux32 as dave"
  cmp -s "$work/dave/strux32/STX32.MDB" "$prefix/share/strux32/STX32.MDB" || fail "dave got no STX32.MDB of his own"
  cmp -s "$settings" "$work/carol-before" || fail "dave's run changed carol's settings"
fi

changed=$(find "$prefix" -newer "$work/stamp" -print)
[ -z "$changed" ] || fail "the installed tree was written: $changed"
echo "installed tree: ok"
