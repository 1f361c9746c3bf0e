#!/usr/bin/env bash
# Builds the Debian package with CPack from the normal install rules, in
# build-package/: a stripped Release build with Debian's hardening flags, the
# same file bit for bit from the same source.
# The last line of the output is the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh package

build=build-package
# From a clean tree: what an earlier build left must not reach the package.
rm -rf "$build"
# The package is the same file however often and wherever it is built: every time
# stamp in it, the archive's and those of the program's resources, is the source's
# own (the last commit's date, or the changelog's outside git), unless the caller
# chose one.
if [[ -z "${SOURCE_DATE_EPOCH:-}" ]]; then
    if [[ "$(git rev-parse --show-toplevel 2>/dev/null)" == "$PWD" ]]; then
        SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
    else
        SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l packaging/changelog.Debian -STimestamp)
    fi
fi
export SOURCE_DATE_EPOCH
# Files the build creates must not get the builder's group-write bits.
umask 022
# The flags Debian builds its own packages with, hardening included; lintian checks them.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DBREVIO_DEBIAN_PACKAGE=ON \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build "$build" -j2
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >/dev/null)

packages=("$build"/brevio_*.deb)
[[ -f "${packages[0]}" && ${#packages[@]} == 1 ]] || { echo "FAIL: cpack made no single brevio_*.deb"; exit 1; }
realpath "${packages[0]}"
