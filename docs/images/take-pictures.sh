#!/bin/sh
# Takes the pictures in this folder again: the main window with Northwind
# open, page 1 of Northwind's report, and every window at its first size and
# grown. The databases are copied into a neutral folder first
# (PICTURE_FOLDER, by default /home/user/Databases), so that no build
# machine's path shows in a picture; the folder goes again afterwards when
# this script made it.
#
#   docs/images/take-pictures.sh [BUILD_DIR]
#
# Needs Xvfb, a window manager (openbox or xfwm4), pdftoppm and the corpus
# (../shared/corpus beside the project, or STRUX_CORPUS_DIR).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
corpus=${STRUX_CORPUS_DIR:-$root/../shared/corpus}
folder=${PICTURE_FOLDER:-/home/user/Databases}

[ -f "$corpus/real/nwind-jet3.mdb" ] || { echo "no corpus at $corpus" >&2; exit 1; }
made=""
if [ ! -d "$folder" ]; then
    mkdir -p "$folder"
    made=yes
fi
trap 'rm -f "$folder/Northwind.mdb" "$folder/OrderEntry.mdb"; [ -z "$made" ] || rmdir "$folder" 2>/dev/null || true' EXIT INT TERM
cp "$corpus/real/nwind-jet3.mdb" "$folder/Northwind.mdb"
cp "$build/bin/OrderEntry.mdb" "$folder/OrderEntry.mdb"

# The main window: the screenshot test under Xvfb, for real fonts.
STRUX_SCREENSHOT="$here/main-window.png" STRUX_SCREENSHOT_DATABASE="$folder/Northwind.mdb" \
    xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb \
    "$build/bin/program_tests" --gtest_filter='Screenshot.MainWindowWithNorthwind'

# Page 1 of the report, as the PDF has it.
pdf=$(mktemp -d)
"$build/bin/strux" report "$folder/Northwind.mdb" -o "$pdf/Northwind.pdf"
pdftoppm -f 1 -l 1 -r 60 -png -singlefile "$pdf/Northwind.pdf" "$here/report-page1"
rm -rf "$pdf"

# Every window, at its first size and grown, under a window manager.
STRUX_SCREENSHOT_DIR="$here" STRUX_SCREENSHOT_DATABASE="$folder/OrderEntry.mdb" \
    sh "$root/tests/program/run_under_x11.sh" "$build/bin/program_tests" \
    --gtest_filter='UnderWindowManager.PicturesOfEveryWindow'
