#!/usr/bin/env bash
# Installs the Debian packages that Brevio needs and that are missing, on Debian 12
# and 13 alike: a name that differs between releases is derived from what is
# installed, never from the release's name.
#   install-deps.sh run       to build and start the program
#   install-deps.sh test      to build it and run every test
#   install-deps.sh package   to build the Debian package, check it and test its installation
#   install-deps.sh chroot    to make the fresh Debian systems of the release checks
#   install-deps.sh arch      to build and test for other architectures under emulation
set -euo pipefail

mode=${1:-run}
sudo=()
((EUID == 0)) || sudo=(sudo)
updated=false

# Installs those of the given packages that are not installed yet.
install_missing() {
    local package status missing=()
    for package in "$@"; do
        status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
        [[ "$status" == "install ok installed" ]] || missing+=("$package")
    done
    ((${#missing[@]})) || return 0
    echo "Installing: ${missing[*]}"
    if ! $updated; then
        "${sudo[@]}" apt-get update -qq
        updated=true
    fi
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# qt6-translations-l10n has Qt's German texts for the menus Qt puts in the window.
packages=(cmake g++ make qt6-base-dev libgl-dev fonts-liberation fontconfig qt6-translations-l10n)
case "$mode" in
    run) ;;
    test)
        # Xvfb and the X tools drive the end-to-end tests, sway, wtype, wl-clipboard
        # and jq the one on Wayland with Qt's Wayland plugin; locales makes the Latin-1
        # test locale; clang brings libFuzzer; the validators check the desktop files;
        # with XTest and DAMAGE the window benchmark types and sees the repaints.
        packages+=(xvfb xauth xdotool xclip libx11-dev sway wtype wl-clipboard jq qt6-wayland
                   locales clang desktop-file-utils appstream libxtst-dev libxdamage-dev) ;;
    package)
        # dpkg-dev has dpkg-shlibdeps and dpkg-buildflags; CPack finds the ELF files
        # with file; the installation test closes the window through Xlib.
        packages+=(dpkg-dev file lintian debootstrap libx11-dev) ;;
    chroot) packages=(debootstrap) ;;
    # The tests of a foreign build run under qemu's user mode emulation.
    arch) packages=(debootstrap qemu-user-static) ;;
    *) echo "usage: install-deps.sh [run|test|package|chroot|arch]" >&2; exit 2 ;;
esac
install_missing "${packages[@]}"

if [[ "$mode" == test ]]; then
    # libFuzzer and the sanitizer runtimes are in the runtime package of the clang
    # that is installed, named after its major version.
    install_missing "libclang-rt-$(clang -dumpversion | cut -d. -f1)-dev"
    if ! LC_ALL=C locale -a 2>/dev/null | grep -qx en_US; then
        # The Latin-1 locale that the program falls back to on a plain ASCII system.
        "${sudo[@]}" localedef -i en_US -f ISO-8859-1 en_US
    fi
fi
