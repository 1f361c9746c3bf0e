# Sourced by the end-to-end tests: a private Xvfb, no session bus, and cleanup
# of every process the test started.
set -euo pipefail

work=$(mktemp -d)
pids=()
cleanup() {
    # Newest first: the program goes before the X server it draws on.
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# -noreset: the server would otherwise reset when its last client leaves, and a
# client connecting during the reset is refused.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.05; done
[[ -s "$work/display" ]] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
xdotool getdisplaygeometry >/dev/null || { echo "cannot reach Xvfb on $DISPLAY"; exit 1; }
# A German keyboard, like the users': umlauts have keys of their own, so xdotool
# types them without remapping a spare key, which races with Qt re-reading the
# keymap and loses letters on a busy machine.
setxkbmap -display "$DISPLAY" de
# Without this, every Qt start spawns a session bus that outlives the test.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus"
export QT_QPA_PLATFORM=xcb
# xdotool reads the text to type, and the test compares texts, in UTF-8.
export LC_ALL=C.UTF-8
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset XDG_SESSION_TYPE WAYLAND_DISPLAY

fail() { echo "FAIL: $*"; exit 1; }
expect_eq() { [[ "$1" == "$2" ]] || fail "$3: expected '$2', got '$1'"; }

# Starts brevio in the background and sets brevio_pid and brevio_window.
start_brevio() {
    "$@" &
    brevio_pid=$!
    pids+=("$brevio_pid")
    brevio_window=""
    for _ in $(seq 200); do
        brevio_window=$(xdotool search --onlyvisible --pid "$brevio_pid" 2>/dev/null | head -n1 || true)
        [[ -n "$brevio_window" ]] && break
        sleep 0.05
    done
    [[ -n "$brevio_window" ]] || fail "the main window did not appear"
}

# The clipboard as another program reads it (needs xclip).
clipboard() { xclip -o -selection clipboard 2>/dev/null || true; }
wait_for_clipboard() {
    for _ in $(seq 50); do [[ "$(clipboard)" == "$1" ]] && return 0; sleep 0.1; done
    fail "$2: clipboard holds '$(clipboard)', expected '$1'"
}
# Clicks at a point of the main window's client area.
click_at() { xdotool mousemove --window "$brevio_window" "$1" "$2" click 1; sleep 0.2; }
