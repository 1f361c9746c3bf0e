#!/usr/bin/env bash
# Runs the README's two commands the way a new user would, on a fresh minimal
# Debian system of the given release: scripts/run.sh until the program is up, then
# scripts/test.sh. The chroot lives under /var/tmp and is removed afterwards.
# usage: test-in-chroot.sh RELEASE     e.g. trixie (Debian 13) or bookworm (Debian 12); as root
#        DEBIAN_MIRROR=URL picks another mirror than this machine's own
set -euo pipefail
cd "$(dirname "$0")/.."
release=${1:?usage: test-in-chroot.sh RELEASE}
scripts/install-deps.sh chroot
source scripts/chroot.sh

make_chroot "$release"
copy_source root/brevio

echo "== scripts/run.sh on $release"
# Offscreen: there is no display in the chroot, and starting is what counts here.
in_chroot QT_QPA_PLATFORM=offscreen bash -c 'cd /root/brevio && scripts/run.sh' &
run_job=$!
program=$chroot/root/brevio/build/src/app/brevio
program_pid=""
# Sets program_pid once the program runs; the host sees it under the chroot's path.
find_program() {
    local proc
    for proc in /proc/[0-9]*; do
        if [[ "$(readlink "$proc/exe" 2>/dev/null)" == "$program" ]]; then
            program_pid=${proc#/proc/}
            return 0
        fi
    done
    return 1
}
# Up to ten minutes to install and build on a fresh system.
for _ in $(seq 1200); do
    find_program && break
    kill -0 "$run_job" 2>/dev/null || break
    sleep 0.5
done
if [[ -z "$program_pid" ]]; then
    status=0
    wait "$run_job" || status=$?
    echo "FAIL: scripts/run.sh ended (status $status) without starting the program on $release"
    exit 1
fi
sleep 2
kill -0 "$program_pid" 2>/dev/null || { echo "FAIL: the program ended right after starting on $release"; exit 1; }
kill "$program_pid"
wait "$run_job" || true
echo "scripts/run.sh installed, built and started the program"

echo "== scripts/test.sh on $release"
in_chroot bash -c 'cd /root/brevio && scripts/test.sh'
echo "PASS: both README commands work on a fresh $release"
