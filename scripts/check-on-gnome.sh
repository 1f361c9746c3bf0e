#!/usr/bin/env bash
# Checks the program on GNOME, Debian 13's default desktop, without a display:
# a headless GNOME Shell in a fresh Debian 13 chroot (about 2.5 GB, removed
# afterwards), the program built there with Qt 6.8 and Qt's adwaita decoration.
# On the compact and the expanded window, a double click on the title bar,
# MetaWindow.maximize() and make_fullscreen() must leave the window at its size;
# ten closes, by the close button and by the compositor, must end with code 0
# and write nothing; closing the info box must write nothing either.
# Not part of CI. Input goes through Clutter's virtual devices, driven with
# org.gnome.Shell.Eval, which a small extension allows.
# usage: check-on-gnome.sh      as root; DEBIAN_MIRROR=URL picks another mirror
set -euo pipefail
cd "$(dirname "$0")/.."

case "${1:-}" in
"")
    scripts/install-deps.sh chroot
    source scripts/chroot.sh
    make_chroot trixie
    copy_source root/brevio
    in_chroot bash /root/brevio/scripts/check-on-gnome.sh --in-chroot
    exit ;;
--in-chroot)
    scripts/install-deps.sh run
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        gnome-shell mutter dbus-daemon qt6-wayland xdg-desktop-portal xdg-desktop-portal-gtk \
        libglib2.0-bin >/dev/null
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build -j2 --target brevio >/dev/null
    work=$(mktemp -d -p /tmp)
    export BREVIO_GNOME_WORK=$work BREVIO=$PWD/build/src/app/brevio
    export HOME=$work/home XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/home/.config
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
    mkdir -p "$XDG_CONFIG_HOME/glib-2.0/settings"
    # What a GNOME login sets; Qt picks its adwaita decoration from it.
    export GSETTINGS_BACKEND=keyfile XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_TYPE=wayland
    export LC_ALL=C.UTF-8
    extension=$HOME/.local/share/gnome-shell/extensions/unsafe@brevio.example
    mkdir -p "$extension"
    cat >"$extension/metadata.json" <<'EOF'
{"uuid": "unsafe@brevio.example", "name": "Unsafe mode", "description": "Lets the check call org.gnome.Shell.Eval", "shell-version": ["48"]}
EOF
    cat >"$extension/extension.js" <<'EOF'
import {Extension} from 'resource:///org/gnome/shell/extensions/extension.js';
export default class UnsafeMode extends Extension {
    enable() { global.context.unsafe_mode = true; }
    disable() { global.context.unsafe_mode = false; }
}
EOF
    cat >"$XDG_CONFIG_HOME/glib-2.0/settings/keyfile" <<'EOF'
[org/gnome/shell]
enabled-extensions=['unsafe@brevio.example']
disable-user-extensions=false
welcome-dialog-last-shown-version='999'
EOF
    # GNOME Shell 48 needs a system bus for its login-manager code.
    DBUS_SYSTEM_BUS_ADDRESS=$(dbus-daemon --session --fork --print-address=1 --print-pid=2 \
        2>"$work/system-bus.pid")
    export DBUS_SYSTEM_BUS_ADDRESS
    status=0
    unshare -m --propagation unchanged dbus-run-session -- bash "$PWD/scripts/check-on-gnome.sh" --session 2>"$work/session.log" ||
        status=$?
    kill "$(cat "$work/system-bus.pid")" 2>/dev/null || true
    ((status == 0)) || tail -n 30 "$work/session.log"
    rm -rf "$work"
    exit "$status" ;;
--session) ;;
*) echo "usage: check-on-gnome.sh" >&2; exit 2 ;;
esac

# In the session.
work=$BREVIO_GNOME_WORK
gnome-shell --headless --wayland --no-x11 --virtual-monitor 1280x1024 \
    --wayland-display brevio-gnome >"$work/shell.log" 2>&1 &
shell=$!
pid=""
trap 'kill $pid $shell 2>/dev/null || true; wait $shell 2>/dev/null || true' EXIT
export WAYLAND_DISPLAY=brevio-gnome
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Runs JavaScript in GNOME Shell and prints its result.
js() {
    local out
    out=$(gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell \
        --method org.gnome.Shell.Eval "$1")
    out=${out#(true, \'}
    out=${out%\')}
    out=${out#\"}
    echo "${out%\"}"
}
for _ in $(seq 100); do [[ "$(js 1 2>/dev/null)" == 1 ]] && break; sleep 0.1; done
[[ "$(js 1)" == 1 ]] || { tail -n 30 "$work/shell.log"; echo "FAIL: GNOME Shell did not start"; exit 1; }
# The portal gives Qt's decoration its button layout.
dbus-update-activation-environment --all
js 'Main.overview.hide(); "ok"' >/dev/null

window='global.display.list_all_windows().find(w => w.get_wm_class() === "example.smsbrevio.brevio" && w.get_title() === "Brevio für Linux")'
prelude='const Clutter = imports.gi.Clutter, GLib = imports.gi.GLib, Meta = imports.gi.Meta;
  const now = () => GLib.get_monotonic_time();
  const seat = Clutter.get_default_backend().get_default_seat();
  globalThis.brevioPointer ??= seat.create_virtual_device(Clutter.InputDeviceType.POINTER_DEVICE);
  globalThis.brevioKeys ??= seat.create_virtual_device(Clutter.InputDeviceType.KEYBOARD_DEVICE);
  const p = globalThis.brevioPointer, k = globalThis.brevioKeys;'
# Runs JavaScript with the program's main window as w.
on_window() { js "(() => { $prelude const w = $window; $1 })()"; }
# The frame's size, and whether mutter has the window maximized or full screen.
frame() {
    on_window "if (!w) return 'none'; const r = w.get_frame_rect();
      return r.width + 'x' + r.height + (w.maximized_horizontally ? ' maximized' : '') +
        (w.is_fullscreen() ? ' full screen' : '');"
}
point_at() {
    on_window "const r = w.get_frame_rect(); p.notify_absolute_motion(now(), r.x + $1, r.y + $2); return 'moved';" >/dev/null
    sleep 0.5
}
click() {
    on_window "p.notify_button(now(), Clutter.BUTTON_PRIMARY, Clutter.ButtonState.PRESSED);
      p.notify_button(now(), Clutter.BUTTON_PRIMARY, Clutter.ButtonState.RELEASED); return 'click';" >/dev/null
}
keyval() {
    on_window "k.notify_keyval(now(), $1, Clutter.KeyState.PRESSED);
      k.notify_keyval(now(), $1, Clutter.KeyState.RELEASED); return 'key';" >/dev/null
}
type_text() {
    on_window "for (const c of '$1') { const s = Clutter.unicode_to_keysym(c.codePointAt(0));
      k.notify_keyval(now(), s, Clutter.KeyState.PRESSED); k.notify_keyval(now(), s, Clutter.KeyState.RELEASED); }
      return 'typed';" >/dev/null
}
start() {
    env ${TRACE:+WAYLAND_DEBUG=client} "$BREVIO" >"$work/brevio.out" 2>"$work/brevio.err" &
    pid=$!
    for _ in $(seq 100); do [[ "$(frame)" != none ]] && break; sleep 0.1; done
    sleep 1
    # Into the upper area.
    point_at 100 80
    click
}
# Waits up to five seconds for the process to end and prints how it ended; not
# in a subshell, which cannot wait for it.
ended() {
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        wait "$pid" 2>/dev/null || true
        echo "still running"
        return
    fi
    local status=0
    wait "$pid" || status=$?
    echo "exit code $status"
}
close_by_compositor() { on_window "w.delete(global.get_current_time()); return 'deleted';" >/dev/null; }
# The close button of Qt's adwaita decoration, the only button of GNOME's layout.
close_by_button() { point_at "$(($(on_window 'return w.get_frame_rect().width;') - 24))" 20; click; }
# What the program wrote besides the protocol trace.
written() { grep -v '^\[' "$work/brevio.err" | grep -v '^ *$' || true; }
restore() {
    on_window "w.unmaximize(Meta.MaximizeFlags.BOTH); w.unmake_fullscreen(); return 'restored';" >/dev/null
    sleep 1
}
# A press on the title bar starts a move, which can swallow the next click, so
# the double click is tried up to three times until Qt's decoration asks to
# maximize.
double_click_title() {
    local asked
    asked=$(grep -c 'set_maximized()' "$work/brevio.err" || true)
    for _ in 1 2 3; do
        point_at 60 19
        click
        sleep 0.15
        click
        sleep 1
        (($(grep -c 'set_maximized()' "$work/brevio.err" || true) > asked)) && return 0
        restore
    done
    return 1
}
# Each way of asking for a maximized or full-screen window leaves it as it was.
keeps_size() {
    local size
    size=$(frame)
    echo "$1 window, frame $size:"
    if double_click_title; then
        echo "  title bar double click: $(frame)"
        [[ "$(frame)" == "$size" ]] || fail "a double click on the $1 window's title bar made it $(frame)"
    else
        fail "the double click on the $1 window's title bar asked for nothing"
    fi
    restore
    on_window "w.maximize(Meta.MaximizeFlags.BOTH); return 'max';" >/dev/null
    sleep 1
    echo "  MetaWindow.maximize(): $(frame)"
    [[ "$(frame)" == "$size" ]] || fail "MetaWindow.maximize() made the $1 window $(frame)"
    restore
    on_window "w.make_fullscreen(); return 'full';" >/dev/null
    sleep 1
    echo "  MetaWindow.make_fullscreen(): $(frame)"
    [[ "$(frame)" == "$size" ]] || fail "MetaWindow.make_fullscreen() made the $1 window $(frame)"
    restore
}

TRACE=1 start
keeps_size compact
type_text "$(printf 'Wort %.0s' $(seq 30))"
keyval Clutter.KEY_Tab
keyval Clutter.KEY_Tab
keyval Clutter.KEY_Tab
keyval Clutter.KEY_Tab
keyval Clutter.KEY_space # Haexler
sleep 1
keeps_size expanded
echo "the program's requests:"
grep -E 'set_maximized|unset_maximized|set_fullscreen|unset_fullscreen' "$work/brevio.err" | sed 's/^/  /' || true
close_by_compositor
ended >/dev/null

for round in $(seq 10); do
    start
    type_text Hallo
    if ((round % 2)); then how="close button"; close_by_button; else how="compositor's close"; close_by_compositor; fi
    ended >"$work/outcome"
    outcome=$(cat "$work/outcome")
    echo "close $round ($how): $outcome, $(written | wc -c) bytes written"
    [[ "$outcome" == "exit code 0" ]] || fail "close $round ($how): $outcome"
    [[ -z "$(written)" ]] || fail "close $round ($how) wrote: $(written)"
done

start
# Shift+Tab from the upper area reaches I, the last control in the tab order.
on_window "k.notify_keyval(now(), Clutter.KEY_Shift_L, Clutter.KeyState.PRESSED);
  k.notify_keyval(now(), Clutter.KEY_ISO_Left_Tab, Clutter.KeyState.PRESSED);
  k.notify_keyval(now(), Clutter.KEY_ISO_Left_Tab, Clutter.KeyState.RELEASED);
  k.notify_keyval(now(), Clutter.KEY_Shift_L, Clutter.KeyState.RELEASED); return 'back';" >/dev/null
keyval Clutter.KEY_space
sleep 1
windows=$(js "global.display.list_all_windows().filter(w => w.get_wm_class() === 'example.smsbrevio.brevio').length")
[[ "$windows" == 2 ]] || fail "the info box did not appear"
keyval Clutter.KEY_Return
sleep 1
echo "info box closed: $(written | wc -c) bytes written"
[[ -z "$(written)" ]] || fail "closing the info box wrote: $(written)"
close_by_compositor
ended >/dev/null

((failures == 0)) || exit 1
echo PASS
