#!/usr/bin/env bash
# Installs the build into a scratch prefix and validates what desktops read from it.
# usage: tst_desktop_files.sh BUILD_DIR
set -euo pipefail
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" >/dev/null

id=example.smsbrevio.brevio
for file in bin/brevio share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
            share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/64x64/apps/$id.png; do
    [[ -e "$prefix/$file" ]] || { echo "FAIL: $file was not installed"; exit 1; }
done
desktop-file-validate "$prefix/share/applications/$id.desktop"
grep -qx 'Categories=Utility;' "$prefix/share/applications/$id.desktop"
# English by default, German as the translation, as software centres expect.
grep -q '^Comment=.*numbered parts' "$prefix/share/applications/$id.desktop"
grep -q '^Comment\[de\]=.*Teile' "$prefix/share/applications/$id.desktop"
grep -q '<summary xml:lang="de">' "$prefix/share/metainfo/$id.metainfo.xml"
appstreamcli validate --pedantic --no-net "$prefix/share/metainfo/$id.metainfo.xml"
echo PASS
