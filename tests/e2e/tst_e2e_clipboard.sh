#!/usr/bin/env bash
# What a user pastes elsewhere is what the program copied: real X key events and
# mouse clicks, the real X clipboard read from outside the process.
# usage: tst_e2e_clipboard.sh BREVIO XCLOSE
brevio=$1 xclose=$2
source "$(dirname "$0")/xsession.sh"

start_brevio env LC_ALL=C.UTF-8 "$brevio"
xdotool windowfocus --sync "$brevio_window"

# Type two lines and copy the upper area.
xdotool type --delay 8 'Hallo Welt'
xdotool key Return
xdotool type --delay 8 'zweite Zeile äöü'
click_at 256 34 # Kopieren
wait_for_clipboard $'Hallo Welt\nzweite Zeile äöü' "upper area"
# Plain text and nothing else: no rich formats for word processors to paste.
targets=$(xclip -o -selection clipboard -t TARGETS)
grep -qx UTF8_STRING <<<"$targets" || fail "no UTF8_STRING among the targets: $targets"
for rich in text/html text/markdown application/vnd.oasis.opendocument.text; do
    grep -qx "$rich" <<<"$targets" && fail "the clipboard offers $rich"
done

# Replace it with a text for two messages, split it and copy part 2.
click_at 100 50
xdotool key ctrl+a
words=(aaaaaaaaaa bbbbbbbbbb cccccccccc dddddddddd eeeeeeeeee ffffffffff gggggggggg
       hhhhhhhhhh iiiiiiiiii jjjjjjjjjj kkkkkkkkkk llllllllll mmmmmmmmmm)
xdotool type --delay 4 "${words[*]}"
click_at 256 103 # Haexler
eval "$(xdotool getwindowgeometry --shell "$brevio_window")"
expect_eq "${WIDTH}x${HEIGHT}" "289x260" "expanded client size"
click_at 50 136 # the combo box's field
xdotool key Down
sleep 0.2
click_at 255 135 # Kopieren (lower area)
wait_for_clipboard "2/2 kkkkkkkkkk llllllllll mmmmmmmmmm * Brevio by smsbrevio.example" "part 2"

# The info box: the application title as caption, the fixed text, closed with Enter.
click_at 279 13 # I
box=$(xdotool search --all --sync --onlyvisible --pid "$brevio_pid" --name '^Brevio$' | head -n1)
expect_eq "$(xdotool getwindowname "$box")" "Brevio" "info box caption"
xdotool windowfocus --sync "$box"
# The text is selectable: click into it, select all and copy.
xdotool mousemove --window "$box" 40 20 click 1
xdotool key ctrl+a ctrl+c
wait_for_clipboard "Brevio 2.0 von Lena Hoffmann und Jonas Becker von https://smsbrevio.example" \
    "info box text"
xdotool key Return
for _ in $(seq 50); do xdotool search --all --onlyvisible --pid "$brevio_pid" --name '^Brevio$' >/dev/null || break; sleep 0.1; done
xdotool search --all --onlyvisible --pid "$brevio_pid" --name '^Brevio$' >/dev/null && fail "the info box stayed open"

"$xclose" "$brevio_window"
status=0
wait "$brevio_pid" || status=$?
expect_eq "$status" 0 "exit code"
echo PASS
