#!/usr/bin/env bash
# Installs the Debian package into a fresh minimal system of this machine's Debian
# release as a user would, with apt resolving the dependencies from the registry;
# checks that the program runs, that its desktop entry resolves and, with the
# packages it recommends, that its menus are German; purges it and
# checks that none of its files are left. The chroot lives under /var/tmp.
# usage: test-package-install.sh [PACKAGE.deb]    as root; without a package,
#                                                 scripts/package.sh builds one
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh package
deb=${1:-$(scripts/package.sh | tail -n1)}
[[ -f "$deb" ]] || { echo "FAIL: no package at '$deb'"; exit 1; }
deb=$(realpath "$deb")
# The package's dependencies were taken from this system, so it is tested on its release.
release=$(. /etc/os-release && echo "$VERSION_CODENAME")
source scripts/chroot.sh
fail() { echo "FAIL: $*"; exit 1; }

make_chroot "$release"
mkdir "$chroot/root/check"
cp "$deb" "$chroot/root/check/"
# The close request needs Xlib; built here, where the headers are, for the same release.
c++ -O2 -o "$chroot/root/check/xclose" tests/e2e/xclose.cpp -lX11
cp scripts/check-installed-window.sh tests/e2e/xsession.sh "$chroot/root/check/"
apt_get() { in_chroot DEBIAN_FRONTEND=noninteractive apt-get -y -q "$@"; }

echo "== apt-get install ./$(basename "$deb") on $release"
apt_get update
# No recommends: the Depends line alone has to be enough.
apt_get install --no-install-recommends "/root/check/$(basename "$deb")"
[[ "$(in_chroot dpkg-query -W -f='${Status}' brevio)" == "install ok installed" ]] ||
    fail "brevio is not installed"
package_files=$(in_chroot dpkg -L brevio)

echo "== What the program loads at run time, before any test tool is installed"
# Every library that the loader would look for is there.
check_libraries() {
    local libraries
    libraries=$(in_chroot ldd "$1") || fail "ldd cannot read $1"
    if grep 'not found' <<<"$libraries"; then fail "libraries of $1 are missing (above)"; fi
}
check_libraries /usr/bin/brevio
xcb_plugin=$(in_chroot sh -c 'ls /usr/lib/*/qt6/plugins/platforms/libqxcb.so 2>/dev/null' || true)
[[ -n "$xcb_plugin" ]] || fail "Qt's X11 platform plugin libqxcb.so is not installed"
check_libraries "$xcb_plugin"
font=$(in_chroot fc-match -f '%{family}' 'Liberation Sans')
[[ "$font" == "Liberation Sans" ]] || fail "the window font Liberation Sans is missing (fc-match gives '$font')"
echo "libraries, the xcb plugin and the font are all there"

echo "== The desktop entry resolves"
desktop=$chroot/usr/share/applications/example.smsbrevio.brevio.desktop
[[ -f "$desktop" ]] || fail "the desktop entry is not installed"
exec_command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
exec_path=$(in_chroot sh -c "command -v '$exec_command'" || true)
[[ "$exec_path" == /usr/bin/brevio ]] || fail "Exec=$exec_command resolves to '$exec_path', not /usr/bin/brevio"
icon=$(sed -n 's/^Icon=//p' "$desktop")
icons=$(cd "$chroot" && ls usr/share/icons/hicolor/*/apps/"$icon".{png,svg} 2>/dev/null || true)
[[ -n "$icons" ]] || fail "Icon=$icon is in no size of the hicolor theme"
for file in $icons; do [[ -s "$chroot/$file" ]] || fail "the icon /$file is empty"; done
echo "Exec=$exec_command is $exec_path; Icon=$icon is $(echo "$icons" | wc -l) files in hicolor"

echo "== The installed program on a private Xvfb, with what it depends on alone"
apt_get install --no-install-recommends xvfb xdotool xclip
in_chroot bash /root/check/check-installed-window.sh /root/check/xclose

echo "== With what it recommends: Qt's German texts"
recommends=$(in_chroot dpkg-query -W -f='${Recommends}' brevio | sed 's/([^)]*)//g; s/,/ /g')
[[ " $recommends " == *" qt6-translations-l10n "* ]] ||
    fail "the package does not recommend qt6-translations-l10n (Recommends: $recommends)"
# shellcheck disable=SC2086 # one name a word
apt_get install --no-install-recommends $recommends
in_chroot bash /root/check/check-installed-window.sh /root/check/xclose german-menus

echo "== apt-get purge brevio"
apt_get purge brevio
[[ -z "$(in_chroot dpkg-query -W -f='${Status}' brevio 2>/dev/null | grep installed || true)" ]] ||
    fail "brevio is still installed after the purge"
left=()
while IFS= read -r path; do
    [[ "$path" == /. ]] && continue
    [[ -e "$chroot$path" || -L "$chroot$path" ]] || continue
    # A directory that another package also owns stays, rightly.
    [[ -d "$chroot$path" && ! -L "$chroot$path" ]] && in_chroot dpkg -S "$path" >/dev/null 2>&1 && continue
    left+=("$path")
done <<<"$package_files"
((${#left[@]} == 0)) || fail "left after the purge: ${left[*]}"
echo "PASS: the package installs on a fresh $release, runs, and purges without leftovers"
