#!/usr/bin/env bash
# The real program natively on Wayland, in a headless sway: it starts compact
# under its title and its desktop entry's app id, counts what is typed, copies
# plain text byte for byte, keeps the copied text selected, gives the focus back
# after Löschen, expands for the parts, keeps its size when made full screen and
# takes a caption longer than a Wayland title, all without a word on the
# terminal. A headless seat has no pointer, so the keyboard does everything: Tab
# walks the window's tab order and space presses a button.
# Closing the window ends the process with exit code 0 every time, also when Qt's
# Wayland event thread is slowed down (SLOW_WAKEUP, preloaded) into the race that
# hangs Qt's own teardown.
# usage: tst_e2e_wayland.sh BREVIO SLOW_WAKEUP
source "$(dirname "$0")/wlsession.sh"
brevio=$(runnable_copy "$1")
slow_wakeup=$(runnable_copy "$2")
entries=("$(dirname "$0")"/../../data/*.desktop)
app_id=$(basename "${entries[0]}" .desktop)

clipboard() { user wl-paste --no-newline 2>/dev/null || true; }
clipboard_is() { [[ "$(clipboard)" == "$1" ]]; }
wait_for_clipboard() { poll clipboard_is "$1" || fail "$2: the clipboard holds '$(clipboard)', expected '$1'"; }
# Copies a text in another program, as a user would before pasting it. That
# program serves one paste and then ends, which leaves the clipboard empty; it
# offers UTF8_STRING, the program's own copies do not.
offer() {
    "${as_user[@]}" wl-copy --foreground --paste-once -- "$1" &
    pids+=($!)
    poll offered || fail "text copied elsewhere: the clipboard offers $(clipboard_types)"
}
clipboard_types() { user wl-paste --list-types 2>/dev/null | sort | paste -sd ' ' || true; }
offered() { [[ " $(clipboard_types) " == *" UTF8_STRING "* ]]; }
nothing_copied() { [[ -z "$(clipboard_types)" ]]; }
# Ctrl+V, on a keyboard that stays on the seat until the paste has been read:
# each new keyboard makes sway offer the clipboard anew, and a read of the
# previous offer, when the program comes to it late, gets nothing.
paste_offered() {
    "${as_user[@]}" wtype -M ctrl v -m ctrl -s 60000 &
    local typist=$!
    pids+=("$typist")
    poll nothing_copied || fail "the program did not read the paste: the clipboard offers $(clipboard_types)"
    kill "$typist"
    wait "$typist" 2>/dev/null || true
}
# Shift+Tab, the given number of times.
backtab() {
    local i presses=()
    for ((i = 0; i < $1; i++)); do presses+=(-k Tab); done
    keys -M shift "${presses[@]}" -m shift
}

# The program's windows in sway's tree, one JSON object a line.
windows() { swaymsg -r -t get_tree | jq -c --argjson pid "$brevio_pid" '.. | objects | select(.pid? == $pid)'; }
main_window() { windows | jq -c --argjson id "$main_id" 'select(.id == $id)'; }
other_window() { windows | jq -c --argjson id "$main_id" 'select(.id != $id)'; }
shown() { [[ -n "$("$@")" ]]; }
closed() { ! shown "$@"; }
main_size() { main_window | jq -r '"\(.window_rect.width)x\(.window_rect.height)"'; }
size_is() { [[ "$(main_size)" == "$1" ]]; }
windowed_at() { [[ "$(main_window | jq -r .fullscreen_mode) $(main_size)" == "0 $1" ]]; }
# Super+F, sway's key for full screen, which sway has obeyed when wtype ends: the
# window leaves full screen at once and keeps its size.
stays_at_size_when_full_screen() {
    keys -M logo f -m logo
    poll windowed_at "$1" || fail "made full screen, the window is at $(main_size) in full \
screen mode $(main_window | jq -r .fullscreen_mode), expected $1 and mode 0"
}

# Starts the program, with the given environment, and waits for its window.
start_brevio() {
    "${as_user[@]}" env "$@" "$brevio" >"$work/brevio.out" 2>&1 &
    brevio_pid=$!
    pids+=("$brevio_pid")
    poll shown windows || fail "the main window did not appear: $(cat "$work/brevio.out")"
    main_id=$(windows | jq -r .id)
}
# Closes the main window as the compositor's close does; the process must end
# with exit code 0 within three seconds.
close_brevio() {
    swaymsg "[con_id=$main_id] kill" >/dev/null
    poll closed main_window || fail "$1: the main window stayed open when asked to close"
    for _ in $(seq 30); do kill -0 "$brevio_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$brevio_pid" 2>/dev/null && fail "$1: the process still runs 3 s after its window closed"
    local status=0
    wait "$brevio_pid" || status=$?
    expect_eq "$status" 0 "$1: exit code"
}
# Each wtype's keyboard leaves the seat when wtype ends; wlroots 0.18 then tells
# the program that there is no keymap, and Qt 6.8 reports that. Nothing else may
# be written.
expect_quiet() {
    local output
    output=$(grep -v -x 'qt.qpa.wayland: unknown keymap format: 0' "$work/brevio.out" || true)
    [[ -z "$output" ]] || fail "$1: brevio wrote to the terminal: ${output:0:4000}"
}

start_brevio
expect_eq "$(main_window | jq -r .shell)" xdg_shell "the window's shell"
expect_eq "$(main_window | jq -r .name)" "Brevio für Linux" "window title"
expect_eq "$(main_window | jq -r .app_id)" "$app_id" "app id"
expect_eq "$(main_size)" 289x120 "compact size"
stays_at_size_when_full_screen 289x120

# Typed: no-break spaces, € and a line break; pasted: a tab, which the area's
# key would take as a move to the next control.
typed=$'Grüße aus Köln:\u00a05\u00a0€'
pasted=$'Menge\t3'
text=$typed$'\n'$pasted
keys "$typed"
keys -k Return
offer "$pasted"
paste_offered
# The count field selects its number when tabbed into.
keys -k Tab -M ctrl c -m ctrl
wait_for_clipboard "${#text}" "the count"

keys -k Tab -k Tab -k space # Kopieren
wait_for_clipboard "$text" "Kopieren"
types=$(user wl-paste --list-types | sort)
expect_eq "$types" $'text/plain\ntext/plain;charset=utf-8' "what Kopieren offers"
printf '%s' "$text" >"$work/expected"
for type in text/plain 'text/plain;charset=utf-8'; do
    user wl-paste --no-newline --type "$type" >"$work/copied"
    cmp -s "$work/copied" "$work/expected" || fail "Kopieren as $type: $(od -c "$work/copied")"
done

# The whole text stays selected: back in the area, typing replaces it.
backtab 3
keys Ersatz
keys -k Tab -k Tab -k Tab -k space # Kopieren
wait_for_clipboard Ersatz "typed over the copied text"

backtab 1
keys -k space # Löschen
keys neu
keys -k Tab -k Tab -k Tab -k space # Kopieren
wait_for_clipboard neu "typed after Löschen"

# 142 characters: two messages of 120.
backtab 3
keys -M ctrl a -m ctrl
words=(aaaaaaaaaa bbbbbbbbbb cccccccccc dddddddddd eeeeeeeeee ffffffffff gggggggggg
       hhhhhhhhhh iiiiiiiiii jjjjjjjjjj kkkkkkkkkk llllllllll mmmmmmmmmm)
keys "${words[*]}"
keys -k Tab -k Tab -k Tab -k Tab -k space # Haexler
poll size_is 289x260 || fail "the split left the window at $(main_size), expected 289x260"
stays_at_size_when_full_screen 289x260

# The plain box's caption is the upper area's text: 3,000 characters, more
# than a Wayland title takes. I is the last control in the tab order.
line=$(printf 'ж%.0s' $(seq 99))
long=$(head -n 30 < <(yes "$line"))
backtab 4
keys -M ctrl a -m ctrl
offer "$long"
paste_offered
backtab 1
keys -k space # I
poll shown other_window || fail "the info box did not appear"
caption=$(other_window | jq -r .name)
[[ "$caption" == "${long:0:1265}" ]] ||
    fail "the info box's caption is ${#caption} characters, expected the text's first 1265"
keys -k Return
poll closed other_window || fail "the info box stayed open"
kill -0 "$brevio_pid" 2>/dev/null || fail "brevio died showing the long caption"

close_brevio "after the session"
expect_quiet "the session"

for round in 1 2 3 4; do
    # The preload is not instrumented, so the sanitizers' runtime cannot come first.
    start_brevio LD_PRELOAD="$slow_wakeup" ASAN_OPTIONS="$ASAN_OPTIONS:verify_asan_link_order=0"
    close_brevio "slow event thread, close $round"
    expect_quiet "slow event thread, close $round"
done
echo PASS
