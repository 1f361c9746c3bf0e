#!/usr/bin/env bash
# Checks that the Debian package is reproducible: builds it again from a fresh
# clone of the same commit in another folder and compares the two files byte for
# byte. Where they differ, it shows what differs inside.
# usage: check-reproducible.sh [PACKAGE.deb]    the package built from this tree's
#                                               commit; without one, scripts/package.sh
#                                               builds it first
set -euo pipefail
cd "$(dirname "$0")/.."
git diff --quiet HEAD -- ||
    { echo "FAIL: the tree has uncommitted changes; the clone would build another source"; exit 1; }
first=${1:-$(scripts/package.sh | tail -n1)}
[[ -f "$first" ]] || { echo "FAIL: no package at '$first'"; exit 1; }
first=$(realpath "$first")

other=$(mktemp -d)
trap 'rm -rf "$other"' EXIT
git clone -q --no-hardlinks . "$other/brevio"
echo "== The package again, built in $other/brevio"
second=$("$other/brevio/scripts/package.sh" | tail -n1)

if cmp -s "$first" "$second"; then
    echo "PASS: built twice in two folders, the package is the same file ($(sha256sum <"$first" | cut -c1-16)…)"
    exit 0
fi
echo "FAIL: $first and $second differ"
diff <(dpkg-deb -c "$first") <(dpkg-deb -c "$second") || true
mkdir "$other/first" "$other/second"
dpkg-deb -R "$first" "$other/first"
dpkg-deb -R "$second" "$other/second"
diff -r "$other/first" "$other/second" || true
exit 1
