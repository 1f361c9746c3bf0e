#!/usr/bin/env bash
# Listens to Brevio through the Orca screen reader, keyboard only, and prints what
# Orca says at each step (the SPEECH OUTPUT lines of its debug log; no speech
# server is needed). The program runs on a private Xvfb, in a private D-Bus
# session with the AT-SPI bus, in de_DE.UTF-8. Not part of the suite: Orca pulls
# in many packages. Needs a build in build/ (scripts/test.sh makes one), orca,
# xclip and the locale de_DE.UTF-8 besides what `scripts/install-deps.sh test`
# installs.
# usage: listen-with-orca.sh [PROGRAM]     PROGRAM defaults to build/src/app/brevio
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ "${LISTEN_IN_SESSION:-}" != 1 ]]; then
    program=$(realpath "${1:-build/src/app/brevio}")
    [[ -x "$program" ]] || { echo "FAIL: no program at $program; build first" >&2; exit 1; }
    for tool in orca Xvfb xdotool xclip dbus-run-session dbus-send; do
        command -v "$tool" >/dev/null || {
            echo "FAIL: $tool is missing: apt-get install orca xvfb xdotool xclip dbus-daemon at-spi2-core" >&2
            exit 1
        }
    done
    locale -a 2>/dev/null | grep -qix 'de_DE.utf-\?8' || {
        echo "FAIL: the locale de_DE.UTF-8 is missing: localedef -i de_DE -f UTF-8 de_DE.UTF-8" >&2
        exit 1
    }
    source tests/e2e/xsession.sh
    LISTEN_IN_SESSION=1 dbus-run-session -- bash "$0" "$program"
    exit
fi

# In the private session: Orca with settings of its own, then the program.
program=$1
home=$(mktemp -d)
pids=()
stop() {
    local pid
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        pid=${pids[i]}
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
}
trap 'stop; rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_CACHE_HOME=$home/cache
export LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8 LANGUAGE=de
log=$home/orca.log

# Starts the AT-SPI bus, which Orca and Qt look for on the session bus.
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null
orca --replace --debug-file="$log" >/dev/null 2>&1 &
pids+=($!)
# Orca writes its log in blocks, so its start is waited for, not watched.
sleep 8

QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" 2>/dev/null &
pids+=($!)
window=$(xdotool search --sync --onlyvisible --pid "${pids[-1]}" | head -n1)
xdotool windowfocus --sync "$window"
sleep 2

# Each step: its title, the time it began (as Orca's log writes times), its keys.
titles=() starts=()
step() {
    titles+=("$1")
    starts+=("$(date +%H:%M:%S.%N)")
    shift
    for key in "$@"; do
        xdotool key "$key"
        sleep 1.5
    done
}

# Pasted rather than typed: Orca echoes every typed letter.
printf '%s' "Zwoelf Worte mit zehn Buchstaben ergeben einen Text, der ueber hundertzwanzig \
Zeichen lang ist und darum in zwei Teile geht." | xclip -selection clipboard 2>/dev/null
step "Ctrl+V: a text of two parts" ctrl+v
step "Tab: the count (ED_Anzahl)" Tab
step "Tab, Tab: Loeschen, Kopieren" Tab Tab
step "Tab: Haexler" Tab
step "Space: split" space
step "Tab: the lower area (MM_neu)" Tab
step "Tab: the part list (CB_Auswahl)" Tab
step "Tab: Kopieren (BT_Copy)" Tab
step "Tab: the part's count (ED_Anz)" Tab
step "Tab: characters per message (ED_AnzZeichen)" Tab
step "Shift+Tab x5: back to Haexler" shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
starts+=("99")
# Orca writes out the rest of its log as it ends.
stop
grep -a "SPEECH OUTPUT: " "$log" | while IFS= read -r line; do
    time=${line%% *}
    for ((i = ${#titles[@]} - 1; i >= 0; i--)); do
        if [[ ! "$time" < "${starts[i]}" ]]; then
            [[ "${printed:-}" == "$i" ]] || { echo "== ${titles[i]}"; printed=$i; }
            speech=${line#*SPEECH OUTPUT: \'}
            echo "   ${speech%%\'*}"
            break
        fi
    done
done
