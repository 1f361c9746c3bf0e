#!/usr/bin/env bash
# Builds the Debian package with CPack from the normal install rules, in
# build-package/: a stripped Release build with Debian's hardening flags.
# The last line of the output is the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh package

build=build-package
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
