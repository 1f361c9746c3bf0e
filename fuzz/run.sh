#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for a bounded number of inputs, two at a
# time, starting from a scratch copy of fuzz/corpus/<target>. Exits non-zero when any
# target fails; its log tail is printed and the crashing input kept in the build dir.
#
#   fuzz/run.sh                       about a minute on two cores
#   FUZZ_RUNS_SCALE=10 fuzz/run.sh    ten times as many inputs
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BREVIO_FUZZ_BUILD_DIR:-$repo/build-fuzz}
scale=${FUZZ_RUNS_SCALE:-1}

CC=clang CXX=clang++ cmake -S "$repo" -B "$build" -DBREVIO_FUZZ=ON -DBUILD_TESTING=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2
# fuzz_repair also repairs in Latin-1, in the locale en_US made into the build dir.
mkdir -p "$build/locales"
localedef -i en_US -f ISO-8859-1 "$build/locales/en_US"
export LOCPATH=$build/locales${LOCPATH:+:$LOCPATH}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
artifacts=$build/fuzz-artifacts
mkdir -p "$artifacts"

# target runs [extra libFuzzer options...]
fuzz() {
    local target=$1 runs=$(($2 * scale))
    shift 2
    cp -r "$repo/fuzz/corpus/$target" "$work/$target"
    if "$build/fuzz/$target" -runs="$runs" -seed=1 -print_final_stats=1 \
        -artifact_prefix="$artifacts/$target-" "$@" "$work/$target" >"$work/$target.log" 2>&1; then
        echo "$target: ok, $(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work/$target.log" |
            grep -o '[0-9]*$') inputs"
    else
        echo "$target: FAILED" >&2
        tail -n 40 "$work/$target.log" >&2
        return 1
    fi
}

status=0
fuzz fuzz_integer 1200000 & first=$!
fuzz fuzz_splitter 400000 -max_len=1500 & second=$!
wait "$first" || status=1
wait "$second" || status=1
fuzz fuzz_repair 1200000 & first=$!
fuzz fuzz_codec 800000 & second=$!
wait "$first" || status=1
wait "$second" || status=1
exit "$status"
