#!/usr/bin/env bash
# Installs the Debian 12 packages that Brevio needs and that are missing.
#   install-deps.sh run    to build and start the program
#   install-deps.sh test   to build it and run every test
set -euo pipefail

packages=(cmake g++ make qt6-base-dev libgl-dev fonts-liberation fontconfig)
if [[ "${1:-run}" == test ]]; then
    # Xvfb and the X tools drive the end-to-end tests; locales makes the Latin-1
    # test locale; clang brings libFuzzer; the validators check the desktop files.
    packages+=(xvfb xauth xdotool xclip libx11-dev locales clang libclang-rt-14-dev
               desktop-file-utils appstream)
fi

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]})); then
    sudo=()
    ((EUID == 0)) || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
fi

if [[ "${1:-run}" == test ]] && ! LC_ALL=C locale -a 2>/dev/null | grep -qx en_US; then
    # The Latin-1 locale that the program falls back to on a plain ASCII system.
    sudo=()
    ((EUID == 0)) || sudo=(sudo)
    "${sudo[@]}" localedef -i en_US -f ISO-8859-1 en_US
fi
