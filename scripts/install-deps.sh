#!/usr/bin/env bash
# Installs the Debian packages that Brevio needs and that are missing, on Debian 12
# and 13 alike. What the program needs is written once, in debian/control's
# Build-Depends, and installed with apt-get build-dep and a build profile:
#   install-deps.sh run       to build and start the program (profiles nocheck, pkg.brevio.run)
#   install-deps.sh test      to build it and run every test (profile pkg.brevio.dev)
#   install-deps.sh package   to build the Debian package with its tests, and Debian's
#                             tools that check it
#   install-deps.sh chroot    to make the fresh Debian systems of the release checks
#   install-deps.sh arch      to build and test for other architectures under emulation
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-run}
sudo=()
((EUID == 0)) || sudo=(sudo)
apt_get=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -y -qq --no-install-recommends
         -o DPkg::Lock::Timeout=600)
updated=false
update_once() {
    if ! $updated; then
        "${sudo[@]}" apt-get update -qq -o DPkg::Lock::Timeout=600
        updated=true
    fi
}

# Installs those of the given packages that are not installed yet.
install_missing() {
    local package status missing=()
    for package in "$@"; do
        status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
        [[ "$status" == "install ok installed" ]] || missing+=("$package")
    done
    ((${#missing[@]})) || return 0
    echo "Installing: ${missing[*]}"
    update_once
    "${apt_get[@]}" install "${missing[@]}"
}

# Installs debian/control's Build-Depends for the given build profiles (comma
# separated, may be empty), with build-essential, unless they are all there
# already; dpkg-checkbuilddeps, which tells, comes with build-essential.
install_build_deps() {
    local profiles=$1
    if command -v dpkg-checkbuilddeps >/dev/null &&
        dpkg-checkbuilddeps ${profiles:+-P "$profiles"} >/dev/null 2>&1; then
        return 0
    fi
    echo "Installing the build dependencies in debian/control${profiles:+ for the profiles $profiles}"
    update_once
    "${apt_get[@]}" ${profiles:+-P "$profiles"} build-dep ./
}

case "$mode" in
    run) install_build_deps nocheck,pkg.brevio.run ;;
    test)
        install_build_deps pkg.brevio.dev
        # libFuzzer and the sanitizer runtimes are in the runtime package of the clang
        # that is installed, named after its major version.
        install_missing "libclang-rt-$(clang -dumpversion | cut -d. -f1)-dev" ;;
    package)
        install_build_deps ""
        # Debian's tools that check the package: lintian; piuparts and autopkgtest
        # on a fresh system that mmdebstrap makes, autopkgtest's run in a user
        # namespace with uidmap's tools; reprotest with faketime for the clock
        # and disorderfs for the file order.
        install_missing lintian piuparts autopkgtest mmdebstrap uidmap reprotest faketime disorderfs ;;
    chroot) install_missing debootstrap ;;
    # The tests of a foreign build run under qemu's user mode emulation.
    arch) install_missing debootstrap qemu-user-static ;;
    *) echo "usage: install-deps.sh [run|test|package|chroot|arch]" >&2; exit 2 ;;
esac
