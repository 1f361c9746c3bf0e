#!/usr/bin/env bash
# Input-to-repaint times of the program beside a bare QPlainTextEdit, on a private
# Xvfb. Prints figures, asserts nothing.
# usage: bench/window_bench.sh BREVIO BARE_EDITOR WINDOW_BENCH [--quick] [--cases a,c] [--repeat N] [--trace]
#   (after a build: build/src/app/brevio build/bench/bare_editor build/bench/window_bench)
brevio=$1 bare=$2 driver=$3
shift 3
source "$(dirname "$0")/../tests/e2e/xsession.sh"
"$driver" "$brevio" "$bare" "$@"
