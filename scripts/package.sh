#!/usr/bin/env bash
# Builds the Debian source and binary packages with dpkg-buildpackage, from a copy
# of the work tree without build output in build-package/, where all they make
# lands: brevio_VERSION.dsc and .tar.xz, the .deb and its -dbgsym, .buildinfo and
# .changes. The package is the same file bit for bit from the same source: every
# time stamp in it is the changelog's. DEB_BUILD_OPTIONS is passed on (nocheck
# skips the tests).
# The last line of the output is the .deb's path.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh package

out=$PWD/build-package
# From a clean tree: what an earlier build left must not reach the package.
rm -rf "$out"
version=$(dpkg-parsechangelog -SVersion)
source_dir=$out/brevio-$version
mkdir -p "$source_dir"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    # Tracked and new files, not what .gitignore names (build directories).
    git ls-files -z --cached --others --exclude-standard |
        tar --null -T - --ignore-failed-read -cf - | tar -C "$source_dir" -xf -
else
    tar --exclude='./build*' --exclude=./.cache -cf - . | tar -C "$source_dir" -xf -
fi
# What the source package must hold: every file of the copy, but .gitignore,
# which dpkg-source leaves out by default.
tree_files=$(cd "$source_dir" && find . ! -type d -printf '%P\n' | grep -vx .gitignore | LC_ALL=C sort)
# The results go to the parent folder, build-package/.
(cd "$source_dir" && dpkg-buildpackage -us -uc)
rm -rf "$source_dir"

# A tar-ignore pattern in debian/source/options that is too wide drops files silently.
missing=$(LC_ALL=C comm -23 <(echo "$tree_files") \
    <(tar -tf "$out/brevio_$version.tar.xz" | sed 's,^[^/]*/,,' | LC_ALL=C sort))
[[ -z "$missing" ]] || { echo "FAIL: the source package lacks these files:"; echo "$missing"; exit 1; }

deb=$out/brevio_${version}_$(dpkg-architecture -qDEB_HOST_ARCH).deb
[[ -f "$deb" ]] || { echo "FAIL: dpkg-buildpackage made no $deb"; exit 1; }
echo "$deb"
