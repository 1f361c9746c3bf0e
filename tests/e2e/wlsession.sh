# Sourced by the Wayland end-to-end test: a private headless sway without
# XWayland, no session bus, and cleanup of every process the test started.
# sway refuses to run as root; as root, the session and its clients run as the
# system user brevio-e2e, made here when it is missing.
set -euo pipefail

skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }
expect_eq() { [[ "$1" == "$2" ]] || fail "$3: expected '$2', got '$1'"; }

# In /tmp, where the session's user reaches it whatever TMPDIR is.
work=$(mktemp -d -p /tmp)
pids=()
cleanup() {
    # Newest first: the clients go before the compositor they draw on.
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

as_user=()
if ((EUID == 0)); then
    session_user=brevio-e2e
    if ! id -u "$session_user" >/dev/null 2>&1; then
        useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin \
            "$session_user" 2>/dev/null || id -u "$session_user" >/dev/null ||
            fail "cannot create the user $session_user"
    fi
    as_user=(setpriv --reuid="$session_user" --regid="$session_user" --clear-groups)
    chown "$session_user:" "$work"
    # A root directory closed to other users (a chroot made with mktemp -d) lets
    # no program of theirs load its libraries.
    "${as_user[@]}" true 2>/dev/null || skip "the user $session_user cannot run programs here"
fi
# Runs a command as the session's user; a command started in the background
# takes "${as_user[@]}" instead, so that $! is the command's own process.
user() { "${as_user[@]}" "$@"; }

# Prints the path of a copy of the program that the session's user can run
# wherever the build tree is.
runnable_copy() {
    install -m 755 "$1" "$work/${1##*/}"
    echo "$work/${1##*/}"
}
# Qt 6.4's Wayland plugin never frees the data of a copy, and it is unloaded
# before LeakSanitizer reports, so that its leaks cannot be suppressed by name.
# The program's own leaks are looked for by the other tests, on the same code.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# Nothing of the caller's desktop: its display, its session bus, its settings.
unset DISPLAY WAYLAND_DISPLAY SWAYSOCK QT_QPA_PLATFORM QT_WAYLAND_SHELL_INTEGRATION \
    XDG_CURRENT_DESKTOP XDG_SESSION_DESKTOP
export HOME=$work TMPDIR=$work
export XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache
user mkdir -m 700 "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus"
# wtype reads the text to type, and the test compares texts, in UTF-8.
export LC_ALL=C.UTF-8

# No borders, so that a window's size is its client size; sway's usual key for
# full screen.
cat >"$work/sway.config" <<'EOF'
xwayland disable
output HEADLESS-1 resolution 1024x768
default_border none
default_floating_border none
bindsym Mod4+f fullscreen toggle
EOF
WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    "${as_user[@]}" sway --config "$work/sway.config" >"$work/sway.log" 2>&1 &
sway_pid=$!
pids+=("$sway_pid")
for _ in $(seq 100); do
    kill -0 "$sway_pid" 2>/dev/null || break
    SWAYSOCK=$(compgen -G "$XDG_RUNTIME_DIR/sway-ipc.*.sock" || true)
    [[ -n "$SWAYSOCK" ]] && swaymsg -s "$SWAYSOCK" -t get_version >/dev/null 2>&1 && break
    SWAYSOCK=""
    sleep 0.1
done
if [[ -z "$SWAYSOCK" ]]; then
    tail -n 20 "$work/sway.log"
    skip "sway cannot start here"
fi
export SWAYSOCK
for socket in "$XDG_RUNTIME_DIR"/wayland-*; do
    if [[ -S "$socket" ]]; then export WAYLAND_DISPLAY=${socket##*/}; fi
done
[[ -n "${WAYLAND_DISPLAY:-}" ]] || fail "sway runs but offers no Wayland socket"
# What a Wayland desktop tells its programs; Qt picks its platform from it.
export XDG_SESSION_TYPE=wayland

# Polls the command for up to ten seconds until it succeeds.
poll() {
    for _ in $(seq 100); do "$@" && return 0; sleep 0.1; done
    return 1
}

# A keyboard on the seat before the program starts: the seat gains the keyboard
# with the first one, and the key that brought it would be lost.
"${as_user[@]}" wtype -s 86400000 &
pids+=($!)
has_keyboard() { swaymsg -r -t get_seats | jq -e 'any(.[].devices[]; .type == "keyboard")' >/dev/null; }
poll has_keyboard || fail "the seat has no keyboard"

# Presses keys, by name or as text, the way wtype takes them.
keys() { user wtype "$@"; }
