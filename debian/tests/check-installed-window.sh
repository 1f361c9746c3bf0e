#!/usr/bin/env bash
# Run by the autopkgtests from the source tree: starts the installed
# /usr/bin/brevio on a private Xvfb, checks its window, closes it the way a window
# manager's close button does and checks that the program ends with exit code 0
# and has written nothing to the terminal. With "german-menus", it also checks
# that the text area's context menu is Qt's German one, by its mnemonics.
# Needs Xvfb, xdotool and xclip besides the package, and the end-to-end tests'
# session helper from the source tree.
# usage: check-installed-window.sh XCLOSE [german-menus]
xclose=$1 menus=${2:-}
source "$(dirname "$0")/../../tests/e2e/xsession.sh"

start_brevio /usr/bin/brevio 2>"$work/brevio.err"
expect_eq "$(xdotool getwindowname "$brevio_window")" "Brevio für Linux" "window caption"
eval "$(xdotool getwindowgeometry --shell "$brevio_window")"
expect_eq "${WIDTH}x${HEIGHT}" "289x120" "window size"

if [[ "$menus" == german-menus ]]; then
    # Opens the upper area's context menu with the menu key (a right click at the
    # same place soon after the last one would be a double click) and picks an
    # entry by its mnemonic.
    menu_entry() {
        local shown
        shown=$(xdotool search --onlyvisible --pid "$brevio_pid" | wc -l)
        xdotool key Menu
        for _ in $(seq 50); do
            (($(xdotool search --onlyvisible --pid "$brevio_pid" | wc -l) > shown)) && break
            sleep 0.1
        done
        xdotool key "$1"
        sleep 0.2
    }
    xdotool windowfocus --sync "$brevio_window"
    xdotool type --delay 8 Hallo
    xdotool key ctrl+a
    # A is &Ausschneiden in Qt's German menu and nothing in its English one.
    menu_entry a
    wait_for_clipboard Hallo "cut by the menu's A"
    # Ü is Einf&ügen; then Kopieren shows what the area holds.
    menu_entry udiaeresis
    menu_entry udiaeresis
    click_at 256 34
    wait_for_clipboard HalloHallo "pasted twice by the menu's Ü, then Kopieren"
fi

"$xclose" "$brevio_window"
for _ in $(seq 100); do kill -0 "$brevio_pid" 2>/dev/null || break; sleep 0.05; done
kill -0 "$brevio_pid" 2>/dev/null && fail "brevio still runs 5 s after its window was closed"
status=0
wait "$brevio_pid" || status=$?
expect_eq "$status" 0 "exit code after closing the window"
[[ -s "$work/brevio.err" ]] && fail "brevio wrote to the terminal: $(head -c 4000 "$work/brevio.err")"
echo "PASS: /usr/bin/brevio opens its 289x120 window \"Brevio für Linux\"${menus:+ with German menus}," \
    "writes nothing and closes with exit code 0"
