#!/usr/bin/env bash
# Run by test-package-install.sh inside the test system: starts the installed
# /usr/bin/brevio on a private Xvfb, checks its window, closes it the way a window
# manager's close button does and checks that the program ends with exit code 0.
# Needs only Xvfb and xdotool besides the package.
# usage: check-installed-window.sh XCLOSE
set -euo pipefail
xclose=$1

fail() { echo "FAIL: $*"; exit 1; }
expect_eq() { [[ "$1" == "$2" ]] || fail "$3: expected '$2', got '$1'"; }

work=$(mktemp -d)
xvfb_pid="" brevio_pid=""
cleanup() {
    # The program goes before the X server it draws on.
    for pid in $brevio_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# -noreset: a client connecting while the server resets would be refused.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.05; done
[[ -s "$work/display" ]] || { cat "$work/xvfb.log"; fail "Xvfb did not start"; }
export DISPLAY=":$(head -n1 "$work/display")"
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
xdotool getdisplaygeometry >/dev/null || fail "cannot reach Xvfb on $DISPLAY"
# No session bus to start, and xdotool reads the caption in UTF-8.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus" LC_ALL=C.UTF-8
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

/usr/bin/brevio &
brevio_pid=$!
window=""
for _ in $(seq 200); do
    window=$(xdotool search --onlyvisible --pid "$brevio_pid" 2>/dev/null | head -n1 || true)
    [[ -n "$window" ]] && break
    sleep 0.05
done
[[ -n "$window" ]] || fail "the window of /usr/bin/brevio did not appear"
expect_eq "$(xdotool getwindowname "$window")" "Brevio für Linux" "window caption"
eval "$(xdotool getwindowgeometry --shell "$window")"
expect_eq "${WIDTH}x${HEIGHT}" "289x120" "window size"

"$xclose" "$window"
for _ in $(seq 100); do kill -0 "$brevio_pid" 2>/dev/null || break; sleep 0.05; done
kill -0 "$brevio_pid" 2>/dev/null && fail "brevio still runs 5 s after its window was closed"
status=0
wait "$brevio_pid" || status=$?
brevio_pid=""
expect_eq "$status" 0 "exit code after closing the window"
echo "PASS: /usr/bin/brevio opens its 289x120 window \"Brevio für Linux\" and closes with exit code 0"
