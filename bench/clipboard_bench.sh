#!/usr/bin/env bash
# Copies 10 MB from the upper area on a private Xvfb and reads it back from
# another process, as a clipboard manager would. Prints figures, asserts nothing
# but that the bytes arrive whole.
# usage: bench/clipboard_bench.sh BREVIO XCLOSE   (after a build: build/src/app/brevio build/tests/xclose)
brevio=$1 xclose=$2
source "$(dirname "$0")/../tests/e2e/xsession.sh"

seconds() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f s", b - a }'; }

# 100,000 lines of 99 ASCII characters and a line feed: 10,000,000 bytes.
line=$(printf 'Kurznachricht %.0s' $(seq 8))
line=${line:0:99}
head -n 100000 < <(yes "$line") >"$work/text"
expected=$(wc -c <"$work/text")

start_brevio "$brevio"
xclip -quiet -selection clipboard -i "$work/text" 2>/dev/null &
xclip_pid=$!
pids+=($xclip_pid)
for _ in $(seq 100); do xclip -o -selection clipboard -t TARGETS >/dev/null 2>&1 && break; sleep 0.1; done
xdotool windowfocus --sync "$brevio_window"
xdotool key ctrl+v
xdotool mousemove --window "$brevio_window" 256 34 click 1 # Kopieren

start=$(seconds)
# xclip ends once the program has taken the clipboard from it.
for _ in $(seq 600); do kill -0 "$xclip_pid" 2>/dev/null || break; sleep 0.05; done
kill -0 "$xclip_pid" 2>/dev/null && fail "the program did not take the clipboard"
owned=$(seconds)
# Each request is answered by the program itself, so each figure is also how
# long its window is busy.
targets=$(xclip -o -selection clipboard -t TARGETS | tr '\n' ' ')
listed=$(seconds)
bytes=$(xclip -o -selection clipboard | wc -c)
read_back=$(seconds)

echo "paste, then copy, until the program owns the clipboard: $(elapsed "$start" "$owned")"
echo "targets offered: $targets(answered in $(elapsed "$owned" "$listed"))"
echo "read back by xclip: $bytes bytes of $expected in $(elapsed "$listed" "$read_back")"
[[ "$bytes" == "$expected" ]] || fail "the clipboard held $bytes bytes, expected $expected"
"$xclose" "$brevio_window"
wait "$brevio_pid"
