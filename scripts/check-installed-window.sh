#!/usr/bin/env bash
# Run by test-package-install.sh inside the test system: starts the installed
# /usr/bin/brevio on a private Xvfb, checks its window, closes it the way a window
# manager's close button does and checks that the program ends with exit code 0.
# Needs only Xvfb and xdotool besides the package, and the end-to-end tests'
# session helper copied beside it.
# usage: check-installed-window.sh XCLOSE
xclose=$1
source "$(dirname "$0")/xsession.sh"

start_brevio /usr/bin/brevio
expect_eq "$(xdotool getwindowname "$brevio_window")" "Brevio für Linux" "window caption"
eval "$(xdotool getwindowgeometry --shell "$brevio_window")"
expect_eq "${WIDTH}x${HEIGHT}" "289x120" "window size"

"$xclose" "$brevio_window"
for _ in $(seq 100); do kill -0 "$brevio_pid" 2>/dev/null || break; sleep 0.05; done
kill -0 "$brevio_pid" 2>/dev/null && fail "brevio still runs 5 s after its window was closed"
status=0
wait "$brevio_pid" || status=$?
expect_eq "$status" 0 "exit code after closing the window"
echo "PASS: /usr/bin/brevio opens its 289x120 window \"Brevio für Linux\" and closes with exit code 0"
