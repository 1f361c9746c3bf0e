#!/usr/bin/env bash
# The real program on a real X server: it starts compact, takes typed keys and
# ends with exit code 0 when its window is closed, leaving no process behind.
# usage: tst_e2e_start_close.sh BREVIO XCLOSE
brevio=$1 xclose=$2
source "$(dirname "$0")/xsession.sh"

buses_before=$(pgrep -c -x dbus-daemon || true)
start_brevio env LC_ALL=C.UTF-8 "$brevio"

expect_eq "$(xdotool getwindowname "$brevio_window")" "Brevio für Linux" "window caption"
eval "$(xdotool getwindowgeometry --shell "$brevio_window")"
expect_eq "${WIDTH}x${HEIGHT}" "289x120" "compact client size"

xdotool windowfocus --sync "$brevio_window"
xdotool type --delay 5 "Hallo Welt, äöü"
sleep 0.3
kill -0 "$brevio_pid" || fail "brevio died while typing"

"$xclose" "$brevio_window"
status=0
for _ in $(seq 100); do kill -0 "$brevio_pid" 2>/dev/null || break; sleep 0.05; done
wait "$brevio_pid" || status=$?
expect_eq "$status" 0 "exit code after closing the window"
expect_eq "$(pgrep -c -x dbus-daemon || true)" "$buses_before" "session buses left running"
echo "PASS"
