#!/usr/bin/env bash
# A title beyond what one X11 request carries (about 16 MiB in UTF-8) must not
# end the program when it becomes a message box's caption.
# usage: tst_e2e_huge_caption.sh BREVIO XCLOSE
brevio=$1 xclose=$2
source "$(dirname "$0")/xsession.sh"

# 90,000 lines of 99 Cyrillic letters: 9 million characters, 17.9 MB in UTF-8.
line=$(printf 'ж%.0s' $(seq 99))
head -n 90000 < <(yes "$line") >"$work/text"

start_brevio "$brevio"
xclip -quiet -selection clipboard -i "$work/text" 2>/dev/null &
pids+=($!)
# xclip takes the clipboard only once it has read the whole file.
for _ in $(seq 100); do xclip -o -selection clipboard -t TARGETS >/dev/null 2>&1 && break; sleep 0.1; done
xdotool windowfocus --sync "$brevio_window"
xdotool key ctrl+v
# Taken after the paste, which makes the whole text the title.
xdotool mousemove --window "$brevio_window" 279 13 click 1 2>/dev/null || fail "brevio died pasting" # I
box=""
for _ in $(seq 300); do
    kill -0 "$brevio_pid" 2>/dev/null || fail "brevio died taking the text as the caption"
    box=$(xdotool search --all --onlyvisible --pid "$brevio_pid" --name '^ж' 2>/dev/null | head -n1 || true)
    [[ -n "$box" ]] && break
    sleep 0.1
done
[[ -n "$box" ]] || fail "the info box did not appear"
caption=$(xdotool getwindowname "$box")
expect_eq "${#caption}" 65536 "characters of the caption"

xdotool windowfocus --sync "$box"
xdotool key Return
for _ in $(seq 50); do xdotool search --all --onlyvisible --pid "$brevio_pid" --name '^ж' >/dev/null || break; sleep 0.1; done
kill -0 "$brevio_pid" 2>/dev/null || fail "brevio died closing the box"

"$xclose" "$brevio_window"
status=0
wait "$brevio_pid" || status=$?
expect_eq "$status" 0 "exit code"
echo PASS
