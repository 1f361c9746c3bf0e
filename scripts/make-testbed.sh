#!/usr/bin/env bash
# Makes a fresh minimal Debian system of this machine's release, as a tarball for
# the package checks: autopkgtest's testbed (autopkgtest-virt-unshare) and
# piuparts' base system. It uses this machine's apt sources and keeps its apt
# lists, which the testbed needs to install what the tests depend on. Also gives
# root the subordinate user and group ids that autopkgtest-virt-unshare maps.
# usage: make-testbed.sh TARBALL.tar.gz     as root
set -euo pipefail
tarball=${1:?usage: make-testbed.sh TARBALL.tar.gz}
((EUID == 0)) || { echo "FAIL: making the testbed needs root" >&2; exit 1; }

for file in /etc/subuid /etc/subgid; do
    grep -qs '^root:' "$file" || echo "root:100000:65536" >>"$file"
done

release=$(. /etc/os-release && echo "$VERSION_CODENAME")
# Debian's own sources of this machine, in either format; other vendors' lists
# would need their keys inside.
sources=/etc/apt/sources.list.d/debian.sources
[[ -s "$sources" ]] || sources=/etc/apt/sources.list
[[ -s "$sources" ]] || { echo "FAIL: no apt sources found in $sources" >&2; exit 1; }
mmdebstrap --quiet --variant=apt --mode=root --skip=cleanup/apt/lists "$release" "$tarball" "$sources"
