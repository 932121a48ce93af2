#!/bin/sh
# Runs the UnderWindowManager tests of program_tests ($1) on a private Xvfb
# display with a window manager, where window sizes and places are granted
# as on a desktop. Exits 77 (skipped) when Xvfb or a window manager is
# missing. Further arguments go to the test program; STRUX_SCREENSHOT_DIR,
# when set, receives the pictures of every window.
tests="$1"
shift
command -v Xvfb >/dev/null 2>&1 || { echo "skipped: Xvfb is not installed"; exit 77; }
wm=""
for candidate in openbox xfwm4; do
    if command -v "$candidate" >/dev/null 2>&1; then wm="$candidate"; break; fi
done
[ -n "$wm" ] || { echo "skipped: no window manager (openbox or xfwm4) is installed"; exit 77; }

number=$((200 + $$ % 500))
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
Xvfb ":$number" -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
manager=""
trap 'kill $manager $server 2>/dev/null; wait 2>/dev/null' EXIT INT TERM
tries=0
while [ ! -e "/tmp/.X11-unix/X$number" ]; do
    tries=$((tries + 1))
    [ "$tries" -le 100 ] || { echo "skipped: Xvfb did not start"; exit 77; }
    sleep 0.1
done
# A home of its own, so that the window manager reads and writes no
# settings of the user's.
home=$(mktemp -d)
trap 'kill $manager $server 2>/dev/null; wait 2>/dev/null; rm -rf "$home"' EXIT INT TERM
DISPLAY=":$number" HOME="$home" "$wm" >/dev/null 2>&1 &
manager=$!
sleep 1
DISPLAY=":$number" HOME="$home" QT_QPA_PLATFORM=xcb STRUX_WINDOW_MANAGER="$wm" \
    "$tests" --gtest_filter='UnderWindowManager.*' "$@"
